// The job loop of one queue worker thread.
#include "QueueWorker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "veskar.h"

namespace {

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string FieldOf(const _tQueueJob& job, const char* sName)
{
    auto it = job.mapFields.find(sName);
    return it == job.mapFields.end() ? std::string() : it->second;
}

// The job's file name without folders, so it cannot leave the work folder;
// the extension tells the library the document's form.
std::string SafeName(const std::string& sName)
{
    std::string sBase = sName.substr(sName.find_last_of('/') + 1);
    if (sBase.empty() || sBase == "." || sBase == "..")
        return "document.docx";
    return sBase;
}

// The result file the check writes for a document: its name without the
// extension, then "_Check.json".
std::string ResultFileName(const std::string& sName)
{
    size_t nDot = sName.find_last_of('.');
    return (nDot == std::string::npos || nDot == 0 ? sName : sName.substr(0, nDot)) + "_Check.json";
}

int TypeOf(const _tQueueJob& job)
{
    std::string sType = FieldOf(job, "type");
    if (sType.empty() || sType.size() > 2 || sType.find_first_not_of("0123456789") != std::string::npos)
        return 6;
    return std::atoi(sType.c_str());
}

bool WriteDocument(const std::string& sFile, const std::string& sBytes, std::string& sError)
{
    std::ofstream out(sFile, std::ios::binary);
    if (out && out.write(sBytes.data(), static_cast<std::streamsize>(sBytes.size())) && out.flush())
        return true;
    sError = "cannot write " + sFile;
    return false;
}

void ClearFolder(const std::string& sDir)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(sDir, error))
        std::filesystem::remove_all(entry.path(), error);
}

std::string MakeWorkDir()
{
    std::string sTemplate = (std::filesystem::temp_directory_path() / "veskar-worker-XXXXXX").string();
    return mkdtemp(&sTemplate[0]) ? sTemplate : std::string();
}

}  // namespace

CQueueWorker::CQueueWorker(const _tWorkerSettings& settings, std::string sConsumer, const std::atomic<bool>& bStop)
    : m_settings(settings), m_sConsumer(std::move(sConsumer)), m_bStop(bStop), m_connection(settings.address),
      m_queue(m_connection, settings.sStream),
      m_heartbeat(settings.address, settings.sStream, settings.sGroup, m_sConsumer,
                  std::max(1, settings.nClaimAfterMs / 3), settings.nJobLimitMs)
{
}

CQueueWorker::~CQueueWorker()
{
    if (m_nHandle >= 0)
        VESKAR_DeleteInstance(m_nHandle);
    std::error_code error;
    if (!m_sWorkDir.empty())
        std::filesystem::remove_all(m_sWorkDir, error);
}

void CQueueWorker::Run()
{
    m_nHandle = VESKAR_NewInstance();
    m_sWorkDir = MakeWorkDir();
    if (m_nHandle < 0 || m_sWorkDir.empty()) {
        Log(m_nHandle < 0 ? "cannot make a checker instance" : "cannot make a work folder");
        return;
    }
    m_nBusyMs = NowMs();
    while (!m_bStop && !IdleTooLong()) {
        if (EnsureLink() && Step())
            continue;
        // An unreachable Redis is no sign that the work is over.
        m_nBusyMs = NowMs();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    std::string sError;
    if (m_connection.Connected())
        m_queue.Leave(m_settings.sGroup, m_sConsumer, sError);
}

bool CQueueWorker::IdleTooLong() const
{
    return m_settings.nExitIdleMs > 0 && NowMs() - m_nBusyMs >= m_settings.nExitIdleMs;
}

bool CQueueWorker::EnsureLink()
{
    if (m_connection.Connected())
        return true;
    std::string sError;
    if (m_connection.Connect(sError) && m_queue.EnsureGroup(m_settings.sGroup, sError)) {
        if (m_bLinkReported)
            Log("connected again");
        m_bLinkReported = false;
        return true;
    }
    if (!m_bLinkReported)
        Log(sError + "; trying again");
    m_bLinkReported = true;
    return false;
}

// One job, or one empty wait; false when Redis failed.
bool CQueueWorker::Step()
{
    _tQueueJob job;
    bool bClaimed = false;
    if (!NextJob(job, bClaimed))
        return false;
    if (job.sId.empty())
        return true;
    Handle(job, bClaimed);
    m_nBusyMs = NowMs();
    return true;
}

bool CQueueWorker::NextJob(_tQueueJob& job, bool& bClaimed)
{
    std::string sError;
    long long nNow = NowMs();
    // Looking for abandoned jobs costs a round trip, so not before every job.
    if (nNow - m_nLastClaimMs >= std::min(1000, m_settings.nClaimAfterMs / 2 + 1)) {
        m_nLastClaimMs = nNow;
        if (!m_queue.ClaimIdle(m_settings.sGroup, m_sConsumer, m_settings.nClaimAfterMs, job, sError)) {
            Log("cannot claim: " + sError);
            return false;
        }
        bClaimed = !job.sId.empty();
        if (bClaimed)
            return true;
    }
    if (!m_queue.ReadNew(m_settings.sGroup, m_sConsumer, m_settings.nBlockMs, job, sError)) {
        Log("cannot read the jobs: " + sError);
        if (sError.compare(0, 7, "NOGROUP") == 0)
            m_queue.EnsureGroup(m_settings.sGroup, sError);
        return false;
    }
    return true;
}

void CQueueWorker::Handle(const _tQueueJob& job, bool bClaimed)
{
    std::string sError;
    long long nDeliveries = bClaimed ? m_queue.Deliveries(m_settings.sGroup, job.sId, sError) : 1;
    if (nDeliveries > m_settings.nMaxDeliveries)
        return GiveUp(job, "handed out " + std::to_string(nDeliveries) + " times without a result");
    std::string sBytes;
    std::string sResult;
    m_heartbeat.Begin(job.sId);
    bool bLoaded = LoadBytes(job, sBytes, sError);
    std::string sKey = bLoaded ? m_queue.ResultKey(sBytes, TypeOf(job)) : std::string();
    bool bChecked = bLoaded && Check(job, sBytes, sKey, sResult, sError);
    m_heartbeat.End();
    if (bChecked)
        return Store(job, sKey, sResult);
    if (nDeliveries >= m_settings.nMaxDeliveries)
        return GiveUp(job, sError);
    Log("job " + job.sId + " failed (try " + std::to_string(nDeliveries) + "): " + sError);
}

void CQueueWorker::Store(const _tQueueJob& job, const std::string& sKey, const std::string& sResult)
{
    std::string sError;
    if (m_queue.Finish(m_settings.sGroup, job, sKey, sResult, sError))
        ++m_nDone;
    else  // left pending: another worker (or this one) takes it over later
        Log("cannot store the result of job " + job.sId + ": " + sError);
}

bool CQueueWorker::LoadBytes(const _tQueueJob& job, std::string& sBytes, std::string& sError) const
{
    auto it = job.mapFields.find("data");
    if (it != job.mapFields.end()) {
        sBytes = it->second;
        return true;
    }
    std::string sPath = FieldOf(job, "path");
    std::ifstream file(sPath, std::ios::binary);
    std::ostringstream text;
    if (sPath.empty() || !file || !(text << file.rdbuf())) {
        sError = sPath.empty() ? "the job names no document" : "cannot read " + sPath;
        return false;
    }
    sBytes = text.str();
    return true;
}

bool CQueueWorker::Check(const _tQueueJob& job, const std::string& sBytes, const std::string& sKey,
                         std::string& sResult, std::string& sError)
{
    std::string sName = SafeName(FieldOf(job, "name"));
    std::string sFile = m_sWorkDir + "/" + sName;
    std::string sOut;
    bool bDone = WriteDocument(sFile, sBytes, sError) && PlaceOutput(sKey, sOut, sError) &&
                 RunCheck(sFile, TypeOf(job), sResult, sError);
    if (bDone && !sOut.empty()) {
        sResult = sOut + "/" + ResultFileName(sName);
        std::error_code error;
        bDone = std::filesystem::is_regular_file(sResult, error);
        if (!bDone)
            sError = "the check left no result file " + sResult;
    }
    // What the check wrote beside the document goes with it.
    ClearFolder(m_sWorkDir);
    return bDone;
}

bool CQueueWorker::RunCheck(const std::string& sFile, int nType, std::string& sJson, std::string& sError)
{
    const char* sResult = VESKAR_CheckReportF(sFile.c_str(), "", "", nType, 1, false, m_nHandle);
    if (sResult) {
        sJson = sResult;
        return true;
    }
    sError = VESKAR_GetLastErrorMsg();
    if (sError.empty())
        sError = "the check failed";
    return false;
}

// With an output folder, each document's files go into a folder named after
// its result key, so equal names from different jobs stay apart and a job
// done twice writes the same files again.
bool CQueueWorker::PlaceOutput(const std::string& sKey, std::string& sFolder, std::string& sError) const
{
    sFolder.clear();
    if (m_settings.sOutDir.empty())
        return VESKAR_SetOutputDir("") == 1;
    sFolder = m_settings.sOutDir + "/" + sKey.substr(sKey.rfind(':') + 1);
    if (VESKAR_SetOutputDir(sFolder.c_str()) == 1)
        return true;
    sError = VESKAR_GetLastErrorMsg();
    return false;
}

void CQueueWorker::GiveUp(const _tQueueJob& job, const std::string& sReason)
{
    std::string sError;
    if (m_queue.GiveUp(m_settings.sGroup, job, sReason, sError)) {
        ++m_nGivenUp;
        Log("job " + job.sId + " goes to the dead letters: " + sReason);
    } else {
        Log("cannot give up job " + job.sId + ": " + sError);
    }
}

void CQueueWorker::Log(const std::string& sLine) const
{
    std::fprintf(stderr, "veskar worker %s: %s\n", m_sConsumer.c_str(), sLine.c_str());
}
