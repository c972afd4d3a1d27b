// veskar submit: adds one job per document to a Redis job stream for the
// workers, by path or with the document's bytes inline.
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "CommandLine.h"
#include "Commands.h"
#include "DocumentWalk.h"
#include "JobQueue.h"
#include "RedisConnection.h"

const char* const kSubmitUsage =
    "usage: veskar submit PATH... --redis URL [--type N] [--stream NAME] [--inline]\n"
    "\n"
    "Adds one job per document to the job stream of 'veskar worker' and prints\n"
    "each job's id and document. A folder PATH adds every document under it.\n"
    "Jobs name the document by its absolute path, so the workers must see the\n"
    "same files; with --inline they carry the document's bytes instead.\n"
    "\n"
    "  --redis URL        redis://host[:port][/db]\n"
    "  --type N           report type 0 to 19; default 6 (theses and papers)\n"
    "  --stream NAME      job stream; default veskar:jobs\n"
    "  --inline           put the document's bytes in the job\n";

namespace {

bool IsFolder(const std::string& sPath)
{
    struct stat info {};
    return stat(sPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The documents the words name: files as given, folders walked.
bool CollectDocuments(const std::vector<std::string>& vecWords, std::vector<std::string>& vecFiles)
{
    for (const auto& sWord : vecWords) {
        std::vector<std::string> vecInside;
        std::string sError;
        if (!IsFolder(sWord)) {
            vecFiles.push_back(sWord);
        } else if (ListDocuments(sWord, vecInside, sError)) {
            for (const auto& sFile : vecInside)
                vecFiles.push_back(sWord + "/" + sFile);
        } else {
            std::fprintf(stderr, "veskar: %s\n", sError.c_str());
            return false;
        }
    }
    return true;
}

bool JobFields(const std::string& sFile, int nType, bool bInline, std::map<std::string, std::string>& mapFields)
{
    char sAbsolute[PATH_MAX];
    if (!realpath(sFile.c_str(), sAbsolute)) {
        std::fprintf(stderr, "veskar: cannot find %s\n", sFile.c_str());
        return false;
    }
    mapFields["name"] = sFile.substr(sFile.find_last_of('/') + 1);
    mapFields["type"] = std::to_string(nType);
    if (!bInline) {
        mapFields["path"] = sAbsolute;
        return true;
    }
    std::ifstream file(sAbsolute, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        std::fprintf(stderr, "veskar: cannot read %s\n", sFile.c_str());
        return false;
    }
    mapFields["data"] = text.str();
    return true;
}

}  // namespace

int RunSubmit(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kSubmitUsage, {"--redis", "--type", "--stream"}, {"--inline"},
                          nExit))
        return nExit;
    _tRedisAddress address;
    std::string sError;
    int nType = 6;
    if (args.Words().empty())
        return UsageError(kSubmitUsage, "submit takes at least one PATH");
    if (!args.Has("--redis") || !CRedisConnection::ParseUrl(args.Get("--redis"), address, sError))
        return UsageError(kSubmitUsage, args.Has("--redis") ? sError.c_str() : "submit needs --redis URL");
    if (!args.GetInt("--type", 6, 0, kMaxReportType, nType))
        return UsageError(kSubmitUsage, "--type takes a report type from 0 to 19");
    std::vector<std::string> vecFiles;
    if (!CollectDocuments(args.Words(), vecFiles))
        return 1;
    // Losing Redis midway is reported, not a silent end by SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    CRedisConnection connection(address);
    CJobQueue queue(connection, args.Get("--stream", "veskar:jobs"));
    if (!connection.Connect(sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return 1;
    }
    int nFailed = 0;
    for (const auto& sFile : vecFiles) {
        std::map<std::string, std::string> mapFields;
        std::string sId;
        if (!JobFields(sFile, nType, args.Has("--inline"), mapFields)) {
            ++nFailed;
        } else if (!queue.Submit(mapFields, sId, sError)) {
            std::fprintf(stderr, "veskar: cannot add %s: %s\n", sFile.c_str(), sError.c_str());
            return 1;
        } else {
            std::printf("%s %s\n", sId.c_str(), sFile.c_str());
        }
    }
    return nFailed ? 1 : 0;
}
