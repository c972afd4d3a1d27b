// veskar status: how many jobs of a Redis job stream wait, run, are done or
// were given up, and what each worker holds.
#include <cstdio>
#include <hiredis/hiredis.h>
#include <json/json.h>

#include "CommandLine.h"
#include "Commands.h"
#include "JobQueue.h"
#include "RedisConnection.h"

const char* const kStatusUsage =
    "usage: veskar status --redis URL [--group NAME] [--stream NAME] [--json]\n"
    "\n"
    "Shows the jobs of the stream 'veskar worker' reads: waiting (not yet\n"
    "handed out), running (handed out, not yet acknowledged), done (with a\n"
    "stored result), failed (in the dead letters), and per worker the jobs it\n"
    "holds and how long it has been idle.\n"
    "\n"
    "  --redis URL        redis://host[:port][/db]\n"
    "  --group NAME       consumer group; default veskar\n"
    "  --stream NAME      job stream; default veskar:jobs\n"
    "  --json             print {\"jobs\", \"waiting\", \"running\", \"done\", \"failed\",\n"
    "                     \"workers\": [{\"name\", \"pending\", \"idle_ms\"}]}\n";

namespace {

// A reply of alternating names and values, as XINFO answers, as JSON.
Json::Value FlatMap(const redisReply* pReply)
{
    Json::Value map(Json::objectValue);
    for (size_t i = 0; i + 1 < pReply->elements; i += 2) {
        const redisReply* pValue = pReply->element[i + 1];
        std::string sName(pReply->element[i]->str, pReply->element[i]->len);
        if (pValue->type == REDIS_REPLY_INTEGER)
            map[sName] = static_cast<Json::Int64>(pValue->integer);
        else if (pValue->type == REDIS_REPLY_STRING || pValue->type == REDIS_REPLY_STATUS)
            map[sName] = std::string(pValue->str, pValue->len);
    }
    return map;
}

long long Integer(CRedisConnection& connection, const std::vector<std::string>& vecArgs)
{
    std::string sError;
    RedisReplyPtr pReply = connection.Command(vecArgs, sError);
    return pReply && pReply->type == REDIS_REPLY_INTEGER ? pReply->integer : 0;
}

Json::Value FindGroup(CRedisConnection& connection, const std::string& sStream, const std::string& sGroup)
{
    std::string sError;
    RedisReplyPtr pReply = connection.Command({"XINFO", "GROUPS", sStream}, sError);
    for (size_t i = 0; pReply && i < pReply->elements; ++i) {
        Json::Value group = FlatMap(pReply->element[i]);
        if (group["name"].asString() == sGroup)
            return group;
    }
    return Json::Value(Json::objectValue);
}

Json::Value Workers(CRedisConnection& connection, const std::string& sStream, const std::string& sGroup)
{
    std::string sError;
    Json::Value workers(Json::arrayValue);
    RedisReplyPtr pReply = connection.Command({"XINFO", "CONSUMERS", sStream, sGroup}, sError);
    for (size_t i = 0; pReply && i < pReply->elements; ++i) {
        Json::Value consumer = FlatMap(pReply->element[i]);
        Json::Value worker(Json::objectValue);
        worker["name"] = consumer["name"];
        worker["pending"] = consumer["pending"];
        worker["idle_ms"] = consumer["idle"];
        workers.append(worker);
    }
    return workers;
}

Json::Value Collect(CRedisConnection& connection, const CJobQueue& queue, const std::string& sGroup)
{
    Json::Value status(Json::objectValue);
    Json::Value group = FindGroup(connection, queue.JobStream(), sGroup);
    long long nJobs = Integer(connection, {"XLEN", queue.JobStream()});
    status["jobs"] = static_cast<Json::Int64>(nJobs);
    // Without a group (no worker ever started) every job waits; Redis leaves
    // the lag out when it cannot tell it.
    status["waiting"] = group.isMember("lag") ? group["lag"] : Json::Value(static_cast<Json::Int64>(group.empty() ? nJobs : -1));
    status["running"] = group.isMember("pending") ? group["pending"] : Json::Value(0);
    status["done"] = static_cast<Json::Int64>(Integer(connection, {"HLEN", queue.DoneHash()}));
    status["failed"] = static_cast<Json::Int64>(Integer(connection, {"XLEN", queue.DeadStream()}));
    status["workers"] = Workers(connection, queue.JobStream(), sGroup);
    return status;
}

void PrintText(const Json::Value& status, const std::string& sStream, const std::string& sGroup)
{
    std::printf("stream %s, group %s: %lld jobs\n", sStream.c_str(), sGroup.c_str(),
                static_cast<long long>(status["jobs"].asInt64()));
    std::string sWaiting = status["waiting"].asInt64() < 0 ? "?" : std::to_string(status["waiting"].asInt64());
    std::printf("  waiting %s, running %lld, done %lld, failed %lld\n", sWaiting.c_str(),
                static_cast<long long>(status["running"].asInt64()), static_cast<long long>(status["done"].asInt64()),
                static_cast<long long>(status["failed"].asInt64()));
    for (const auto& worker : status["workers"])
        std::printf("  worker %s: %lld running, idle %.1f s\n", worker["name"].asCString(),
                    static_cast<long long>(worker["pending"].asInt64()), worker["idle_ms"].asDouble() / 1000);
}

}  // namespace

int RunStatus(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kStatusUsage, {"--redis", "--group", "--stream"}, {"--json"},
                          nExit))
        return nExit;
    _tRedisAddress address;
    std::string sError;
    if (!args.Words().empty())
        return UsageError(kStatusUsage, "status takes no words, only options");
    if (!args.Has("--redis") || !CRedisConnection::ParseUrl(args.Get("--redis"), address, sError))
        return UsageError(kStatusUsage, args.Has("--redis") ? sError.c_str() : "status needs --redis URL");
    CRedisConnection connection(address);
    if (!connection.Connect(sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return 1;
    }
    std::string sGroup = args.Get("--group", "veskar");
    CJobQueue queue(connection, args.Get("--stream", "veskar:jobs"));
    Json::Value status = Collect(connection, queue, sGroup);
    if (args.Has("--json")) {
        Json::StreamWriterBuilder writer;
        writer["indentation"] = "";
        std::printf("%s\n", Json::writeString(writer, status).c_str());
    } else {
        PrintText(status, queue.JobStream(), sGroup);
    }
    return 0;
}
