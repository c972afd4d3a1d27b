// One worker thread of 'veskar worker': takes document jobs from the job
// stream (new ones, or ones left pending too long by another consumer),
// checks each on a library instance of its own and stores the result before
// acknowledging the job, so a job is finished at least once.
#pragma once

#include <atomic>
#include <string>

#include "JobHeartbeat.h"
#include "JobQueue.h"
#include "RedisConnection.h"

struct _tWorkerSettings {
    _tRedisAddress address;
    std::string sStream;
    std::string sGroup;
    int nClaimAfterMs = 60000;  // a pending job idle this long is taken over
    int nMaxDeliveries = 3;     // a job failing this often goes to the dead letters
    int nBlockMs = 2000;        // longest wait for a new job before the stop flag is looked at
    int nJobLimitMs = 600000;   // a job in hand is kept from other workers this long at most
    int nExitIdleMs = 0;        // stop after Redis had no job for this long; 0: never
    std::string sOutDir;        // results as files under this folder, Redis keeping their paths; "": the JSON in Redis
};

class CQueueWorker {
public:
    CQueueWorker(const _tWorkerSettings& settings, std::string sConsumer, const std::atomic<bool>& bStop);
    ~CQueueWorker();
    CQueueWorker(const CQueueWorker&) = delete;
    CQueueWorker& operator=(const CQueueWorker&) = delete;

    // Works until the stop flag is set or, when asked, until Redis had no job
    // for a while; the current job is finished first.
    void Run();
    size_t Done() const { return m_nDone; }
    size_t GivenUp() const { return m_nGivenUp; }

private:
    bool EnsureLink();
    bool Step();
    bool IdleTooLong() const;
    bool NextJob(_tQueueJob& job, bool& bClaimed);
    void Handle(const _tQueueJob& job, bool bClaimed);
    bool LoadBytes(const _tQueueJob& job, std::string& sBytes, std::string& sError) const;
    bool Check(const _tQueueJob& job, const std::string& sBytes, const std::string& sKey, std::string& sResult,
               std::string& sError);
    bool RunCheck(const std::string& sFile, int nType, std::string& sJson, std::string& sError);
    bool PlaceOutput(const std::string& sKey, std::string& sFolder, std::string& sError) const;
    void Store(const _tQueueJob& job, const std::string& sKey, const std::string& sResult);
    void GiveUp(const _tQueueJob& job, const std::string& sReason);
    void Log(const std::string& sLine) const;

    const _tWorkerSettings& m_settings;
    std::string m_sConsumer;
    const std::atomic<bool>& m_bStop;
    CRedisConnection m_connection;
    CJobQueue m_queue;
    CJobHeartbeat m_heartbeat;
    std::string m_sWorkDir;  // private folder where each job's document is checked
    int m_nHandle = -1;
    long long m_nLastClaimMs = 0;
    long long m_nBusyMs = 0;  // when a job was last seen, or Redis last failed
    bool m_bLinkReported = false;
    size_t m_nDone = 0;
    size_t m_nGivenUp = 0;
};
