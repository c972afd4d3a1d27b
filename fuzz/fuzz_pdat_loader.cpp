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

const size_t kCharsetBytes = 65536 * sizeof(int32_t);

// The file under test: the character table, all -1 but for the entries
// the input names, then the rest of the input. Kept between inputs, so that
// only the entries an input set are put back, not the whole 256 KB.
class CExpandedFile
{
public:
    CExpandedFile() : m_sFile(kCharsetBytes, '\xff') {}

    const std::string& Build(const uint8_t* pData, size_t nSize)
    {
        Reset();
        size_t nPos = 0;
        uint16_t nCount = 0;
        if (nSize >= 2) {
            std::memcpy(&nCount, pData, 2);
            nPos = 2;
        }
        for (uint16_t i = 0; i < nCount && nPos + 6 <= nSize; ++i, nPos += 6) {
            uint16_t nCode = 0;
            std::memcpy(&nCode, pData + nPos, 2);
            std::memcpy(&m_sFile[nCode * sizeof(int32_t)], pData + nPos + 2, 4);
            m_vecSet.push_back(nCode);
        }
        m_sFile.append(reinterpret_cast<const char*>(pData) + nPos, nSize - nPos);
        return m_sFile;
    }

private:
    void Reset()
    {
        for (uint16_t nCode : m_vecSet)
            std::memset(&m_sFile[nCode * sizeof(int32_t)], 0xff, sizeof(int32_t));
        m_vecSet.clear();
        m_sFile.resize(kCharsetBytes);
    }

    std::string m_sFile;
    std::vector<uint16_t> m_vecSet;
};

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
    // The raw bytes can only be a file once they hold a whole character
    // table; smaller inputs (all of them under the usual -max_len) skip this.
    if (nSize > kCharsetBytes) {
        std::string sRaw(reinterpret_cast<const char*>(pData), nSize);
        CPDAT raw;
        if (raw.LoadFromBuffer(sRaw))
            Exercise(raw, sRaw.substr(sRaw.size() > 64 ? sRaw.size() - 64 : 0));
    }

    static CExpandedFile s_file;
    const std::string& sFile = s_file.Build(pData, nSize);
    CPDAT dict;
    if (!dict.LoadFromBuffer(sFile))
        return 0;
    if (dict.SaveToBuffer() != sFile)
        __builtin_trap();
    // The states double as text: any bytes must be safe to look up.
    Exercise(dict, sFile.substr(kCharsetBytes));
    return 0;
}
