// The int pool of a rule store: every list of the compiled rules appended to
// one array and named by its half-open range.
#pragma once

#include <cstdint>
#include <vector>

#include "RUX/RUXRecords.h"

class CIntArray {
public:
    CIntArray() = default;

    // Appends the values; returns their range.
    _tIntArray Add(const std::vector<int>& vecValues);
    void Append(int nValue);
    // The value at i, -1 for an index outside the array.
    int GetValue(int i) const;
    // The values of a range that lies inside the array (empty otherwise).
    std::vector<int> GetValues(const _tIntArray& range) const;
    bool IsValidRange(const _tIntArray& range) const;

    int32_t Size() const { return m_nCurDataSize; }
    const std::vector<int32_t>& Data() const { return m_pData; }
    void Assign(std::vector<int32_t> vecData);
    void Clear();

private:
    void Reserve(size_t nNeeded);

    std::vector<int32_t> m_pData;  // m_nDataMaxSize entries allocated
    int32_t m_nCurDataSize = 0;
    int32_t m_nDataMaxSize = 0;
};
