// The paged character table: pages are created on the first set entry and
// written out in full, an untouched page as the empty value throughout.
#include "Utility/CharTable.h"

#include <cstring>

CCharTable::CCharTable(int32_t nEmpty) : m_nEmpty(nEmpty), m_vecEntries(kPageSize, nEmpty) {}

void CCharTable::Clear()
{
    m_aPage.fill(0);
    m_vecEntries.assign(kPageSize, m_nEmpty);
}

int32_t& CCharTable::Slot(int nCode)
{
    uint32_t& nOffset = m_aPage[static_cast<unsigned>(nCode) >> 8 & 0xFF];
    if (nOffset == 0) {
        nOffset = static_cast<uint32_t>(m_vecEntries.size());
        m_vecEntries.resize(m_vecEntries.size() + kPageSize, m_nEmpty);
    }
    return m_vecEntries[nOffset + (static_cast<unsigned>(nCode) & 0xFF)];
}

bool CCharTable::WriteTo(const ByteSink& sink) const
{
    const size_t nPageBytes = kPageSize * sizeof(int32_t);
    for (uint32_t nOffset : m_aPage)
        if (!sink(reinterpret_cast<const char*>(&m_vecEntries[nOffset]), nPageBytes))
            return false;
    return true;
}

void CCharTable::AppendTo(std::string& sOut) const
{
    WriteTo([&sOut](const char* pData, size_t n) {
        sOut.append(pData, n);
        return true;
    });
}

bool CCharTable::ReadFrom(const ByteSource& source, int32_t nMin, int32_t nMax)
{
    Clear();
    const size_t nPageBytes = kPageSize * sizeof(int32_t);
    std::array<int32_t, kPageSize> aPage;
    for (size_t nHigh = 0; nHigh < m_aPage.size(); ++nHigh) {
        if (!source(reinterpret_cast<char*>(aPage.data()), nPageBytes)) {
            Clear();
            return false;
        }
        // Most pages of a file are unused: one compare skips them.
        if (std::memcmp(aPage.data(), m_vecEntries.data(), nPageBytes) == 0)
            continue;
        for (int32_t nValue : aPage) {
            if (nValue < nMin || nValue > nMax) {
                Clear();
                return false;
            }
        }
        m_aPage[nHigh] = static_cast<uint32_t>(m_vecEntries.size());
        m_vecEntries.insert(m_vecEntries.end(), aPage.begin(), aPage.end());
    }
    return true;
}

bool CCharTable::ReadFrom(const char* pData, int32_t nMin, int32_t nMax)
{
    return ReadFrom(
        [&pData](char* pOut, size_t n) {
            std::memcpy(pOut, pData, n);
            pData += n;
            return true;
        },
        nMin, nMax);
}
