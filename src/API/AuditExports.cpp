// Exported rule functions of the report types: imports of rule sources, the
// extraction and audit rules of a type in their JSON form, and the list of
// report types. All go through the report-type manager.
#include <string>

#include "API/ExportGuard.h"
#include "Global/Globals.h"
#include "API/SharedServices.h"
#include "RUX/RUXManager.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

CRUXManager* Manager()
{
    if (g_pRUXManager)
        return g_pRUXManager.get();
    SetLastError("g_pRUXManager not init!");
    return nullptr;
}

const char* Keep(const std::string& sText)
{
    return g_pVeskarBuffer ? g_pVeskarBuffer->AddBuffer(sText.c_str()) : nullptr;
}

template <typename F>
int WithManager(const char* sName, F&& body)
{
    return GuardExport(sName, 0, [&] {
        CRUXManager* pManager = Manager();
        return pManager ? body(*pManager) : 0;
    });
}

template <typename F>
const char* TextWithManager(const char* sName, F&& body)
{
    return GuardExport(sName, static_cast<const char*>(nullptr), [&]() -> const char* {
        CRUXManager* pManager = Manager();
        return pManager ? Keep(body(*pManager)) : nullptr;
    });
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_ImportRUXRules(const char* sRuleFile, bool bOverwrite, int nType)
{
    return WithManager("VESKAR_ImportRUXRules", [&](CRUXManager& m) {
        std::string sFile;
        GetAnsiFilename(sRuleFile ? sRuleFile : "", sFile, false);
        return m.ImportRUXRules(sFile.c_str(), bOverwrite, nType);
    });
}

VESKAR_API int VESKAR_ImportRUXRulesFromMem(const char* sRuleText, bool bOverwrite, int nType)
{
    return WithManager("VESKAR_ImportRUXRulesFromMem",
                       [&](CRUXManager& m) { return m.ImportRUXRulesFromMem(sRuleText, bOverwrite, nType); });
}

VESKAR_API int VESKAR_AddAuditRule(const char* sAuditRule, int nType)
{
    return WithManager("VESKAR_AddAuditRule", [&](CRUXManager& m) { return m.AddRule(sAuditRule, nType); });
}

VESKAR_API const char* RUX_GetSysInfo(void)
{
    return TextWithManager("RUX_GetSysInfo", [](CRUXManager& m) { return m.GetRUXSysInfo(); });
}

VESKAR_API const char* RUX_GetRuleListId(int type)
{
    return TextWithManager("RUX_GetRuleListId", [&](CRUXManager& m) { return m.GetRUXRuleListId(type); });
}

VESKAR_API const char* RUX_GetRuleInfo(int rule_id, int type)
{
    return TextWithManager("RUX_GetRuleInfo", [&](CRUXManager& m) { return m.GetRUXRuleInfo(rule_id, type); });
}

VESKAR_API int RUX_AddRule(const char* sJsonStr, int type)
{
    return WithManager("RUX_AddRule", [&](CRUXManager& m) { return m.AddRUXRule(sJsonStr, type); });
}

VESKAR_API int RUX_EditRule(int rule_id, const char* sJsonStr, int type)
{
    return WithManager("RUX_EditRule", [&](CRUXManager& m) { return m.EditRUXRule(rule_id, sJsonStr, type); });
}

VESKAR_API int RUX_DelRule(int rule_id, int type)
{
    return WithManager("RUX_DelRule", [&](CRUXManager& m) { return m.DelRUXRule(rule_id, type); });
}

VESKAR_API const char* Audit_GetSysInfo(int type)
{
    return TextWithManager("Audit_GetSysInfo", [&](CRUXManager& m) { return m.GetAuditSysInfo(type); });
}

VESKAR_API const char* Audit_GetRuleListId(int type)
{
    return TextWithManager("Audit_GetRuleListId", [&](CRUXManager& m) { return m.GetAuditRuleListId(type); });
}

VESKAR_API const char* Audit_GetRuleInfo(int rule_id, int type)
{
    return TextWithManager("Audit_GetRuleInfo",
                           [&](CRUXManager& m) { return m.GetAuditRuleInfo(rule_id, type); });
}

VESKAR_API int Audit_AddRule(const char* sJsonStr, int type)
{
    return WithManager("Audit_AddRule", [&](CRUXManager& m) { return m.AddAuditRule(sJsonStr, type); });
}

VESKAR_API int Audit_EditRule(int rule_id, const char* sJsonStr, int type)
{
    return WithManager("Audit_EditRule", [&](CRUXManager& m) { return m.EditAuditRule(rule_id, sJsonStr, type); });
}

VESKAR_API int Audit_DelRule(int rule_id, int type)
{
    return WithManager("Audit_DelRule", [&](CRUXManager& m) { return m.DelAuditRule(rule_id, type); });
}

VESKAR_API const char* Audit_Export(int type)
{
    return TextWithManager("Audit_Export", [&](CRUXManager& m) { return m.ExportAudit(type); });
}

VESKAR_API const char* VESKAR_GetReportTypes(void)
{
    return TextWithManager("VESKAR_GetReportTypes", [](CRUXManager& m) { return m.GetTypesInfo(); });
}

VESKAR_API const char* VESKAR_GetRuleMessages(int type)
{
    return TextWithManager("VESKAR_GetRuleMessages", [&](CRUXManager& m) { return m.GetMessages(type); });
}

}  // extern "C"
