// Building and reading the search protocol's frames, byte by byte so the
// order is big-endian on every machine.
#include "SearchClient/SearchFrame.h"

void CSearchFrame::PutBE32(std::string& sOut, uint32_t nValue)
{
    for (int nShift = 24; nShift >= 0; nShift -= 8)
        sOut += static_cast<char>((nValue >> nShift) & 0xFF);
}

uint32_t CSearchFrame::ReadBE32(const void* pBytes)
{
    const auto* p = static_cast<const uint8_t*>(pBytes);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

std::string CSearchFrame::Request(const std::string& sQuery, int nStart, int nCount)
{
    std::string sFrame;
    sFrame.reserve(kLengthBytes + kRequestFixed + sQuery.size());
    PutBE32(sFrame, static_cast<uint32_t>(kRequestFixed + sQuery.size()));
    PutBE32(sFrame, static_cast<uint32_t>(nStart));
    PutBE32(sFrame, static_cast<uint32_t>(nCount));
    PutBE32(sFrame, static_cast<uint32_t>(sQuery.size()));
    sFrame += sQuery;
    return sFrame;
}

bool CSearchFrame::ParseRequestBody(const std::string& sBody, _tSearchRequest& request, std::string& sError)
{
    if (sBody.size() < kRequestFixed) {
        sError = "request body of " + std::to_string(sBody.size()) + " bytes is shorter than 12";
        return false;
    }
    request.nStart = static_cast<int32_t>(ReadBE32(sBody.data()));
    request.nCount = static_cast<int32_t>(ReadBE32(sBody.data() + 4));
    uint32_t nQuery = ReadBE32(sBody.data() + 8);
    if (nQuery != sBody.size() - kRequestFixed) {
        sError = "query length " + std::to_string(nQuery) + " disagrees with the request's " +
                 std::to_string(sBody.size() - kRequestFixed) + " bytes";
        return false;
    }
    request.sQuery = sBody.substr(kRequestFixed);
    return true;
}

std::string CSearchFrame::Answer(const std::string& sBlock)
{
    std::string sFrame;
    sFrame.reserve(kLengthBytes + sBlock.size());
    PutBE32(sFrame, static_cast<uint32_t>(sBlock.size()));
    sFrame += sBlock;
    return sFrame;
}
