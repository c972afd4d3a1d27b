// Jobs are claimed in list order (oldest status change first) under the
// batch's lock, so no document is checked twice. Each batch call has its own
// job list, so two batches in one process cannot disturb each other.
#include "API/BatchCheck.h"

#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <thread>

#include "API/ExportGuard.h"
#include "BrowseDir/ScanFiles.h"
#include "Global/Globals.h"
#include "Utility/CallContext.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

// Listed files come with absolute paths whatever the spelling of the folder.
std::string AbsoluteFolder(const std::string& sFolder)
{
    std::error_code ec;
    std::string sAbsolute = std::filesystem::absolute(sFolder, ec).string();
    sAbsolute = NormalisePath(ec ? sFolder : sAbsolute);
    while (sAbsolute.size() > 1 && sAbsolute.back() == '/')
        sAbsolute.pop_back();
    return sAbsolute;
}

}  // namespace

bool IsBatchJob(const std::string& sPath)
{
    size_t nSlash = sPath.find_last_of('/');
    std::string sName = nSlash == std::string::npos ? sPath : sPath.substr(nSlash + 1);
    size_t nDot = sName.find_last_of('.');
    if (nDot == std::string::npos)
        return false;
    std::string sExt = sName.substr(nDot + 1);
    if (strncasecmp(sExt.c_str(), "doc", 3) == 0)
        return true;
    if (strcasecmp(sExt.c_str(), "wps") == 0 || strcasecmp(sExt.c_str(), "pdf") == 0)
        return true;
    if (strcasecmp(sExt.c_str(), "txt") != 0)
        return false;
    std::string sBase = sName.substr(0, nDot);
    return !(sBase.size() >= 6 && sBase.compare(sBase.size() - 6, 6, "_tuple") == 0);
}

CBatchCheck::CBatchCheck(std::string sOrganization, int nType, int nFormat, BatchCallback pCallback,
                         void* pHost)
    : m_sOrganization(std::move(sOrganization)), m_nType(nType), m_nFormat(nFormat), m_pCallback(pCallback),
      m_pHost(pHost)
{
}

size_t CBatchCheck::Run(const char* sDir, int nThreadCount)
{
    std::string sLocalDir;
    GetAnsiFilename(sDir ? sDir : "", sLocalDir, false);
    if (!IsDirectory(sLocalDir)) {
        SetLastError("Cannot open folder " + sLocalDir + (FileExists(sLocalDir) ? ": it is not a folder" : ""));
        return 0;
    }
    m_sSourceRoot = AbsoluteFolder(sLocalDir);
    m_sOutputRoot = CCallContext::Current().sOutputFolder;
    std::vector<std::string> vecFiles;
    // A caller with its own progress display gets no listing lines on stdout.
    auto quiet = [](void*, const char*) {};
    if (m_pCallback)
        gfn_vScanFiles(sLocalDir.c_str(), vecFiles, "*.*", true, nullptr, quiet);
    else
        gfn_vScanFiles(sLocalDir.c_str(), vecFiles, "*.*", true);
    for (const auto& sFile : vecFiles)
        if (IsBatchJob(sFile))
            m_vecJobs.push_back({sFile, m_sOrganization, m_nFormat, m_nType, false});
    size_t nWorkers = nThreadCount > 0 ? static_cast<size_t>(nThreadCount) : 0;
    if (nWorkers > m_vecJobs.size())
        nWorkers = m_vecJobs.size();
    std::vector<std::thread> vecWorkers;
    bool bStartFailed = false;
    for (size_t i = 0; i < nWorkers; ++i) {
        try {
            vecWorkers.emplace_back([this] { Worker(); });
        } catch (const std::system_error& e) {
            std::printf("can't create thread: %s\n", e.code().message().c_str());
            bStartFailed = true;
            break;
        }
        if (!m_pCallback)
            std::printf("create thread : %d\n", static_cast<int>(i));
    }
    // The workers share this batch's state: all are joined before it goes.
    for (auto& worker : vecWorkers)
        worker.join();
    if (!m_pCallback)
        std::printf("Mutilthread Main Exits!\n");
    return bStartFailed ? SIZE_MAX : vecFiles.size();
}

bool CBatchCheck::Claim(_veskar_thread_argu& job)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& candidate : m_vecJobs) {
        if (!candidate.bDone) {
            candidate.bDone = true;
            job = candidate;
            return true;
        }
    }
    return false;
}

void CBatchCheck::Finish(const _veskar_thread_argu& job, const char* sResult, const std::string& sError)
{
    size_t nDone = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        nDone = ++m_nProcessCount;
    }
    char sHead[64];
    std::snprintf(sHead, sizeof sHead, "\n%zd/%zd\t", nDone, m_vecJobs.size());
    std::string sLine = sHead + job.srcFile + " finished!\n";
    WriteLog(sLine, nullptr, false);
    if (m_pCallback)
        m_pCallback(m_pHost, job.srcFile.c_str(), nDone, m_vecJobs.size(), sResult,
                    sResult ? nullptr : sError.c_str());
    else
        std::fputs(sLine.c_str(), stdout);
}

std::string CBatchCheck::OutputFolderOf(const std::string& sFile) const
{
    if (m_sOutputRoot.empty())
        return std::string();
    // The tree is mirrored, so equal names in two sub-folders stay apart.
    std::string sFolder = AbsoluteFolder(DirName(sFile));
    if (sFolder == m_sSourceRoot)
        return m_sOutputRoot;
    if (sFolder.size() > m_sSourceRoot.size() && sFolder.compare(0, m_sSourceRoot.size(), m_sSourceRoot) == 0 &&
        sFolder[m_sSourceRoot.size()] == '/')
        return NormalisePath(m_sOutputRoot + "/" + sFolder.substr(m_sSourceRoot.size()));
    return m_sOutputRoot;
}

void CBatchCheck::Worker()
{
    int nHandle = VESKAR_NewInstance();
    if (nHandle < 0)
        return;
    _veskar_thread_argu job;
    while (Claim(job)) {
        // No structure-parse progress from the workers: it would mix into
        // the caller's own progress display.
        CCallContext context;
        context.sOutputFolder = OutputFolderOf(job.srcFile);
        context.bShowProgress = false;
        CCallContext::CScope scope(std::move(context));
        const char* sResult = VESKAR_CheckReportF(job.srcFile.c_str(), "", job.sOrgnization.c_str(), job.type,
                                                  job.format, false, nHandle);
        Finish(job, sResult, sResult ? std::string() : std::string(VESKAR_GetLastErrorMsg()));
    }
    VESKAR_DeleteInstance(nHandle);
}

extern "C" {

VESKAR_API size_t VESKAR_CheckReportDir(const char* sReportDir, const char* sOrgnization, int nType, int format,
                                        int nThreadCount)
{
    return GuardExport("VESKAR_CheckReportDir", SIZE_MAX, [&]() -> size_t {
        CBatchCheck batch(sOrgnization ? sOrgnization : "", nType, format, nullptr, nullptr);
        return batch.Run(sReportDir, nThreadCount);
    });
}

VESKAR_API int VESKAR_IsBatchDocument(const char* sPath)
{
    return GuardExport("VESKAR_IsBatchDocument", 0, [&]() -> int { return sPath && IsBatchJob(sPath) ? 1 : 0; });
}

VESKAR_API size_t VESKAR_CheckReportDirEx(const char* sReportDir, const char* sOrgnization, int nType, int format,
                                          int nThreadCount, VESKAR_BatchCallback pCallback, void* pHost)
{
    return GuardExport("VESKAR_CheckReportDirEx", SIZE_MAX, [&]() -> size_t {
        CBatchCheck batch(sOrgnization ? sOrgnization : "", nType, format, pCallback, pHost);
        return batch.Run(sReportDir, nThreadCount);
    });
}

}  // extern "C"
