// Dates in reference entries ("2019-03-01", "2019/3/1", "2019.03.01",
// "2019年3月1日") and the rules a cited date must meet.
#pragma once

#include <string_view>

class CReferenceDate {
public:
    int m_nYear = 0;
    int m_nMonth = 0;
    int m_nDay = 0;

    // The date as YYYYMMDD; 0 for none.
    int Value() const { return m_nYear * 10000 + m_nMonth * 100 + m_nDay; }

    // Reads the first year-month-day in sText at or after nFrom: a
    // four-digit year, a month and a day of one or two digits, separated by
    // "-", "/" or "." used alike, or written with 年 月 (日). The numbers
    // are taken as written; whether they make a date is IsValid's question.
    // nFrom is moved past the date. False when there is none.
    bool Find(std::string_view sText, size_t& nFrom);

    // A real calendar day and, for years after 1900, not more than 150
    // years before today (YYYYMMDD). Days to come are accepted.
    bool IsValid(int nToday) const;

    static bool IsLeapYear(int nYear);
    static int DaysInMonth(int nYear, int nMonth);
    // The local date as YYYYMMDD.
    static int Today();

private:
    bool ReadAt(std::string_view sText, size_t nPos, size_t& nEnd);
};
