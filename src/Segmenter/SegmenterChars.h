// Characters as the segmenter reads them: UTF-8 decoding that never fails
// (a bad byte is a character of its own), the classes the tokeniser works
// with, and the tags of punctuation marks.
#pragma once

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

// Decodes the character at p[nPos] (nPos < nLen). Overlong forms,
// surrogates, codes above U+10FFFF and cut sequences are invalid: the first
// byte alone, class Invalid.
_tSegChar ReadSegChar(const unsigned char* p, size_t nLen, size_t nPos);

ESegCharClass ClassifyCode(uint32_t nCode);

// The tag of a punctuation mark without its leading "/" ("wd", "wkz", "w"),
// or null when the code is no mark. ASCII and full-width straight quotes
// give "wyz"; the tokeniser pairs them.
const char* PunctuationTag(uint32_t nCode);

// True for the characters of Chinese numerals in dates (〇零一...九十, ○).
bool IsChineseDateNumeral(uint32_t nCode);
