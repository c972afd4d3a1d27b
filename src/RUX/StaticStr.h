// The string pool of a rule store: every string of the compiled rules
// appended with its NUL to one buffer; a string's id is its byte offset.
#pragma once

#include <cstdint>
#include <string>

class CStaticStr {
public:
    CStaticStr() = default;

    // Appends the string and its NUL; returns the offset where it starts.
    int AddString(const char* sText);
    int AddString(const std::string& sText) { return AddString(sText.c_str()); }
    // The string at an offset; null for an offset outside the pool.
    const char* GetString(int nOffset) const;
    // True when the offset starts a NUL-terminated string inside the pool.
    bool IsValidId(int64_t nOffset) const;

    uint64_t Size() const { return m_nDataIndex; }
    std::string Bytes() const { return m_pData.substr(0, m_nDataIndex); }
    // Takes the bytes of a saved pool; false when they are too many to address.
    bool Assign(const std::string& sBytes);
    void Clear();

private:
    std::string m_pData;  // m_nDataMaxSize bytes allocated
    uint64_t m_nDataIndex = 0;
    uint64_t m_nDataMaxSize = 0;
};
