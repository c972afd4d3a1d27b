// veskar batch: checks every document under a folder with several workers,
// shows progress, and ends with a table of what was checked and what failed.
#include <algorithm>
#include <cstdio>
#include <json/json.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "BatchProgress.h"
#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kBatchUsage =
    "usage: veskar batch DIR [--type N] [--threads N] [--format xml|json] [--org ORG] [--data DIR]\n"
    "\n"
    "Checks every document under DIR and its sub-folders (.doc, .docx, .wps,\n"
    ".pdf, .txt), each result beside its document. Shows progress, then a\n"
    "table of the documents with their scores and the reason of every failure.\n"
    "Exits with 1 when any document failed.\n"
    "\n"
    "  --type N           report type; default 6 (theses and papers)\n"
    "  --threads N        worker threads; default: the number of processors\n"
    "  --format xml|json  form of the result files; default xml\n"
    "  --org ORG          organisation whose template applies\n"
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

void OnDocument(void* pHost, const char* sFile, size_t nDone, size_t nTotal, const char* sResult,
                const char* sError)
{
    static_cast<CBatchProgress*>(pHost)->Done(sFile, nDone, nTotal, sResult, sError);
}

// The score of a finished document, read back from its result.
std::string ScoreOf(const _tBatchOutcome& outcome, int nFormat)
{
    const char* sJson = nFormat == 1 ? outcome.sResult.c_str() : VESKAR_LoadCheckResult(outcome.sResult.c_str(), 0);
    Json::Value result;
    if (!ParseResultJson(sJson, result))
        return "?";
    char sScore[32];
    std::snprintf(sScore, sizeof sScore, "%.2f", result["Statistics"]["TotalScore"].asDouble());
    return sScore;
}

int PrintTable(std::vector<_tBatchOutcome> vecOutcomes, int nFormat, double fSeconds)
{
    std::sort(vecOutcomes.begin(), vecOutcomes.end(),
              [](const _tBatchOutcome& a, const _tBatchOutcome& b) { return a.sFile < b.sFile; });
    size_t nFailed = 0;
    std::printf("\n%-7s %7s  %s\n", "status", "score", "document");
    for (const auto& outcome : vecOutcomes) {
        if (outcome.sError.empty()) {
            std::printf("%-7s %7s  %s\n", "ok", ScoreOf(outcome, nFormat).c_str(), outcome.sFile.c_str());
            continue;
        }
        ++nFailed;
        std::printf("%-7s %7s  %s\n        %s\n", "FAILED", "-", outcome.sFile.c_str(), outcome.sError.c_str());
    }
    double fRate = fSeconds > 0 ? static_cast<double>(vecOutcomes.size()) / fSeconds : 0;
    std::printf("\n%zu documents: %zu checked, %zu failed, in %.1f s (%.1f documents/s)\n", vecOutcomes.size(),
                vecOutcomes.size() - nFailed, nFailed, fSeconds, fRate);
    return nFailed ? 1 : 0;
}

}  // namespace

int RunBatch(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kBatchUsage, {"--type", "--threads", "--format", "--org", "--data"},
                          {}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kBatchUsage, "batch takes one DIR");
    int nType = 6;
    int nThreads = 1;
    int nProcessors = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (!args.GetInt("--type", 6, 0, 1000000, nType))
        return UsageError(kBatchUsage, "--type takes a report type number");
    if (!args.GetInt("--threads", nProcessors, 1, 256, nThreads))
        return UsageError(kBatchUsage, "--threads takes a number from 1 to 256");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(kBatchUsage, "--format is xml or json");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    int nFormat = sFormat == "json" ? 1 : 0;
    CBatchProgress progress(isatty(STDERR_FILENO) != 0);
    const std::string& sDir = args.Words()[0];
    size_t nFiles = VESKAR_CheckReportDirEx(sDir.c_str(), args.Get("--org").c_str(), nType, nFormat, nThreads,
                                            OnDocument, &progress);
    std::vector<_tBatchOutcome> vecOutcomes = progress.Finish();
    if (nFiles == static_cast<size_t>(-1))
        return ReportFailure("cannot start the worker threads");
    if (vecOutcomes.empty()) {
        std::printf("no documents under %s (%zu files looked at)\n", sDir.c_str(), nFiles);
        return 0;
    }
    return PrintTable(vecOutcomes, nFormat, progress.Seconds());
}
