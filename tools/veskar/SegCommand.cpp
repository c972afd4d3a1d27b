// veskar seg: the words of a text, or of each line of a file, with their
// part-of-speech tags.
#include <cstdio>
#include <fstream>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kSegUsage =
    "usage: veskar seg TEXT... | --file FILE [--plain] [--data DIR]\n"
    "\n"
    "Prints the words of a text with their part-of-speech tags: \"word/tag\"\n"
    "tokens separated by single spaces (a user word holding spaces as\n"
    "\"[a b]/tag\"). Several TEXT arguments are joined with spaces. Numbers are\n"
    "tagged m, dates and times t, Latin words and unknown symbols x,\n"
    "punctuation w... (wd comma, wj full stop, wn enumeration comma, ...).\n"
    "The user words saved in the data folder are used.\n"
    "\n"
    "  --file FILE   segment each line of a UTF-8 text file, one output line each\n"
    "  --plain       print the words without tags\n"
    "  --data DIR    the data folder, or the folder that holds it\n";

namespace {

int SegmentLine(const std::string& sLine, bool bTagged)
{
    const char* sTokens = VESKAR_Segment(sLine.c_str(), bTagged);
    if (!sTokens)
        return ReportFailure("cannot segment the text");
    std::fputs(sTokens, stdout);
    std::fputc('\n', stdout);
    return 0;
}

int SegmentFile(const std::string& sFile, bool bTagged)
{
    std::ifstream in(sFile, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "veskar: cannot read %s\n", sFile.c_str());
        return 1;
    }
    std::string sLine;
    while (std::getline(in, sLine)) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        if (int nExit = SegmentLine(sLine, bTagged))
            return nExit;
    }
    return 0;
}

}  // namespace

int RunSeg(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kSegUsage, {"--file", "--data"}, {"--plain"}, nExit))
        return nExit;
    bool bFile = args.Has("--file");
    if (bFile == !args.Words().empty())
        return UsageError(kSegUsage, "seg takes a TEXT or --file FILE");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    bool bTagged = !args.Has("--plain");
    if (bFile)
        return SegmentFile(args.Get("--file"), bTagged);
    std::string sText;
    for (const std::string& sWord : args.Words())
        sText += (sText.empty() ? "" : " ") + sWord;
    return SegmentLine(sText, bTagged);
}
