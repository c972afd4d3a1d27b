// The string pool grows by the needed size plus a margin. Offsets are ints,
// so the pool stops short of 2 GB.
#include "RUX/StaticStr.h"

#include <cstring>
#include <stdexcept>

namespace {
const uint64_t kGrowMargin = 1024;
const uint64_t kMaxPoolSize = INT32_MAX - kGrowMargin;
}  // namespace

int CStaticStr::AddString(const char* sText)
{
    const char* s = sText ? sText : "";
    uint64_t nLen = std::strlen(s) + 1;
    uint64_t nNeeded = m_nDataIndex + nLen;
    if (nNeeded > kMaxPoolSize)
        throw std::length_error("string pool full");
    if (nNeeded > m_nDataMaxSize) {
        m_nDataMaxSize = nNeeded + kGrowMargin;
        m_pData.resize(m_nDataMaxSize);
    }
    int nOffset = static_cast<int>(m_nDataIndex);
    std::memcpy(&m_pData[m_nDataIndex], s, nLen);
    m_nDataIndex = nNeeded;
    return nOffset;
}

bool CStaticStr::IsValidId(int64_t nOffset) const
{
    if (nOffset < 0 || static_cast<uint64_t>(nOffset) >= m_nDataIndex)
        return false;
    return std::memchr(m_pData.data() + nOffset, '\0', m_nDataIndex - static_cast<uint64_t>(nOffset)) != nullptr;
}

const char* CStaticStr::GetString(int nOffset) const
{
    return IsValidId(nOffset) ? m_pData.data() + nOffset : nullptr;
}

bool CStaticStr::Assign(const std::string& sBytes)
{
    if (sBytes.size() > kMaxPoolSize)
        return false;
    m_pData = sBytes;
    m_nDataIndex = sBytes.size();
    m_nDataMaxSize = sBytes.size();
    return true;
}

void CStaticStr::Clear()
{
    m_pData.clear();
    m_nDataIndex = 0;
    m_nDataMaxSize = 0;
}
