// QuickLZ level-1 encoding: matches are looked up in a table that lags the
// input by three positions, as the decoder's does; groups of 31 items each
// follow their control word; a block that would not shrink is stored.
#include "SearchClient/QuickLZEncoder.h"

#include <algorithm>
#include <cstring>

using namespace QuickLZ;

namespace {

void PutLE32(std::string& sOut, size_t nAt, uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        sOut[nAt + i] = static_cast<char>((nValue >> (8 * i)) & 0xFF);
}

std::string Header(bool bCompressed, size_t nTotal, size_t nSize)
{
    bool bLong = nSize >= kShortHeaderLimit;
    std::string sHeader(bLong ? kLongHeader : kShortHeader, '\0');
    sHeader[0] = static_cast<char>(kFlagAlways | kFlagLevel1 | (bCompressed ? kFlagCompressed : 0) |
                                   (bLong ? kFlagLongHeader : 0));
    if (bLong) {
        PutLE32(sHeader, 1, static_cast<uint32_t>(nTotal));
        PutLE32(sHeader, 5, static_cast<uint32_t>(nSize));
    } else {
        sHeader[1] = static_cast<char>(nTotal);
        sHeader[2] = static_cast<char>(nSize);
    }
    return sHeader;
}

}  // namespace

std::string CQuickLZEncoder::Compress(const std::string& sIn)
{
    return Compress(reinterpret_cast<const uint8_t*>(sIn.data()), sIn.size());
}

std::string CQuickLZEncoder::Compress(const uint8_t* pIn, size_t nLen)
{
    if (nLen == 0 || nLen > kMaxInput)
        return std::string();
    m_pIn = pIn;
    m_nLen = nLen;
    m_sPayload.clear();
    m_sPayload.reserve(nLen + nLen / 8 + 16);
    m_nItems = 0;
    FindItems();
    CloseGroup();
    if (m_sPayload.size() < kMinPayload)
        m_sPayload.append(kMinPayload - m_sPayload.size(), '\0');
    return Block();
}

void CQuickLZEncoder::FindItems()
{
    std::memset(m_table, 0, sizeof(m_table));
    m_nEntered = 0;
    size_t p = 0;
    while (p + kTailBytes <= m_nLen) {
        uint32_t nHash = Hash3(m_pIn + p);
        uint32_t nEntry = m_table[nHash];
        if (nEntry && std::memcmp(m_pIn + nEntry - 1, m_pIn + p, kMinMatch) == 0) {
            size_t nLength = MatchLength(nEntry - 1, p);
            EmitMatch(nHash, nLength);
            EnterBelow(p + 1);
            m_nEntered = p + nLength;
            p += nLength;
        } else {
            EmitLiteral(m_pIn[p++]);
            if (p >= kMinMatch)
                EnterBelow(p - 2);
        }
    }
    while (p < m_nLen)
        EmitLiteral(m_pIn[p++]);
}

size_t CQuickLZEncoder::MatchLength(size_t nFrom, size_t nAt) const
{
    size_t nMax = std::min(kMaxMatch, m_nLen - kLiteralEnd - nAt);
    size_t nLength = kMinMatch;
    while (nLength < nMax && m_pIn[nFrom + nLength] == m_pIn[nAt + nLength])
        ++nLength;
    return nLength;
}

void CQuickLZEncoder::EnterBelow(size_t nEnd)
{
    for (; m_nEntered < nEnd; ++m_nEntered)
        m_table[Hash3(m_pIn + m_nEntered)] = static_cast<uint32_t>(m_nEntered + 1);
}

void CQuickLZEncoder::BeginItem(bool bMatch)
{
    size_t nSlot = m_nItems % kGroupItems;
    if (nSlot == 0) {
        if (m_nItems)
            CloseGroup();
        m_nControlAt = m_sPayload.size();
        m_sPayload.append(4, '\0');
        m_nControl = 0;
    }
    if (bMatch)
        m_nControl |= 1u << nSlot;
    ++m_nItems;
}

void CQuickLZEncoder::EmitLiteral(uint8_t nByte)
{
    BeginItem(false);
    m_sPayload += static_cast<char>(nByte);
}

void CQuickLZEncoder::EmitMatch(uint32_t nHash, size_t nLength)
{
    BeginItem(true);
    if (nLength <= kShortMatchMax) {
        m_sPayload += static_cast<char>(((nHash & 0xF) << 4) | (nLength - 2));
        m_sPayload += static_cast<char>(nHash >> 4);
    } else {
        m_sPayload += static_cast<char>((nHash & 0xF) << 4);
        m_sPayload += static_cast<char>(nHash >> 4);
        m_sPayload += static_cast<char>(nLength);
    }
}

void CQuickLZEncoder::CloseGroup()
{
    if (m_nItems)
        PutLE32(m_sPayload, m_nControlAt, m_nControl | kControlMarker);
}

std::string CQuickLZEncoder::Block() const
{
    size_t nHeader = m_nLen >= kShortHeaderLimit ? kLongHeader : kShortHeader;
    if (m_sPayload.size() >= m_nLen && nHeader + m_nLen >= kMinPayload)
        return Header(false, nHeader + m_nLen, m_nLen) + std::string(reinterpret_cast<const char*>(m_pIn), m_nLen);
    return Header(true, nHeader + m_sPayload.size(), m_nLen) + m_sPayload;
}
