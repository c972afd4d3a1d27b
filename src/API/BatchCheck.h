// Checks every report document under a directory tree with a pool of worker
// threads, each on a checker instance of its own.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "veskar.h"

// Told about each finished document on the worker thread that checked it.
using BatchCallback = VESKAR_BatchCallback;

// One job of a batch.
struct _veskar_thread_argu {
    std::string srcFile;
    std::string sOrgnization;
    int format = 0;
    int type = 0;
    bool bDone = false;
};

// True for the files a batch checks: extensions beginning with "doc", and
// "wps", "pdf", "txt" (any case), except the engine's own "*_tuple.txt".
bool IsBatchJob(const std::string& sPath);

class CBatchCheck {
public:
    CBatchCheck(std::string sOrganization, int nType, int nFormat, BatchCallback pCallback, void* pHost);
    // Lists the tree and checks its documents: the number of files listed,
    // or SIZE_MAX when a worker could not be started.
    size_t Run(const char* sDir, int nThreadCount);

private:
    void Worker();
    bool Claim(_veskar_thread_argu& job);
    void Finish(const _veskar_thread_argu& job, const char* sResult, const std::string& sError);
    // Where a document's outputs go: "" beside it, else its folder's
    // place under the caller's output folder.
    std::string OutputFolderOf(const std::string& sFile) const;

    std::string m_sOrganization;
    int m_nType;
    int m_nFormat;
    BatchCallback m_pCallback;
    void* m_pHost;
    std::string m_sSourceRoot;
    std::string m_sOutputRoot;  // the calling thread's output folder
    std::mutex m_mutex;  // guards the jobs and the finished count
    std::vector<_veskar_thread_argu> m_vecJobs;
    size_t m_nProcessCount = 0;
};
