// Decompressing a bzip2 file with libbz2, all of its concatenated streams.
#include "Bz2File.h"

#include <bzlib.h>
#include <cstdio>
#include <memory>

namespace {

struct CloseFile {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

}  // namespace

bool ReadBz2File(const std::string& sPath, std::string& sOut, std::string& sError)
{
    std::unique_ptr<std::FILE, CloseFile> pFile(std::fopen(sPath.c_str(), "rb"));
    if (!pFile) {
        sError = "cannot open " + sPath;
        return false;
    }
    sOut.clear();
    char buffer[1 << 16];
    int nError = BZ_OK;
    BZFILE* pBz = BZ2_bzReadOpen(&nError, pFile.get(), 0, 0, nullptr, 0);
    while (nError == BZ_OK) {
        int nRead = BZ2_bzRead(&nError, pBz, buffer, sizeof(buffer));
        if (nError == BZ_OK || nError == BZ_STREAM_END)
            sOut.append(buffer, static_cast<size_t>(nRead > 0 ? nRead : 0));
        if (nError != BZ_STREAM_END)
            continue;
        // Another stream may follow the one just ended.
        void* pUnused = nullptr;
        int nUnused = 0;
        BZ2_bzReadGetUnused(&nError, pBz, &pUnused, &nUnused);
        std::string sRest(static_cast<const char*>(pUnused), static_cast<size_t>(nUnused));
        BZ2_bzReadClose(&nError, pBz);
        if (sRest.empty() && std::feof(pFile.get()))
            return true;
        pBz = BZ2_bzReadOpen(&nError, pFile.get(), 0, 0, sRest.empty() ? nullptr : &sRest[0],
                             static_cast<int>(sRest.size()));
    }
    int nIgnored = 0;
    if (pBz)
        BZ2_bzReadClose(&nIgnored, pBz);
    sError = sPath + ": not a readable bzip2 file";
    return false;
}
