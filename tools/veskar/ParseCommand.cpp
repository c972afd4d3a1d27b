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
#include "OutputOptions.h"
#include "veskar.h"

const char* const kParseUsage =
    "usage: veskar parse FILE [--type N] [--format xml|json] [--out DIR] [--log-dir DIR]\n"
    "\n"
    "Parses a document (.docx; .doc, .wps, .rtf, .odt through LibreOffice;\n"
    ".pdf through pdftotext; .htm, .html, .txt; or a saved .xml document file)\n"
    "and writes its document file (FILE's base name + .xml or .json) and its\n"
    "content file (+ _Content.xml or _Content.json) beside it. Prints the\n"
    "counts of paragraphs, tables, figures, headers and footers, the headings\n"
    "as a tree with their levels, and the character counts.\n"
    "\n"
    "  --type N           report type 0 to 19 (3 to 7 find headings from their\n"
    "                     numbers when the document has no heading styles);\n"
    "                     default 0\n"
    "  --format xml|json  form of the written files; default xml\n"
    VESKAR_OUT_HELP
    VESKAR_LOG_DIR_HELP;

const char* const kTextUsage =
    "usage: veskar text FILE [--raw] [--log-dir DIR]\n"
    "\n"
    "Prints the plain text of a document: each paragraph once, in reading\n"
    "order, on a line of its own (LF line ends); a table row per line with its\n"
    "cells separated by tabs. Nothing is written beside the document: any\n"
    "conversion and unpacking happen in a temporary folder.\n"
    "\n"
    "  --raw              print the library's own text instead: CR LF line\n"
    "                     ends, <superscript>/<subscript> tags, (Figure N)\n"
    "                     markers, and the paragraph of a picture or text box\n"
    "                     as often as the document model holds it\n"
    VESKAR_LOG_DIR_HELP;

namespace {

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
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kParseUsage, {"--type", "--format", "--data", "--out", "--log-dir"},
                          {}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kParseUsage, "parse takes one FILE");
    int nType = 0;
    if (!args.GetInt("--type", 0, 0, kMaxReportType, nType))
        return UsageError(kParseUsage, "--type takes a report type from 0 to 19");
    std::string sFormat = args.Get("--format", "xml");
    if (sFormat != "xml" && sFormat != "json")
        return UsageError(kParseUsage, "--format is xml or json");
    if (!ApplyOutputOptions(args))
        return 1;
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
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kTextUsage, {"--data", "--log-dir"}, {"--raw"}, nExit))
        return nExit;
    if (args.Words().size() != 1)
        return UsageError(kTextUsage, "text takes one FILE");
    if (!ApplyOutputOptions(args))
        return 1;
    const std::string& sFile = args.Words()[0];
    const char* sText = args.Has("--raw") ? VESKAR_GetFileText(sFile.c_str()) : VESKAR_GetPlainText(sFile.c_str());
    if (!sText)
        return ReportFailure("cannot read " + args.Words()[0]);
    std::fputs(sText, stdout);
    return 0;
}
