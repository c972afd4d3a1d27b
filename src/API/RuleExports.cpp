// Exported functions of the stand-alone rule engine and of the rule sets
// addressed by number, which the veskar tool uses to edit rules.
#include <memory>
#include <string>

#include "API/ExportGuard.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXEngine.h"
#include "RUX/RUXGrammer.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

thread_local std::string g_sSetMessages;
thread_local std::string g_sErrorCopy;

const char* KeepString(const std::string& sText)
{
    CBufferManager* pBuffer = RUX_GetBufferManager();
    if (pBuffer)
        return pBuffer->AddBuffer(sText.c_str());
    g_sErrorCopy = sText;
    return g_sErrorCopy.c_str();
}

std::string JoinLines(const std::vector<std::string>& vecLines)
{
    std::string sOut;
    for (const std::string& sLine : vecLines)
        sOut += sLine + "\n";
    return sOut;
}

// Rule set nSet of the data folder; a set never saved, or saved without
// rules, opens empty. Null with the last error otherwise.
std::unique_ptr<CRUX> OpenRuleSet(int nSet)
{
    g_sSetMessages.clear();
    if (!RUX_IsInit()) {
        SetLastError("Not Init, no operation!");
        return nullptr;
    }
    auto pRUX = std::make_unique<CRUX>(nullptr, nSet);
    if (!FileExists(pRUX->RuleFile()))
        return pRUX;
    int nResult = pRUX->Load();
    if (nResult == 1 || (nResult == -2 && g_sLastErrorMessage == "m_nRuleCount <=0"))
        return pRUX;
    return nullptr;
}

// Runs a change on a set and keeps its messages for RUXSet_Messages.
template <typename F>
int ChangeRuleSet(int nSet, F&& change)
{
    std::unique_ptr<CRUX> pRUX = OpenRuleSet(nSet);
    if (!pRUX)
        return -1;
    int nResult = change(*pRUX);
    g_sSetMessages = JoinLines(pRUX->GetMessages());
    return nResult;
}

}  // namespace

extern "C" {

VESKAR_API int RUX_Init(const char* sDataDir, const char* /*sUnused*/)
{
    return GuardExport("RUX_Init", -1, [&] { return StartRUXEngine(sDataDir); });
}

VESKAR_API void RUX_Exit(void)
{
    GuardExport("RUX_Exit", 0, [] {
        StopRUXEngine();
        return 0;
    });
}

VESKAR_API int RUX_NewInstance(int nId)
{
    return GuardExport("RUX_NewInstance", -1, [&] { return NewRUXInstance(nId); });
}

VESKAR_API int RUX_DeleteInstance(int handle)
{
    return GuardExport("RUX_DeleteInstance", 0, [&] { return DeleteRUXInstance(handle); });
}

VESKAR_API int RUX_ImportRule(const char* sFile, bool bOverwrite, int handle)
{
    return GuardExport("RUX_ImportRule", -1, [&] {
        std::shared_ptr<CRUX> pRUX = GetRUXWorker(handle);
        return pRUX ? pRUX->ImportRule(sFile, bOverwrite) : -1;
    });
}

VESKAR_API const char* RUX_GetLastErrorMsg(void)
{
    return GuardExport("RUX_GetLastErrorMsg", static_cast<const char*>(""),
                       [] { return KeepString(MessageToUtf8(g_sLastErrorMessage)); });
}

VESKAR_API const char* RUX_GetRuleMessages(int handle)
{
    return GuardExport("RUX_GetRuleMessages", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::shared_ptr<CRUX> pRUX = GetRUXWorker(handle);
        return pRUX ? KeepString(JoinLines(pRUX->GetMessages())) : nullptr;
    });
}

VESKAR_API int RUXSet_Import(const char* sFile, bool bOverwrite, int nSet)
{
    return GuardExport("RUXSet_Import", -1,
                       [&] { return ChangeRuleSet(nSet, [&](CRUX& set) { return set.ImportRule(sFile, bOverwrite); }); });
}

VESKAR_API const char* RUXSet_List(int nSet)
{
    return GuardExport("RUXSet_List", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::unique_ptr<CRUX> pRUX = OpenRuleSet(nSet);
        return pRUX ? KeepString(pRUX->GetRuleListId()) : nullptr;
    });
}

VESKAR_API const char* RUXSet_Show(int rule_id, int nSet)
{
    return GuardExport("RUXSet_Show", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::unique_ptr<CRUX> pRUX = OpenRuleSet(nSet);
        return pRUX ? KeepString(pRUX->GetItem(rule_id)) : nullptr;
    });
}

VESKAR_API const char* RUXSet_Export(int nSet, const char* sFile)
{
    return GuardExport("RUXSet_Export", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::unique_ptr<CRUX> pRUX = OpenRuleSet(nSet);
        if (!pRUX)
            return nullptr;
        std::string sPath = (sFile && *sFile) ? sFile : pRUX->ExportFile();
        return pRUX->Export(sPath.c_str()) == 1 ? KeepString(sPath) : nullptr;
    });
}

VESKAR_API int RUXSet_Add(const char* sJson, int nSet)
{
    return GuardExport("RUXSet_Add", -1,
                       [&] { return ChangeRuleSet(nSet, [&](CRUX& set) { return set.AddItem(sJson); }); });
}

VESKAR_API int RUXSet_Edit(int rule_id, const char* sJson, int nSet)
{
    return GuardExport("RUXSet_Edit", -1,
                       [&] { return ChangeRuleSet(nSet, [&](CRUX& set) { return set.EditItem(rule_id, sJson); }); });
}

VESKAR_API int RUXSet_Delete(int rule_id, int nSet)
{
    return GuardExport("RUXSet_Delete", -1,
                       [&] { return ChangeRuleSet(nSet, [&](CRUX& set) { return set.DeleteItem(rule_id); }); });
}

VESKAR_API const char* RUXSet_Messages(void)
{
    return g_sSetMessages.c_str();
}

}  // extern "C"
