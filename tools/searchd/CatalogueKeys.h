// Keys the standards catalogue compares by: standard numbers and clause
// numbers written in any of the ways reports write them ("GB/T 13861-2022",
// "GB／T13861—2022", "gb 50016-2014") reduce to one key.
#pragma once

#include <string>

class CCatalogueKeys {
public:
    // Upper-case ASCII, full-width forms and dashes folded, blanks removed:
    // "GB 50016-2014" -> "GB50016-2014".
    static std::string NumberKey(const std::string& sNumber);
    // A number key without its year: "GB50016-2014" -> "GB50016"; the key
    // itself when it has none.
    static std::string CodeKey(const std::string& sNumberKey);
    // The year after the last dash, two-digit years read as 19xx; 0 when none.
    static int Year(const std::string& sNumberKey);
    // A clause number without blanks, a leading "第" or a closing "条".
    static std::string SectionKey(const std::string& sSection);
    // The text without blanks at either end.
    static std::string Trimmed(const std::string& sText);
};
