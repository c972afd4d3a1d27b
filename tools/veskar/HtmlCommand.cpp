// veskar html: the HTML pages of a checked document with its findings marked.
#include <json/json.h>

#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "PageFiles.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kHtmlUsage =
    "usage: veskar html RESULT [--open] [--data DIR]\n"
    "\n"
    "Writes the HTML pages of the document a saved check result\n"
    "(NAME_Check.xml or NAME_Check.json) was made from, every finding marked\n"
    "at its paragraph and listed in the page's side panel, as NAME_0.htm,\n"
    "NAME_1.htm ... beside the document, with their style sheets and scripts\n"
    "(css/, js/) and pictures (NAME_files/). Prints the path of page 0. The\n"
    "document is read again; it is not changed.\n"
    "\n"
    "  --open      show page 0 in the desktop's browser (xdg-open)\n"
    "  --data DIR  the data folder, or the folder that holds it\n";

int RunHtml(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kHtmlUsage, {"--data"}, {"--open"}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kHtmlUsage, "html takes one RESULT file");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const std::string& sFile = args.Words()[0];
    Json::Value result;
    if (!ParseResultJson(VESKAR_LoadCheckResult(sFile.c_str(), 0), result) || !IsCheckResult(result))
        return ReportFailure("cannot read the result " + sFile);
    if (const char* sError = VESKAR_ShowHtmlError(sFile.c_str(), 0))
        return ReportFailure(std::string("cannot write the pages of ") + sFile + ": " + sError);
    std::string sPage = FirstPagePath(result);
    if (sPage.empty())
        return ReportFailure("no pages were written for " + sFile);
    std::printf("%s\n", sPage.c_str());
    if (args.Has("--open"))
        OpenInBrowser(sPage);
    return 0;
}
