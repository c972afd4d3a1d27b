// UTF-8 <-> GB18030 for dictionaries, keeping byte offsets when asked.
#include "Utility/DictEncoding.h"

#include <cerrno>
#include <iconv.h>

#include "Utility/EncodingConverter.h"

namespace {

// The length of the valid UTF-8 character at p (1 to 4), 0 when none starts there.
size_t Utf8CharLength(const unsigned char* p, size_t nLeft)
{
    unsigned char c = p[0];
    size_t nLen = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (nLen == 0 || nLen > nLeft)
        return 0;
    unsigned nCode = nLen == 1 ? c : c & (0x7F >> nLen);
    for (size_t i = 1; i < nLen; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        nCode = (nCode << 6) | (p[i] & 0x3F);
    }
    static const unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (nCode < kMin[nLen] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
        return 0;
    return nLen;
}

// Converts one character with an open descriptor; false when iconv refuses it.
bool ConvertChar(iconv_t cd, const char* pChar, size_t nLen, std::string& sOut)
{
    char sBuf[16];
    char* pIn = const_cast<char*>(pChar);
    char* pOut = sBuf;
    size_t nOutLeft = sizeof sBuf;
    if (iconv(cd, &pIn, &nLen, &pOut, &nOutLeft) == static_cast<size_t>(-1) || nLen != 0)
        return false;
    sOut.append(sBuf, sizeof sBuf - nOutLeft);
    return true;
}

void AppendOffsets(std::vector<int>* pOffsets, size_t nBytes, size_t nUtf8Pos)
{
    if (pOffsets)
        pOffsets->insert(pOffsets->end(), nBytes, static_cast<int>(nUtf8Pos));
}

// The whole of a valid UTF-8 text in one conversion; false when iconv stops.
bool ConvertWhole(iconv_t cd, const std::string& sUtf8, std::string& sOut)
{
    char* pIn = const_cast<char*>(sUtf8.data());
    size_t nInLeft = sUtf8.size();
    char sBuf[4096];
    while (nInLeft > 0) {
        char* pOut = sBuf;
        size_t nOutLeft = sizeof sBuf;
        size_t r = iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft);
        sOut.append(sBuf, sizeof sBuf - nOutLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
    return true;
}

}  // namespace

bool Utf8ToDictText(const std::string& sUtf8, std::string& sDict, std::vector<int>* pOffsets)
{
    sDict.clear();
    if (pOffsets)
        pOffsets->clear();
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    bool bHaveIconv = cd != reinterpret_cast<iconv_t>(-1);
    // Without offsets to keep, a valid text converts in one pass.
    if (bHaveIconv && !pOffsets && IsValidUtf8(sUtf8)) {
        bool bWhole = ConvertWhole(cd, sUtf8, sDict);
        iconv_close(cd);
        if (bWhole)
            return true;
        sDict.clear();
        cd = iconv_open("GB18030", "UTF-8");
        bHaveIconv = cd != reinterpret_cast<iconv_t>(-1);
    }
    bool bClean = true;
    const auto* p = reinterpret_cast<const unsigned char*>(sUtf8.data());
    size_t nPos = 0;
    while (nPos < sUtf8.size()) {
        size_t nLen = Utf8CharLength(p + nPos, sUtf8.size() - nPos);
        size_t nBefore = sDict.size();
        if (nLen == 1) {
            sDict += sUtf8[nPos];
        } else if (nLen == 0 || !bHaveIconv || !ConvertChar(cd, sUtf8.data() + nPos, nLen, sDict)) {
            sDict += '?';
            bClean = false;
            nLen = nLen == 0 ? 1 : nLen;
        }
        AppendOffsets(pOffsets, sDict.size() - nBefore, nPos);
        nPos += nLen;
    }
    if (pOffsets)
        pOffsets->push_back(static_cast<int>(sUtf8.size()));
    if (bHaveIconv)
        iconv_close(cd);
    return bClean;
}

std::string DictTextToUtf8(const std::string& sDict)
{
    std::string sUtf8;
    GbkToUtf8(sDict, sUtf8);
    return sUtf8;
}
