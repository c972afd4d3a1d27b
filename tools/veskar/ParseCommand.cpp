// veskar parse / veskar text: parse a document into its document and
// content files and summarise it, or print its plain text.
#include <cstdio>
#include <cstdlib>
#include <json/json.h>
#include <sstream>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kParseUsage =
    "usage: veskar parse FILE [--type N] [--format xml|json]\n"
    "\n"
    "Parses a document (.docx; .doc, .wps, .rtf, .odt through LibreOffice;\n"
    ".pdf through pdftotext; .htm, .html, .txt; or a saved .xml document file)\n"
    "and writes its document file (FILE's base name + .xml or .json) and its\n"
    "content file (+ _Content.xml or _Content.json) beside it. Prints the\n"
    "counts of paragraphs, tables, figures, headers and footers, the headings\n"
    "as a tree with their levels, and the character counts.\n"
    "\n"
    "  --type N          report type (3 and 4 find headings from their numbers\n"
    "                    when the document has no heading styles); default 0\n"
    "  --format xml|json form of the written files; default xml\n";

const char* const kTextUsage =
    "usage: veskar text FILE\n"
    "\n"
    "Prints the plain text of a document: its paragraphs in reading order,\n"
    "tables cell by cell (a tab after each cell, a line per row).\n";

namespace {

bool ParseInt(const std::string& sText, int& nValue)
{
    char* pEnd = nullptr;
    long nRead = std::strtol(sText.c_str(), &pEnd, 10);
    if (sText.empty() || *pEnd != '\0' || nRead < -1000 || nRead > 1000)
        return false;
    nValue = static_cast<int>(nRead);
    return true;
}

void PrintSummary(const std::string& sFile, const Json::Value& summary)
{
    std::printf("%s -> %s\n", sFile.c_str(), summary["result_file"].asCString());
    std::printf("paragraphs %u, tables %u (%u cell paragraphs), figures %u, headers %u, footers %u, "
                "table-of-contents lines %u\n",
                summary["paragraphs"].asUInt(), summary["tables"].asUInt(), summary["cell_paragraphs"].asUInt(),
                summary["figures"].asUInt(), summary["headers"].asUInt(), summary["footers"].asUInt(),
                summary["contents"].asUInt());
    std::printf("characters %u (multi-byte %u, single-byte %u)\n", summary["char_count"].asUInt(),
                summary["multi_byte_chars"].asUInt(), summary["single_byte_chars"].asUInt());
    const Json::Value& headings = summary["headings"];
    std::printf("headings %u%s\n", headings.size(), headings.empty() ? "" : ":");
    for (const Json::Value& heading : headings) {
        int nLevel = heading["level"].asInt();
        int nIndent = nLevel >= 1 && nLevel <= 4 ? nLevel - 1 : 0;
        std::printf("  %*s[%d] %s\n", nIndent * 2, "", nLevel, heading["text"].asCString());
    }
}

}  // namespace

int RunParse(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    if (!args.Parse(argc, argv, nFirst, {"--type", "--format", "--data"}))
        return UsageError(kParseUsage, args.Error().c_str());
    if (args.Has("--help")) {
        std::fputs(kParseUsage, stdout);
        return 0;
    }
    if (args.Words().size() != 1)
        return UsageError(kParseUsage, "parse takes one FILE");
    int nType = 0;
    if (!ParseInt(args.Get("--type", "0"), nType))
        return UsageError(kParseUsage, "--type takes a whole number");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(kParseUsage, "--format is xml or json");
    const std::string& sFile = args.Words()[0];
    const char* sSummary = VESKAR_ParseFile(sFile.c_str(), nType, sFormat == "json" ? 1 : 0);
    if (!sSummary)
        return ReportFailure("cannot parse " + sFile);
    Json::Value summary;
    std::istringstream in(sSummary);
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &summary, nullptr))
        return ReportFailure("cannot read the parse summary");
    PrintSummary(sFile, summary);
    return 0;
}

int RunText(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    if (!args.Parse(argc, argv, nFirst, {"--data"}))
        return UsageError(kTextUsage, args.Error().c_str());
    if (args.Has("--help")) {
        std::fputs(kTextUsage, stdout);
        return 0;
    }
    if (args.Words().size() != 1)
        return UsageError(kTextUsage, "text takes one FILE");
    const char* sText = VESKAR_GetFileText(args.Words()[0].c_str());
    if (!sText)
        return ReportFailure("cannot read " + args.Words()[0]);
    std::fputs(sText, stdout);
    return 0;
}
