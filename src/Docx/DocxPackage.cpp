// The package is checked as a whole (signature, size, item names, count,
// presence of the main document) before anything is written, and bytes are
// counted while they are written, because the sizes a ZIP directory states
// cannot be trusted.
#include "Docx/DocxPackage.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <minizip/unzip.h>
#include <sys/stat.h>
#include <vector>

#include "Utility/FileUtility.h"

namespace fs = std::filesystem;

namespace {

struct ZipCloser {
    void operator()(void* p) const { unzClose(static_cast<unzFile>(p)); }
};
struct FileCloser {
    void operator()(FILE* fp) const { std::fclose(fp); }
};

std::string CurrentItemName(unzFile pZip)
{
    unz_file_info64 info {};
    if (unzGetCurrentFileInfo64(pZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return std::string();
    std::vector<char> sName(info.size_filename + 1, '\0');
    unzGetCurrentFileInfo64(pZip, &info, sName.data(), sName.size(), nullptr, 0, nullptr, 0);
    std::string sOut(sName.data(), info.size_filename);
    for (char& c : sOut) {
        if (c == '\\')
            c = '/';
    }
    return sOut;
}

bool MakeFolders(const std::string& sFolder)
{
    std::error_code ec;
    fs::create_directories(sFolder, ec);
    return IsDirectory(sFolder);
}

}  // namespace

bool CDocxPackage::IsSafeEntryName(const std::string& sName)
{
    if (sName.empty() || sName[0] == '/' || sName.find('\0') != std::string::npos)
        return false;
    if (sName.size() > 1 && sName[1] == ':')
        return false;  // a drive letter
    size_t nPos = 0;
    while (nPos <= sName.size()) {
        size_t nEnd = sName.find('/', nPos);
        if (nEnd == std::string::npos)
            nEnd = sName.size();
        if (sName.compare(nPos, nEnd - nPos, "..") == 0 && nEnd - nPos == 2)
            return false;
        nPos = nEnd + 1;
    }
    return true;
}

bool CDocxPackage::RemoveFolder(const std::string& sFolder)
{
    std::error_code ec;
    fs::remove_all(sFolder, ec);
    return !ec;
}

int CDocxPackage::Fail(int nCode, const std::string& sMessage)
{
    m_sError = sMessage;
    return nCode;
}

int CDocxPackage::CheckPackageFile(const std::string& sDocx)
{
    int64_t nSize = GetFileSize(sDocx);
    if (nSize < 0)
        return Fail(ERR_CANNOT_OPEN, "Cannot open file " + sDocx);
    if (static_cast<uint64_t>(nSize) > MAX_PACKAGE_BYTES)
        return Fail(ERR_TOO_LARGE, sDocx + " is invalid docx file: it is larger than the " +
                                       std::to_string(MAX_PACKAGE_BYTES >> 20) + " MB limit.");
    char sHead[4] = {0, 0, 0, 0};
    std::unique_ptr<FILE, FileCloser> fp(std::fopen(sDocx.c_str(), "rb"));
    if (!fp)
        return Fail(ERR_CANNOT_OPEN, "Cannot open file " + sDocx);
    size_t nRead = std::fread(sHead, 1, 4, fp.get());
    if (nRead < 4 || sHead[0] != 'P' || sHead[1] != 'K')
        return Fail(ERR_NOT_ZIP, sDocx + " is invalid docx file: it is not a ZIP package.");
    // An archive that starts with its end record holds nothing.
    m_bEmptyArchive = sHead[2] == '\x05' && sHead[3] == '\x06';
    return UNPACK_OK;
}

// The working folder is emptied before unpacking; a folder of that name that
// holds something else (the user's own files) must never be deleted.
bool CDocxPackage::IsReplaceableFolder(const std::string& sFolder)
{
    struct stat st {};
    if (::lstat(sFolder.c_str(), &st) != 0)
        return true;
    if (!S_ISDIR(st.st_mode))
        return false;
    if (FileExists(sFolder + "/[Content_Types].xml"))
        return true;
    DIR* pDir = opendir(sFolder.c_str());
    if (!pDir)
        return false;
    bool bEmpty = true;
    while (dirent* pEntry = readdir(pDir)) {
        std::string sName = pEntry->d_name;
        if (sName != "." && sName != "..") {
            bEmpty = false;
            break;
        }
    }
    closedir(pDir);
    return bEmpty;
}

int CDocxPackage::Unpack(const std::string& sDocx, const std::string& sFolder, KeepTest isKept)
{
    m_sError.clear();
    m_mapKept.clear();
    m_isKept = isKept;
    int nCheck = CheckPackageFile(sDocx);
    if (nCheck != UNPACK_OK)
        return nCheck;
    std::unique_ptr<void, ZipCloser> pZip(unzOpen64(sDocx.c_str()));
    if (!pZip && m_bEmptyArchive)
        return Fail(ERR_EMPTY, "Error unzip " + sDocx + " to path " + sFolder +
                                   ": the package holds no items.");
    if (!pZip)
        return Fail(ERR_TRUNCATED, sDocx + " is invalid docx file: the package is truncated "
                                           "or damaged (its ZIP directory cannot be read).");
    unz_global_info64 global {};
    if (unzGetGlobalInfo64(pZip.get(), &global) != UNZ_OK)
        return Fail(ERR_TRUNCATED, sDocx + " is invalid docx file: the package is damaged.");
    if (global.number_entry == 0)
        return Fail(ERR_EMPTY, "Error unzip " + sDocx + " to path " + sFolder +
                                   ": the package holds no items.");
    if (global.number_entry > MAX_ENTRIES)
        return Fail(ERR_TOO_MANY_ENTRIES, sDocx + " is invalid docx file: it holds more than " +
                                              std::to_string(MAX_ENTRIES) + " items.");
    // Names first: nothing is written for a package that holds a bad one.
    bool bHasDocument = false;
    uint64_t nCount = 0;
    for (int nErr = unzGoToFirstFile(pZip.get()); nErr == UNZ_OK;
         nErr = unzGoToNextFile(pZip.get())) {
        std::string sName = CurrentItemName(static_cast<unzFile>(pZip.get()));
        if (!IsSafeEntryName(sName))
            return Fail(ERR_UNSAFE_NAME, sDocx + " is invalid docx file: the item name \"" +
                                             sName + "\" points outside the package folder.");
        bHasDocument = bHasDocument || sName == "word/document.xml";
        if (++nCount > MAX_ENTRIES)
            return Fail(ERR_TOO_MANY_ENTRIES, sDocx + " is invalid docx file: it holds more than " +
                                                  std::to_string(MAX_ENTRIES) + " items.");
    }
    if (!bHasDocument)
        return Fail(ERR_NO_DOCUMENT, sDocx + " is invalid docx file: it holds no word/document.xml.");
    if (!IsReplaceableFolder(sFolder))
        return Fail(ERR_CANNOT_WRITE, "Error unzip " + sDocx + " to path " + sFolder +
                                          ": the folder exists and does not hold an unpacked package, "
                                          "so it is left as it is.");
    RemoveFolder(sFolder);
    if (!MakeFolders(sFolder))
        return Fail(ERR_CANNOT_WRITE, "Error unzip " + sDocx + " to path " + sFolder +
                                          ": the folder cannot be created.");
    chmod(sFolder.c_str(), 0777);
    int nResult = ExtractAll(pZip.get(), sDocx, sFolder);
    if (nResult != UNPACK_OK) {
        RemoveFolder(sFolder);
        m_mapKept.clear();
    }
    return nResult;
}

// The sizes the package declares, added up before anything is written, so an
// honest zip bomb is refused at once; a package that lies about its sizes is
// still stopped by the count kept while unpacking.
uint64_t CDocxPackage::DeclaredSize(void* pZip)
{
    unzFile pUnz = static_cast<unzFile>(pZip);
    uint64_t nTotal = 0;
    for (int nErr = unzGoToFirstFile(pUnz); nErr == UNZ_OK; nErr = unzGoToNextFile(pUnz)) {
        unz_file_info64 info {};
        if (unzGetCurrentFileInfo64(pUnz, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK)
            nTotal += info.uncompressed_size;
    }
    return nTotal;
}

int CDocxPackage::ExtractAll(void* pZip, const std::string& sDocx, const std::string& sFolder)
{
    if (DeclaredSize(pZip) > MAX_UNPACKED_BYTES)
        return Fail(ERR_UNPACKED_TOO_LARGE, sDocx + " is invalid docx file: it unpacks to more than " +
                                                std::to_string(MAX_UNPACKED_BYTES >> 20) + " MB.");
    uint64_t nUnpacked = 0;
    for (int nErr = unzGoToFirstFile(static_cast<unzFile>(pZip)); nErr == UNZ_OK;
         nErr = unzGoToNextFile(static_cast<unzFile>(pZip))) {
        std::string sName = CurrentItemName(static_cast<unzFile>(pZip));
        int nResult = ExtractCurrent(pZip, sName, sFolder, nUnpacked);
        if (nResult == ERR_UNPACKED_TOO_LARGE)
            return Fail(nResult, sDocx + " is invalid docx file: it unpacks to more than " +
                                     std::to_string(MAX_UNPACKED_BYTES >> 20) + " MB.");
        if (nResult == ERR_DAMAGED)
            return Fail(nResult, sDocx + " is invalid docx file: the item " + sName +
                                     " is truncated or damaged.");
        if (nResult != UNPACK_OK)
            return Fail(nResult, "Error unzip " + sDocx + " to path " + sFolder +
                                     ": cannot write " + sName);
    }
    return UNPACK_OK;
}

int CDocxPackage::ExtractCurrent(void* pZip, const std::string& sName, const std::string& sFolder,
                                 uint64_t& nUnpacked)
{
    unzFile pUnz = static_cast<unzFile>(pZip);
    std::string sPath = sFolder + "/" + sName;
    if (sName.back() == '/')
        return MakeFolders(sPath) ? UNPACK_OK : ERR_CANNOT_WRITE;
    if (!MakeFolders(DirName(sPath)))
        return ERR_CANNOT_WRITE;
    if (unzOpenCurrentFile(pUnz) != UNZ_OK)
        return ERR_DAMAGED;
    std::unique_ptr<FILE, FileCloser> fp(std::fopen(sPath.c_str(), "wb"));
    if (!fp) {
        unzCloseCurrentFile(pUnz);
        return ERR_CANNOT_WRITE;
    }
    std::string* pKeep = nullptr;
    if (m_isKept) {
        // "word//styles.xml" is written to the same file as "word/styles.xml".
        std::string sKey = NormalisePath(sName);
        if (m_isKept(sKey))
            pKeep = &m_mapKept[sKey];
    }
    int nResult = CopyCurrent(pZip, fp.get(), pKeep, nUnpacked);
    int nClose = unzCloseCurrentFile(pUnz);
    if (nResult == UNPACK_OK && nClose != UNZ_OK)
        nResult = ERR_DAMAGED;
    if (nResult != UNPACK_OK)
        return nResult;
    return std::fclose(fp.release()) == 0 ? UNPACK_OK : ERR_CANNOT_WRITE;
}

// A kept item is inflated straight into its string and written from there;
// other items pass through one buffer.
int CDocxPackage::CopyCurrent(void* pZip, FILE* fp, std::string* pKeep, uint64_t& nUnpacked)
{
    constexpr size_t kChunk = 1 << 16;
    unzFile pUnz = static_cast<unzFile>(pZip);
    std::string sBuffer;
    std::string& sOut = pKeep ? *pKeep : sBuffer;
    sOut.clear();
    if (pKeep) {
        // The stated size is only a hint: a package may lie about it.
        unz_file_info64 info {};
        if (unzGetCurrentFileInfo64(pUnz, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK)
            sOut.reserve(static_cast<size_t>(std::min<uint64_t>(info.uncompressed_size, 64u << 20)) + kChunk);
    }
    int nRead = 0;
    for (;;) {
        size_t nOld = pKeep ? sOut.size() : 0;
        sOut.resize(nOld + kChunk);
        nRead = unzReadCurrentFile(pUnz, &sOut[nOld], static_cast<unsigned>(kChunk));
        sOut.resize(nOld + static_cast<size_t>(std::max(nRead, 0)));
        if (nRead <= 0)
            break;
        nUnpacked += static_cast<uint64_t>(nRead);
        if (nUnpacked > MAX_UNPACKED_BYTES)
            return ERR_UNPACKED_TOO_LARGE;
        if (std::fwrite(sOut.data() + nOld, 1, static_cast<size_t>(nRead), fp) != static_cast<size_t>(nRead))
            return ERR_CANNOT_WRITE;
    }
    return nRead < 0 ? ERR_DAMAGED : UNPACK_OK;
}
