// The characters of a UTF-8 text with their byte positions, for the spelling
// engine, which works on characters but answers in byte offsets.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct _tUtf8Char {
    char32_t nCode;   // U+FFFD for a byte that starts no valid character
    size_t nStart;    // byte offset in the text
    size_t nLen;      // bytes
};

// Splits sText into characters; an invalid byte becomes one U+FFFD of length 1.
std::vector<_tUtf8Char> SplitUtf8(const std::string& sText);
// True for the unified ideographs that have readings (the basic block and
// extensions A to G, and the compatibility block).
bool IsHanChar(char32_t nCode);
// The UTF-8 bytes of one code point.
std::string Utf8Of(char32_t nCode);
