// Reading and writing .docx packages for the benchmarks that make their own
// documents: every item in memory, written back with one item replaced.
// Header only, as every bench/*.cpp is a program of its own.
#pragma once

#include <minizip/unzip.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Reviser/ZipWriter.h"

namespace bench {

using PackageItems = std::vector<std::pair<std::string, std::string>>;

// Every item of a package, in the package's order; false when it cannot be read.
inline bool ReadPackage(const std::string& sPath, PackageItems& items)
{
    items.clear();
    unzFile zf = unzOpen64(sPath.c_str());
    if (!zf)
        return false;
    bool bOk = unzGoToFirstFile(zf) == UNZ_OK;
    while (bOk) {
        char sName[1024];
        unz_file_info64 info {};
        bOk = unzGetCurrentFileInfo64(zf, &info, sName, sizeof(sName), nullptr, 0, nullptr, 0) == UNZ_OK &&
              unzOpenCurrentFile(zf) == UNZ_OK;
        if (!bOk)
            break;
        std::string sData(static_cast<size_t>(info.uncompressed_size), '\0');
        int nRead = sData.empty() ? 0 : unzReadCurrentFile(zf, &sData[0], static_cast<unsigned>(sData.size()));
        bOk = unzCloseCurrentFile(zf) == UNZ_OK && nRead == static_cast<int>(sData.size());
        items.emplace_back(sName, std::move(sData));
        int nNext = unzGoToNextFile(zf);
        if (nNext == UNZ_END_OF_LIST_OF_FILE)
            break;
        bOk = bOk && nNext == UNZ_OK;
    }
    return unzClose(zf) == UNZ_OK && bOk;
}

// Writes the items as a package; false on failure.
inline bool WritePackage(const std::string& sPath, const PackageItems& items)
{
    CZipWriter zip;
    bool bOk = zip.Open(sPath);
    for (const auto& [sName, sData] : items)
        bOk = bOk && zip.Add(sName, sData);
    return zip.Close() && bOk;
}

// The items with one item's data replaced (added when missing).
inline PackageItems WithItem(PackageItems items, const std::string& sName, const std::string& sData)
{
    for (auto& item : items) {
        if (item.first == sName) {
            item.second = sData;
            return items;
        }
    }
    items.emplace_back(sName, sData);
    return items;
}

inline std::string XmlEscape(const std::string& sText)
{
    std::string sOut;
    for (char c : sText) {
        if (c == '&')
            sOut += "&amp;";
        else if (c == '<')
            sOut += "&lt;";
        else if (c == '>')
            sOut += "&gt;";
        else
            sOut += c;
    }
    return sOut;
}

}  // namespace bench
