// veskar worker: checks the documents of a Redis job stream with several
// threads until SIGTERM or SIGINT (or once the stream stays empty), each
// thread its own consumer.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "LibrarySession.h"
#include "QueueWorker.h"

const char* const kWorkerUsage =
    "usage: veskar worker --redis URL [--threads N] [--group NAME] [--stream NAME]\n"
    "                     [--claim-after MS] [--retries N] [--job-limit S]\n"
    "                     [--exit-when-idle S]\n"
    "                     [--out DIR] [--data DIR]\n"
    "\n"
    "Takes the jobs 'veskar submit' added to a Redis stream through a consumer\n"
    "group and checks them, until SIGTERM or SIGINT (the jobs in hand are\n"
    "finished first). Each result (the JSON text, or with --out the path of\n"
    "the result file) is stored under\n"
    "STREAM:result:HASH, HASH naming the document's bytes and type, and\n"
    "listed once per job in STREAM:results; a job is acknowledged only once\n"
    "its result is stored. Jobs left pending by a worker that died are taken\n"
    "over after --claim-after; a job that failed --retries times goes with its\n"
    "reason to STREAM:dead.\n"
    "\n"
    "  --redis URL        redis://host[:port][/db]\n"
    "  --threads N        worker threads, 1 to 256; default 1\n"
    "  --group NAME       consumer group; default veskar\n"
    "  --stream NAME      job stream; default veskar:jobs\n"
    "  --claim-after MS   take over jobs pending this long; default 60000\n"
    "  --retries N        deliveries before a job is given up; default 3\n"
    "  --job-limit S      a job being checked is kept from other workers (its\n"
    "                     claim renewed) for S seconds at most; default 600\n"
    "  --exit-when-idle S stop once Redis had no job (new or left pending past\n"
    "                     --claim-after) for S seconds; a thread stops on its own\n"
    "  --out DIR          write each document's files into DIR/HASH/ (a folder all\n"
    "                     machines share) and store the result file's path in\n"
    "                     Redis instead of the JSON text\n"
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

std::string ConsumerPrefix()
{
    char sHost[256] = {};
    if (gethostname(sHost, sizeof sHost - 1) != 0)
        std::snprintf(sHost, sizeof sHost, "host");
    return std::string(sHost) + ":" + std::to_string(getpid()) + ":";
}

// The output folder, made when missing, as an absolute path.
bool PrepareOutDir(const std::string& sDir, std::string& sAbsolute)
{
    std::error_code error;
    std::filesystem::create_directories(sDir, error);
    char sReal[PATH_MAX];
    if (sDir.empty() || !realpath(sDir.c_str(), sReal) || !std::filesystem::is_directory(sReal, error)) {
        std::fprintf(stderr, "veskar: cannot write into the output folder '%s'\n", sDir.c_str());
        return false;
    }
    sAbsolute = sReal;
    return true;
}

// The time limits and retries; 0 to go on, else the exit code.
int ReadTimes(const CCommandLine& args, _tWorkerSettings& settings)
{
    if (!args.GetInt("--claim-after", 60000, 1, 86400000, settings.nClaimAfterMs))
        return UsageError(kWorkerUsage, "--claim-after takes milliseconds from 1 to 86400000");
    if (!args.GetInt("--retries", 3, 1, 1000, settings.nMaxDeliveries))
        return UsageError(kWorkerUsage, "--retries takes a number from 1 to 1000");
    int nLimitSeconds = 600;
    if (!args.GetInt("--job-limit", 600, 1, 86400, nLimitSeconds))
        return UsageError(kWorkerUsage, "--job-limit takes seconds from 1 to 86400");
    settings.nJobLimitMs = nLimitSeconds * 1000;
    int nIdleSeconds = 0;
    if (!args.GetInt("--exit-when-idle", 0, 1, 86400, nIdleSeconds))
        return UsageError(kWorkerUsage, "--exit-when-idle takes seconds from 1 to 86400");
    settings.nExitIdleMs = nIdleSeconds * 1000;
    settings.nBlockMs = nIdleSeconds > 0 ? std::min(settings.nBlockMs, settings.nExitIdleMs) : settings.nBlockMs;
    return 0;
}

// Fills the settings from the options; 0 to go on, else the exit code.
int ReadSettings(const CCommandLine& args, _tWorkerSettings& settings, int& nThreads)
{
    std::string sError;
    int nExit = 0;
    if (!args.Words().empty())
        return UsageError(kWorkerUsage, "worker takes no words, only options");
    if (!args.Has("--redis"))
        return UsageError(kWorkerUsage, "worker needs --redis URL");
    if (!CRedisConnection::ParseUrl(args.Get("--redis"), settings.address, sError))
        return UsageError(kWorkerUsage, sError.c_str());
    if (!args.GetInt("--threads", 1, 1, 256, nThreads))
        return UsageError(kWorkerUsage, "--threads takes a number from 1 to 256");
    if ((nExit = ReadTimes(args, settings)) != 0)
        return nExit;
    if (args.Has("--out") && !PrepareOutDir(args.Get("--out"), settings.sOutDir))
        return 1;
    settings.sGroup = args.Get("--group", "veskar");
    settings.sStream = args.Get("--stream", "veskar:jobs");
    if (settings.sGroup.empty() || settings.sStream.empty())
        return UsageError(kWorkerUsage, "--group and --stream take a name");
    return 0;
}

// Fails early, with the reason, when Redis cannot be reached at all.
bool ProbeRedis(const _tWorkerSettings& settings)
{
    CRedisConnection connection(settings.address);
    CJobQueue queue(connection, settings.sStream);
    std::string sError;
    if (connection.Connect(sError) && queue.EnsureGroup(settings.sGroup, sError))
        return true;
    std::fprintf(stderr, "veskar: %s\n", sError.c_str());
    return false;
}

}  // namespace

int RunWorker(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kWorkerUsage,
                          {"--redis", "--threads", "--group", "--stream", "--claim-after", "--retries",
                           "--job-limit", "--exit-when-idle", "--out", "--data"},
                          {},
                          nExit))
        return nExit;
    _tWorkerSettings settings;
    int nThreads = 1;
    if ((nExit = ReadSettings(args, settings, nThreads)) != 0)
        return nExit;
    if (!ProbeRedis(settings))
        return 1;
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    std::atomic<bool>& bStop = CatchStopSignals();
    // A write to a Redis that went away must fail with an error the worker
    // recovers from, not end the process.
    signal(SIGPIPE, SIG_IGN);
    std::vector<std::unique_ptr<CQueueWorker>> vecWorkers;
    std::vector<std::thread> vecThreads;
    std::string sPrefix = ConsumerPrefix();
    for (int i = 0; i < nThreads; ++i)
        vecWorkers.push_back(std::make_unique<CQueueWorker>(settings, sPrefix + std::to_string(i), bStop));
    std::printf("veskar worker: %d threads on %s, stream %s, group %s\n", nThreads,
                CRedisConnection(settings.address).Describe().c_str(), settings.sStream.c_str(),
                settings.sGroup.c_str());
    std::fflush(stdout);
    for (auto& pWorker : vecWorkers)
        vecThreads.emplace_back([&pWorker]() { pWorker->Run(); });
    size_t nDone = 0;
    size_t nGivenUp = 0;
    for (size_t i = 0; i < vecThreads.size(); ++i) {
        vecThreads[i].join();
        nDone += vecWorkers[i]->Done();
        nGivenUp += vecWorkers[i]->GivenUp();
    }
    std::printf("veskar worker: stopped after %zu jobs done, %zu given up\n", nDone, nGivenUp);
    return 0;
}
