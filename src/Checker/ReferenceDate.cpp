// Finding a year-month-day in the text of a reference entry and judging it.
#include "Checker/ReferenceDate.h"

#include <ctime>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads 1..nMax digits at nPos; false when there are none or more follow.
bool ReadNumber(std::string_view sText, size_t& nPos, size_t nMin, size_t nMax, int& nValue)
{
    size_t nDigits = 0;
    nValue = 0;
    while (nPos < sText.size() && IsDigit(sText[nPos])) {
        if (++nDigits > nMax)
            return false;
        nValue = nValue * 10 + (sText[nPos] - '0');
        ++nPos;
    }
    return nDigits >= nMin;
}

// The separator at nPos: its length, 0 when none; sKind says which kind.
size_t ReadSeparator(std::string_view sText, size_t nPos, std::string_view& sKind)
{
    if (nPos >= sText.size())
        return 0;
    const char c = sText[nPos];
    if (c == '-' || c == '/' || c == '.') {
        sKind = sText.substr(nPos, 1);
        return 1;
    }
    for (std::string_view sWord : {"年", "月"}) {
        if (sText.substr(nPos, sWord.size()) == sWord) {
            sKind = sWord;
            return sWord.size();
        }
    }
    return 0;
}

}  // namespace

bool CReferenceDate::ReadAt(std::string_view sText, size_t nPos, size_t& nEnd)
{
    int nYear = 0, nMonth = 0, nDay = 0;
    if (!ReadNumber(sText, nPos, 4, 4, nYear))
        return false;
    std::string_view sFirst, sSecond;
    size_t nSep = ReadSeparator(sText, nPos, sFirst);
    if (!nSep)
        return false;
    nPos += nSep;
    if (!ReadNumber(sText, nPos, 1, 2, nMonth))
        return false;
    nSep = ReadSeparator(sText, nPos, sSecond);
    // The same separator twice, or 年 then 月.
    const bool bChinese = sFirst == "年" && sSecond == "月";
    if (!nSep || (sFirst != sSecond && !bChinese))
        return false;
    nPos += nSep;
    if (!ReadNumber(sText, nPos, 1, 2, nDay))
        return false;
    if (bChinese && sText.substr(nPos, 3) == "日")
        nPos += 3;
    m_nYear = nYear;
    m_nMonth = nMonth;
    m_nDay = nDay;
    nEnd = nPos;
    return true;
}

bool CReferenceDate::Find(std::string_view sText, size_t& nFrom)
{
    for (size_t nPos = nFrom; nPos < sText.size(); ++nPos) {
        if (!IsDigit(sText[nPos]) || (nPos > 0 && IsDigit(sText[nPos - 1])))
            continue;
        size_t nEnd = 0;
        if (ReadAt(sText, nPos, nEnd)) {
            nFrom = nEnd;
            return true;
        }
    }
    nFrom = sText.size();
    return false;
}

bool CReferenceDate::IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int CReferenceDate::DaysInMonth(int nYear, int nMonth)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDays[nMonth - 1];
}

bool CReferenceDate::IsValid(int nToday) const
{
    if (m_nYear < 1 || m_nDay < 1 || m_nDay > DaysInMonth(m_nYear, m_nMonth))
        return false;
    return m_nYear <= 1900 || m_nYear >= nToday / 10000 - 150;
}

int CReferenceDate::Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}
