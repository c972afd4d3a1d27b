// Arbitrary bytes as a ".pdat" dictionary. The 256 KB character table would
// keep the fuzzer from ever reaching the states, so the input gives it
// sparsely: a u16 count, then (u16 code, i32 id) entries, then the rest of
// the file from the bound on. What loads must save back to the same bytes
// and survive every lookup on text taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "Utility/PDAT.h"

namespace {

std::string ExpandCharsetTable(const uint8_t* pData, size_t nSize)
{
    std::vector<int32_t> vecCharset(65536, -1);
    size_t nPos = 0;
    uint16_t nCount = 0;
    if (nSize >= 2) {
        std::memcpy(&nCount, pData, 2);
        nPos = 2;
    }
    for (uint16_t i = 0; i < nCount && nPos + 6 <= nSize; ++i, nPos += 6) {
        uint16_t nCode = 0;
        int32_t nId = 0;
        std::memcpy(&nCode, pData + nPos, 2);
        std::memcpy(&nId, pData + nPos + 2, 4);
        vecCharset[nCode] = nId;
    }
    std::string sFile(reinterpret_cast<const char*>(vecCharset.data()), vecCharset.size() * 4);
    sFile.append(reinterpret_cast<const char*>(pData) + nPos, nSize - nPos);
    return sFile;
}

void Exercise(CPDAT& dict, const std::string& sText)
{
    dict.Find(sText);
    dict.Find(sText.c_str());
    int nHandle = 0;
    bool bSpans = false;
    dict.GetMaxWord(sText.c_str(), &nHandle, &bSpans);
    std::vector<int> vecIds, vecEnds;
    dict.GetWords(sText.data(), static_cast<int>(sText.size()), vecIds, vecEnds, 0);
    dict.MMSegment(sText.c_str(), 0, "/");
    for (int nMode = 0; nMode < 3; ++nMode) {
        std::vector<_stTermPosition> vecHits;
        dict.MMScanPosition(sText.c_str(), vecHits, nMode);
        for (const _stTermPosition& hit : vecHits)
            if (hit.iStartPos < 0 || hit.nWordLen <= 0 ||
                static_cast<size_t>(hit.iStartPos + hit.nWordLen) > sText.size())
                __builtin_trap();
    }
    for (int nCode : {0, int('a'), 0xD6D0, 65535})
        dict.Find(nCode);
    dict.ExportToText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sRaw(reinterpret_cast<const char*>(pData), nSize);
    CPDAT raw;
    if (raw.LoadFromBuffer(sRaw))
        Exercise(raw, sRaw.substr(sRaw.size() > 64 ? sRaw.size() - 64 : 0));

    std::string sFile = ExpandCharsetTable(pData, nSize);
    CPDAT dict;
    if (!dict.LoadFromBuffer(sFile))
        return 0;
    if (dict.SaveToBuffer() != sFile)
        __builtin_trap();
    // The states double as text: any bytes must be safe to look up.
    Exercise(dict, sFile.substr(262144));
    return 0;
}
