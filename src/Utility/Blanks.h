// Blank characters and trimming, shared by every reader of text input.
// Two character sets exist on purpose:
//   IsBlank        space, tab, CR, LF: the blanks of lines, fields and XML text;
//   IsWhiteSpace   the same plus vertical tab and form feed (C's isspace in the
//                  "C" locale), for word lists whose words may hold any of them.
// Trimming of the ideographic space as well lives with the number readers
// (TrimWideBlanks in NumUtility), which know the text's encoding.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kBlankChars = " \t\r\n";

inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline bool IsWhiteSpace(char c)
{
    return IsBlank(c) || c == '\v' || c == '\f';
}

// The text without leading and trailing IsBlank characters.
inline std::string Trim(std::string_view sText)
{
    size_t nStart = sText.find_first_not_of(kBlankChars);
    if (nStart == std::string_view::npos)
        return std::string();
    size_t nEnd = sText.find_last_not_of(kBlankChars);
    return std::string(sText.substr(nStart, nEnd - nStart + 1));
}
