// File and path helpers. No function here changes the process's current
// directory: every path is handled as given or made absolute by the caller.
#include "Utility/FileUtility.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Utility/EncodingConverter.h"

std::string GetCurrentDir()
{
    std::vector<char> sBuf(4096);
    if (!getcwd(sBuf.data(), sBuf.size()))
        return ".";
    return sBuf.data();
}

bool FileExists(const std::string& sPath)
{
    struct stat st {};
    return ::stat(sPath.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& sPath)
{
    struct stat st {};
    return ::stat(sPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t GetFileSize(const std::string& sPath)
{
    struct stat st {};
    if (::stat(sPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool ReadWholeFile(const std::string& sPath, std::string& sData, uint64_t nMaxBytes)
{
    sData.clear();
    int64_t nSize = GetFileSize(sPath);
    if (nSize < 0 || static_cast<uint64_t>(nSize) > nMaxBytes)
        return false;
    FILE* fp = std::fopen(sPath.c_str(), "rb");
    if (!fp)
        return false;
    sData.resize(static_cast<size_t>(nSize));
    size_t nRead = nSize ? std::fread(&sData[0], 1, sData.size(), fp) : 0;
    std::fclose(fp);
    sData.resize(nRead);
    return true;
}

bool WriteFileAtomic(const std::string& sPath, const std::string& sData)
{
    return WriteFileAtomic(sPath, [&sData](std::FILE* fp) {
        return std::fwrite(sData.data(), 1, sData.size(), fp) == sData.size();
    });
}

bool WriteFileAtomic(const std::string& sPath, const std::function<bool(std::FILE*)>& fnWrite)
{
    static std::atomic<unsigned> s_nCounter {0};
    std::string sTemp = sPath + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(++s_nCounter);
    FILE* fp = std::fopen(sTemp.c_str(), "wb");
    if (!fp)
        return false;
    bool bOk = fnWrite(fp);
    bOk = (std::fflush(fp) == 0) && bOk;
    bOk = (std::fclose(fp) == 0) && bOk;
    if (bOk && std::rename(sTemp.c_str(), sPath.c_str()) == 0)
        return true;
    std::remove(sTemp.c_str());
    return false;
}

bool MayReplaceFile(const std::string& sPath, const std::string& sMarker)
{
    struct stat st {};
    if (::lstat(sPath.c_str(), &st) != 0)
        return true;
    if (!S_ISREG(st.st_mode))
        return false;
    FILE* fp = std::fopen(sPath.c_str(), "rb");
    if (!fp)
        return false;
    std::string sHead(4096, '\0');
    sHead.resize(std::fread(&sHead[0], 1, sHead.size(), fp));
    std::fclose(fp);
    return sHead.find(sMarker) != std::string::npos;
}

std::string NormalisePath(const std::string& sPath)
{
    bool bAbsolute = !sPath.empty() && sPath[0] == '/';
    std::vector<std::string> vecParts;
    size_t nPos = 0;
    while (nPos <= sPath.size()) {
        size_t nEnd = sPath.find('/', nPos);
        if (nEnd == std::string::npos)
            nEnd = sPath.size();
        std::string sPart = sPath.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (sPart.empty() || sPart == ".")
            continue;
        if (sPart == ".." && !vecParts.empty() && vecParts.back() != "..") {
            vecParts.pop_back();
            continue;
        }
        if (sPart == ".." && bAbsolute)
            continue;
        vecParts.push_back(sPart);
    }
    std::string sOut = bAbsolute ? "/" : "";
    for (size_t i = 0; i < vecParts.size(); ++i)
        sOut += (i ? "/" : "") + vecParts[i];
    if (sOut.empty())
        sOut = ".";
    return sOut;
}

std::string JoinPath(const std::string& sDir, const std::string& sName)
{
    if (sDir.empty())
        return sName;
    if (sDir.back() == '/')
        return sDir + sName;
    return sDir + "/" + sName;
}

std::string DirName(const std::string& sPath)
{
    size_t nSlash = sPath.find_last_of('/');
    if (nSlash == std::string::npos)
        return ".";
    if (nSlash == 0)
        return "/";
    return sPath.substr(0, nSlash);
}

int GetAnsiFilename(const char* sName, std::string& sOut, bool bForce)
{
    sOut = sName ? sName : "";
    if (FileExists(sOut))
        return 0;
    std::string sGbk;
    Utf8ToGbk(sOut, sGbk);
    if (bForce || FileExists(sGbk)) {
        sOut = sGbk;
        return 1;
    }
    return 0;
}
