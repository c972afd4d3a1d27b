// Exported functions of the error catalogue.
#include "API/ExportGuard.h"
#include "Global/Globals.h"
#include "API/SharedServices.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/ID2Message.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

bool HaveCatalogue()
{
    if (g_pError2Message)
        return true;
    SetLastError("g_pError2Message not init!");
    return false;
}

// The binary catalogue beside the data folder the segmenter started on,
// which is the catalogue start-up loaded.
std::string SavedCataloguePath()
{
    return NormalisePath(g_sDefaultDir + "/" + "../Data/Error/ErrorMessage.dat");
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_ImportErrorMsg(const char* sErrorListFile)
{
    return GuardExport("VESKAR_ImportErrorMsg", -1, [&] {
        if (!HaveCatalogue())
            return 0;
        std::string sFile;
        GetAnsiFilename(sErrorListFile, sFile, false);
        if (g_pError2Message->Import(sFile.c_str()) < 0)
            return -1;
        return g_pError2Message->Save(SavedCataloguePath().c_str());
    });
}

VESKAR_API int VESKAR_ExportErrorMsg(const char* sErrorListFile)
{
    return GuardExport("VESKAR_ExportErrorMsg", -1, [&] {
        if (!HaveCatalogue())
            return 0;
        return g_pError2Message->Export(sErrorListFile ? sErrorListFile : "");
    });
}

VESKAR_API const char* Audit_GetErrorInfo(void)
{
    return GuardExport("Audit_GetErrorInfo", static_cast<const char*>(nullptr), []() -> const char* {
        if (!HaveCatalogue())
            return nullptr;
        return g_pVeskarBuffer->AddBuffer(g_pError2Message->Export2Json().c_str());
    });
}

}  // extern "C"
