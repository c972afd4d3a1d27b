// Exported per-instance functions: checking, results, re-checks, knowledge.
// Each looks its instance up by handle; an unknown handle is "VESKAR not init!".
// A call holds its instance until it returns, so a deletion on another thread
// never frees the instance under it; a text call whose handle was deleted
// meanwhile returns null, since its texts go with the instance.
#include <memory>

#include "API/ExportGuard.h"
#include "API/InstanceTable.h"
#include "Checker/ReportChecker.h"
#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

std::shared_ptr<CReportChecker> Worker(int handle)
{
    std::shared_ptr<CReportChecker> pChecker = GetReportCheckerWorker(handle);
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

// Runs body on the instance of a handle and hands back the text it returns,
// or null when the handle was deleted before the call ended.
template <typename F>
const char* OnInstance(const char* sFunction, int handle, F&& body)
{
    return GuardExport(sFunction, kNoText, [&]() -> const char* {
        std::shared_ptr<CReportChecker> pChecker = Worker(handle);
        if (!pChecker)
            return nullptr;
        const char* sText = body(*pChecker);
        if (sText && !g_vecReportChecker.Holds(handle, pChecker.get())) {
            SetLastError(std::string(sFunction) + ": instance " + std::to_string(handle) +
                         " was deleted during the call");
            return nullptr;
        }
        return sText;
    });
}

}  // namespace

extern "C" {

VESKAR_API const char* VESKAR_CheckReportF(const char* sReportFile, const char* sURLPrefix,
                                           const char* sOrgnization, int nType, int nResultFormat, bool bDebug,
                                           int handle)
{
    return OnInstance("VESKAR_CheckReportF", handle, [&](CReportChecker& checker) -> const char* {
        std::string sFile = LocalName(sReportFile);
        if (checker.ImportFile(sFile.c_str(), sURLPrefix ? sURLPrefix : "", nType, nResultFormat) <= 0) {
            // Keep the parser's own reason after the file name.
            std::string sWhy = g_sLastErrorMessage;
            if (sWhy.rfind("Cannot open file ", 0) != 0)
                SetLastError(std::string("Cannot open file ") + (sReportFile ? sReportFile : "") +
                             (sWhy.empty() ? "" : ": " + sWhy));
            return nullptr;
        }
        checker.Check(nType, nResultFormat, sOrgnization ? sOrgnization : "", bDebug);
        return checker.GetResultFile(nResultFormat);
    });
}

VESKAR_API const char* VESKAR_CheckReportM(const char* sReportTxt, const char* /*sURLPrefix*/,
                                           const char* sOrgnization, int nType, int nResultFormat, bool bDebug,
                                           int handle)
{
    return OnInstance("VESKAR_CheckReportM", handle, [&](CReportChecker& checker) {
        checker.ImportMemory(sReportTxt ? sReportTxt : "", nType, nResultFormat);
        checker.Check(nType, nResultFormat, sOrgnization ? sOrgnization : "", bDebug);
        checker.SetResultFormat(nResultFormat);
        return checker.GetResultE();
    });
}

VESKAR_API const char* VESKAR_GetCheckTiming(int handle)
{
    return OnInstance("VESKAR_GetCheckTiming", handle,
                      [](CReportChecker& checker) { return checker.Keep(checker.Timing().ToJson()); });
}

VESKAR_API const char* VESKAR_GetResult(int result_type, int handle)
{
    return OnInstance("VESKAR_GetResult", handle,
                      [&](CReportChecker& checker) { return checker.GetOutput(result_type); 
    });
}

VESKAR_API size_t VESKAR_LoadDocResult(const char* sResultXMLFile, int handle)
{
    return GuardExport("VESKAR_LoadDocResult", static_cast<size_t>(0), [&]() -> size_t {
        std::shared_ptr<CReportChecker> pChecker = Worker(handle);
        return pChecker ? pChecker->LoadDocResult(LocalName(sResultXMLFile).c_str()) : 0;
    });
}

VESKAR_API const char* VESKAR_ImportDoc(const char* sReportFile, const char* sURLPrefix, int handle)
{
    return OnInstance("VESKAR_ImportDoc", handle, [&](CReportChecker& checker) {
        return checker.ImportDocx(LocalName(sReportFile).c_str(), sURLPrefix ? sURLPrefix : "", 0, 0);
    });
}

VESKAR_API const char* VESKAR_ShowHtmlError(const char* sReviseXMLFile, int handle)
{
    return GuardExport("VESKAR_ShowHtmlError", static_cast<const char*>(g_sLastErrorMessage.c_str()),
                       [&]() -> const char* {
                           std::shared_ptr<CReportChecker> pChecker = Worker(handle);
                           if (!pChecker)
                               return g_sLastErrorMessage.c_str();
                           return pChecker->ShowHtmlError(LocalName(sReviseXMLFile).c_str());
                       });
}

VESKAR_API const char* VESKAR_ReviseReportF(const char* sReviseXMLFile, int handle)
{
    return OnInstance("VESKAR_ReviseReportF", handle, [&](CReportChecker& checker) {
        return checker.ReviseF(LocalName(sReviseXMLFile).c_str());
    });
}

VESKAR_API const char* VESKAR_ReviseReportTracked(const char* sReviseXMLFile, int handle)
{
    return OnInstance("VESKAR_ReviseReportTracked", handle, [&](CReportChecker& checker) {
        return checker.ReviseTrackedF(LocalName(sReviseXMLFile).c_str());
    });
}

VESKAR_API const char* VESKAR_ReCheckFormat(const char* sCheckXML, int nTemplateID, int nResultFormat, int handle)
{
    return OnInstance("VESKAR_ReCheckFormat", handle, [&](CReportChecker& checker) {
        checker.ReCheckFormat(LocalName(sCheckXML).c_str(), nTemplateID);
        return checker.GetResultFile(nResultFormat);
    });
}

VESKAR_API const char* VESKAR_ExtractKnowledge(const char* sText, int nType)
{
    int nHandle = VESKAR_NewInstance();
    if (nHandle < 0)
        return nullptr;
    return OnInstance("VESKAR_ExtractKnowledge", nHandle, [&](CReportChecker& checker) {
        checker.ImportMemory(sText ? sText : "", nType, 1);
        return checker.ExtractKnowledge(nType);
    });
}

VESKAR_API const char* VESKAR_GetCurTemplateInfo(int handle)
{
    return OnInstance("VESKAR_GetCurTemplateInfo", handle,
                      [&](CReportChecker& checker) { return checker.GetCurTemplateInfo(); 
    });
}

VESKAR_API const char* RUX_ScanTextMem(const char* sLine, int rule_id, int type, int handle)
{
    return OnInstance("RUX_ScanTextMem", handle, [&](CReportChecker& checker) {
        return checker.CheckMem(sLine ? sLine : "", type, rule_id);
    });
}

}  // extern "C"
