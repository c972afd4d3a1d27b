// veskar audit and veskar types: the audit rules of a report type, and the
// report types the data folder knows with their rule counts.
#include <json/json.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
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

int Fail(const std::string& sWhat, int nType)
{
    std::fprintf(stderr, "veskar: %s\n", sWhat.c_str());
    const char* sMessages = VESKAR_GetRuleMessages(nType);
    if (sMessages && *sMessages)
        std::fprintf(stderr, "%s", sMessages);
    const char* sDetail = VESKAR_GetLastErrorMsg();
    if (sDetail && *sDetail)
        std::fprintf(stderr, "  %s\n", sDetail);
    return 1;
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

int List(int nType)
{
    Json::Value list;
    if (!ParseJson(Audit_GetRuleListId(nType), list))
        return Fail("cannot read the audit rules of type " + std::to_string(nType), nType);
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        std::printf("%u\t%s\t%s\n", i, list[i]["no"].asString().c_str(), list[i]["name"].asString().c_str());
    return 0;
}

int Show(int nIndex, int nType)
{
    const char* sJson = Audit_GetRuleInfo(nIndex, nType);
    if (!sJson || !*sJson) {
        std::fprintf(stderr, "veskar: report type %d has no audit rule %d\n", nType, nIndex);
        return 1;
    }
    std::printf("%s\n", sJson);
    return 0;
}

int Change(const char* sWhat, int nResult, int nType)
{
    if (nResult < 0)
        return Fail(std::string("cannot ") + sWhat + " in report type " + std::to_string(nType), nType);
    return 0;
}

int Run(const std::vector<std::string>& words, bool bAppend, int nType)
{
    const std::string& sAction = words[0];
    int nIndex = 0;
    if (sAction == "list" && words.size() == 1)
        return List(nType);
    if (sAction == "export" && words.size() == 1) {
        const char* sText = Audit_Export(nType);
        if (!sText)
            return Fail("cannot export report type " + std::to_string(nType), nType);
        std::printf("%s", sText);
        return 0;
    }
    if (sAction == "import" && words.size() == 2) {
        int nResult = VESKAR_ImportRUXRules(words[1].c_str(), !bAppend, nType);
        if (nResult != 1)
            return Fail("cannot import " + words[1] + " into report type " + std::to_string(nType) +
                            (nResult == -2 ? " (no <audits> section)" : ""),
                        nType);
        const char* sMessages = VESKAR_GetRuleMessages(nType);
        if (sMessages && *sMessages)
            std::fprintf(stderr, "%s", sMessages);
        return List(nType);
    }
    if (sAction == "add" && words.size() == 2) {
        int nResult = Audit_AddRule(words[1].c_str(), nType);
        if (nResult >= 0)
            std::printf("audit rule %d\n", nResult);
        return Change("add the audit rule", nResult, nType);
    }
    if (!(words.size() >= 2 && ParseIndex(words[1], nIndex)))
        return UsageError(kAuditUsage, "expected a rule index");
    if (sAction == "show" && words.size() == 2)
        return Show(nIndex, nType);
    if (sAction == "edit" && words.size() == 3)
        return Change("edit the audit rule", Audit_EditRule(nIndex, words[2].c_str(), nType), nType);
    if (sAction == "delete" && words.size() == 2)
        return Change("delete the audit rule", Audit_DelRule(nIndex, nType), nType);
    return UsageError(kAuditUsage, "unknown audit action or wrong arguments");
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
    return Run(args.Words(), args.Has("--append"), nType);
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
        return Fail("cannot list the report types", 0);
    std::printf("type\trules\taudits\n");
    for (const Json::Value& item : list)
        std::printf("%d\t%u\t%u\n", item["type"].asInt(), item["rules"].asUInt(), item["audits"].asUInt());
    return 0;
}
