// veskar show: prints a saved check result as a readable summary.
#include <cstdio>
#include <json/json.h>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kShowUsage =
    "usage: veskar show RESULT [--json] [--data DIR]\n"
    "\n"
    "Prints a saved check result (\"..._Check.xml\" or \"..._Check.json\"): the\n"
    "score, the findings per error code, then every finding.\n"
    "\n"
    "  --json       print the result as JSON instead\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

int RunShow(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    if (!args.Parse(argc, argv, nFirst, {"--data"}, {"--json"}))
        return UsageError(kShowUsage, args.Error().c_str());
    if (args.Has("--help")) {
        std::fputs(kShowUsage, stdout);
        return 0;
    }
    if (args.Words().size() != 1)
        return UsageError(kShowUsage, "expected one result file");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const std::string& sFile = args.Words()[0];
    const char* sJson = VESKAR_LoadCheckResult(sFile.c_str(), 0);
    Json::Value result;
    if (!ParseResultJson(sJson, result))
        return ReportFailure("cannot read the result " + sFile);
    if (args.Has("--json"))
        std::printf("%s\n", sJson);
    else
        PrintResultSummary(result, sFile);
    return 0;
}
