// A table over the 65,536 character codes of a dictionary (code -> charset
// id, or code -> count while building), kept in pages of 256 codes of which
// only those holding a set entry are allocated. A dictionary uses a few
// dozen pages, so a table costs a few kilobytes instead of 256 KB, and
// clearing, copying and scanning it touch only what is in use. Lookups are
// two loads. The file form is still the full table of 65,536 int32.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Utility/ByteStream.h"

class CCharTable {
public:
    static const int kCodes = 65536;
    static const size_t kFileBytes = kCodes * sizeof(int32_t);

    // nEmpty: the value of every code never set.
    explicit CCharTable(int32_t nEmpty = -1);

    int32_t Get(int nCode) const
    {
        return m_vecEntries[m_aPage[static_cast<unsigned>(nCode) >> 8 & 0xFF] + (static_cast<unsigned>(nCode) & 0xFF)];
    }
    void Set(int nCode, int32_t nValue) { Slot(nCode) = nValue; }
    void Add(int nCode, int32_t nDelta) { Slot(nCode) += nDelta; }
    // Back to all empty, keeping no pages.
    void Clear();

    // Calls fn(code, value) for every code whose value is not the empty one,
    // in rising code order.
    template <typename Fn>
    void ForEach(Fn fn) const
    {
        for (size_t nHigh = 0; nHigh < m_aPage.size(); ++nHigh) {
            uint32_t nOffset = m_aPage[nHigh];
            if (nOffset == 0)
                continue;
            for (unsigned nLow = 0; nLow < kPageSize; ++nLow)
                if (m_vecEntries[nOffset + nLow] != m_nEmpty)
                    fn(static_cast<int>(nHigh << 8 | nLow), m_vecEntries[nOffset + nLow]);
        }
    }

    // Writes the full table (kFileBytes, native byte order) a page at a time.
    bool WriteTo(const ByteSink& sink) const;
    void AppendTo(std::string& sOut) const;
    // Reads a full table of kFileBytes a page at a time; false when the
    // input ends early or a value lies outside [nMin, nMax] (the table is
    // then empty).
    bool ReadFrom(const ByteSource& source, int32_t nMin, int32_t nMax);
    bool ReadFrom(const char* pData, int32_t nMin, int32_t nMax);

private:
    static const unsigned kPageSize = 256;
    int32_t& Slot(int nCode);

    int32_t m_nEmpty;
    // Offset of each page's entries in m_vecEntries; 0 is the shared empty page.
    std::array<uint32_t, kCodes / kPageSize> m_aPage{};
    std::vector<int32_t> m_vecEntries;
};
