// Decoder of QuickLZ 1.5 level-1 blocks, the compression of the search
// service's answers. It reads and writes only inside the buffers it is
// given and refuses any block whose header or items do not add up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "SearchClient/QuickLZFormat.h"

// The sizes a block's header states.
struct _tQuickLZHeader {
    bool bCompressed = false;
    size_t nHeaderLen = 0;
    size_t nTotal = 0;  // the whole block, header included
    size_t nSize = 0;   // the decompressed size
};

class CQuickLZDecoder {
public:
    // Reads the header of a block of nLen bytes; false with sError when it is
    // cut off, not level 1, or its sizes disagree with each other or nLen.
    static bool ReadHeader(const uint8_t* pBlock, size_t nLen, _tQuickLZHeader& header, std::string& sError);

    // Decodes a block into pOut, which has room for nRoom bytes (at least the
    // header's size). False with sError for any fault; pOut then holds junk.
    bool Decompress(const uint8_t* pBlock, size_t nLen, uint8_t* pOut, size_t nRoom, std::string& sError);
    // The same into a string.
    bool Decompress(const std::string& sBlock, std::string& sOut, std::string& sError);

private:
    bool DecodeItems(std::string& sError);
    bool DecodeMatch(std::string& sError);
    bool DecodeTail(std::string& sError);
    void EnterBelow(size_t nEnd);

    // Output positions + 1 by hash, 0 when empty; rebuilt for every block.
    uint32_t m_table[QuickLZ::kHashSize];
    const uint8_t* m_pIn = nullptr;
    size_t m_nIn = 0;
    size_t m_nPos = 0;  // next byte to read
    uint8_t* m_pOut = nullptr;
    size_t m_nSize = 0;
    size_t m_nOut = 0;
    size_t m_nEntered = 0;  // positions below this are in the table
    uint32_t m_nControl = 1;
};
