// Arbitrary bytes as a ".wordlist" file, plain and scrambled: what loads
// saves back to the same bytes and every id reads safely.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Global/Globals.h"
#include "Utility/WordList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sBytes(reinterpret_cast<const char*>(pData), nSize);
    for (bool bScrambled : {false, true}) {
        CWordList list(bScrambled);
        if (!list.LoadFromBuffer(sBytes))
            continue;
        if (list.SaveToBuffer() != sBytes)
            __builtin_trap();
        size_t nTotal = 0;
        for (int nId = -1; nId <= list.GetBound(); ++nId)
            nTotal += std::strlen(list.GetWord(nId));
        if (nTotal > nSize * static_cast<size_t>(list.GetBound() + 2))
            __builtin_trap();
    }
    return 0;
}
