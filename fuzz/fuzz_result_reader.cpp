// Arbitrary text as a saved check result, read as XML and as JSON.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Checker/CheckResult.h"
#include "Global/Globals.h"

namespace {

std::string WriteXml(CCheckResult& result)
{
    return result.GetResult(result.Path().c_str(), result.Filename().c_str(), result.ReportType(),
                            result.URLPrefix().c_str(), nullptr);
}

// Once written, a result must read back to exactly what was written.
void RoundTrip(CCheckResult& result)
{
    CCheckResult back;
    back.ImportXmlText(WriteXml(result));
    std::string sWritten = WriteXml(back);
    CCheckResult again;
    again.ImportXmlText(sWritten);
    if (WriteXml(again) != sWritten)
        __builtin_trap();
    result.GetResultJson("", "", 0, "", nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CCheckResult fromXml;
    fromXml.ImportXmlText(sText);
    RoundTrip(fromXml);
    CCheckResult fromJson;
    if (fromJson.ImportJsonText(sText) == 1)
        RoundTrip(fromJson);
    return 0;
}
