// Arbitrary text as "RUX-Configure.json" and as "Configure.xml".
#include <cstddef>
#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Global/RUXConfigure.h"
#include "Segmenter/SegmenterConfigure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    ApplyRUXConfigure(sText);
    _tSegmenterConfigure config;
    ParseSegmenterConfigure(sText, config);
    ResetSwitches();
    return 0;
}
