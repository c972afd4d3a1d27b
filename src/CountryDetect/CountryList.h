// The country names the detector looks for, and the search of a text for
// them: Chinese names anywhere, English names as whole words without regard
// to case; at each place the longest name wins.
#pragma once

#include <string>
#include <vector>

struct _tCountry {
    std::string sChinese;  // UTF-8
    std::string sEnglish;
};

class CCountryList {
public:
    // Reads the list text (code, Chinese, English, other names; '#' starts a
    // comment); the number of countries.
    size_t Parse(const std::string& sText);
    // Indexes of the countries a UTF-8 text names, in order of first appearance.
    std::vector<size_t> Find(const std::string& sText) const;
    const _tCountry& Country(size_t nIndex) const { return m_vecCountries[nIndex]; }
    size_t Size() const { return m_vecCountries.size(); }

private:
    struct _tName {
        std::string sText;     // as written (Chinese) or lower-cased (English)
        size_t nCountry = 0;
        bool bLatin = false;
    };
    void AddName(const std::string& sName, size_t nCountry);

    std::vector<_tCountry> m_vecCountries;
    std::vector<_tName> m_vecNames;  // longest first
};
