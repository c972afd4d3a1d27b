// Folding works on UTF-8 code points: full-width ASCII (U+FF01..U+FF5E) and
// the ideographic space map to ASCII; the dashes a report may use between
// number and year all become "-".
#include "CatalogueKeys.h"

#include <cctype>
#include <cstdint>

namespace {

// Decodes the code point at i (advancing i); a broken sequence yields its
// first byte as it stands.
uint32_t NextCodePoint(const std::string& s, size_t& i)
{
    auto c = static_cast<unsigned char>(s[i]);
    size_t nLen = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (nLen == 1 || i + nLen > s.size()) {
        ++i;
        return c;
    }
    uint32_t n = c & (0x7F >> nLen);
    for (size_t k = 1; k < nLen; ++k)
        n = (n << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += nLen;
    return n;
}

void AppendUtf8(std::string& sOut, uint32_t n)
{
    if (n < 0x80) {
        sOut += static_cast<char>(n);
    } else if (n < 0x800) {
        sOut += static_cast<char>(0xC0 | (n >> 6));
        sOut += static_cast<char>(0x80 | (n & 0x3F));
    } else if (n < 0x10000) {
        sOut += static_cast<char>(0xE0 | (n >> 12));
        sOut += static_cast<char>(0x80 | ((n >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (n & 0x3F));
    } else {
        sOut += static_cast<char>(0xF0 | (n >> 18));
        sOut += static_cast<char>(0x80 | ((n >> 12) & 0x3F));
        sOut += static_cast<char>(0x80 | ((n >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (n & 0x3F));
    }
}

uint32_t Fold(uint32_t n)
{
    if (n >= 0xFF01 && n <= 0xFF5E)
        return n - 0xFF01 + 0x21;
    if (n == 0x3000)
        return ' ';
    if (n == 0x2010 || n == 0x2011 || n == 0x2012 || n == 0x2013 || n == 0x2014 || n == 0x2015 || n == 0x2212)
        return '-';
    return n;
}

// Full-width forms and dashes folded, blanks dropped, ASCII upper-cased.
std::string Folded(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size();) {
        uint32_t n = Fold(NextCodePoint(sText, i));
        if (n == ' ' || n == '\t' || n == '\r' || n == '\n')
            continue;
        if (n < 0x80)
            n = static_cast<uint32_t>(std::toupper(static_cast<int>(n)));
        AppendUtf8(sOut, n);
    }
    return sOut;
}

const std::string kClauseStart = "\xE7\xAC\xAC";  // 第
const std::string kClauseEnd = "\xE6\x9D\xA1";    // 条

}  // namespace

std::string CCatalogueKeys::NumberKey(const std::string& sNumber)
{
    return Folded(sNumber);
}

std::string CCatalogueKeys::CodeKey(const std::string& sNumberKey)
{
    size_t nDash = sNumberKey.rfind('-');
    if (nDash == std::string::npos || nDash + 1 >= sNumberKey.size())
        return sNumberKey;
    for (size_t i = nDash + 1; i < sNumberKey.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(sNumberKey[i])))
            return sNumberKey;
    }
    return sNumberKey.substr(0, nDash);
}

int CCatalogueKeys::Year(const std::string& sNumberKey)
{
    std::string sCode = CodeKey(sNumberKey);
    if (sCode.size() == sNumberKey.size())
        return 0;
    std::string sYear = sNumberKey.substr(sCode.size() + 1);
    if (sYear.size() == 2)
        return 1900 + std::stoi(sYear);
    return sYear.size() == 4 ? std::stoi(sYear) : 0;
}

std::string CCatalogueKeys::SectionKey(const std::string& sSection)
{
    std::string sKey = Folded(sSection);
    if (sKey.compare(0, kClauseStart.size(), kClauseStart) == 0)
        sKey.erase(0, kClauseStart.size());
    if (sKey.size() >= kClauseEnd.size() && sKey.compare(sKey.size() - kClauseEnd.size(), kClauseEnd.size(), kClauseEnd) == 0)
        sKey.erase(sKey.size() - kClauseEnd.size());
    return sKey;
}

std::string CCatalogueKeys::Trimmed(const std::string& sText)
{
    size_t nFirst = sText.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos)
        return "";
    return sText.substr(nFirst, sText.find_last_not_of(" \t\r\n") - nFirst + 1);
}
