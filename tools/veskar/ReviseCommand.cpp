// veskar revise: writes a revised copy of a checked document from its saved result.
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "ResultSummary.h"
#include "veskar.h"

const char* const kReviseUsage =
    "usage: veskar revise RESULT [--track] [--data DIR]\n"
    "\n"
    "Writes a revised copy of the document a saved check result\n"
    "(NAME_Check.xml or NAME_Check.json) was made from, with every finding\n"
    "applied, as NAME_Revised_<time>.docx beside the document, and prints its\n"
    "path. The document itself is not changed. Findings about the whole\n"
    "document are listed at its end. The document's unpacked folder\n"
    "(NAME_unzip) left by the check must still be there and unchanged.\n"
    "\n"
    "  --track      text corrections become tracked changes and every other\n"
    "               finding a comment on its paragraph (findings about the\n"
    "               whole document: comments on the first paragraph)\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

int RunRevise(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kReviseUsage, {"--data"}, {"--track"}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kReviseUsage, "revise takes one RESULT file");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const std::string& sFile = args.Words()[0];
    const char* sRevised = args.Has("--track") ? VESKAR_ReviseReportTracked(sFile.c_str(), 0)
                                               : VESKAR_ReviseReportF(sFile.c_str(), 0);
    if (!sRevised || !*sRevised)
        return ReportFailure("cannot revise " + sFile);
    std::printf("%s\n", sRevised);
    return 0;
}
