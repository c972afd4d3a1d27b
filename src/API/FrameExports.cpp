// Exported life-cycle, instance and information functions.
#include <json/json.h>
#include <memory>

#include "API/ExportGuard.h"
#include "API/InstanceTable.h"
#include "API/LibraryFrame.h"
#include "Checker/ReportChecker.h"
#include "Global/Globals.h"
#include "API/SharedServices.h"
#include "Utility/BufferManager.h"
#include "Utility/ID2Message.h"
#include "Utility/Log.h"
#include "Utility/Num2FontSize.h"
#include "veskar.h"

namespace {

Json::Value SwitchesJson()
{
    Json::Value switches(Json::objectValue);
    switches["PunctionCheck"] = g_bPunctionCheck.load();
    switches["FormatCheck"] = g_bFormatCheck.load();
    switches["BodyFormatCheck"] = g_bBodyFormatCheck.load();
    switches["OCR"] = g_bOCR.load();
    switches["FilterCheck"] = g_bFilteringCheck.load();
    switches["SpellCheck"] = g_bSpellingCheck.load();
    switches["SpellCheckIP"] = g_sSpellingHostIP;
    switches["CountryDetect"] = g_bCountryDetect.load();
    switches["Log"] = g_bLog.load();
    return switches;
}

std::string InfoJson()
{
    Json::Value info(Json::objectValue);
    info["version"] = VESKAR_VERSION;
    info["init_dir"] = g_sInitDir;
    info["data_dir"] = g_sInitDir + "/Data";
    info["switches"] = SwitchesJson();
    info["catalogue_messages"] = static_cast<Json::UInt64>(g_pError2Message ? g_pError2Message->MessageCount() : 0);
    info["catalogue_scores"] = static_cast<Json::UInt64>(g_pError2Message ? g_pError2Message->ScoreCount() : 0);
    info["font_sizes"] = static_cast<Json::UInt64>(g_pNum2FontSize ? g_pNum2FontSize->Size() : 0);
    info["instances"] = g_vecReportChecker.Size();
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, info);
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_Init(const char* sInitDirPath)
{
    return GuardExport("VESKAR_Init", -1, [&] { return StartLibrary(sInitDirPath); });
}

VESKAR_API void VESKAR_Exit(void)
{
    GuardExport("VESKAR_Exit", 0, [] {
        StopLibrary();
        return 0;
    });
}

VESKAR_API int VESKAR_NewInstance(void)
{
    return GuardExport("VESKAR_NewInstance", -1, [] {
        if (!g_bVESKARInit) {
            SetLastError("Not Init, no operation!");
            return -1;
        }
        return g_vecReportChecker.Add(std::make_unique<CReportChecker>(CheckServices()));
    });
}

VESKAR_API int VESKAR_DeleteInstance(int handle)
{
    return GuardExport("VESKAR_DeleteInstance", 0, [&] {
        if (g_vecReportChecker.Delete(handle) == 1)
            return 1;
        SetLastError("DC_DeleteInstance  argument(handle " + std::to_string(handle) + ") is invalid!");
        return 0;
    });
}

VESKAR_API const char* VESKAR_LibVersion(void)
{
    return VESKAR_VERSION;
}

VESKAR_API int VESKAR_LibVersionNumber(void)
{
    return VESKAR_VERSION_NUMBER;
}

VESKAR_API const char* VESKAR_GetLastErrorMsg(void)
{
    return g_sLastErrorMessage.c_str();
}

VESKAR_API const char* VESKAR_GetInfo(void)
{
    return GuardExport("VESKAR_GetInfo", static_cast<const char*>(nullptr), []() -> const char* {
        if (!g_bVESKARInit || !g_pVeskarBuffer) {
            SetLastError("VESKAR not init!");
            return nullptr;
        }
        return g_pVeskarBuffer->AddBuffer(InfoJson().c_str());
    });
}

}  // extern "C"
