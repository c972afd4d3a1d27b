// Reads the numbered parts of a date or time word (year, month, day, hour,
// minute, second) and checks each against the calendar and the clock.
#include "RUX/DateWord.h"

#include <cstring>

namespace {

struct _tDateParts {
    long year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1;
    bool bTooLong = false;  // a year of five or more digits
};

bool IsLeapYear(long y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

long DaysInMonth(long y, long m)
{
    static const long kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && y >= 0)
        return IsLeapYear(y) ? 29 : 28;
    return kDays[m - 1];
}

bool PartsPossible(const _tDateParts& p)
{
    if (p.bTooLong)
        return false;
    if (p.month == 0 || p.month > 12)
        return false;
    if (p.day == 0 || p.day > 31)
        return false;
    if (p.day > 0 && p.month > 0 && p.day > DaysInMonth(p.year, p.month))
        return false;
    if (p.hour > 24 || p.minute > 59 || p.second > 59)
        return false;
    return !(p.hour == 24 && (p.minute > 0 || p.second > 0));
}

bool StartsWith(const std::string& s, size_t i, const char* sUnit)
{
    return s.compare(i, std::strlen(sUnit), sUnit) == 0;
}

// "2023-05-08", "2023/5/8", "2023.5.8": only with a four-digit year first,
// so version numbers and section numbers are left alone.
bool NumericForm(const std::string& s, _tDateParts& p)
{
    long a = 0, b = 0, c = 0;
    char sep1 = 0, sep2 = 0;
    int nYearDigits = 0;
    size_t i = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++nYearDigits)
        a = a * 10 + (s[i] - '0');
    if (nYearDigits != 4 || i >= s.size() || !std::strchr("-/.", s[i]))
        return false;
    sep1 = s[i++];
    size_t nFrom = i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && i - nFrom < 3; ++i)
        b = b * 10 + (s[i] - '0');
    if (i == nFrom || i >= s.size())
        return false;
    sep2 = s[i++];
    nFrom = i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && i - nFrom < 3; ++i)
        c = c * 10 + (s[i] - '0');
    if (sep1 != sep2 || i == nFrom || i != s.size())
        return false;
    p.year = a;
    p.month = b;
    p.day = c;
    return true;
}

// Digits followed by 年, 月, 日/号, 时/点, 分, 秒 or ':'. Stops at the
// first part it does not know and judges what it has read.
void ChineseForm(const std::string& s, _tDateParts& p)
{
    size_t i = 0;
    bool bTimeColon = false;
    while (i < s.size()) {
        long n = 0;
        size_t nFrom = i;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && i - nFrom < 9; ++i)
            n = n * 10 + (s[i] - '0');
        if (i == nFrom)
            return;
        if (bTimeColon) {  // the part after ':' is the minute, then the second
            (p.minute < 0 ? p.minute : p.second) = n;
            if (i < s.size() && s[i] == ':') {
                ++i;
                continue;
            }
            return;
        }
        if (i >= s.size())
            return;
        if (StartsWith(s, i, "年")) {
            p.bTooLong = i - nFrom > 4;
            p.year = n;
            i += 3;
        } else if (StartsWith(s, i, "月")) {
            p.month = n;
            i += 3;
        } else if (StartsWith(s, i, "日") || StartsWith(s, i, "号")) {
            p.day = n;
            i += 3;
        } else if (StartsWith(s, i, "时") || StartsWith(s, i, "点")) {
            p.hour = n;
            i += 3;
        } else if (StartsWith(s, i, "分") && p.hour >= 0) {
            p.minute = n;
            i += 3;
        } else if (StartsWith(s, i, "秒") && p.minute >= 0) {
            p.second = n;
            i += 3;
        } else if (s[i] == ':' && p.hour < 0) {
            p.hour = n;
            bTimeColon = true;
            ++i;
        } else {
            return;
        }
    }
}

}  // namespace

bool IsPossibleDateWord(const std::string& sWord)
{
    _tDateParts parts;
    if (!NumericForm(sWord, parts))
        ChineseForm(sWord, parts);
    return PartsPossible(parts);
}
