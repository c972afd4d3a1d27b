// SHA-256 of a byte string, as lowercase hex: the content key under which
// the queue stores a document's result, so that two documents never share
// a result by accident or by design.
#pragma once

#include <cstdint>
#include <string>

class CSha256 {
public:
    CSha256();
    void Add(const std::string& sBytes);
    // The digest of everything added; the object is spent afterwards.
    std::string HexDigest();

    static std::string Of(const std::string& sBytes);

private:
    void Compress(const unsigned char* pBlock);

    uint32_t m_state[8];
    unsigned char m_block[64] = {};
    size_t m_nInBlock = 0;
    uint64_t m_nTotal = 0;
};
