// Full-width characters that do not belong in a reference entry, and their
// ASCII forms: the full-width digits, Latin letters and ASCII punctuation
// (U+FF01..U+FF5E), and the Chinese punctuation that stands in for ASCII
// separators (。【】). Marks that are also right in Chinese or English
// typography (the em dash of standard numbers "GB/T 7714—2015", the
// enumeration comma of titles "内容、动因与前景", curly quotation marks, the
// ideographic space, book-title marks) are left alone: flagging them would
// mark correct entries.
#pragma once

#include <string>
#include <string_view>

class CFullWidthTable {
public:
    // sOut = sUtf8 with every listed character replaced; true when any was.
    // Bytes that are not well-formed UTF-8 are copied as they are.
    static bool ToHalfWidth(std::string_view sUtf8, std::string& sOut);
    // The ASCII form of one code point, 0 when it has none in the table.
    static char HalfWidthOf(unsigned long nCode);
};
