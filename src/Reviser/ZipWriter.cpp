#include "Reviser/ZipWriter.h"

#include <cstdio>
#include <algorithm>
#include <ctime>
#include <memory>
#include <minizip/zip.h>

namespace {

// ZIP64 records only where an item needs them: some readers of documents
// dislike them on small items.
constexpr unsigned long long kLargeItem = 0xFFFFFFFFull - (1u << 20);

zip_fileinfo NowInfo()
{
    zip_fileinfo info {};
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    info.tmz_date.tm_sec = static_cast<unsigned>(local.tm_sec);
    info.tmz_date.tm_min = static_cast<unsigned>(local.tm_min);
    info.tmz_date.tm_hour = static_cast<unsigned>(local.tm_hour);
    info.tmz_date.tm_mday = static_cast<unsigned>(local.tm_mday);
    info.tmz_date.tm_mon = static_cast<unsigned>(local.tm_mon);
    info.tmz_date.tm_year = static_cast<unsigned>(local.tm_year + 1900);
    return info;
}

struct _tFileCloser {
    void operator()(std::FILE* fp) const { std::fclose(fp); }
};

}  // namespace

CZipWriter::~CZipWriter()
{
    if (m_pZip)
        zipClose(static_cast<zipFile>(m_pZip), nullptr);
}

bool CZipWriter::Fail(const std::string& sWhy)
{
    m_sError = sWhy + " (" + m_sPath + ")";
    return false;
}

bool CZipWriter::Open(const std::string& sPath)
{
    m_sPath = sPath;
    m_pZip = zipOpen64(sPath.c_str(), APPEND_STATUS_CREATE);
    return m_pZip ? true : Fail("Cannot create the archive");
}

bool CZipWriter::OpenItem(const std::string& sName, bool bLarge, bool bStore)
{
    zip_fileinfo info = NowInfo();
    if (zipOpenNewFileInZip64(static_cast<zipFile>(m_pZip), sName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              bStore ? 0 : Z_DEFLATED, bStore ? 0 : Z_DEFAULT_COMPRESSION, bLarge ? 1 : 0) != ZIP_OK)
        return Fail("Cannot add " + sName + " to the archive");
    return true;
}

bool CZipWriter::Write(const char* pData, size_t nBytes)
{
    constexpr size_t kBlock = 1u << 30;
    for (size_t nDone = 0; nDone < nBytes;) {
        unsigned nPart = static_cast<unsigned>(std::min(kBlock, nBytes - nDone));
        if (zipWriteInFileInZip(static_cast<zipFile>(m_pZip), pData + nDone, nPart) != ZIP_OK)
            return Fail("Cannot write into the archive");
        nDone += nPart;
    }
    return true;
}

bool CZipWriter::CloseItem()
{
    return zipCloseFileInZip(static_cast<zipFile>(m_pZip)) == ZIP_OK ? true : Fail("Cannot finish an item");
}

bool CZipWriter::Add(const std::string& sName, const std::string& sData)
{
    if (!m_pZip)
        return Fail("The archive is not open");
    return OpenItem(sName, sData.size() >= kLargeItem) && Write(sData.data(), sData.size()) && CloseItem();
}

bool CZipWriter::AddFile(const std::string& sName, const std::string& sPath, bool bStore)
{
    if (!m_pZip)
        return Fail("The archive is not open");
    std::unique_ptr<std::FILE, _tFileCloser> fp(std::fopen(sPath.c_str(), "rb"));
    if (!fp)
        return Fail("Cannot read " + sPath);
    std::fseek(fp.get(), 0, SEEK_END);
    long nSize = std::ftell(fp.get());
    std::fseek(fp.get(), 0, SEEK_SET);
    if (!OpenItem(sName, nSize < 0 || static_cast<unsigned long long>(nSize) >= kLargeItem, bStore))
        return false;
    std::unique_ptr<char[]> pBuf(new char[1 << 16]);
    for (size_t nRead; (nRead = std::fread(pBuf.get(), 1, 1 << 16, fp.get())) > 0;) {
        if (!Write(pBuf.get(), nRead))
            return false;
    }
    if (std::ferror(fp.get()))
        return Fail("Cannot read " + sPath);
    return CloseItem();
}

bool CZipWriter::Close()
{
    if (!m_pZip)
        return Fail("The archive is not open");
    int nResult = zipClose(static_cast<zipFile>(m_pZip), nullptr);
    m_pZip = nullptr;
    return nResult == ZIP_OK ? true : Fail("Cannot finish the archive");
}
