// Exported per-instance functions: checking, results, re-checks, knowledge.
// Each looks its instance up by handle; an unknown handle is "VESKAR not init!".
#include "API/ExportGuard.h"
#include "API/InstanceTable.h"
#include "Checker/ReportChecker.h"
#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

CReportChecker* Worker(int handle)
{
    CReportChecker* pChecker = GetReportCheckerWorker(handle);
    if (!pChecker)
        SetLastError("VESKAR not init!");
    return pChecker;
}

std::string LocalName(const char* sName)
{
    std::string sOut;
    GetAnsiFilename(sName ? sName : "", sOut, false);
    return sOut;
}

const char* const kNoText = nullptr;

}  // namespace

extern "C" {

VESKAR_API const char* VESKAR_CheckReportF(const char* sReportFile, const char* sURLPrefix,
                                           const char* sOrgnization, int nType, int nResultFormat, bool bDebug,
                                           int handle)
{
    return GuardExport("VESKAR_CheckReportF", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        if (!pChecker)
            return nullptr;
        std::string sFile = LocalName(sReportFile);
        if (pChecker->ImportFile(sFile.c_str(), sURLPrefix ? sURLPrefix : "", nType, nResultFormat) <= 0) {
            // Keep the parser's own reason after the file name.
            std::string sWhy = g_sLastErrorMessage;
            if (sWhy.rfind("Cannot open file ", 0) != 0)
                SetLastError(std::string("Cannot open file ") + (sReportFile ? sReportFile : "") +
                             (sWhy.empty() ? "" : ": " + sWhy));
            return nullptr;
        }
        pChecker->Check(nType, nResultFormat, sOrgnization ? sOrgnization : "", bDebug);
        return pChecker->GetResultFile(nResultFormat);
    });
}

VESKAR_API const char* VESKAR_CheckReportM(const char* sReportTxt, const char* /*sURLPrefix*/,
                                           const char* sOrgnization, int nType, int nResultFormat, bool bDebug,
                                           int handle)
{
    return GuardExport("VESKAR_CheckReportM", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        if (!pChecker)
            return nullptr;
        pChecker->ImportMemory(sReportTxt ? sReportTxt : "", nType, nResultFormat);
        pChecker->Check(nType, nResultFormat, sOrgnization ? sOrgnization : "", bDebug);
        pChecker->SetResultFormat(nResultFormat);
        return pChecker->GetResultE();
    });
}

VESKAR_API const char* VESKAR_GetResult(int result_type, int handle)
{
    return GuardExport("VESKAR_GetResult", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        return pChecker ? pChecker->GetOutput(result_type) : nullptr;
    });
}

VESKAR_API size_t VESKAR_LoadDocResult(const char* sResultXMLFile, int handle)
{
    return GuardExport("VESKAR_LoadDocResult", static_cast<size_t>(0), [&]() -> size_t {
        CReportChecker* pChecker = Worker(handle);
        return pChecker ? pChecker->LoadDocResult(LocalName(sResultXMLFile).c_str()) : 0;
    });
}

VESKAR_API const char* VESKAR_ImportDoc(const char* sReportFile, const char* sURLPrefix, int handle)
{
    return GuardExport("VESKAR_ImportDoc", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        if (!pChecker)
            return nullptr;
        return pChecker->ImportDocx(LocalName(sReportFile).c_str(), sURLPrefix ? sURLPrefix : "", 0, 0);
    });
}

VESKAR_API const char* VESKAR_ShowHtmlError(const char* sReviseXMLFile, int handle)
{
    return GuardExport("VESKAR_ShowHtmlError", static_cast<const char*>(g_sLastErrorMessage.c_str()),
                       [&]() -> const char* {
                           CReportChecker* pChecker = Worker(handle);
                           if (!pChecker)
                               return g_sLastErrorMessage.c_str();
                           return pChecker->ShowHtmlError(LocalName(sReviseXMLFile).c_str());
                       });
}

VESKAR_API const char* VESKAR_ReCheckFormat(const char* sCheckXML, int nTemplateID, int nResultFormat, int handle)
{
    return GuardExport("VESKAR_ReCheckFormat", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        if (!pChecker)
            return nullptr;
        pChecker->ReCheckFormat(LocalName(sCheckXML).c_str(), nTemplateID);
        return pChecker->GetResultFile(nResultFormat);
    });
}

VESKAR_API const char* VESKAR_ExtractKnowledge(const char* sText, int nType)
{
    return GuardExport("VESKAR_ExtractKnowledge", kNoText, [&]() -> const char* {
        int nHandle = VESKAR_NewInstance();
        CReportChecker* pChecker = nHandle < 0 ? nullptr : Worker(nHandle);
        if (!pChecker)
            return nullptr;
        pChecker->ImportMemory(sText ? sText : "", nType, 1);
        return pChecker->ExtractKnowledge(nType);
    });
}

VESKAR_API const char* VESKAR_GetCurTemplateInfo(int handle)
{
    return GuardExport("VESKAR_GetCurTemplateInfo", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        return pChecker ? pChecker->GetCurTemplateInfo() : nullptr;
    });
}

VESKAR_API const char* RUX_ScanTextMem(const char* sLine, int rule_id, int type, int handle)
{
    return GuardExport("RUX_ScanTextMem", kNoText, [&]() -> const char* {
        CReportChecker* pChecker = Worker(handle);
        return pChecker ? pChecker->CheckMem(sLine ? sLine : "", type, rule_id) : nullptr;
    });
}

}  // extern "C"
