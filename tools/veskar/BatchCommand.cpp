// veskar batch: checks every document under a folder with several workers,
// shows progress, and ends with a table of what was checked and what failed
// (or one JSON summary for scripts).
#include <algorithm>
#include <cstdio>
#include <json/json.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "BatchProgress.h"
#include "CommandLine.h"
#include "Commands.h"
#include "DocumentWalk.h"
#include "FileBatch.h"
#include "LibrarySession.h"
#include "OutputOptions.h"
#include "ResultSummary.h"
#include "ShardSplit.h"
#include "veskar.h"

const char* const kBatchUsage =
    "usage: veskar batch DIR [--type N] [--threads N] [--format xml|json] [--org ORG]\n"
    "                        [--json] [--out DIR] [--log-dir DIR] [--shard i/n] [--data DIR]\n"
    "\n"
    "Checks every document under DIR and its sub-folders (.doc, .docx, .wps,\n"
    ".pdf, .txt), each result beside its document (with --out, in the same\n"
    "sub-folder under the output folder). report.doc and report.docx in one\n"
    "folder are two documents with two results: the .docx keeps the name\n"
    "report, the other keeps its extension (report.doc_Check.xml). Shows\n"
    "progress, then a table of the documents with their scores, the number\n"
    "of findings and the reason of every failure. Exits with 1 when any\n"
    "document failed or DIR is not a folder.\n"
    "\n"
    "  --type N           report type 0 to 19; default 6 (theses and papers)\n"
    "  --threads N        worker threads, 1 to 256; default: the number of\n"
    "                     processors\n"
    "  --format xml|json  form of the result files; default xml\n"
    "  --org ORG          organisation whose template applies\n"
    "  --json             print one JSON summary instead of the table:\n"
    "                     {\"documents\": [{\"file\", \"status\" (ok|failed),\n"
    "                     \"score\", \"findings\", \"result\", \"error\"}], \"total\",\n"
    "                     \"checked\", \"failed\", \"seconds\"}\n"
    VESKAR_OUT_HELP
    VESKAR_LOG_DIR_HELP
    "  --shard i/n        check only the i-th of n shares of the documents\n"
    "                     (1 <= i <= n), split by their paths under DIR: n runs\n"
    "                     with i = 1..n check every document once\n"
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

void OnDocument(void* pHost, const char* sFile, size_t nDone, size_t nTotal, const char* sResult,
                const char* sError)
{
    static_cast<CBatchProgress*>(pHost)->Done(sFile, nDone, nTotal, sResult, sError);
}

// What a finished document's result says.
struct _tDocumentScore {
    bool bRead = false;
    double fScore = 0;
    unsigned nFindings = 0;
    std::string sResultFile;
};

_tDocumentScore ScoreOf(const _tBatchOutcome& outcome, int nFormat)
{
    const char* sJson = nFormat == 1 ? outcome.sResult.c_str() : VESKAR_LoadCheckResult(outcome.sResult.c_str(), 0);
    Json::Value result;
    _tDocumentScore score;
    if (!ParseResultJson(sJson, result))
        return score;
    score.bRead = true;
    score.fScore = result["Statistics"]["TotalScore"].asDouble();
    score.nFindings = result["Statistics"]["TotalCount"].asUInt();
    score.sResultFile = nFormat == 1 ? JsonResultFile(result) : outcome.sResult;
    return score;
}

size_t CountFailed(const std::vector<_tBatchOutcome>& vecOutcomes)
{
    return static_cast<size_t>(std::count_if(vecOutcomes.begin(), vecOutcomes.end(),
                                             [](const _tBatchOutcome& o) { return !o.sError.empty(); }));
}

void PrintTable(const std::vector<_tBatchOutcome>& vecOutcomes, int nFormat, double fSeconds)
{
    std::printf("\n%-7s %7s %8s  %s\n", "status", "score", "findings", "document");
    for (const auto& outcome : vecOutcomes) {
        if (!outcome.sError.empty()) {
            std::printf("%-7s %7s %8s  %s\n        %s\n", "FAILED", "-", "-", outcome.sFile.c_str(),
                        outcome.sError.c_str());
            continue;
        }
        _tDocumentScore score = ScoreOf(outcome, nFormat);
        if (score.bRead)
            std::printf("%-7s %7.2f %8u  %s\n", "ok", score.fScore, score.nFindings, outcome.sFile.c_str());
        else
            std::printf("%-7s %7s %8s  %s\n", "ok", "?", "?", outcome.sFile.c_str());
    }
    size_t nFailed = CountFailed(vecOutcomes);
    double fRate = fSeconds > 0 ? static_cast<double>(vecOutcomes.size()) / fSeconds : 0;
    std::printf("\n%zu documents: %zu checked, %zu failed, in %.1f s (%.1f documents/s)\n", vecOutcomes.size(),
                vecOutcomes.size() - nFailed, nFailed, fSeconds, fRate);
}

void PrintJson(const std::vector<_tBatchOutcome>& vecOutcomes, int nFormat, double fSeconds)
{
    Json::Value summary(Json::objectValue);
    Json::Value documents(Json::arrayValue);
    for (const auto& outcome : vecOutcomes) {
        Json::Value document(Json::objectValue);
        document["file"] = outcome.sFile;
        bool bOk = outcome.sError.empty();
        document["status"] = bOk ? "ok" : "failed";
        _tDocumentScore score = bOk ? ScoreOf(outcome, nFormat) : _tDocumentScore();
        document["score"] = score.bRead ? Json::Value(score.fScore) : Json::Value();
        document["findings"] = score.bRead ? Json::Value(score.nFindings) : Json::Value();
        document["result"] = score.bRead ? Json::Value(score.sResultFile) : Json::Value();
        document["error"] = bOk ? Json::Value() : Json::Value(outcome.sError);
        documents.append(document);
    }
    size_t nFailed = CountFailed(vecOutcomes);
    summary["documents"] = documents;
    summary["total"] = static_cast<Json::UInt64>(vecOutcomes.size());
    summary["checked"] = static_cast<Json::UInt64>(vecOutcomes.size() - nFailed);
    summary["failed"] = static_cast<Json::UInt64>(nFailed);
    summary["seconds"] = fSeconds;
    Json::StreamWriterBuilder writer;
    writer["emitUTF8"] = true;
    writer["indentation"] = "  ";
    std::printf("%s\n", Json::writeString(writer, summary).c_str());
}

// Checks the documents of one share; the number of documents looked at, or
// (size_t)-1 when the threads could not start.
size_t CheckShare(const CCommandLine& args, const CShardSplit& shard, int nType, int nFormat, int nThreads,
                  CBatchProgress& progress)
{
    std::vector<std::string> vecAll;
    std::vector<std::string> vecMine;
    std::string sError;
    const std::string& sDir = args.Words()[0];
    if (!ListDocuments(sDir, vecAll, sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return static_cast<size_t>(-1);
    }
    for (const auto& sFile : vecAll) {
        if (shard.Contains(sFile))
            vecMine.push_back(sFile);
    }
    CFileBatch batch(args.Get("--org"), nType, nFormat, OnDocument, &progress);
    batch.SetFolders(sDir, args.Get("--out"));
    return batch.Run(vecMine, nThreads) ? vecMine.size() : static_cast<size_t>(-1);
}

bool IsFolder(const std::string& sPath)
{
    struct stat info {};
    return stat(sPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunBatch(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kBatchUsage,
                          {"--type", "--threads", "--format", "--org", "--data", "--out", "--log-dir", "--shard"},
                          {"--json"},
                          nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kBatchUsage, "batch takes one DIR");
    int nType = 6;
    int nThreads = 1;
    int nProcessors = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (!args.GetInt("--type", 6, 0, kMaxReportType, nType))
        return UsageError(kBatchUsage, "--type takes a report type from 0 to 19");
    if (!args.GetInt("--threads", nProcessors, 1, 256, nThreads))
        return UsageError(kBatchUsage, "--threads takes a number from 1 to 256");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(kBatchUsage, "--format is xml or json");
    CShardSplit shard;
    std::string sShardError;
    if (args.Has("--shard") && !shard.Parse(args.Get("--shard"), sShardError))
        return UsageError(kBatchUsage, sShardError.c_str());
    const std::string& sDir = args.Words()[0];
    if (!IsFolder(sDir)) {
        std::fprintf(stderr, "veskar: %s is %s\n", sDir.c_str(),
                     access(sDir.c_str(), F_OK) == 0 ? "not a folder (use 'veskar check' for one document)"
                                                     : "no folder (it does not exist)");
        return 1;
    }
    if (!ApplyOutputOptions(args))
        return 1;
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    int nFormat = sFormat == "json" ? 1 : 0;
    bool bJson = args.Has("--json");
    CBatchProgress progress(isatty(STDERR_FILENO) != 0, bJson ? stderr : stdout);
    size_t nFiles = args.Has("--shard")
                        ? CheckShare(args, shard, nType, nFormat, nThreads, progress)
                        : VESKAR_CheckReportDirEx(sDir.c_str(), args.Get("--org").c_str(), nType, nFormat, nThreads,
                                                  OnDocument, &progress);
    std::vector<_tBatchOutcome> vecOutcomes = progress.Finish();
    if (nFiles == static_cast<size_t>(-1))
        return ReportFailure("cannot start the worker threads");
    std::sort(vecOutcomes.begin(), vecOutcomes.end(),
              [](const _tBatchOutcome& a, const _tBatchOutcome& b) { return a.sFile < b.sFile; });
    if (bJson) {
        PrintJson(vecOutcomes, nFormat, progress.Seconds());
    } else if (vecOutcomes.empty()) {
        std::printf("no documents under %s (%zu files looked at)\n", sDir.c_str(), nFiles);
        return 0;
    } else {
        PrintTable(vecOutcomes, nFormat, progress.Seconds());
    }
    return CountFailed(vecOutcomes) ? 1 : 0;
}
