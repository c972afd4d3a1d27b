// Character decoding and classes of the segmenter. ASCII, the bulk of
// Latin text, goes through a table; the rest through a few ranges.
#include "Segmenter/SegmenterChars.h"

#include <array>

namespace {

bool InRange(uint32_t nCode, uint32_t nFirst, uint32_t nLast)
{
    return nCode - nFirst <= nLast - nFirst;
}

// Tags of the marks that have one of their own.
const char* NamedMarkTag(uint32_t nCode)
{
    switch (nCode) {
    case ',': case 0xFF0C: case 0xFE50:
        return "wd";
    case '.': case 0x3002: case 0xFF0E: case 0xFF61:
        return "wj";
    case 0x3001: case 0xFF64: case 0xFE51:
        return "wn";
    case 0x2014: case 0x2015: case 0x2E3A: case 0x2E3B:
        return "wp";
    case 0x2026: case 0x22EF:
        return "ws";
    case '?': case 0xFF1F:
        return "ww";
    case '!': case 0xFF01:
        return "wt";
    case ':': case 0xFF1A: case 0xFE55:
        return "wm";
    case ';': case 0xFF1B: case 0xFE54:
        return "wf";
    case '(': case '[': case '{': case 0xFF08: case 0xFF3B: case 0xFF5B: case 0x3010: case 0x3014:
    case 0x3016: case 0x300A: case 0x3008: case 0xFE59: case 0x3018: case 0x301A: case 0xFF5F:
        return "wkz";
    case ')': case ']': case '}': case 0xFF09: case 0xFF3D: case 0xFF5D: case 0x3011: case 0x3015:
    case 0x3017: case 0x300B: case 0x3009: case 0xFE5A: case 0x3019: case 0x301B: case 0xFF60:
        return "wky";
    case 0x201C: case 0x2018: case 0x300C: case 0x300E: case 0xFE41: case 0xFE43: case 0x201E:
    case '"': case '\'': case 0xFF02: case 0xFF07:
        return "wyz";
    case 0x201D: case 0x2019: case 0x300D: case 0x300F: case 0xFE42: case 0xFE44:
        return "wyy";
    default:
        return nullptr;
    }
}

bool IsOtherMark(uint32_t nCode)
{
    if (nCode < 0x80)
        return InRange(nCode, 0x21, 0x2F) || InRange(nCode, 0x3A, 0x40) || InRange(nCode, 0x5B, 0x60) ||
               InRange(nCode, 0x7B, 0x7E);
    return InRange(nCode, 0xA1, 0xBF) || nCode == 0xD7 || nCode == 0xF7 || InRange(nCode, 0x2010, 0x2027) ||
           InRange(nCode, 0x2030, 0x205E) || InRange(nCode, 0x2E00, 0x2E7F) || InRange(nCode, 0x3001, 0x303F) ||
           InRange(nCode, 0xFE10, 0xFE1F) || InRange(nCode, 0xFE30, 0xFE6F) || InRange(nCode, 0xFF01, 0xFF0F) ||
           InRange(nCode, 0xFF1A, 0xFF20) || InRange(nCode, 0xFF3B, 0xFF40) || InRange(nCode, 0xFF5B, 0xFF65);
}

bool IsSpaceCode(uint32_t nCode)
{
    return InRange(nCode, 0x09, 0x0D) || nCode == 0x20 || nCode == 0x85 || nCode == 0xA0 || nCode == 0x1680 ||
           InRange(nCode, 0x2000, 0x200F) || nCode == 0x2028 || nCode == 0x2029 || nCode == 0x202F ||
           nCode == 0x205F || nCode == 0x2060 || nCode == 0x3000 || nCode == 0xFEFF;
}

bool IsHanCode(uint32_t nCode)
{
    return InRange(nCode, 0x4E00, 0x9FFF) || InRange(nCode, 0x3400, 0x4DBF) || InRange(nCode, 0xF900, 0xFAFF) ||
           InRange(nCode, 0x20000, 0x323AF) || nCode == 0x3007;
}

bool IsLetterCode(uint32_t nCode)
{
    if (nCode < 0x80)
        return InRange(nCode | 0x20, 'a', 'z');
    return (InRange(nCode, 0xC0, 0x24F) && nCode != 0xD7 && nCode != 0xF7) || InRange(nCode, 0x370, 0x3FF) ||
           InRange(nCode, 0x400, 0x4FF) || InRange(nCode, 0xFF21, 0xFF3A) || InRange(nCode, 0xFF41, 0xFF5A);
}

constexpr ESegCharClass AsciiClass(unsigned c)
{
    if (c >= '0' && c <= '9')
        return ESegCharClass::Digit;
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
        return ESegCharClass::Letter;
    if ((c >= 0x09 && c <= 0x0D) || c == ' ')
        return ESegCharClass::Space;
    if (c > ' ' && c < 0x7F)
        return ESegCharClass::Mark;
    return ESegCharClass::Other;
}

constexpr std::array<ESegCharClass, 128> MakeAsciiClasses()
{
    std::array<ESegCharClass, 128> aClasses{};
    for (unsigned c = 0; c < 128; ++c)
        aClasses[c] = AsciiClass(c);
    return aClasses;
}

}  // namespace

const std::array<ESegCharClass, 128> kAsciiSegClasses = MakeAsciiClasses();

ESegCharClass ClassifyCode(uint32_t nCode)
{
    if (nCode == kInvalidCode)
        return ESegCharClass::Invalid;
    if (InRange(nCode, '0', '9') || InRange(nCode, 0xFF10, 0xFF19))
        return ESegCharClass::Digit;
    if (IsHanCode(nCode))
        return ESegCharClass::Han;
    if (IsLetterCode(nCode))
        return ESegCharClass::Letter;
    if (IsSpaceCode(nCode))
        return ESegCharClass::Space;
    if (PunctuationTag(nCode))
        return ESegCharClass::Mark;
    return ESegCharClass::Other;
}

const char* PunctuationTag(uint32_t nCode)
{
    if (const char* sTag = NamedMarkTag(nCode))
        return sTag;
    return IsOtherMark(nCode) && !IsSpaceCode(nCode) && nCode != 0x3007 ? "w" : nullptr;
}

bool IsChineseDateNumeral(uint32_t nCode)
{
    switch (nCode) {
    case 0x3007: case 0x25CB: case 0x96F6: case 0x4E00: case 0x4E8C: case 0x4E09: case 0x56DB:
    case 0x4E94: case 0x516D: case 0x4E03: case 0x516B: case 0x4E5D: case 0x5341:
        return true;
    default:
        return false;
    }
}

_tSegChar ReadSegCharSlow(const unsigned char* p, size_t nLen, size_t nPos)
{
    _tSegChar ch;
    unsigned c = p[nPos];
    if (c < 0x80) {
        ch.nCode = c;
        ch.eClass = kAsciiSegClasses[c];
        return ch;
    }
    uint32_t nNeed = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (nNeed == 0 || c > 0xF4 || nLen - nPos <= nNeed)
        return ch;  // a continuation byte, an impossible lead, or cut short
    uint32_t nCode = c & (0x3F >> nNeed);
    for (uint32_t i = 1; i <= nNeed; ++i) {
        unsigned b = p[nPos + i];
        if ((b & 0xC0) != 0x80)
            return ch;
        nCode = (nCode << 6) | (b & 0x3F);
    }
    static const uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    if (nCode < kMinimum[nNeed] || nCode > 0x10FFFF || InRange(nCode, 0xD800, 0xDFFF))
        return ch;
    ch.nCode = nCode;
    ch.nLen = nNeed + 1;
    ch.eClass = ClassifyCode(nCode);
    return ch;
}
