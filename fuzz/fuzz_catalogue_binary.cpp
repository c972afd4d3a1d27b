// Arbitrary bytes as a binary error catalogue; what loads must save back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Utility/ID2Message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    CID2Message catalogue;
    std::string sBytes(reinterpret_cast<const char*>(pData), nSize);
    if (catalogue.LoadFromBuffer(sBytes)) {
        CID2Message again;
        if (!again.LoadFromBuffer(catalogue.SaveToBuffer()) || again.SaveToBuffer() != catalogue.SaveToBuffer())
            __builtin_trap();
        catalogue.Export2Json();
    }
    return 0;
}
