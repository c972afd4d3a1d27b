// The int pool grows by the needed size plus a margin, so appending many
// short lists does not reallocate each time.
#include "RUX/IntArray.h"

#include <stdexcept>

namespace {
const int32_t kGrowMargin = 1024;
const int32_t kMaxPoolSize = INT32_MAX - kGrowMargin;
}  // namespace

void CIntArray::Reserve(size_t nNeeded)
{
    if (nNeeded > static_cast<size_t>(kMaxPoolSize))
        throw std::length_error("int pool full");
    if (static_cast<int32_t>(nNeeded) <= m_nDataMaxSize)
        return;
    m_nDataMaxSize = static_cast<int32_t>(nNeeded) + kGrowMargin;
    m_pData.resize(static_cast<size_t>(m_nDataMaxSize));
}

_tIntArray CIntArray::Add(const std::vector<int>& vecValues)
{
    _tIntArray range;
    range.start = m_nCurDataSize;
    Reserve(static_cast<size_t>(m_nCurDataSize) + vecValues.size());
    for (int nValue : vecValues)
        m_pData[static_cast<size_t>(m_nCurDataSize++)] = nValue;
    range.end = m_nCurDataSize;
    return range;
}

void CIntArray::Append(int nValue)
{
    Reserve(static_cast<size_t>(m_nCurDataSize) + 1);
    m_pData[static_cast<size_t>(m_nCurDataSize++)] = nValue;
}

int CIntArray::GetValue(int i) const
{
    if (i < 0 || i >= m_nCurDataSize)
        return -1;
    return m_pData[static_cast<size_t>(i)];
}

bool CIntArray::IsValidRange(const _tIntArray& range) const
{
    return range.start >= 0 && range.start <= range.end && range.end <= m_nCurDataSize;
}

std::vector<int> CIntArray::GetValues(const _tIntArray& range) const
{
    if (!IsValidRange(range))
        return {};
    return std::vector<int>(m_pData.begin() + range.start, m_pData.begin() + range.end);
}

void CIntArray::Assign(std::vector<int32_t> vecData)
{
    if (vecData.size() > static_cast<size_t>(kMaxPoolSize))
        throw std::length_error("int pool full");
    m_nCurDataSize = static_cast<int32_t>(vecData.size());
    m_nDataMaxSize = m_nCurDataSize;
    m_pData = std::move(vecData);
}

void CIntArray::Clear()
{
    m_pData.clear();
    m_nCurDataSize = 0;
    m_nDataMaxSize = 0;
}
