// Shared file handling of the binary and text data files, written and read
// through a stdio buffer each thread keeps (no allocation per file).
#include "Utility/DataFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* fp) const { std::fclose(fp); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Pieces are small (a 1 KB page of the character table): a larger stdio
// buffer turns the 256 KB table into four system calls instead of 64. Each
// thread keeps one for reading and one for writing (neither call nests in
// itself) rather than allocating it for every file.
const size_t kStreamBuffer = 64 * 1024;
// The largest file read whole into memory.
const uint64_t kMaxWholeFile = UINT64_C(1) << 31;

char* StreamBuffer(bool bWrite)
{
    thread_local std::unique_ptr<char[]> s_pRead, s_pWrite;
    std::unique_ptr<char[]>& pBuffer = bWrite ? s_pWrite : s_pRead;
    if (!pBuffer)
        pBuffer.reset(new char[kStreamBuffer]);
    return pBuffer.get();
}

// The name the file is found under: the UTF-8 one or its GBK spelling.
std::string OpenName(const char* sFilename)
{
    std::string sOpen;
    if (GetAnsiFilename(sFilename, sOpen, false) == 1)
        WriteLog(std::string("Changed utf-8 file name ") + sFilename, nullptr, false);
    return sOpen;
}

// Writes through the thread's stdio buffer into a temporary file beside the
// target, renamed over it once all is written and flushed.
bool WriteAtomic(const std::string& sPath, const std::function<bool(const ByteSink&)>& fnWrite)
{
    return WriteFileAtomic(sPath, [&fnWrite](std::FILE* fp) {
        std::setvbuf(fp, StreamBuffer(true), _IOFBF, kStreamBuffer);
        return fnWrite([fp](const char* pData, size_t n) { return std::fwrite(pData, 1, n, fp) == n; });
    });
}

// Hands fnRead a source over the regular file sOpen: 1 or 0 as fnRead
// answers, -1 when the file cannot be opened.
int ReadOpened(const std::string& sOpen, const std::function<bool(const ByteSource&, uint64_t)>& fnRead)
{
    FilePtr fp(std::fopen(sOpen.c_str(), "rb"));
    struct stat st {};
    if (!fp || ::fstat(fileno(fp.get()), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    std::FILE* pFile = fp.get();
    std::setvbuf(pFile, StreamBuffer(false), _IOFBF, kStreamBuffer);
    uint64_t nLeft = static_cast<uint64_t>(st.st_size);
    // The source never reads past the size it announced.
    ByteSource source = [pFile, &nLeft](char* pData, size_t n) {
        if (n > nLeft || std::fread(pData, 1, n, pFile) != n)
            return false;
        nLeft -= n;
        return true;
    };
    return fnRead(source, static_cast<uint64_t>(st.st_size)) ? 1 : 0;
}

}  // namespace

bool ReadDataFile(const char* sFilename, std::string& sData, std::string* pOpened)
{
    sData.clear();
    std::string sOpen = sFilename ? OpenName(sFilename) : std::string();
    if (pOpened)
        *pOpened = sOpen;
    int nRead = sFilename ? ReadOpened(sOpen, [&sData](const ByteSource& source, uint64_t nSize) {
        if (nSize > kMaxWholeFile)
            return false;
        sData.resize(static_cast<size_t>(nSize));
        return nSize == 0 || source(&sData[0], sData.size());
    })
                          : -1;
    if (nRead == 1)
        return true;
    sData.clear();
    SetLastError("Fail read file " + sOpen);
    return false;
}

bool WriteDataFile(const std::string& sFilename, const std::string& sData)
{
    return WriteDataFile(sFilename, [&sData](const ByteSink& sink) { return sink(sData.data(), sData.size()); });
}

bool WriteDataFile(const std::string& sFilename, const std::function<bool(const ByteSink&)>& fnWrite)
{
    if (sFilename.empty() || !WriteAtomic(sFilename, fnWrite)) {
        SetLastError("Fail write file " + sFilename);
        return false;
    }
    return true;
}

int ReadDataFile(const char* sFilename, const std::function<bool(const ByteSource&, uint64_t)>& fnRead)
{
    std::string sOpen = sFilename ? OpenName(sFilename) : std::string();
    int nRead = sFilename ? ReadOpened(sOpen, fnRead) : -1;
    if (nRead < 0)
        SetLastError("Fail read file " + sOpen);
    return nRead;
}

int CorruptDataFile(const char* sFilename, const char* sWhat)
{
    SetLastError(std::string("Fail read file ") + (sFilename ? sFilename : "") + ": truncated or corrupt " + sWhat);
    return 0;
}
