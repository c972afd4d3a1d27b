// The document jobs in Redis streams: the job stream read through a consumer
// group, the results stream with the stored results, and the dead-letter
// stream of jobs given up on. Every call runs on the caller's connection.
#pragma once

#include <map>
#include <string>
#include <vector>

class CRedisConnection;

struct _tQueueJob {
    std::string sId;
    std::map<std::string, std::string> mapFields;  // path or data, name, type
};

class CJobQueue {
public:
    // sStream: the job stream; the others are named after it.
    CJobQueue(CRedisConnection& connection, std::string sStream);

    const std::string& JobStream() const { return m_sStream; }
    std::string ResultStream() const { return m_sStream + ":results"; }
    std::string DeadStream() const { return m_sStream + ":dead"; }
    std::string DoneHash() const { return m_sStream + ":done"; }
    // The key of a stored result: the same document bytes and type give the same key.
    std::string ResultKey(const std::string& sBytes, int nType) const;

    bool Submit(const std::map<std::string, std::string>& mapFields, std::string& sId, std::string& sError);
    bool EnsureGroup(const std::string& sGroup, std::string& sError);
    // One new job, waiting at most nBlockMs; false only on error (no job: sId empty).
    bool ReadNew(const std::string& sGroup, const std::string& sConsumer, int nBlockMs, _tQueueJob& job,
                 std::string& sError);
    // Takes over one job pending longer than nIdleMs on any consumer.
    bool ClaimIdle(const std::string& sGroup, const std::string& sConsumer, int nIdleMs, _tQueueJob& job,
                   std::string& sError);
    // How often the job was handed out, 0 when it is no longer pending.
    long long Deliveries(const std::string& sGroup, const std::string& sId, std::string& sError);
    // Stores the result, records it once per job and acknowledges the job, in one step.
    bool Finish(const std::string& sGroup, const _tQueueJob& job, const std::string& sKey, const std::string& sResult,
                std::string& sError);
    // Drops a consumer from the group when it holds no job, so the list of
    // workers shows the living ones; a consumer with jobs stays for the claim.
    bool Leave(const std::string& sGroup, const std::string& sConsumer, std::string& sError);
    // Moves the job with its reason to the dead-letter stream and acknowledges it, in one step.
    bool GiveUp(const std::string& sGroup, const _tQueueJob& job, const std::string& sReason, std::string& sError);

private:
    CRedisConnection& m_connection;
    std::string m_sStream;
};
