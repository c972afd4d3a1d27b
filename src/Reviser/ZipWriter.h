// Writes a ZIP archive item by item with minizip, the library the package
// reader uses, from memory or streamed from files.
#pragma once

#include <string>

class CZipWriter {
public:
    CZipWriter() = default;
    CZipWriter(const CZipWriter&) = delete;
    CZipWriter& operator=(const CZipWriter&) = delete;
    // An archive still open is closed as it stands; the caller removes it.
    ~CZipWriter();

    // Creates (or truncates) the archive. False with Error() on failure.
    bool Open(const std::string& sPath);
    bool Add(const std::string& sName, const std::string& sData);
    // The file's bytes under sName, read in blocks; stored as they are when
    // bStore (pictures that are compressed already).
    bool AddFile(const std::string& sName, const std::string& sPath, bool bStore = false);
    // Writes the central directory; the archive is complete only then.
    bool Close();
    const std::string& Error() const { return m_sError; }

private:
    bool OpenItem(const std::string& sName, bool bLarge, bool bStore = false);
    bool Write(const char* pData, size_t nBytes);
    bool CloseItem();
    bool Fail(const std::string& sWhy);

    void* m_pZip = nullptr;
    std::string m_sPath;
    std::string m_sError;
};
