// veskar recheck: re-checks the format of a saved result against a template.
#include <cstdio>
#include <json/json.h>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kRecheckUsage =
    "usage: veskar recheck RESULT --template N [--json] [--data DIR]\n"
    "\n"
    "Re-checks the paragraph formats of a saved result (NAME_Check.xml) against\n"
    "template N: the font, size and spacing findings are computed again, all\n"
    "other findings are kept. The document's saved document file (NAME.xml)\n"
    "must lie beside it. Rewrites the result file and prints its summary.\n"
    "\n"
    "  --template N  the template to check against; an unknown one is a\n"
    "                usage error (exit 2)\n"
    "  --json        print the JSON result instead of the summary\n"
    "  --data DIR    the data folder, or the folder that holds it\n";

int RunRecheck(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kRecheckUsage, {"--template", "--data"}, {"--json"}, nExit))
        return nExit;
    int nTemplate = 0;
    if (args.Words().size() != 1)
        return UsageError(kRecheckUsage, "recheck takes one RESULT file");
    if (!args.Has("--template") || !args.GetInt("--template", 0, 0, 1 << 30, nTemplate))
        return UsageError(kRecheckUsage, "--template takes a template number");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    if (!VESKAR_GetTemplate(nTemplate)) {
        std::string sWhy = "--template " + std::to_string(nTemplate) + ": no such template (the store holds " +
                           std::to_string(VESKAR_GetTemplateCount()) + ")";
        return UsageError(kRecheckUsage, sWhy.c_str());
    }
    const std::string& sFile = args.Words()[0];
    Json::Value result;
    if (!ParseResultJson(VESKAR_LoadCheckResult(sFile.c_str(), 0), result))
        return ReportFailure("cannot read the result " + sFile);
    const char* sWritten = VESKAR_ReCheckFormat(sFile.c_str(), nTemplate, 0, 0);
    if (!sWritten)
        return ReportFailure("cannot re-check " + sFile);
    const char* sJson = VESKAR_LoadCheckResult(sWritten, 0);
    if (!ParseResultJson(sJson, result))
        return ReportFailure(std::string("cannot read the result ") + sWritten);
    if (args.Has("--json"))
        std::printf("%s\n", sJson);
    else
        PrintResultSummary(result, sWritten);
    return 0;
}
