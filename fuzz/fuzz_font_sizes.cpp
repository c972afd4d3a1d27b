// Arbitrary text as the font-size table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Utility/Num2FontSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    CNum2FontSize sizes;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    sizes.ImportFromBuffer(sText);
    sizes.GetFontSizeNum(sText.c_str());
    sizes.GetFontSizeName(static_cast<int>(nSize));
    return 0;
}
