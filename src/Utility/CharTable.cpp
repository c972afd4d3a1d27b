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

void CCharTable::AppendTo(std::string& sOut) const
{
    const size_t nPageBytes = kPageSize * sizeof(int32_t);
    for (uint32_t nOffset : m_aPage)
        sOut.append(reinterpret_cast<const char*>(&m_vecEntries[nOffset]), nPageBytes);
}

bool CCharTable::ReadFrom(const char* pData, int32_t nMin, int32_t nMax)
{
    Clear();
    const size_t nPageBytes = kPageSize * sizeof(int32_t);
    for (size_t nHigh = 0; nHigh < m_aPage.size(); ++nHigh) {
        const char* pPage = pData + nHigh * nPageBytes;
        // Most pages of a file are unused: one compare skips them.
        if (std::memcmp(pPage, m_vecEntries.data(), nPageBytes) == 0)
            continue;
        size_t nOffset = m_vecEntries.size();
        m_vecEntries.resize(nOffset + kPageSize);
        std::memcpy(&m_vecEntries[nOffset], pPage, nPageBytes);
        m_aPage[nHigh] = static_cast<uint32_t>(nOffset);
        for (size_t i = nOffset; i < m_vecEntries.size(); ++i) {
            if (m_vecEntries[i] < nMin || m_vecEntries[i] > nMax) {
                Clear();
                return false;
            }
        }
    }
    return true;
}
