// QuickLZ level-1 decoding: the decoder rebuilds the compressor's hash
// table from its own output, entering positions with the same lag, so a
// match's hash names the source; every read and write is checked first.
#include "SearchClient/QuickLZDecoder.h"

#include <cstring>

using namespace QuickLZ;

bool CQuickLZDecoder::ReadHeader(const uint8_t* pBlock, size_t nLen, _tQuickLZHeader& header, std::string& sError)
{
    if (nLen < kShortHeader) {
        sError = "block shorter than its header";
        return false;
    }
    uint8_t nFlag = pBlock[0];
    if ((nFlag & kFlagLevelMask) != kFlagLevel1) {
        sError = "block is not QuickLZ level 1 without streaming";
        return false;
    }
    header.bCompressed = (nFlag & kFlagCompressed) != 0;
    header.nHeaderLen = (nFlag & kFlagLongHeader) ? kLongHeader : kShortHeader;
    if (nLen < header.nHeaderLen) {
        sError = "block shorter than its header";
        return false;
    }
    header.nTotal = header.nHeaderLen == kLongHeader ? ReadLE32(pBlock + 1) : pBlock[1];
    header.nSize = header.nHeaderLen == kLongHeader ? ReadLE32(pBlock + 5) : pBlock[2];
    if (header.nTotal != nLen || header.nTotal < header.nHeaderLen) {
        sError = "block of " + std::to_string(nLen) + " bytes states " + std::to_string(header.nTotal);
        return false;
    }
    size_t nPayload = header.nTotal - header.nHeaderLen;
    if (!header.bCompressed && nPayload != header.nSize) {
        sError = "stored block holds " + std::to_string(nPayload) + " bytes, states " + std::to_string(header.nSize);
        return false;
    }
    if (header.bCompressed && header.nSize / kMaxExpansion > nPayload) {
        sError = "compressed block of " + std::to_string(nPayload) + " bytes cannot hold " +
                 std::to_string(header.nSize);
        return false;
    }
    return true;
}

bool CQuickLZDecoder::Decompress(const uint8_t* pBlock, size_t nLen, uint8_t* pOut, size_t nRoom, std::string& sError)
{
    _tQuickLZHeader header;
    if (!ReadHeader(pBlock, nLen, header, sError))
        return false;
    if (nRoom < header.nSize) {
        sError = "no room for " + std::to_string(header.nSize) + " bytes";
        return false;
    }
    if (!header.bCompressed) {
        if (header.nSize)
            std::memcpy(pOut, pBlock + header.nHeaderLen, header.nSize);
        return true;
    }
    m_pIn = pBlock;
    m_nIn = nLen;
    m_nPos = header.nHeaderLen;
    m_pOut = pOut;
    m_nSize = header.nSize;
    return DecodeItems(sError);
}

bool CQuickLZDecoder::Decompress(const std::string& sBlock, std::string& sOut, std::string& sError)
{
    const auto* pBlock = reinterpret_cast<const uint8_t*>(sBlock.data());
    _tQuickLZHeader header;
    if (!ReadHeader(pBlock, sBlock.size(), header, sError))
        return false;
    sOut.assign(header.nSize, '\0');
    if (Decompress(pBlock, sBlock.size(), reinterpret_cast<uint8_t*>(sOut.data()), sOut.size(), sError))
        return true;
    sOut.clear();
    return false;
}

bool CQuickLZDecoder::DecodeItems(std::string& sError)
{
    std::memset(m_table, 0, sizeof(m_table));
    m_nOut = 0;
    m_nEntered = 0;
    m_nControl = 1;
    while (m_nOut < m_nSize) {
        if (m_nControl == 1) {
            if (m_nIn - m_nPos < 4) {
                sError = "control word cut off at byte " + std::to_string(m_nPos);
                return false;
            }
            m_nControl = ReadLE32(m_pIn + m_nPos);
            m_nPos += 4;
        }
        if (m_nIn - m_nPos < 4) {
            sError = "item too near the end of the block at byte " + std::to_string(m_nPos);
            return false;
        }
        bool bMatch = (m_nControl & 1) != 0;
        if (!bMatch && m_nOut + kTailBytes >= m_nSize)
            return DecodeTail(sError);
        m_nControl >>= 1;
        if (bMatch) {
            if (!DecodeMatch(sError))
                return false;
            continue;
        }
        m_pOut[m_nOut++] = m_pIn[m_nPos++];
        if (m_nOut >= kMinMatch)
            EnterBelow(m_nOut - 2);
    }
    return true;
}

bool CQuickLZDecoder::DecodeMatch(std::string& sError)
{
    uint32_t nWord = m_pIn[m_nPos] | (uint32_t(m_pIn[m_nPos + 1]) << 8);
    uint32_t nHash = nWord >> 4;
    size_t nLength = nWord & 0x0F;
    if (nLength) {
        nLength += 2;
        m_nPos += 2;
    } else {
        nLength = m_pIn[m_nPos + 2];
        m_nPos += 3;
    }
    size_t nAt = m_nOut;
    uint32_t nEntry = m_table[nHash];
    if (!nEntry || size_t(nEntry - 1) + kMinMatch > nAt || nLength < kMinMatch ||
        nAt + nLength + kLiteralEnd > m_nSize) {
        sError = "match at output " + std::to_string(nAt) + " has no valid source";
        return false;
    }
    const uint8_t* pFrom = m_pOut + (nEntry - 1);
    uint8_t* pTo = m_pOut + nAt;
    for (size_t i = 0; i < nLength; ++i)  // forward: source and target may overlap
        pTo[i] = pFrom[i];
    EnterBelow(nAt + 1);
    m_nEntered = nAt + nLength;
    m_nOut += nLength;
    return true;
}

// The last bytes are all literals: control words are passed over unread.
bool CQuickLZDecoder::DecodeTail(std::string& sError)
{
    while (m_nOut < m_nSize) {
        if (m_nControl == 1) {
            m_nPos += 4;
            m_nControl = kControlMarker;
        }
        if (m_nPos >= m_nIn) {
            sError = "block ends before its last literals";
            return false;
        }
        m_pOut[m_nOut++] = m_pIn[m_nPos++];
        m_nControl >>= 1;
    }
    return true;
}

void CQuickLZDecoder::EnterBelow(size_t nEnd)
{
    for (; m_nEntered < nEnd; ++m_nEntered)
        m_table[Hash3(m_pOut + m_nEntered)] = static_cast<uint32_t>(m_nEntered + 1);
}
