// Exported scans of the stand-alone rule engine: a paragraph, a text file, a
// document or a saved document result against the rule set of a handle;
// and the scans of the numbered rule sets that the veskar tool uses.
#include <memory>
#include <string>

#include "API/ExportGuard.h"
#include "RUX/RUX.h"
#include "RUX/RUXEngine.h"
#include "RUX/RuleScan.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

const char* Keep(const std::string& sText)
{
    CBufferManager* pBuffer = RUX_GetBufferManager();
    return pBuffer ? pBuffer->AddBuffer(sText.c_str()) : nullptr;
}

const char* KeepOutcome(const _tScanOutcome& outcome)
{
    return outcome.nResult == 1 ? Keep(outcome.sHitList) : nullptr;
}

bool IsTextFile(const std::string& sFile)
{
    size_t nDot = sFile.rfind('.');
    if (nDot == std::string::npos)
        return true;
    std::string sExt = sFile.substr(nDot + 1);
    for (char& c : sExt)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return sExt == "txt" || sExt == "text" || sExt == "md" || sExt == "csv";
}

// Runs a scan on the rule-set instance of a handle; null for a bad handle.
template <typename F>
const char* WithRuleSet(const char* sFunction, int handle, F&& scan)
{
    return GuardExport<const char*>(sFunction, nullptr, [&]() -> const char* {
        std::shared_ptr<CRUX> pSet = GetRUXWorker(handle);
        return pSet ? scan(*pSet) : nullptr;
    });
}

// Rule set nSet of the started engine; null with the reason as last error.
std::unique_ptr<CRUX> OpenStartedRuleSet(int nSet)
{
    if (!RUX_IsInit()) {
        SetLastError("Not Init, no operation!");
        return nullptr;
    }
    std::unique_ptr<CRUX> pSet = OpenRuleSetOfType(nSet);
    if (!pSet)
        SetLastError("Rule set " + std::to_string(nSet) + " cannot be opened: " + g_sLastErrorMessage);
    return pSet;
}

}  // namespace

extern "C" {

VESKAR_API const char* RUX_ScanText(const char* sText, unsigned int nParaId, int handle)
{
    return WithRuleSet("RUX_ScanText", handle,
                       [&](CRUX& set) { return Keep(ScanOneParagraph(set, sText, nParaId)); });
}

VESKAR_API const char* RUX_ScanTextFile(const char* sFile, bool bJson, int handle)
{
    return WithRuleSet("RUX_ScanTextFile", handle,
                       [&](CRUX& set) { return KeepOutcome(ScanPlainTextFile(set, sFile, bJson)); });
}

VESKAR_API const char* RUX_ScanDoc(const char* sFile, int type, bool bJson, int handle)
{
    return WithRuleSet("RUX_ScanDoc", handle,
                       [&](CRUX& set) { return KeepOutcome(ScanDocumentFile(set, sFile, type, bJson)); });
}

VESKAR_API const char* RUX_ScanDocXML(const char* sFile, bool bJson, int handle)
{
    return WithRuleSet("RUX_ScanDocXML", handle,
                       [&](CRUX& set) { return KeepOutcome(ScanDocumentResult(set, sFile, bJson)); });
}

VESKAR_API const char* RUXSet_Extract(const char* sFile, int nSet, bool bJson)
{
    return GuardExport<const char*>("RUXSet_Extract", nullptr, [&]() -> const char* {
        std::unique_ptr<CRUX> pSet = OpenStartedRuleSet(nSet);
        if (!pSet)
            return nullptr;
        std::string sPath = sFile ? sFile : "";
        _tScanOutcome outcome = IsTextFile(sPath) ? ScanPlainTextFile(*pSet, sPath.c_str(), bJson)
                                                  : ScanDocumentFile(*pSet, sPath.c_str(), nSet, bJson);
        return outcome.nResult == 1 ? Keep(outcome.sKnowledge) : nullptr;
    });
}

VESKAR_API const char* RUXSet_Trace(const char* sText, int nSet, int nRule)
{
    return GuardExport<const char*>("RUXSet_Trace", nullptr, [&]() -> const char* {
        std::unique_ptr<CRUX> pSet = OpenStartedRuleSet(nSet);
        if (!pSet)
            return nullptr;
        return Keep(TraceText(*pSet, sText, nRule));
    });
}

}  // extern "C"
