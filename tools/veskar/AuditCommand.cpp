// veskar audit and veskar types: the audit rules of a report type, and the
// report types the data folder knows with their rule counts.
#include <json/json.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "RuleVerbs.h"
#include "veskar.h"

const char* const kAuditUsage =
    "usage: veskar audit list --type N [--data DIR]\n"
    "       veskar audit show ID --type N [--data DIR]\n"
    "       veskar audit import FILE --type N [--append] [--data DIR]\n"
    "       veskar audit add JSON --type N [--data DIR]\n"
    "       veskar audit edit ID JSON --type N [--data DIR]\n"
    "       veskar audit delete ID --type N [--data DIR]\n"
    "       veskar audit export --type N [--data DIR]\n"
    "\n"
    "The audit rules of report type N (RUX_N.audit in the data folder); every\n"
    "change is compiled and saved at once.\n"
    "  import FILE  a rule source: its <item> extraction rules, then its\n"
    "               <audits> section (replacing the type's rules unless --append)\n"
    "  add JSON     {\"no\",\"name\",\"rule\",\"arguments\",\"field\",\"credit\"}\n"
    "  export       print the readable listing with the not-null fields\n";

const char* const kTypesUsage =
    "usage: veskar types [--data DIR]\n"
    "\n"
    "Lists the report types of the data folder with their extraction and\n"
    "audit rule counts.\n";

namespace {

bool ParseJson(const char* sText, Json::Value& root)
{
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    return sText && reader->parse(sText, sText + std::strlen(sText), &root, &sErrors);
}

std::string TypeMessages(int nType)
{
    const char* sText = VESKAR_GetRuleMessages(nType);
    return sText ? sText : "";
}

// The audit rules of a type; the closures keep a pointer to the table they
// sit in, which lives until the command ends.
void FillVerbs(CRuleVerbs& verbs, int nType, bool bAppend)
{
    verbs.List = [nType] { return Audit_GetRuleListId(nType); };
    verbs.Show = [nType](int nIndex) { return Audit_GetRuleInfo(nIndex, nType); };
    verbs.Add = [nType](const std::string& sJson) { return Audit_AddRule(sJson.c_str(), nType); };
    verbs.Edit = [nType](int nIndex, const std::string& sJson) { return Audit_EditRule(nIndex, sJson.c_str(), nType); };
    verbs.Delete = [nType](int nIndex) { return Audit_DelRule(nIndex, nType); };
    verbs.Messages = [nType] { return TypeMessages(nType); };
    verbs.LastError = [] { return VESKAR_GetLastErrorMsg(); };
    const CRuleVerbs* pVerbs = &verbs;
    verbs.Import = [pVerbs, nType, bAppend](const std::string& sFile) {
        int nResult = VESKAR_ImportRUXRules(sFile.c_str(), !bAppend, nType);
        if (nResult != 1)
            return pVerbs->Fail("cannot import " + sFile + " into " + pVerbs->Owner() +
                                (nResult == -2 ? " (no <audits> section)" : ""));
        pVerbs->PrintMessages();
        return pVerbs->PrintList();
    };
    verbs.Export = [pVerbs, nType](const std::string&) {
        const char* sText = Audit_Export(nType);
        if (!sText)
            return pVerbs->Fail("cannot export " + pVerbs->Owner());
        std::printf("%s", sText);
        return 0;
    };
}

}  // namespace

int RunAudit(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kAuditUsage, {"--data", "--type"}, {"--append"}, nExit))
        return nExit;
    int nType = 0;
    if (!args.Has("--type") || !args.GetInt("--type", 0, 0, kMaxReportType, nType))
        return UsageError(kAuditUsage, "--type N is required (a report type from 0 to 19)");
    if (args.Words().empty())
        return UsageError(kAuditUsage, "expected an action");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    CRuleVerbs verbs(kAuditUsage, "audit rule", "report type " + std::to_string(nType));
    FillVerbs(verbs, nType, args.Has("--append"));
    return verbs.Run(args.Words());
}

int RunTypes(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kTypesUsage, {"--data"}, {}, nExit))
        return nExit;
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    Json::Value list;
    if (!ParseJson(VESKAR_GetReportTypes(), list))
        return ReportFailure("cannot list the report types");
    std::printf("type\trules\taudits\n");
    for (const Json::Value& item : list)
        std::printf("%d\t%u\t%u\n", item["type"].asInt(), item["rules"].asUInt(), item["audits"].asUInt());
    return 0;
}
