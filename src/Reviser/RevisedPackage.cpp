// The temporary file is a hidden name that does not end in ".docx"; the
// final name is made a hard link to it, which fails instead of replacing
// a file that appeared meanwhile.
#include "Reviser/RevisedPackage.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <unistd.h>

#include "Reviser/ZipWriter.h"
#include "Utility/FileUtility.h"

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> g_nTempCounter {0};

std::string NumberedName(const std::string& sPath, int nNumber)
{
    if (nNumber <= 1)
        return sPath;
    size_t nDot = sPath.size() >= 5 ? sPath.size() - 5 : sPath.size();
    return sPath.substr(0, nDot) + "_" + std::to_string(nNumber) + sPath.substr(nDot);
}

std::string TempName(const std::string& sPath)
{
    std::string sDir = DirName(sPath);
    std::string sBase = sPath.substr(sPath.find_last_of('/') == std::string::npos ? 0 : sPath.find_last_of('/') + 1);
    return JoinPath(sDir, "." + sBase + ".part-" + std::to_string(getpid()) + "-" +
                              std::to_string(g_nTempCounter.fetch_add(1)));
}

// Pictures in these formats are compressed already; deflating them again
// costs time and gains nothing.
bool IsCompressedPicture(const std::string& sName)
{
    static const std::set<std::string> kExtensions = {"png", "jpg", "jpeg", "gif", "wdp", "jfif"};
    size_t nDot = sName.find_last_of('.');
    if (nDot == std::string::npos)
        return false;
    std::string sExt = sName.substr(nDot + 1);
    for (char& c : sExt)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return kExtensions.count(sExt) > 0;
}

}  // namespace

std::string CRevisedPackage::RevisedName(const std::string& sFolder, const std::string& sFilename,
                                         const std::string& sStamp)
{
    std::string sName = sFilename.substr(0, sFilename.find("_Revised"));
    return NormalisePath(sFolder + "/../" + sName + sStamp + ".docx");
}

std::vector<std::string> CRevisedPackage::PackageItems(const std::string& sFolder)
{
    std::vector<std::string> vecItems;
    std::error_code ec;
    fs::recursive_directory_iterator it(sFolder, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ecStatus;
        if (fs::is_regular_file(it->symlink_status(ecStatus)))
            vecItems.push_back(fs::relative(it->path(), sFolder, ecStatus).generic_string());
    }
    std::sort(vecItems.begin(), vecItems.end(), [](const std::string& a, const std::string& b) {
        bool bTypesA = a == "[Content_Types].xml";
        bool bTypesB = b == "[Content_Types].xml";
        return bTypesA != bTypesB ? bTypesA : a < b;
    });
    return vecItems;
}

bool CRevisedPackage::Pack(const std::string& sFolder, const std::map<std::string, std::string>& mapParts,
                           const std::string& sTemp)
{
    CZipWriter zip;
    if (!zip.Open(sTemp)) {
        m_sError = zip.Error();
        return false;
    }
    std::vector<std::string> vecItems = PackageItems(sFolder);
    std::set<std::string> setOnDisk(vecItems.begin(), vecItems.end());
    for (const auto& part : mapParts) {
        if (!setOnDisk.count(part.first))
            vecItems.push_back(part.first);
    }
    bool bOk = true;
    for (const std::string& sItem : vecItems) {
        auto itPart = mapParts.find(sItem);
        bOk = itPart != mapParts.end() ? zip.Add(sItem, itPart->second)
                                       : zip.AddFile(sItem, JoinPath(sFolder, sItem), IsCompressedPicture(sItem));
        if (!bOk)
            break;
    }
    bOk = zip.Close() && bOk;
    if (!bOk)
        m_sError = zip.Error();
    return bOk;
}

std::string CRevisedPackage::Publish(const std::string& sTemp, const std::string& sPath)
{
    for (int nNumber = 1; nNumber < 10000; ++nNumber) {
        std::string sName = NumberedName(sPath, nNumber);
        if (link(sTemp.c_str(), sName.c_str()) == 0) {
            unlink(sTemp.c_str());
            return sName;
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links: check, then rename.
        if (FileExists(sName))
            continue;
        if (std::rename(sTemp.c_str(), sName.c_str()) == 0)
            return sName;
        break;
    }
    m_sError = "Cannot name the revised document " + sPath;
    return "";
}

std::string CRevisedPackage::Write(const std::string& sFolder, const std::map<std::string, std::string>& mapParts,
                                   const std::string& sPath)
{
    m_sError.clear();
    std::string sTemp = TempName(sPath);
    std::string sFinal;
    if (Pack(sFolder, mapParts, sTemp))
        sFinal = Publish(sTemp, sPath);
    if (sFinal.empty())
        unlink(sTemp.c_str());
    return sFinal;
}
