// veskar extract: scans a document or text file with a rule set and prints
// the key values, tuples and tables it yields (the output files are written
// beside the input).
#include <json/json.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "OutputOptions.h"
#include "veskar.h"

const char* const kExtractUsage =
    "usage: veskar extract FILE --set N [--json] [--out DIR] [--log-dir DIR] [--data DIR]\n"
    "\n"
    "Scans FILE (.docx and the other document formats, or a text file whose\n"
    "lines are paragraphs) with rule set N and prints the key values, tuples\n"
    "and tables found. The output files (FILE_keyVal.xml, _tuple.xml,\n"
    "_table.xml, _kg.json ..., or their .json forms with --json) are written\n"
    "beside FILE.\n"
    "\n"
    "  --set N            the rule set number (the report type)\n"
    "  --json             print JSON and write the JSON output files\n"
    VESKAR_OUT_HELP
    VESKAR_LOG_DIR_HELP
    "  --data DIR         the data folder, or the folder that holds it\n";

namespace {

std::string KeyName(const Json::Value& keyVal)
{
    std::string sName = keyVal["name"].asString();
    if (sName.empty())
        sName = keyVal["attribute"].asString();
    return sName.empty() ? "-" : sName;
}

void PrintKeyValues(const Json::Value& root)
{
    const Json::Value& vals = root["SingleKey_result"]["KeyVals"];
    std::printf("Key values (%u)\n", vals.size());
    for (const Json::Value& val : vals)
        std::printf("  %s  %-16s %s\n", val["para_id"].asString().c_str(), KeyName(val).c_str(),
                    val["key_value"].asString().c_str());
}

void PrintTuples(const Json::Value& root)
{
    const Json::Value& tuples = root["Tuples"];
    std::printf("Tuples (%u)\n", tuples.size());
    for (const Json::Value& tuple : tuples) {
        std::printf("  %3d ", tuple["Index"].asInt());
        for (const Json::Value& val : tuple["Tuple"])
            std::printf(" [%s]:%s", KeyName(val).c_str(), val["key_value"].asString().c_str());
        std::printf("\n");
    }
}

void PrintTables(const Json::Value& root)
{
    const Json::Value& tables = root["Tables"];
    std::printf("Tables (%u)\n", tables.size());
    for (const Json::Value& table : tables) {
        std::printf("  table %d\n", table["Index"].asInt());
        for (const Json::Value& row : table["rows"]) {
            std::printf("    %3d ", row["RowIndex"].asInt());
            for (const Json::Value& val : row["Cols"])
                std::printf(" [%s]:%s", KeyName(val).c_str(), val["key_value"].asString().c_str());
            std::printf("\n");
        }
    }
}

}  // namespace

int RunExtract(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kExtractUsage, {"--data", "--set", "--out", "--log-dir"},
                          {"--json"}, nExit))
        return nExit;
    int nSet = 0;
    if (!args.Has("--set") || !args.GetInt("--set", 0, 0, 1000000, nSet))
        return UsageError(kExtractUsage, "--set N is required (a whole number)");
    if (args.Words().size() != 1)
        return UsageError(kExtractUsage, "expected one FILE");
    if (!ApplyOutputOptions(args))
        return 1;
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    bool bJson = args.Has("--json");
    const std::string& sFile = args.Words()[0];
    const char* sKnowledge = RUXSet_Extract(sFile.c_str(), nSet, bJson);
    if (!sKnowledge)
        return ReportFailure("cannot extract from " + sFile + " with rule set " + std::to_string(nSet));
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string sErrors;
    if (!reader->parse(sKnowledge, sKnowledge + std::strlen(sKnowledge), &root, &sErrors))
        return ReportFailure("unreadable extraction result");
    if (bJson) {
        Json::StreamWriterBuilder writer;
        writer["emitUTF8"] = true;
        writer["indentation"] = "  ";
        std::printf("%s\n", Json::writeString(writer, root).c_str());
        return 0;
    }
    PrintKeyValues(root);
    PrintTuples(root);
    PrintTables(root);
    return 0;
}
