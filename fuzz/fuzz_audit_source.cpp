// Arbitrary bytes as an audit rule source, as one JSON audit rule and as
// an audit file (sets are saved on a memory file system to keep runs
// fast). Nothing may crash; a set that saved must load back to the same
// export, and every compiled rule is evaluated without a document.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/AuditExpression.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    // Imports print a line each; keep the fuzzer's output readable.
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    std::vector<_tAuditRuleOrg> vecOrg;
    CAudit::ParseFile(sText, vecOrg);
    _tAuditRuleOrg org;
    CAudit::ParseJson(sText.c_str(), org);

    CAudit audit(FuzzScratchDir("fuzz_audit_source").c_str(), 1);
    audit.AddItem(sText.c_str());
    if (audit.ImportFromMem(("<audits>" + sText).c_str(), true) != 1)
        return 0;
    CAuditExpression::_tContext context;
    context.unitText = [&](const audit_rule_unit& unit) { return audit.GetUnitStr(unit); };
    context.fieldValue = [](int, std::string& s) {
        s = "12.5";
        return true;
    };
    context.tableSum = [](int, double& d) {
        d = 3;
        return true;
    };
    for (size_t i = 0; i < audit.GetRules().size(); ++i) {
        CAuditExpression expression;
        expression.Evaluate(audit.GetRules()[i].rules, audit.GetRuleOrgs()[i].rule, context);
    }
    std::string sExport = audit.ExportText();
    CAudit reloaded(FuzzScratchDir("fuzz_audit_source").c_str(), 1);
    if (reloaded.Load() != 1 || reloaded.ExportText() != sExport)
        __builtin_trap();
    return 0;
}
