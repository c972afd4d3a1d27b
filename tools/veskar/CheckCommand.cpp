// veskar check: checks one document, writes its result file and prints a
// readable summary (or the JSON result).
#include <cstdio>
#include <json/json.h>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "OutputOptions.h"
#include "PageFiles.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kCheckUsage =
    "usage: veskar check FILE [--type N] [--format xml|json] [--org ORG] [--json]\n"
    "                         [--html] [--out DIR] [--log-dir DIR] [--data DIR]\n"
    "\n"
    "Checks a document (.docx; .doc, .wps, .rtf, .odt through LibreOffice; .pdf\n"
    "through pdftotext; .txt, .htm) and writes its result beside it as\n"
    "NAME_Check.xml (or NAME_Check.json). Prints the total score, the findings\n"
    "per error code, then every finding with its paragraph, page, original and\n"
    "proposed text, and the path of the result file. A converted document\n"
    "never replaces a file beside it; when two documents share a name\n"
    "(report.doc beside report.docx) the .docx keeps NAME and the other's\n"
    "files keep its extension (report.doc_Check.xml).\n"
    "\n"
    "  --type N           report type 0 to 19; 6 (default) and 7 are theses\n"
    "                     and papers\n"
    "  --format xml|json  form of the result file; default xml\n"
    "  --org ORG          organisation whose template applies, instead of the\n"
    "                     one found in the document\n"
    "  --json             print the JSON result instead of the summary\n"
    "  --timing           print the time of each stage after the summary\n"
    "  --html             then print the path of the document's HTML pages\n"
    "                     (NAME_0.htm ..., findings marked) and write a revised\n"
    "                     copy (NAME_Revised_<time>.docx) and print its path\n"
    VESKAR_OUT_HELP
    VESKAR_LOG_DIR_HELP
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

// One line per stage with its share of the whole check.
void PrintTiming(const char* sJson)
{
    Json::Value timing;
    if (!ParseResultJson(sJson, timing) || !timing.isObject()) {
        std::fprintf(stderr, "veskar: no stage times\n");
        return;
    }
    const double fTotal = timing["total"].asDouble();
    const char* const kStages[][2] = {{"parse", "parse"},           {"rule_scan", "rule scan"},
                                      {"audit", "audit"},           {"format", "format check"},
                                      {"marks", "HTML marks"},      {"output", "result file"}};
    std::printf("\ntimes (ms):\n");
    for (const auto& stage : kStages) {
        double fMs = timing[stage[0]].asDouble();
        std::printf("  %-13s %10.1f  %5.1f%%\n", stage[1], fMs, fTotal > 0 ? 100.0 * fMs / fTotal : 0.0);
    }
    std::printf("  %-13s %10.1f\n", "total", fTotal);
}

// After a check: where its marked pages are, and a revised copy.
int ShowAndRevise(const Json::Value& result, const std::string& sResultFile)
{
    std::string sPage = FirstPagePath(result);
    if (sPage.empty())
        return ReportFailure("no HTML pages were written for " + sResultFile);
    std::printf("pages:   %s\n", sPage.c_str());
    const char* sRevised = VESKAR_ReviseReportF(sResultFile.c_str(), 0);
    if (!sRevised || !*sRevised)
        return ReportFailure("cannot revise " + sResultFile);
    std::printf("revised: %s\n", sRevised);
    return 0;
}

}  // namespace

int RunCheck(int argc, char** argv, int nFirst)
{
    const char* const sUsage = kCheckUsage;
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, sUsage,
                          {"--type", "--format", "--org", "--data", "--out", "--log-dir"}, {"--json", "--timing", "--html"},
                          nExit))
        return nExit;
    int nType = 6;
    if (args.Words().size() != 1)
        return UsageError(sUsage, "check takes one FILE");
    if (!args.GetInt("--type", 6, 0, kMaxReportType, nType))
        return UsageError(sUsage, "--type takes a report type from 0 to 19");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(sUsage, "--format is xml or json");
    if (!ApplyOutputOptions(args))
        return 1;
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const std::string& sFile = args.Words()[0];
    int nFormat = sFormat == "json" ? 1 : 0;
    const char* sAnswer = VESKAR_CheckReportF(sFile.c_str(), "", args.Get("--org").c_str(), nType, nFormat, false, 0);
    if (!sAnswer)
        return ReportFailure("cannot check " + sFile);
    std::string sResultFile = nFormat == 1 ? std::string() : std::string(sAnswer);
    const char* sJson = nFormat == 1 ? sAnswer : VESKAR_LoadCheckResult(sResultFile.c_str(), 0);
    Json::Value result;
    if (!ParseResultJson(sJson, result))
        return ReportFailure("cannot read the result " + sResultFile);
    if (nFormat == 1)
        sResultFile = JsonResultFile(result);
    if (args.Has("--json"))
        std::printf("%s\n", sJson);
    else
        PrintResultSummary(result, sResultFile, sFile);
    if (args.Has("--timing"))
        PrintTiming(VESKAR_GetCheckTiming(0));
    return args.Has("--html") ? ShowAndRevise(result, sResultFile) : 0;
}
