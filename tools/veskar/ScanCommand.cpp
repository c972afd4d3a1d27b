// veskar scan: the trace of one paragraph scanned with a rule set, so a rule
// writer can see step by step why a rule matched or not.
#include <json/json.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kScanUsage =
    "usage: veskar scan TEXT --set N [--rule ID] [--json] [--data DIR]\n"
    "\n"
    "Scans TEXT as one paragraph with rule set N and prints its segmentation,\n"
    "every matching step and the values found.\n"
    "  --set N      the rule set number (the report type)\n"
    "  --rule ID    try only rule ID (its index, as 'veskar rules list' shows)\n"
    "  --json       print the whole trace as JSON\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

int RunScan(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kScanUsage, {"--data", "--set", "--rule"}, {"--json"}, nExit))
        return nExit;
    int nSet = 0, nRule = -1;
    if (!args.Has("--set") || !args.GetInt("--set", 0, 0, 1000000, nSet))
        return UsageError(kScanUsage, "--set N is required (a whole number)");
    if (!args.GetInt("--rule", -1, -1, 100000000, nRule))
        return UsageError(kScanUsage, "--rule takes a rule index");
    if (args.Words().size() != 1)
        return UsageError(kScanUsage, "expected one TEXT");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    // One paragraph: line breaks would make several.
    std::string sText = args.Words()[0];
    for (char& c : sText)
        if (c == '\n' || c == '\r')
            c = ' ';
    const char* sTrace = RUXSet_Trace(sText.c_str(), nSet, nRule);
    if (!sTrace)
        return ReportFailure("cannot scan with rule set " + std::to_string(nSet));
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string sErrors;
    if (!reader->parse(sTrace, sTrace + std::strlen(sTrace), &root, &sErrors))
        return ReportFailure("unreadable trace");
    Json::StreamWriterBuilder writer;
    writer["emitUTF8"] = true;
    writer["indentation"] = "  ";
    if (args.Has("--json")) {
        std::printf("%s\n", Json::writeString(writer, root).c_str());
        return 0;
    }
    for (const Json::Value& para : root["debug"]) {
        std::printf("text:    %s\nsegment: %s\n", para["original"].asString().c_str(), para["segment"].asString().c_str());
        for (const Json::Value& step : para["process"])
            std::printf("  %s\n", step.asString().c_str());
    }
    const Json::Value& vals = root["SingleKey_result"]["KeyVals"];
    std::printf("values: %u\n", vals.size());
    for (const Json::Value& val : vals)
        std::printf("  %s = %s (rule %s, offset %u)\n", val["attribute"].asString().c_str(),
                    val["key_value"].asString().c_str(), val["rule_used"].asString().c_str(), val["offset"].asUInt());
    for (const Json::Value& tuple : root["tuple_result"]) {
        std::printf("  tuple %d:", tuple["Index"].asInt());
        for (const Json::Value& val : tuple["Tuple"])
            std::printf(" %s=%s", val["attribute"].asString().c_str(), val["key_value"].asString().c_str());
        std::printf("\n");
    }
    return 0;
}
