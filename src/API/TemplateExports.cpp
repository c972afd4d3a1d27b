// Exported template functions: each forwards to the format checker, and
// fails with "g_pDocFormatChecker not init!" while the format check is off.
// The template store is one for the process: its calls take turns, and the
// texts they return are copied into the frame's buffers.
#include <mutex>

#include "API/ExportGuard.h"
#include "Checker/DocFormatCheck.h"
#include "API/SharedServices.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

std::mutex g_mutexTemplates;

// The format checker, or null with the reason. Hold g_mutexTemplates.
CDocFormatCheck* Checker()
{
    if (!g_pDocFormatChecker)
        SetLastError("g_pDocFormatChecker not init!");
    return g_pDocFormatChecker.get();
}

std::string LocalName(const char* sName)
{
    std::string sOut;
    GetAnsiFilename(sName ? sName : "", sOut, false);
    return sOut;
}

const char* KeepText(const char* sText)
{
    return sText ? g_pVeskarBuffer->AddBuffer(sText) : nullptr;
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_EditTemplate(int nTemplateID, const char* sTemplateFile, int nType, const char* sOrg,
                                   const char* sArea, const char* sArgumemt)
{
    return GuardExport("VESKAR_EditTemplate", 0, [&] {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? pChecker->EditTemplate(nTemplateID, LocalName(sTemplateFile).c_str(), nType, sOrg, sArea,
                                                 sArgumemt)
                        : 0;
    });
}

VESKAR_API int VESKAR_ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                                     const char* sArgumemt)
{
    return GuardExport("VESKAR_ImportTemplate", 0, [&] {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? pChecker->ImportTemplate(LocalName(sTemplateFile).c_str(), nType, sOrg, sArea, sArgumemt)
                        : 0;
    });
}

VESKAR_API int VESKAR_FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgumemt)
{
    return GuardExport("VESKAR_FindTemplate", 0, [&] {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? pChecker->FindTemplate(nType, sOrg, sArea, sArgumemt) : 0;
    });
}

VESKAR_API int VESKAR_DeleteTemplate(int nTemplateID)
{
    return GuardExport("VESKAR_DeleteTemplate", 0, [&] {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? pChecker->DeleteTemplate(nTemplateID) : 0;
    });
}

VESKAR_API const char* VESKAR_GetTemplate(int nTemplateID)
{
    return GuardExport("VESKAR_GetTemplate", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? KeepText(pChecker->GetTemplate(nTemplateID)) : nullptr;
    });
}

VESKAR_API size_t VESKAR_GetTemplateCount(void)
{
    return GuardExport("VESKAR_GetTemplateCount", static_cast<size_t>(0), []() -> size_t {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? pChecker->GetTemplateCount() : 0;
    });
}

VESKAR_API const char* VESKAR_GetTemplateList(int docType, const char* sOrgnization)
{
    return GuardExport("VESKAR_GetTemplateList", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::lock_guard<std::mutex> lock(g_mutexTemplates);
        CDocFormatCheck* pChecker = Checker();
        return pChecker ? KeepText(pChecker->GetTemplateList(docType, sOrgnization)) : nullptr;
    });
}

}  // extern "C"
