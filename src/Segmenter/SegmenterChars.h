// Characters as the segmenter reads them: UTF-8 decoding that never fails
// (a bad byte is a character of its own), the classes the tokeniser works
// with, and the tags of punctuation marks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class ESegCharClass : uint8_t {
    Han,      // ideographs (and 〇), the material of dictionary words
    Digit,    // 0-9, full-width too
    Letter,   // Latin (full-width too), Greek and Cyrillic letters
    Space,    // white space of any width, zero-width marks: dropped
    Mark,     // punctuation and other marks with a /w... tag
    Other,    // unknown symbols: /x
    Invalid   // a byte that starts no valid UTF-8 sequence: /x
};

// Stands for the code of an invalid byte.
const uint32_t kInvalidCode = 0xFFFFFFFFu;

// One decoded character: its code and byte length (at least 1).
struct _tSegChar {
    uint32_t nCode = kInvalidCode;
    uint32_t nLen = 1;
    ESegCharClass eClass = ESegCharClass::Invalid;
};

// Classes of the ASCII characters.
extern const std::array<ESegCharClass, 128> kAsciiSegClasses;

// Any character that is neither ASCII nor a common ideograph.
_tSegChar ReadSegCharSlow(const unsigned char* p, size_t nLen, size_t nPos);

// Decodes the character at p[nPos] (nPos < nLen). Overlong forms,
// surrogates, codes above U+10FFFF and cut sequences are invalid: the first
// byte alone, class Invalid. ASCII and the ideographs U+4E00-U+9FFF, nearly
// all of a Chinese text, are decoded here.
inline _tSegChar ReadSegChar(const unsigned char* p, size_t nLen, size_t nPos)
{
    unsigned c = p[nPos];
    if (c < 0x80)
        return _tSegChar{c, 1, kAsciiSegClasses[c]};
    if (c >= 0xE4 && c <= 0xE9 && nLen - nPos > 2) {
        unsigned b1 = p[nPos + 1], b2 = p[nPos + 2];
        uint32_t nCode = ((c & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
        if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && nCode >= 0x4E00)
            return _tSegChar{nCode, 3, ESegCharClass::Han};
    }
    return ReadSegCharSlow(p, nLen, nPos);
}

ESegCharClass ClassifyCode(uint32_t nCode);

// The tag of a punctuation mark without its leading "/" ("wd", "wkz", "w"),
// or null when the code is no mark. ASCII and full-width straight quotes
// give "wyz"; the tokeniser pairs them.
const char* PunctuationTag(uint32_t nCode);

// True for the characters of Chinese numerals in dates (〇零一...九十, ○).
bool IsChineseDateNumeral(uint32_t nCode);
