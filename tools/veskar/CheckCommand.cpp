// veskar check: checks one document, writes its result file and prints a
// readable summary (or the JSON result).
#include <cstdio>
#include <json/json.h>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kCheckUsage =
    "usage: veskar check FILE [--type N] [--format xml|json] [--org ORG] [--json] [--data DIR]\n"
    "\n"
    "Checks a document (.docx; .doc, .wps, .rtf, .odt through LibreOffice; .pdf\n"
    "through pdftotext; .txt, .htm) and writes its result beside it as\n"
    "NAME_Check.xml (or NAME_Check.json). Prints the total score, the findings\n"
    "per error code, then every finding with its paragraph, page, original and\n"
    "proposed text, and the path of the result file.\n"
    "\n"
    "  --type N           report type; 6 (default) and 7 are theses and papers\n"
    "  --format xml|json  form of the result file; default xml\n"
    "  --org ORG          organisation whose template applies, instead of the\n"
    "                     one found in the document\n"
    "  --json             print the JSON result instead of the summary\n"
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

// The result file VESKAR_CheckReportF writes in JSON form, for the summary.
std::string JsonResultPath(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of('/');
    size_t nDot = sFile.find_last_of('.');
    std::string sBase = (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash))
                            ? sFile.substr(0, nDot)
                            : sFile;
    return sBase + "_Check.json";
}

}  // namespace

int RunCheck(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kCheckUsage, {"--type", "--format", "--org", "--data"},
                          {"--json"}, nExit))
        return nExit;
    int nType = 6;
    if (args.Words().size() != 1)
        return UsageError(kCheckUsage, "check takes one FILE");
    if (!args.GetInt("--type", 6, 0, 1000000, nType))
        return UsageError(kCheckUsage, "--type takes a report type number");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(kCheckUsage, "--format is xml or json");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const std::string& sFile = args.Words()[0];
    int nFormat = sFormat == "json" ? 1 : 0;
    const char* sAnswer = VESKAR_CheckReportF(sFile.c_str(), "", args.Get("--org").c_str(), nType, nFormat, false, 0);
    if (!sAnswer)
        return ReportFailure("cannot check " + sFile);
    std::string sResultFile = nFormat == 1 ? JsonResultPath(sFile) : std::string(sAnswer);
    const char* sJson = nFormat == 1 ? sAnswer : VESKAR_LoadCheckResult(sResultFile.c_str(), 0);
    Json::Value result;
    if (!ParseResultJson(sJson, result))
        return ReportFailure("cannot read the result " + sResultFile);
    if (args.Has("--json"))
        std::printf("%s\n", sJson);
    else
        PrintResultSummary(result, sResultFile);
    return 0;
}
