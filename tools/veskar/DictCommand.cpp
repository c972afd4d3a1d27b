// veskar dict: builds, looks up, scans and exports ".pdat" dictionaries.
#include <cstdio>
#include <fstream>
#include <json/json.h>
#include <sstream>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kDictUsage =
    "usage: veskar dict build LIST.txt DICT.pdat [--mode gbk|byte|name] [--raw]\n"
    "       veskar dict find DICT.pdat WORD... [--raw]\n"
    "       veskar dict scan DICT.pdat TEXT|--file F [--scan 0|1|2] [--json] [--raw]\n"
    "       veskar dict export DICT.pdat OUT.txt [--raw]\n"
    "\n"
    "Works on the library's double-array dictionaries; needs no data folder.\n"
    "  build   one word per line (\"[a b]\" or \"a_b\" for a word with a space);\n"
    "          word ids follow the order of first appearance\n"
    "  find    prints each word with its id (-1 when absent); exits 1 when a\n"
    "          word is absent\n"
    "  scan    prints each word found as offset, length, id and word (byte\n"
    "          offsets in the text)\n"
    "  export  writes every word, one per line\n"
    "\n"
    "  --mode gbk|byte|name  how a new dictionary reads text: units of one or\n"
    "                        two bytes with A-Z folded (gbk, the default),\n"
    "                        single bytes, or gbk plus the folding of names\n"
    "  --scan 0|1|2          0 words that do not cut into Latin runs (default),\n"
    "                        1 the same with overlapping hits, 2 every match\n"
    "  --json                print the scan as JSON\n"
    "  --raw                 use bytes as given; by default dictionaries hold\n"
    "                        GB18030 text as the library's own do, and words,\n"
    "                        texts and lists are UTF-8\n";

namespace {

int Build(const CCommandLine& args, int nEncoding)
{
    const auto& words = args.Words();
    std::string sMode = args.Get("--mode", "gbk");
    int nMode = sMode == "gbk" ? 0 : sMode == "byte" ? 1 : sMode == "name" ? 2 : -1;
    if (words.size() != 3 || nMode < 0)
        return UsageError(kDictUsage, "expected build LIST.txt DICT.pdat [--mode gbk|byte|name]");
    int nWords = VESKAR_DictBuild(words[1].c_str(), words[2].c_str(), nMode, nEncoding);
    if (nWords <= 0)
        return ReportFailure("cannot build " + words[2] + " from " + words[1]);
    std::printf("built %s: %d words\n", words[2].c_str(), nWords);
    return 0;
}

int Find(const CCommandLine& args, int nEncoding)
{
    const auto& words = args.Words();
    if (words.size() < 3)
        return UsageError(kDictUsage, "expected find DICT.pdat WORD...");
    int nExit = 0;
    for (size_t i = 2; i < words.size(); ++i) {
        int nId = VESKAR_DictFind(words[1].c_str(), words[i].c_str(), nEncoding);
        if (nId == -2)
            return ReportFailure("cannot read " + words[1]);
        std::printf("%s\t%d\n", words[i].c_str(), nId);
        nExit = nId < 0 ? 1 : nExit;
    }
    return nExit;
}

bool ReadText(const CCommandLine& args, std::string& sText)
{
    if (!args.Has("--file")) {
        sText = args.Words()[2];
        return true;
    }
    std::ifstream in(args.Get("--file"), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    sText = buffer.str();
    return static_cast<bool>(in);
}

int Scan(const CCommandLine& args, int nEncoding)
{
    const auto& words = args.Words();
    int nScan = 0;
    if (words.size() != (args.Has("--file") ? 2u : 3u) || !args.GetInt("--scan", 0, 0, 2, nScan))
        return UsageError(kDictUsage, "expected scan DICT.pdat TEXT|--file F [--scan 0|1|2]");
    std::string sText;
    if (!ReadText(args, sText))
        return ReportFailure("cannot read " + args.Get("--file"));
    const char* sHits = VESKAR_DictScan(words[1].c_str(), sText.c_str(), nScan, nEncoding);
    if (!sHits)
        return ReportFailure("cannot scan with " + words[1]);
    if (args.Has("--json")) {
        std::printf("%s\n", sHits);
        return 0;
    }
    Json::Value hits;
    std::istringstream in(sHits);
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &hits, nullptr))
        return ReportFailure("unreadable scan answer");
    for (const Json::Value& hit : hits)
        std::printf("%d\t%d\t%d\t%s\n", hit["offset"].asInt(), hit["length"].asInt(), hit["id"].asInt(),
                    hit["word"].asCString());
    return 0;
}

int Export(const CCommandLine& args, int nEncoding)
{
    const auto& words = args.Words();
    if (words.size() != 3)
        return UsageError(kDictUsage, "expected export DICT.pdat OUT.txt");
    int nWords = VESKAR_DictExport(words[1].c_str(), words[2].c_str(), nEncoding);
    if (nWords < 0)
        return ReportFailure("cannot export " + words[1] + " to " + words[2]);
    std::printf("exported %d words to %s\n", nWords, words[2].c_str());
    return 0;
}

}  // namespace

int RunDict(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kDictUsage, {"--mode", "--scan", "--file"}, {"--json", "--raw"},
                          nExit))
        return nExit;
    std::string sAction = args.Words().empty() ? "" : args.Words()[0];
    int nEncoding = args.Has("--raw") ? 1 : 0;
    if (sAction == "build")
        return Build(args, nEncoding);
    if (sAction == "find")
        return Find(args, nEncoding);
    if (sAction == "scan")
        return Scan(args, nEncoding);
    if (sAction == "export")
        return Export(args, nEncoding);
    return UsageError(kDictUsage, "expected build, find, scan or export");
}
