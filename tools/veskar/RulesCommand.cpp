// veskar rules: imports, lists, shows, exports and edits the extraction rule
// sets ("RUX_<N>.rule" in the data folder).
#include <json/json.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kRulesUsage =
    "usage: veskar rules import FILE --set N [--append] [--data DIR]\n"
    "       veskar rules list --set N [--data DIR]\n"
    "       veskar rules show ID --set N [--data DIR]\n"
    "       veskar rules export [FILE] --set N [--data DIR]\n"
    "       veskar rules add JSON --set N [--data DIR]\n"
    "       veskar rules edit ID JSON --set N [--data DIR]\n"
    "       veskar rules delete ID --set N [--data DIR]\n"
    "\n"
    "Rule set N lives in the data folder as RUX_N.rule with its dictionaries;\n"
    "every change is compiled and saved at once.\n"
    "  import FILE  read the <item> records of a rule source (replacing the\n"
    "               set's rules, or adding to them with --append)\n"
    "  list         print the index, number and name of every rule\n"
    "  show ID      print rule ID as JSON\n"
    "  export       write the readable export (default RUX_N.export.txt)\n"
    "  add JSON     add a rule given as JSON ({\"no\",\"name\",\"rule\",\"action\",\n"
    "               \"field\",\"argument\",\"kgset\",\"credit\"})\n"
    "  edit ID JSON replace rule ID\n"
    "  delete ID    delete rule ID; later rules move down by one\n"
    "\n"
    "  --set N      the rule set number (the report type)\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

namespace {

int Fail(const std::string& sWhat)
{
    std::fprintf(stderr, "veskar: %s\n", sWhat.c_str());
    const char* sDetail = RUX_GetLastErrorMsg();
    if (sDetail && *sDetail)
        std::fprintf(stderr, "  %s\n", sDetail);
    return 1;
}

// The messages of the last change, one per rejected or reported rule.
void PrintMessages()
{
    std::string sMessages = RUXSet_Messages();
    size_t nStart = 0;
    while (nStart < sMessages.size()) {
        size_t nEnd = sMessages.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = sMessages.size();
        std::fprintf(stderr, "veskar: %s\n", sMessages.substr(nStart, nEnd - nStart).c_str());
        nStart = nEnd + 1;
    }
}

bool ParseIndex(const std::string& sText, int& nIndex)
{
    char* pEnd = nullptr;
    long nValue = std::strtol(sText.c_str(), &pEnd, 10);
    if (sText.empty() || *pEnd || nValue < 0 || nValue > 1000000000L)
        return false;
    nIndex = static_cast<int>(nValue);
    return true;
}

bool ParseJson(const char* sText, Json::Value& root)
{
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    return sText && reader->parse(sText, sText + std::strlen(sText), &root, &sErrors);
}

int Import(const std::string& sFile, bool bAppend, int nSet)
{
    int nResult = RUXSet_Import(sFile.c_str(), !bAppend, nSet);
    PrintMessages();
    if (nResult != 1)
        return Fail("cannot import " + sFile + " into rule set " + std::to_string(nSet));
    Json::Value list;
    ParseJson(RUXSet_List(nSet), list);
    std::printf("rule set %d: %u rules\n", nSet, list.size());
    return 0;
}

int List(int nSet)
{
    Json::Value list;
    if (!ParseJson(RUXSet_List(nSet), list))
        return Fail("cannot read rule set " + std::to_string(nSet));
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        std::printf("%u\t%s\t%s\n", i, list[i]["no"].asString().c_str(), list[i]["name"].asString().c_str());
    return 0;
}

int Show(int nIndex, int nSet)
{
    const char* sJson = RUXSet_Show(nIndex, nSet);
    if (!sJson)
        return Fail("cannot read rule set " + std::to_string(nSet));
    if (!*sJson) {
        std::fprintf(stderr, "veskar: rule set %d has no rule %d\n", nSet, nIndex);
        return 1;
    }
    Json::Value rule;
    ParseJson(sJson, rule);
    Json::StreamWriterBuilder builder;
    builder["emitUTF8"] = true;
    builder["indentation"] = "  ";
    std::printf("%s\n", Json::writeString(builder, rule).c_str());
    return 0;
}

int Export(const std::string& sFile, int nSet)
{
    const char* sPath = RUXSet_Export(nSet, sFile.empty() ? nullptr : sFile.c_str());
    if (!sPath)
        return Fail("cannot export rule set " + std::to_string(nSet));
    std::printf("exported rule set %d to %s\n", nSet, sPath);
    return 0;
}

int Change(const char* sWhat, int nResult, int nSet)
{
    PrintMessages();
    if (nResult < 0)
        return Fail(std::string("cannot ") + sWhat + " in rule set " + std::to_string(nSet));
    return 0;
}

int Run(const std::vector<std::string>& words, bool bAppend, int nSet)
{
    const std::string& sAction = words[0];
    int nIndex = 0;
    if (sAction == "import" && words.size() == 2)
        return Import(words[1], bAppend, nSet);
    if (sAction == "list" && words.size() == 1)
        return List(nSet);
    if (sAction == "export" && words.size() <= 2)
        return Export(words.size() == 2 ? words[1] : "", nSet);
    if (sAction == "add" && words.size() == 2) {
        int nResult = RUXSet_Add(words[1].c_str(), nSet);
        if (nResult >= 0)
            std::printf("rule %d\n", nResult);
        return Change("add the rule", nResult, nSet);
    }
    if (!(words.size() >= 2 && ParseIndex(words[1], nIndex)))
        return UsageError(kRulesUsage, "expected a rule index");
    if (sAction == "show" && words.size() == 2)
        return Show(nIndex, nSet);
    if (sAction == "edit" && words.size() == 3)
        return Change("edit the rule", RUXSet_Edit(nIndex, words[2].c_str(), nSet), nSet);
    if (sAction == "delete" && words.size() == 2)
        return Change("delete the rule", RUXSet_Delete(nIndex, nSet), nSet);
    return UsageError(kRulesUsage, "unknown rules action or wrong arguments");
}

}  // namespace

int RunRules(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kRulesUsage, {"--data", "--set"}, {"--append"}, nExit))
        return nExit;
    int nSet = 0;
    if (!args.Has("--set") || !args.GetInt("--set", 0, 0, 1000000, nSet))
        return UsageError(kRulesUsage, "--set N is required (a whole number)");
    if (args.Words().empty())
        return UsageError(kRulesUsage, "expected an action");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    return Run(args.Words(), args.Has("--append"), nSet);
}
