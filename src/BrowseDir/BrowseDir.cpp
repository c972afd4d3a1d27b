// Paths are built from the absolute init folder; the walker never changes
// the process's current directory, so it can run beside other work.
// Symbolic links to folders are not followed, so a link cycle cannot make
// the walk endless.
#include "BrowseDir/BrowseDir.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <thread>

#include "Global/Globals.h"

CBrowseDir::CBrowseDir() = default;

bool CBrowseDir::SetInitDir(const char* sDir)
{
    char sReal[PATH_MAX];
    if (!sDir || !realpath(sDir, sReal)) {
        m_szInitDir.clear();
        return false;
    }
    m_szInitDir = sReal;
    if (m_szInitDir.back() != '/')
        m_szInitDir += '/';
    struct stat st {};
    return ::stat(m_szInitDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void CBrowseDir::SetFilter(const std::string& sFilter)
{
    m_sFilter = sFilter;
    m_vecFilter.clear();
    m_bAll = sFilter == "*" || sFilter == "*.*";
    size_t nStart = 0;
    while (!m_bAll && nStart <= sFilter.size()) {
        size_t nEnd = sFilter.find_first_of(";, ", nStart);
        if (nEnd == std::string::npos)
            nEnd = sFilter.size();
        std::string sExt = sFilter.substr(nStart, nEnd - nStart);
        size_t nDot = sExt.find_last_of('.');
        if (nDot != std::string::npos)
            sExt = sExt.substr(nDot + 1);
        std::transform(sExt.begin(), sExt.end(), sExt.begin(), [](unsigned char c) { return std::tolower(c); });
        if (!sExt.empty())
            m_vecFilter.push_back(sExt);
        nStart = nEnd + 1;
    }
    std::sort(m_vecFilter.begin(), m_vecFilter.end());
}

bool CBrowseDir::PassesFilter(const std::string& sName) const
{
    if (m_bAll)
        return true;
    size_t nDot = sName.find_last_of('.');
    if (nDot == std::string::npos)
        return false;
    std::string sExt = sName.substr(nDot + 1);
    std::transform(sExt.begin(), sExt.end(), sExt.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::binary_search(m_vecFilter.begin(), m_vecFilter.end(), sExt);
}

void CBrowseDir::Indicate(const std::string& sText)
{
    if (m_pIndicator)
        m_pIndicator(m_pHost, sText.c_str());
    else
        std::puts(sText.c_str());
}

bool CBrowseDir::BeginBrowse(const char* sFilter, bool bFile, void* pHost, Indicator pIndicator)
{
    m_bFile = bFile;
    m_pHost = pHost;
    m_pIndicator = pIndicator;
    m_vecFileInfo.clear();
    SetFilter(sFilter ? sFilter : "*");
    if (m_szInitDir.empty())
        return false;
    std::clock_t nStart = std::clock();
    BrowseDir(m_szInitDir);
    double fSeconds = static_cast<double>(std::clock() - nStart) / CLOCKS_PER_SEC;
    char sLine[512];
    std::snprintf(sLine, sizeof sLine, "BrowseDir Get  %zd files,Time=%6fs,Speed=%6f个数/s Started sort!\n",
                  m_vecFileInfo.size(), fSeconds, fSeconds > 0 ? m_vecFileInfo.size() / fSeconds : 0.0);
    Indicate(sLine);
    nStart = std::clock();
    std::sort(m_vecFileInfo.begin(), m_vecFileInfo.end());
    fSeconds = static_cast<double>(std::clock() - nStart) / CLOCKS_PER_SEC;
    std::snprintf(sLine, sizeof sLine, "Sort ending  %zd files,Time=%6fs,Speed=%6f个数/s Started sort!\n",
                  m_vecFileInfo.size(), fSeconds, fSeconds > 0 ? m_vecFileInfo.size() / fSeconds : 0.0);
    Indicate(sLine);
    return true;
}

void CBrowseDir::BrowseDir(const std::string& sDir)
{
    DIR* pDir = opendir(sDir.c_str());
    if (!pDir) {
        std::printf(" Failure to open the directory %s\n", sDir.c_str());
        return;
    }
    std::vector<std::string> vecSubDirs;
    while (dirent* pEntry = readdir(pDir)) {
        std::string sName = pEntry->d_name;
        if (sName == "." || sName == "..")
            continue;
        std::string sPath = sDir + sName;
        struct stat st {};
        if (::lstat(sPath.c_str(), &st) != 0) {
            std::printf("Error:stat %s\n", sPath.c_str());
            continue;
        }
        if (S_ISLNK(st.st_mode)) {
            struct stat target {};
            if (::stat(sPath.c_str(), &target) != 0 || !S_ISREG(target.st_mode))
                continue;  // a dangling link, or one to a folder: not followed
            st = target;
        }
        if (S_ISDIR(st.st_mode)) {
            vecSubDirs.push_back(sPath + "/");
            if (!m_bFile)
                ProcessDir(sPath.c_str(), sDir.c_str());
        } else if (m_bFile && PassesFilter(sName)) {
            ProcessFile(sPath.c_str());
        }
    }
    closedir(pDir);
    for (const auto& sSub : vecSubDirs)
        BrowseSubDir(sSub);
}

// A sub-folder is walked on a thread of its own while fewer than
// m_nMaxThreadCount run, else here; either way before the walk goes on.
void CBrowseDir::BrowseSubDir(const std::string& sDir)
{
    bool bThread = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_nThreadCount < m_nMaxThreadCount) {
            ++m_nThreadCount;
            bThread = true;
        }
    }
    if (bThread) {
        try {
            std::thread worker([this, sDir] { BrowseDir(sDir); });
            worker.join();
        } catch (const std::system_error&) {
            std::puts("Work thread start failed!");
            BrowseDir(sDir);  // walk it here instead of giving up
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_nThreadCount;
        return;
    }
    BrowseDir(sDir);
}

bool CBrowseDir::ProcessFile(const char* sFilename)
{
    struct stat st {};
    if (::stat(sFilename, &st) != 0) {
        g_sLastErrorMessage = std::string("Fail read file ") + sFilename;
        return false;
    }
    if (st.st_ctime < m_nMinTime)
        return true;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecFileInfo.push_back({sFilename, st.st_ctime, static_cast<size_t>(st.st_size)});
    if (m_vecFileInfo.size() % 1000 == 0) {
        char sLine[1024];
        std::snprintf(sLine, sizeof sLine, "ThreadCount=%d Scan %s(%s) %zd ", static_cast<int>(m_nThreadCount),
                      sFilename, m_szInitDir.c_str(), m_vecFileInfo.size());
        Indicate(sLine);
    }
    return true;
}

void CBrowseDir::ProcessDir(const char* sCurrentDir, const char* /*sParentDir*/)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecFileInfo.push_back({sCurrentDir, 0, 0});
}
