// Bounds-checked reading of the native little-endian binary data files.
// Every read checks what is left, so a short or corrupt file fails cleanly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class CBinaryReader {
public:
    CBinaryReader(const char* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}
    explicit CBinaryReader(const std::string& sData) : CBinaryReader(sData.data(), sData.size()) {}

    size_t Remaining() const { return m_nSize - m_nPos; }
    size_t Position() const { return m_nPos; }
    bool AtEnd() const { return m_nPos == m_nSize; }

    // Reads one plain value (integer or float) in native byte order.
    template <typename T>
    bool Read(T& value)
    {
        if (Remaining() < sizeof(T))
            return false;
        std::memcpy(&value, m_pData + m_nPos, sizeof(T));
        m_nPos += sizeof(T);
        return true;
    }

    bool ReadBytes(size_t nLen, std::string& sOut)
    {
        if (Remaining() < nLen)
            return false;
        sOut.assign(m_pData + m_nPos, nLen);
        m_nPos += nLen;
        return true;
    }

    // A u64 length followed by that many bytes.
    bool ReadSizedString(std::string& sOut)
    {
        uint64_t nLen = 0;
        return Read(nLen) && nLen <= Remaining() && ReadBytes(static_cast<size_t>(nLen), sOut);
    }

private:
    const char* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};
