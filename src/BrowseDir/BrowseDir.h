// Walks a directory tree (several folders at once on worker threads) and
// lists the files whose extension passes a filter, oldest status change first.
#pragma once

#include <ctime>
#include <mutex>
#include <string>
#include <vector>

struct _tFileBasicInfo {
    std::string filename;  // full path
    time_t timestamp = 0;  // status-change time
    size_t size = 0;
    bool operator<(const _tFileBasicInfo& other) const { return timestamp < other.timestamp; }
};

class CBrowseDir {
public:
    using Indicator = void (*)(void* pHost, const char* sText);

    CBrowseDir();
    virtual ~CBrowseDir() = default;

    // The folder to walk; false when it is not a folder.
    bool SetInitDir(const char* sDir);
    // Walks the folder: sFilter "*" or "*.*" takes every file, else a list of
    // extensions ("*.docx;*.txt"). Progress goes to the indicator, or stdout.
    bool BeginBrowse(const char* sFilter, bool bFile, void* pHost = nullptr, Indicator pIndicator = nullptr);

    const std::vector<_tFileBasicInfo>& Files() const { return m_vecFileInfo; }
    const std::string& InitDir() const { return m_szInitDir; }

    unsigned m_nMaxThreadCount = 20;
    time_t m_nMinTime = 0;  // files changed before this are skipped

protected:
    virtual bool ProcessFile(const char* sFilename);
    virtual void ProcessDir(const char* sCurrentDir, const char* sParentDir);

private:
    void SetFilter(const std::string& sFilter);
    bool PassesFilter(const std::string& sName) const;
    void BrowseDir(const std::string& sDir);
    void BrowseSubDir(const std::string& sDir);
    void Indicate(const std::string& sText);

    std::string m_szInitDir;  // ends in "/"
    std::vector<_tFileBasicInfo> m_vecFileInfo;
    std::string m_sFilter;
    std::vector<std::string> m_vecFilter;  // lower case, sorted
    Indicator m_pIndicator = nullptr;
    void* m_pHost = nullptr;
    bool m_bFile = true;
    unsigned m_nThreadCount = 0;
    std::mutex m_mutex;  // guards the file list and the thread count
    bool m_bAll = false;
};
