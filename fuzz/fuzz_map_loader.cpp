// Arbitrary bytes as a ".map" file: what loads saves back to the same bytes,
// and every id's group, related ids and the dump stay inside the data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Global/Globals.h"
#include "Utility/IDMaps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sBytes(reinterpret_cast<const char*>(pData), nSize);
    CIDMaps maps;
    if (!maps.LoadFromBuffer(sBytes))
        return 0;
    if (maps.SaveToBuffer() != sBytes)
        __builtin_trap();
    std::vector<int> vecIds;
    for (int nId = -1; nId <= maps.GetBound(); ++nId) {
        int nCount = 0;
        const int32_t* pIds = maps.GetMaps(nId, &nCount);
        long nSum = 0;
        for (int i = 0; i < nCount; ++i)
            nSum += pIds[i];
        if ((pIds == nullptr) != (nCount == 0) || nCount > maps.GetSize() || nSum < -nCount)
            __builtin_trap();
        maps.GetMapID(nId);
        maps.GetSimMaps(nId, vecIds);
    }
    maps.ExportToText(nullptr, nullptr, false);
    std::vector<std::pair<std::string, std::string>> vecPairs;
    maps.Export(vecPairs, nullptr, nullptr);
    return 0;
}
