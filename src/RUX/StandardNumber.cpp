// Numbers are compared in a folded form, so the ways reports write the same
// number (full-width letters, "/T", blanks, lower case, the dash forms)
// read alike. Only the issuing code, number, part and year decide sameness.
#include "RUX/StandardNumber.h"

#include <algorithm>
#include <cstdlib>

#include "Utility/QueryExpand.h"

namespace {

const char kOpenTitle[] = "\xE3\x80\x8A";    // 《
const char kCloseTitle[] = "\xE3\x80\x8B";   // 》
const char kOpenParen[] = "\xEF\xBC\x88";    // （
const char kEmDash[] = "\xE2\x80\x94";       // —
const char kEnDash[] = "\xE2\x80\x93";       // –
const char kLing[] = "\xE4\xBB\xA4";         // 令
const char kDi[] = "\xE7\xAC\xAC";           // 第

// Opening and closing brackets around the year of a document number.
const char* const kYearBrackets[][2] = {
    {"\xE3\x80\x90", "\xE3\x80\x91"},  // 【】
    {"[", "]"},
    {"\xE3\x80\x94", "\xE3\x80\x95"},  // 〔〕
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The integer at nPos (0 when there is none); nPos moves past its digits.
int ReadInt(const std::string& s, size_t& nPos)
{
    long n = 0;
    while (nPos < s.size() && IsDigit(s[nPos])) {
        if (n < 100000000)
            n = n * 10 + (s[nPos] - '0');
        ++nPos;
    }
    return static_cast<int>(n);
}

// Old standards write their year with two digits ("GB 50045-95").
int FullYear(int nYear)
{
    if (nYear > 0 && nYear < 100)
        return nYear + (nYear >= 50 ? 1900 : 2000);
    return nYear;
}

size_t FindFirstDigit(const std::string& s, size_t nFrom = 0)
{
    for (size_t i = nFrom; i < s.size(); ++i)
        if (IsDigit(s[i]))
            return i;
    return std::string::npos;
}

// The last run of digits before nEnd: its start, or npos.
size_t LastDigitsBefore(const std::string& s, size_t nEnd)
{
    size_t i = nEnd;
    while (i > 0 && !IsDigit(s[i - 1]))
        --i;
    if (i == 0)
        return std::string::npos;
    while (i > 0 && IsDigit(s[i - 1]))
        --i;
    return i;
}

std::string WithoutTrailing(std::string s, const std::string& sTail)
{
    while (s.size() >= sTail.size() && s.compare(s.size() - sTail.size(), sTail.size(), sTail) == 0)
        s.erase(s.size() - sTail.size());
    return s;
}

}  // namespace

std::string CStandardNumber::TiaowenStandard(const std::string& sCited, int& nFollowing)
{
    nFollowing = -1;
    size_t nOpen = sCited.find(kOpenTitle);
    size_t nStart = nOpen == std::string::npos ? 0 : nOpen + 3;
    size_t nClose = sCited.find(kCloseTitle, nStart);
    std::string sName = sCited.substr(nStart, nClose == std::string::npos ? std::string::npos : nClose - nStart);
    if (nClose != std::string::npos && sCited.compare(nClose + 3, 3, kOpenParen) == 0) {
        size_t nPos = nClose + 6;
        if (nPos < sCited.size() && IsDigit(sCited[nPos]))
            nFollowing = ReadInt(sCited, nPos);
    }
    size_t nFirst = sName.find_first_not_of(" \t\r\n");
    size_t nLast = sName.find_last_not_of(" \t\r\n");
    return nFirst == std::string::npos ? "" : sName.substr(nFirst, nLast - nFirst + 1);
}

// Full-width ASCII becomes ASCII, blanks (the ideographic one too) go,
// letters become capitals, and "/T" goes.
std::string CStandardNumber::Fold(const std::string& sNumber)
{
    std::string sOut;
    for (size_t i = 0; i < sNumber.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sNumber[i]);
        if (c == 0xEF && i + 2 < sNumber.size()) {
            unsigned cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(sNumber[i + 1]) & 0x3Fu) << 6) |
                          (static_cast<unsigned char>(sNumber[i + 2]) & 0x3Fu);
            if (cp >= 0xFF01 && cp <= 0xFF5E) {
                sOut += static_cast<char>(cp - 0xFEE0);
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && sNumber.compare(i, 3, "\xE3\x80\x80") == 0) {
            i += 2;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        sOut += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
    }
    for (size_t nAt = sOut.find("/T"); nAt != std::string::npos; nAt = sOut.find("/T", nAt))
        sOut.erase(nAt, 2);
    return sOut;
}

bool CStandardNumber::ParseDashForm(const std::string& sOrg, _tTiaowenHao& number)
{
    size_t nDash = sOrg.find('-');
    size_t nDashLen = 1;
    for (const char* sDash : {kEmDash, kEnDash}) {
        if (nDash != std::string::npos)
            break;
        nDash = sOrg.find(sDash);
        nDashLen = 3;
    }
    if (nDash == std::string::npos)
        return false;
    size_t nPos = nDash + nDashLen;
    number.year = FullYear(ReadInt(sOrg, nPos));
    std::string sBefore = sOrg.substr(0, nDash);
    size_t nDigit = FindFirstDigit(sBefore);
    number.type = sBefore.substr(0, nDigit);
    if (nDigit != std::string::npos) {
        size_t nEnd = nDigit;
        number.no = ReadInt(sBefore, nEnd);
        number.part = sBefore.substr(nEnd);
    }
    return true;
}

// "应急〔2019〕78号", "安监总管三[2011]95号": the year in the brackets, the
// number after them. "国家安全生产监督管理总局令第40号" and "…第40号令": the
// number after or before "令".
bool CStandardNumber::ParseBracketForm(const std::string& sOrg, _tTiaowenHao& number)
{
    size_t nTypeEnd = std::string::npos;
    size_t nNumberFrom = 0;
    for (const auto& brackets : kYearBrackets) {
        size_t nOpen = sOrg.find(brackets[0]);
        size_t nClose = nOpen == std::string::npos ? nOpen : sOrg.find(brackets[1], nOpen);
        if (nClose == std::string::npos)
            continue;
        size_t nPos = FindFirstDigit(sOrg.substr(0, nClose), nOpen);
        if (nPos != std::string::npos)
            number.year = FullYear(ReadInt(sOrg, nPos));
        nTypeEnd = nOpen;
        nNumberFrom = nClose + std::string(brackets[1]).size();
        break;
    }
    size_t nLing = sOrg.find(kLing);
    size_t nDigits = std::string::npos;
    if (nLing != std::string::npos) {
        nDigits = FindFirstDigit(sOrg, nLing);
        if (nDigits == std::string::npos)
            nDigits = LastDigitsBefore(sOrg, nLing);
    } else if (nTypeEnd != std::string::npos) {
        nDigits = FindFirstDigit(sOrg, nNumberFrom);
    }
    if (nDigits != std::string::npos) {
        size_t nPos = nDigits;
        number.no = ReadInt(sOrg, nPos);
        if (nTypeEnd == std::string::npos)
            nTypeEnd = std::min(nLing, nDigits);
    }
    if (nTypeEnd != std::string::npos)
        number.type = WithoutTrailing(sOrg.substr(0, nTypeEnd), kDi);
    return number.year > 0 || number.no > 0;
}

bool CStandardNumber::TiaowenHaoStandard(const std::string& sNumber, _tTiaowenHao& number)
{
    number = _tTiaowenHao();
    number.org = Fold(sNumber);
    if (ParseDashForm(number.org, number))
        return true;
    return ParseBracketForm(number.org, number);
}

bool CStandardNumber::SameType(const std::string& a, const std::string& b, const CQueryExpand* pSimilar)
{
    if (a == b)
        return true;
    if (!pSimilar)
        return false;
    for (const std::string& sWord : pSimilar->GetSimilarWords(a))
        if (Fold(sWord) == b)
            return true;
    return false;
}

bool CStandardNumber::IsSameTiaowenHao(const _tTiaowenHao& a, const _tTiaowenHao& b, const CQueryExpand* pSimilar)
{
    if (a.no == b.no && a.year == b.year && a.part == b.part && (a.no > 0 || a.year > 0) &&
        SameType(a.type, b.type, pSimilar))
        return true;
    return b.type.empty() && b.no == 0 && b.year > 0 && a.year == b.year;
}

bool CStandardNumber::IsExcluded(const std::string& sNumber)
{
    return (!sNumber.empty() && IsDigit(sNumber[0])) || sNumber.find("\xE8\xAF\x95\xE8\xA1\x8C") != std::string::npos ||
           sNumber.find("\xE7\xAE\x80\xE7\xA7\xB0") != std::string::npos;  // 试行, 简称
}
