// Encoder of QuickLZ 1.5 level-1 blocks for the search service's answers.
// Greedy: it keeps its hash table exactly as the decoder will rebuild it,
// so every match it writes decodes to the right bytes by construction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "SearchClient/QuickLZFormat.h"

class CQuickLZEncoder {
public:
    // The block for nLen bytes. QuickLZ has no block for nothing, so an empty
    // input gives an empty string; so does one over QuickLZ::kMaxInput.
    std::string Compress(const uint8_t* pIn, size_t nLen);
    std::string Compress(const std::string& sIn);

private:
    void FindItems();
    size_t MatchLength(size_t nFrom, size_t nAt) const;
    void EnterBelow(size_t nEnd);
    void BeginItem(bool bMatch);
    void EmitLiteral(uint8_t nByte);
    void EmitMatch(uint32_t nHash, size_t nLength);
    void CloseGroup();
    std::string Block() const;

    uint32_t m_table[QuickLZ::kHashSize];  // input positions + 1, 0 when empty
    const uint8_t* m_pIn = nullptr;
    size_t m_nLen = 0;
    size_t m_nEntered = 0;  // positions below this are in the table
    std::string m_sPayload;
    size_t m_nControlAt = 0;  // where the open group's control word goes
    uint32_t m_nControl = 0;
    size_t m_nItems = 0;
};
