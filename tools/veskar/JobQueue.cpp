// Redis stream commands of the document jobs. Finishing and giving up run as
// Lua scripts, so a result is never recorded without its acknowledgement or
// the other way round.
#include "JobQueue.h"

#include <hiredis/hiredis.h>

#include "RedisConnection.h"
#include "Sha256.h"

namespace {

// Stores the result, adds it to the results stream the first time this job
// is finished (a job run twice is recorded once) and acknowledges the job.
const char* const kFinishScript =
    "redis.call('SET', KEYS[1], ARGV[1])\n"
    "if redis.call('HSETNX', KEYS[3], ARGV[3], KEYS[1]) == 1 then\n"
    "  redis.call('XADD', KEYS[2], '*', 'job', ARGV[3], 'key', KEYS[1], 'name', ARGV[4])\n"
    "end\n"
    "return redis.call('XACK', KEYS[4], ARGV[2], ARGV[3])\n";

// A job another worker finished meanwhile is only acknowledged.
const char* const kGiveUpScript =
    "if redis.call('HEXISTS', KEYS[3], ARGV[2]) == 0 then\n"
    "  redis.call('XADD', KEYS[1], '*', 'job', ARGV[2], 'name', ARGV[3], 'reason', ARGV[4])\n"
    "end\n"
    "return redis.call('XACK', KEYS[2], ARGV[1], ARGV[2])\n";

// One stream entry [id, [field, value, ...]] into a job; false for a deleted entry.
bool ReadEntry(const redisReply* pEntry, _tQueueJob& job)
{
    if (!pEntry || pEntry->type != REDIS_REPLY_ARRAY || pEntry->elements < 2)
        return false;
    const redisReply* pId = pEntry->element[0];
    const redisReply* pFields = pEntry->element[1];
    if (pId->type != REDIS_REPLY_STRING || pFields->type != REDIS_REPLY_ARRAY)
        return false;
    job.sId.assign(pId->str, pId->len);
    job.mapFields.clear();
    for (size_t i = 0; i + 1 < pFields->elements; i += 2) {
        const redisReply* pKey = pFields->element[i];
        const redisReply* pValue = pFields->element[i + 1];
        job.mapFields[std::string(pKey->str, pKey->len)] = std::string(pValue->str, pValue->len);
    }
    return true;
}

std::string Field(const _tQueueJob& job, const char* sName)
{
    auto it = job.mapFields.find(sName);
    return it == job.mapFields.end() ? std::string() : it->second;
}

}  // namespace

CJobQueue::CJobQueue(CRedisConnection& connection, std::string sStream)
    : m_connection(connection), m_sStream(std::move(sStream))
{
}

std::string CJobQueue::ResultKey(const std::string& sBytes, int nType) const
{
    return m_sStream + ":result:" + CSha256::Of(sBytes) + "-t" + std::to_string(nType);
}

bool CJobQueue::Submit(const std::map<std::string, std::string>& mapFields, std::string& sId, std::string& sError)
{
    std::vector<std::string> vecArgs{"XADD", m_sStream, "*"};
    for (const auto& field : mapFields) {
        vecArgs.push_back(field.first);
        vecArgs.push_back(field.second);
    }
    RedisReplyPtr pReply = m_connection.Command(vecArgs, sError);
    if (!pReply)
        return false;
    sId.assign(pReply->str, pReply->len);
    return true;
}

bool CJobQueue::EnsureGroup(const std::string& sGroup, std::string& sError)
{
    if (m_connection.Command({"XGROUP", "CREATE", m_sStream, sGroup, "0", "MKSTREAM"}, sError))
        return true;
    return sError.compare(0, 9, "BUSYGROUP") == 0;
}

bool CJobQueue::ReadNew(const std::string& sGroup, const std::string& sConsumer, int nBlockMs, _tQueueJob& job,
                        std::string& sError)
{
    job.sId.clear();
    RedisReplyPtr pReply = m_connection.Command({"XREADGROUP", "GROUP", sGroup, sConsumer, "COUNT", "1", "BLOCK",
                                                 std::to_string(nBlockMs), "STREAMS", m_sStream, ">"},
                                                sError);
    if (!pReply)
        return false;
    if (pReply->type != REDIS_REPLY_ARRAY || pReply->elements == 0)
        return true;
    const redisReply* pStream = pReply->element[0];
    if (pStream->type == REDIS_REPLY_ARRAY && pStream->elements == 2 && pStream->element[1]->elements > 0)
        ReadEntry(pStream->element[1]->element[0], job);
    return true;
}

bool CJobQueue::ClaimIdle(const std::string& sGroup, const std::string& sConsumer, int nIdleMs, _tQueueJob& job,
                          std::string& sError)
{
    job.sId.clear();
    RedisReplyPtr pReply = m_connection.Command(
        {"XAUTOCLAIM", m_sStream, sGroup, sConsumer, std::to_string(nIdleMs), "0-0", "COUNT", "1"}, sError);
    if (!pReply)
        return false;
    if (pReply->type == REDIS_REPLY_ARRAY && pReply->elements >= 2) {
        const redisReply* pEntries = pReply->element[1];
        for (size_t i = 0; i < pEntries->elements && job.sId.empty(); ++i)
            ReadEntry(pEntries->element[i], job);
    }
    return true;
}

long long CJobQueue::Deliveries(const std::string& sGroup, const std::string& sId, std::string& sError)
{
    RedisReplyPtr pReply = m_connection.Command({"XPENDING", m_sStream, sGroup, sId, sId, "1"}, sError);
    if (!pReply || pReply->type != REDIS_REPLY_ARRAY || pReply->elements == 0)
        return 0;
    const redisReply* pEntry = pReply->element[0];
    return pEntry->elements >= 4 ? pEntry->element[3]->integer : 0;
}

bool CJobQueue::Finish(const std::string& sGroup, const _tQueueJob& job, const std::string& sKey,
                       const std::string& sResult, std::string& sError)
{
    return m_connection.Command({"EVAL", kFinishScript, "4", sKey, ResultStream(), DoneHash(), m_sStream, sResult,
                                 sGroup, job.sId, Field(job, "name")},
                                sError) != nullptr;
}

bool CJobQueue::Leave(const std::string& sGroup, const std::string& sConsumer, std::string& sError)
{
    // Only this consumer adds to its own pending list, so an empty list
    // stays empty until it is deleted.
    RedisReplyPtr pReply =
        m_connection.Command({"XPENDING", m_sStream, sGroup, "-", "+", "1", sConsumer}, sError);
    if (!pReply || pReply->type != REDIS_REPLY_ARRAY || pReply->elements != 0)
        return false;
    return m_connection.Command({"XGROUP", "DELCONSUMER", m_sStream, sGroup, sConsumer}, sError) != nullptr;
}

bool CJobQueue::GiveUp(const std::string& sGroup, const _tQueueJob& job, const std::string& sReason,
                       std::string& sError)
{
    return m_connection.Command({"EVAL", kGiveUpScript, "3", DeadStream(), m_sStream, DoneHash(), sGroup, job.sId,
                                 Field(job, "name"), sReason},
                                sError) != nullptr;
}
