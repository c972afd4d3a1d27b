// Value checks of the audit commands.
#include "RUX/AuditValueChecks.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "Utility/ChineseNumeral.h"

namespace {

// UTF-8 characters of a text.
std::vector<std::string> Chars(const std::string& s)
{
    std::vector<std::string> vecChars;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        vecChars.push_back(s.substr(i, n));
        i += n;
    }
    return vecChars;
}

std::string Trim(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool IsRealDate(int y, int m, int d, int nLatestYear)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || y > nLatestYear || m < 1 || m > 12)
        return false;
    if (d == 0)
        return true;  // year and month only
    int nMax = kDays[m - 1] + (m == 2 && IsLeapYear(y) ? 1 : 0);
    return d >= 1 && d <= nMax;
}

// Digit value of one character: ASCII, full-width, or a Chinese digit
// (〇零一二...九, as a year is written digit by digit); -1 otherwise.
int DigitOf(const std::string& ch)
{
    if (ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9')
        return ch[0] - '0';
    static const char* const kFull[10] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    for (int i = 0; i < 10; ++i)
        if (ch == kFull[i])
            return i;
    if (ch == "〇" || ch == "○" || ch == "零")
        return 0;
    int n = ChineseNum2Digit(ch.c_str(), true);
    return n >= 0 && n <= 9 ? n : -1;
}

// A number written with digits or Chinese numerals (十二, 三十一).
int NumberOf(const std::vector<std::string>& vecChars)
{
    if (vecChars.empty())
        return -1;
    bool bDigits = true;
    for (const std::string& ch : vecChars)
        bDigits = bDigits && DigitOf(ch) >= 0 && !(ch.size() > 1 && ChineseNum2Digit(ch.c_str(), true) == 10);
    if (bDigits && vecChars.size() <= 4) {
        int n = 0;
        for (const std::string& ch : vecChars)
            n = n * 10 + DigitOf(ch);
        return n;
    }
    std::string s;
    for (const std::string& ch : vecChars)
        s += ch;
    return Str2Integer(s.c_str(), true);
}

std::vector<std::string> Slice(const std::vector<std::string>& v, size_t a, size_t b)
{
    return std::vector<std::string>(v.begin() + static_cast<long>(a), v.begin() + static_cast<long>(b));
}

size_t Find(const std::vector<std::string>& v, const char* s, size_t nFrom = 0)
{
    for (size_t i = nFrom; i < v.size(); ++i)
        if (v[i] == s)
            return i;
    return std::string::npos;
}

bool ChineseDate(const std::vector<std::string>& c, int nLatestYear)
{
    size_t nYear = Find(c, "年");
    if (nYear == std::string::npos || nYear == 0)
        return false;
    size_t nMonth = Find(c, "月", nYear);
    if (nMonth == std::string::npos)
        return false;
    size_t nDay = Find(c, "日", nMonth);
    if (nDay == std::string::npos)
        nDay = Find(c, "号", nMonth);
    int y = NumberOf(Slice(c, 0, nYear));
    int m = NumberOf(Slice(c, nYear + 1, nMonth));
    int d = 0;
    if (nDay != std::string::npos) {
        d = NumberOf(Slice(c, nMonth + 1, nDay));
        if (d <= 0)
            return false;
        if (nDay + 1 != c.size())
            return false;
    } else if (nMonth + 1 != c.size()) {
        return false;
    }
    return IsRealDate(y, m, d, nLatestYear);
}

bool NumericDate(const std::string& s, int nLatestYear)
{
    int y = 0, m = 0, d = 0;
    char sep1 = 0, sep2 = 0, rest = 0;
    if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos)
        return std::sscanf(s.c_str(), "%4d%2d%2d", &y, &m, &d) == 3 && d > 0 && IsRealDate(y, m, d, nLatestYear);
    int n = std::sscanf(s.c_str(), "%4d%c%2d%c%2d%c", &y, &sep1, &m, &sep2, &d, &rest);
    if (n != 5 || sep1 != sep2 || !std::strchr("-/.", sep1) || d <= 0)
        return false;
    return IsRealDate(y, m, d, nLatestYear);
}

int CapitalDigit(const std::string& ch)
{
    static const char* const kCapitals[10] = {"零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"};
    for (int i = 0; i < 10; ++i)
        if (ch == kCapitals[i])
            return i;
    if (ch == "两" || ch == "貳")
        return 2;
    int n = ch.size() > 1 ? ChineseNum2Digit(ch.c_str(), true) : -2;
    return n >= 0 && n <= 9 ? n : -1;
}

long long CapitalUnit(const std::string& ch)
{
    if (ch == "拾" || ch == "十")
        return 10;
    if (ch == "佰" || ch == "百")
        return 100;
    if (ch == "仟" || ch == "千")
        return 1000;
    return 0;
}

}  // namespace

int CurrentYear()
{
    std::time_t t = std::time(nullptr);
    std::tm tmNow{};
    localtime_r(&t, &tmNow);
    return tmNow.tm_year + 1900;
}

bool IsValidDate(const std::string& sText, int nLatestYear)
{
    std::string s = Trim(sText);
    if (s.empty())
        return false;
    if (s.find("年") != std::string::npos)
        return ChineseDate(Chars(s), nLatestYear);
    return NumericDate(s, nLatestYear);
}

bool IsValidPersonId(const std::string& sText, int nLatestYear)
{
    std::string s = Trim(sText);
    if (s.size() != 18)
        return false;
    static const int kWeights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int nSum = 0;
    for (int i = 0; i < 17; ++i) {
        if (s[static_cast<size_t>(i)] < '0' || s[static_cast<size_t>(i)] > '9')
            return false;
        nSum += (s[static_cast<size_t>(i)] - '0') * kWeights[i];
    }
    char chCheck = "10X98765432"[nSum % 11];
    char chLast = s[17] == 'x' ? 'X' : s[17];
    if (chLast != chCheck)
        return false;
    int y = std::atoi(s.substr(6, 4).c_str()), m = std::atoi(s.substr(10, 2).c_str()),
        d = std::atoi(s.substr(12, 2).c_str());
    return d > 0 && IsRealDate(y, m, d, nLatestYear);
}

bool IsValidCreditCode(const std::string& sText)
{
    static const char* const kAlphabet = "0123456789ABCDEFGHJKLMNPQRTUWXY";
    static const int kWeights[17] = {1, 3, 9, 27, 19, 26, 16, 17, 20, 29, 25, 13, 8, 24, 10, 30, 28};
    std::string s = Trim(sText);
    if (s.size() != 18)
        return false;
    int nSum = 0;
    for (size_t i = 0; i < 18; ++i) {
        char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
        const char* p = std::strchr(kAlphabet, ch);
        if (!p || ch == '\0')
            return false;
        if (i >= 2 && i <= 7 && (ch < '0' || ch > '9'))
            return false;
        if (i < 17)
            nSum += static_cast<int>(p - kAlphabet) * kWeights[i];
        else
            return kAlphabet[(31 - nSum % 31) % 31] == ch;
    }
    return false;
}

bool CapitalAmount(const std::string& sText, double& dValue)
{
    long long nTotal = 0, nSection = 0, nDigit = 0, nFen = 0;
    bool bAny = false, bYuan = false;
    int nPendingDigit = -1;
    for (const std::string& ch : Chars(sText)) {
        int d = CapitalDigit(ch);
        long long nUnit = CapitalUnit(ch);
        if (d >= 0) {
            nPendingDigit = d;
            bAny = true;
        } else if (nUnit) {
            nSection += (nPendingDigit < 0 ? 1 : nPendingDigit) * nUnit;
            nPendingDigit = -1;
            bAny = true;
        } else if (ch == "万" || ch == "亿") {
            nSection += nPendingDigit > 0 ? nPendingDigit : 0;
            if (ch == "万")
                nTotal += nSection * 10000LL;
            else
                nTotal = (nTotal + nSection) * 100000000LL;
            nSection = 0;
            nPendingDigit = -1;
        } else if (ch == "元" || ch == "圆") {
            nDigit = nTotal + nSection + (nPendingDigit > 0 ? nPendingDigit : 0);
            nTotal = nSection = 0;
            nPendingDigit = -1;
            bYuan = true;
        } else if (ch == "角") {
            nFen += (nPendingDigit > 0 ? nPendingDigit : 0) * 10;
            nPendingDigit = -1;
        } else if (ch == "分") {
            nFen += nPendingDigit > 0 ? nPendingDigit : 0;
            nPendingDigit = -1;
        } else if (bAny && ch != "整" && ch != "正") {
            break;  // the amount ends at the first other character
        }
        if (nTotal > 1000000000000000LL)
            return false;
    }
    if (!bAny)
        return false;
    if (!bYuan)
        nDigit = nTotal + nSection + (nPendingDigit > 0 ? nPendingDigit : 0);
    dValue = static_cast<double>(nDigit) + static_cast<double>(nFen) / 100.0;
    return true;
}

double ScaledNumberAt(const std::string& sText, size_t nStart)
{
    std::string sNumber;
    size_t i = nStart;
    for (; i < sText.size(); ++i) {
        char ch = sText[i];
        if ((ch >= '0' && ch <= '9') || ch == '.' || ((ch == '+' || ch == '-') && i == nStart))
            sNumber += ch;
        else if (ch != ',')
            break;
    }
    double dValue = std::strtod(sNumber.c_str(), nullptr);
    if (sText.compare(i, 3, "万") == 0)
        dValue *= 10000;
    else if (sText.compare(i, 3, "亿") == 0)
        dValue *= 100000000;
    return dValue;
}

bool DigitAmount(const std::string& sText, double& dValue)
{
    size_t i = sText.find_first_of("0123456789");
    if (i == std::string::npos)
        return false;
    dValue = ScaledNumberAt(sText, i);
    return true;
}

long long LeadingChineseNumber(const std::string& sText)
{
    std::string sNumeral;
    for (const std::string& ch : Chars(Trim(sText))) {
        if (ch.size() == 1 || ChineseNum2Digit(ch.c_str(), true) == -2)
            break;
        sNumeral += ch;
    }
    if (sNumeral.empty())
        return -1;
    return Str2Integer(sNumeral.c_str(), true);
}

std::string FormatAmount(double dValue)
{
    char s[64];
    if (std::fabs(dValue - std::round(dValue)) < 0.005)
        std::snprintf(s, sizeof(s), "%.0f", dValue);
    else
        std::snprintf(s, sizeof(s), "%.2f", dValue);
    return s;
}
