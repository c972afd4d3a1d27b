// Exported functions that work on saved check results.
#include <memory>

#include "API/ExportGuard.h"
#include "API/InstanceTable.h"
#include "Checker/ReportChecker.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "veskar.h"

extern "C" {

VESKAR_API const char* VESKAR_LoadCheckResult(const char* sResultFile, int handle)
{
    return GuardExport("VESKAR_LoadCheckResult", static_cast<const char*>(nullptr), [&]() -> const char* {
        std::shared_ptr<CReportChecker> pChecker = GetReportCheckerWorker(handle);
        if (!pChecker) {
            SetLastError("VESKAR not init!");
            return nullptr;
        }
        std::string sFile;
        GetAnsiFilename(sResultFile, sFile, false);
        return pChecker->LoadCheckResult(sFile.c_str());
    });
}

}  // extern "C"
