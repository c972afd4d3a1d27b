// Arbitrary text as a text error catalogue, then every lookup path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Utility/ID2Message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    CID2Message catalogue;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    int nCount = catalogue.ImportFromBuffer(sText);
    if (nCount < 0 || static_cast<size_t>(nCount) != catalogue.MessageCount())
        __builtin_trap();
    catalogue.Export2Json();
    float fMax = 0;
    catalogue.GetScore(sText.c_str(), fMax);
    catalogue.GetText(sText.c_str());
    CID2Message loaded;
    if (!loaded.LoadFromBuffer(catalogue.SaveToBuffer()))
        __builtin_trap();
    return 0;
}
