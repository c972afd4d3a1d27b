// Replaces the full-width characters of a reference entry by their ASCII forms.
#include "Checker/FullWidthTable.h"

namespace {

// Length and code point of the UTF-8 sequence at sText[nPos]; 0 when the
// bytes there are no well-formed sequence of two to four bytes.
size_t DecodeUtf8(std::string_view sText, size_t nPos, unsigned long& nCode)
{
    const unsigned char c = static_cast<unsigned char>(sText[nPos]);
    size_t nLen = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        nLen = 2;
        nCode = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        nLen = 3;
        nCode = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        nLen = 4;
        nCode = c & 0x07;
    } else {
        return 0;
    }
    if (nPos + nLen > sText.size())
        return 0;
    for (size_t i = 1; i < nLen; ++i) {
        const unsigned char t = static_cast<unsigned char>(sText[nPos + i]);
        if ((t & 0xC0) != 0x80)
            return 0;
        nCode = (nCode << 6) | (t & 0x3F);
    }
    return nLen;
}

}  // namespace

char CFullWidthTable::HalfWidthOf(unsigned long nCode)
{
    if (nCode >= 0xFF01 && nCode <= 0xFF5E)
        return static_cast<char>(nCode - 0xFF01 + 0x21);
    switch (nCode) {
    case 0x3002: return '.';  // 。
    case 0x3010: return '[';  // 【
    case 0x3011: return ']';  // 】
    default: return 0;
    }
}

bool CFullWidthTable::ToHalfWidth(std::string_view sUtf8, std::string& sOut)
{
    sOut.clear();
    sOut.reserve(sUtf8.size());
    bool bChanged = false;
    size_t nPos = 0;
    while (nPos < sUtf8.size()) {
        unsigned long nCode = 0;
        const size_t nLen = static_cast<unsigned char>(sUtf8[nPos]) < 0x80 ? 0 : DecodeUtf8(sUtf8, nPos, nCode);
        const char cHalf = nLen ? HalfWidthOf(nCode) : 0;
        if (cHalf) {
            sOut += cHalf;
            bChanged = true;
            nPos += nLen;
        } else {
            const size_t nCopy = nLen ? nLen : 1;
            sOut.append(sUtf8.substr(nPos, nCopy));
            nPos += nCopy;
        }
    }
    return bChanged;
}
