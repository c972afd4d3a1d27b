// veskar show: prints a saved check result as a readable summary.
#include <cstdio>
#include <fstream>
#include <json/json.h>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kShowUsage =
    "usage: veskar show RESULT [--json] [--data DIR]\n"
    "\n"
    "Prints a saved check result (\"..._Check.xml\" or \"..._Check.json\"): the\n"
    "score, the findings per error code, then every finding. A file that is\n"
    "not a saved result is an error (exit 1).\n"
    "\n"
    "  --json       print the result as JSON instead\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

namespace {

// The library reads any XML leniently; a saved XML result opens with its
// <VESKAR> element right after the declaration.
bool LooksLikeXmlResult(const std::string& sFile)
{
    std::ifstream in(sFile, std::ios::binary);
    if (!in)
        return false;
    std::string sHead(4096, '\0');
    in.read(&sHead[0], static_cast<std::streamsize>(sHead.size()));
    sHead.resize(static_cast<size_t>(in.gcount()));
    return sHead.find("<VESKAR>") != std::string::npos;
}

bool IsJsonName(const std::string& sFile)
{
    return sFile.size() >= 5 && sFile.compare(sFile.size() - 5, 5, ".json") == 0;
}

}  // namespace

int RunShow(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kShowUsage, {"--data"}, {"--json"}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kShowUsage, "expected one result file");
    const std::string& sFile = args.Words()[0];
    if (!std::ifstream(sFile)) {
        std::fprintf(stderr, "veskar: cannot open %s\n", sFile.c_str());
        return 1;
    }
    if (!IsJsonName(sFile) && !LooksLikeXmlResult(sFile)) {
        std::fprintf(stderr, "veskar: %s is not a saved check result (NAME_Check.xml or NAME_Check.json)\n",
                     sFile.c_str());
        return 1;
    }
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const char* sJson = VESKAR_LoadCheckResult(sFile.c_str(), 0);
    Json::Value result;
    if (!ParseResultJson(sJson, result) || !IsCheckResult(result)) {
        std::fprintf(stderr, "veskar: %s is not a saved check result (NAME_Check.xml or NAME_Check.json)\n",
                     sFile.c_str());
        return 1;
    }
    if (args.Has("--json"))
        std::printf("%s\n", sJson);
    else
        PrintResultSummary(result, sFile);
    return 0;
}
