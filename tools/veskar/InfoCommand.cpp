// veskar info: starts the library and shows what it started with.
#include <cstdio>
#include <json/json.h>
#include <memory>
#include <sstream>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kInfoUsage =
    "usage: veskar info [--data DIR]\n"
    "\n"
    "Starts the library and prints its version, the check switches, the size\n"
    "of the error catalogue and of the font-size table, and the data folder.\n"
    "\n"
    "  --data DIR   the data folder, or the folder that holds it (default:\n"
    "               $VESKAR_DATA, else the installed or built data folder)\n";

namespace {

const char* OnOff(const Json::Value& value)
{
    return value.asBool() ? "on" : "off";
}

void PrintInfo(const Json::Value& info)
{
    const Json::Value& sw = info["switches"];
    std::printf("veskar %s\n", info["version"].asCString());
    std::printf("data folder:  %s\n", info["data_dir"].asCString());
    std::printf("switches:     PunctionCheck=%s FormatCheck=%s OCR=%s FilterCheck=%s\n", OnOff(sw["PunctionCheck"]),
                OnOff(sw["FormatCheck"]), OnOff(sw["OCR"]), OnOff(sw["FilterCheck"]));
    std::printf("              SpellCheck=%s%s%s CountryDetect=%s Log=%s\n", OnOff(sw["SpellCheck"]),
                sw["SpellCheck"].asBool() ? " SpellCheckIP=" : "",
                sw["SpellCheck"].asBool() ? sw["SpellCheckIP"].asCString() : "", OnOff(sw["CountryDetect"]),
                OnOff(sw["Log"]));
    std::printf("catalogue:    %u error codes (%u with scores)\n", info["catalogue_messages"].asUInt(),
                info["catalogue_scores"].asUInt());
    std::printf("font sizes:   %u names\n", info["font_sizes"].asUInt());
}

}  // namespace

int RunInfo(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    if (!args.Parse(argc, argv, nFirst, {"--data"}))
        return UsageError(kInfoUsage, args.Error().c_str());
    if (args.Has("--help")) {
        std::fputs(kInfoUsage, stdout);
        return 0;
    }
    if (!args.Words().empty())
        return UsageError(kInfoUsage, "info takes no arguments");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    const char* sInfo = VESKAR_GetInfo();
    Json::Value info;
    std::istringstream in(sInfo ? sInfo : "");
    if (!sInfo || !Json::parseFromStream(Json::CharReaderBuilder(), in, &info, nullptr))
        return ReportFailure("cannot read the library information");
    PrintInfo(info);
    return 0;
}
