// Case changes of ASCII letters only; bytes of UTF-8 Chinese text pass
// through untouched whatever the locale.
#pragma once

#include <string>

inline std::string AsciiLower(std::string sText)
{
    for (char& c : sText)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return sText;
}

inline std::string AsciiUpper(std::string sText)
{
    for (char& c : sText)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return sText;
}
