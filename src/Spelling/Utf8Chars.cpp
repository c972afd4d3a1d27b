// Splitting UTF-8 text into characters with their byte positions.
#include "Spelling/Utf8Chars.h"

#include "Utility/EncodingConverter.h"

namespace {

// The length of a well-formed sequence starting at nPos, 0 when there is none.
size_t SequenceLength(const std::string& sText, size_t nPos, char32_t& nCode)
{
    unsigned char c = static_cast<unsigned char>(sText[nPos]);
    size_t nLen = 0;
    char32_t nMin = 0;
    if (c < 0x80) {
        nCode = c;
        return 1;
    }
    if ((c & 0xE0) == 0xC0) {
        nLen = 2, nCode = c & 0x1F, nMin = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        nLen = 3, nCode = c & 0x0F, nMin = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        nLen = 4, nCode = c & 0x07, nMin = 0x10000;
    } else {
        return 0;
    }
    if (nPos + nLen > sText.size())
        return 0;
    for (size_t i = 1; i < nLen; ++i) {
        unsigned char d = static_cast<unsigned char>(sText[nPos + i]);
        if ((d & 0xC0) != 0x80)
            return 0;
        nCode = (nCode << 6) | (d & 0x3F);
    }
    bool bValid = nCode >= nMin && nCode <= 0x10FFFF && !(nCode >= 0xD800 && nCode <= 0xDFFF);
    return bValid ? nLen : 0;
}

}  // namespace

std::vector<_tUtf8Char> SplitUtf8(const std::string& sText)
{
    std::vector<_tUtf8Char> vecChars;
    vecChars.reserve(sText.size() / 2 + 1);
    size_t nPos = 0;
    while (nPos < sText.size()) {
        char32_t nCode = 0;
        size_t nLen = SequenceLength(sText, nPos, nCode);
        if (nLen == 0) {
            nCode = 0xFFFD;
            nLen = 1;
        }
        vecChars.push_back({nCode, nPos, nLen});
        nPos += nLen;
    }
    return vecChars;
}

bool IsHanChar(char32_t nCode)
{
    return (nCode >= 0x4E00 && nCode <= 0x9FFF) || (nCode >= 0x3400 && nCode <= 0x4DBF) ||
           (nCode >= 0xF900 && nCode <= 0xFAFF) || (nCode >= 0x20000 && nCode <= 0x323AF);
}

std::string Utf8Of(char32_t nCode)
{
    std::string sOut;
    AppendUtf8(sOut, nCode);
    return sOut;
}
