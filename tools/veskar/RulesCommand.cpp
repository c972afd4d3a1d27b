// veskar rules: imports, lists, shows, exports and edits extraction rules,
// either of a bare rule set ("RUX_<N>.rule" in the data folder, --set N) or
// of a report type through its processor (--type N), which keeps the type's
// audit rules in step with its extraction rules.
#include <json/json.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "RuleVerbs.h"
#include "veskar.h"

const char* const kRulesUsage =
    "usage: veskar rules import FILE (--set N | --type N) [--append] [--data DIR]\n"
    "       veskar rules list (--set N | --type N) [--data DIR]\n"
    "       veskar rules show ID (--set N | --type N) [--data DIR]\n"
    "       veskar rules export [FILE] (--set N | --type N) [--data DIR]\n"
    "       veskar rules add JSON (--set N | --type N) [--data DIR]\n"
    "       veskar rules edit ID JSON (--set N | --type N) [--data DIR]\n"
    "       veskar rules delete ID (--set N | --type N) [--data DIR]\n"
    "\n"
    "The extraction rules live in the data folder as RUX_N.rule with their\n"
    "dictionaries; every change is compiled and saved at once.\n"
    "  import FILE  read the <item> records of a rule source (replacing the\n"
    "               rules, or adding to them with --append); with --type the\n"
    "               source's <audits> section is imported too\n"
    "  list         print the index, number and name of every rule\n"
    "  show ID      print rule ID as JSON\n"
    "  export       write the readable export (default RUX_N.export.txt)\n"
    "  add JSON     add a rule given as JSON ({\"no\",\"name\",\"rule\",\"action\",\n"
    "               \"field\",\"argument\",\"kgset\",\"credit\"})\n"
    "  edit ID JSON replace rule ID\n"
    "  delete ID    delete rule ID; later rules move down by one\n"
    "\n"
    "  --set N      a bare rule set number\n"
    "  --type N     a report type (0 to 19), through the report-type manager,\n"
    "               which renumbers the type's audit rules with its changes\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

namespace {

// The extraction rules of a report type, through the manager.
void FillTypeVerbs(CRuleVerbs& verbs, int nType)
{
    verbs.List = [nType] { return RUX_GetRuleListId(nType); };
    verbs.Show = [nType](int nIndex) { return RUX_GetRuleInfo(nIndex, nType); };
    verbs.Add = [nType](const std::string& sJson) { return RUX_AddRule(sJson.c_str(), nType); };
    verbs.Edit = [nType](int nIndex, const std::string& sJson) { return RUX_EditRule(nIndex, sJson.c_str(), nType); };
    verbs.Delete = [nType](int nIndex) { return RUX_DelRule(nIndex, nType); };
    verbs.Messages = [nType] {
        const char* sText = VESKAR_GetRuleMessages(nType);
        return std::string(sText ? sText : "");
    };
    verbs.LastError = [] { return VESKAR_GetLastErrorMsg(); };
    verbs.m_bExportFile = true;
}

void FillSetVerbs(CRuleVerbs& verbs, int nSet)
{
    verbs.List = [nSet] { return RUXSet_List(nSet); };
    verbs.Show = [nSet](int nIndex) { return RUXSet_Show(nIndex, nSet); };
    verbs.Add = [nSet](const std::string& sJson) { return RUXSet_Add(sJson.c_str(), nSet); };
    verbs.Edit = [nSet](int nIndex, const std::string& sJson) { return RUXSet_Edit(nIndex, sJson.c_str(), nSet); };
    verbs.Delete = [nSet](int nIndex) { return RUXSet_Delete(nIndex, nSet); };
    verbs.Messages = [] { return std::string(RUXSet_Messages()); };
    verbs.LastError = [] { return RUX_GetLastErrorMsg(); };
    verbs.m_bExportFile = true;
}

size_t RuleCount(const char* sList)
{
    Json::Value list;
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!sList || !reader->parse(sList, sList + std::strlen(sList), &list, &sErrors))
        return 0;
    return list.size();
}

// Import and export differ between the two: a type's import also reads the
// source's audits, and an export writes the rule file the type keeps.
void AddFileVerbs(CRuleVerbs& verbs, int nNumber, bool bType, bool bAppend)
{
    const CRuleVerbs* pVerbs = &verbs;
    verbs.Import = [pVerbs, nNumber, bType, bAppend](const std::string& sFile) {
        int nResult = bType ? VESKAR_ImportRUXRules(sFile.c_str(), !bAppend, nNumber)
                            : RUXSet_Import(sFile.c_str(), !bAppend, nNumber);
        // A type's source without an <audits> section still brings its rules.
        if (nResult != 1 && !(bType && nResult == -2))
            return pVerbs->Fail("cannot import " + sFile + " into " + pVerbs->Owner());
        pVerbs->PrintMessages();
        std::printf("%s: %zu rules\n", pVerbs->Owner().c_str(), RuleCount(pVerbs->List()));
        return 0;
    };
    verbs.Export = [pVerbs, nNumber](const std::string& sFile) {
        const char* sPath = RUXSet_Export(nNumber, sFile.empty() ? nullptr : sFile.c_str());
        if (!sPath)
            return pVerbs->Fail("cannot export " + pVerbs->Owner());
        std::printf("exported %s to %s\n", pVerbs->Owner().c_str(), sPath);
        return 0;
    };
}

}  // namespace

int RunRules(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kRulesUsage, {"--data", "--set", "--type"}, {"--append"},
                          nExit))
        return nExit;
    bool bType = args.Has("--type");
    if (bType == args.Has("--set"))
        return UsageError(kRulesUsage, "give one of --set N or --type N");
    int nNumber = 0;
    if (bType ? !args.GetInt("--type", 0, 0, kMaxReportType, nNumber)
              : !args.GetInt("--set", 0, 0, 1000000, nNumber))
        return UsageError(kRulesUsage, bType ? "--type N is a report type from 0 to 19" : "--set N is a whole number");
    if (args.Words().empty())
        return UsageError(kRulesUsage, "expected an action");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    CRuleVerbs verbs(kRulesUsage, "rule", (bType ? "report type " : "rule set ") + std::to_string(nNumber));
    if (bType)
        FillTypeVerbs(verbs, nNumber);
    else
        FillSetVerbs(verbs, nNumber);
    AddFileVerbs(verbs, nNumber, bType, args.Has("--append"));
    return verbs.Run(args.Words());
}
