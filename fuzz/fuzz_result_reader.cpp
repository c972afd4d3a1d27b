// Arbitrary text as a saved check result, read as XML and as JSON; what is
// read must write and read back to the same findings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Checker/CheckResult.h"
#include "Global/Globals.h"

namespace {

void RoundTrip(CCheckResult& result)
{
    std::string sXml = result.GetResult(result.Path().c_str(), result.Filename().c_str(), result.ReportType(),
                                        result.URLPrefix().c_str(), nullptr);
    CCheckResult back;
    back.ImportXmlText(sXml);
    if (back.Results().size() != result.Results().size())
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
