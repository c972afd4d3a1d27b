// Latin runs, numbers, dates and times. Each matcher only reads forward and
// never past nLen, so any bytes are safe input.
#include "Segmenter/TokenPatterns.h"

#include <cstdint>

#include "Segmenter/SegmenterChars.h"

namespace {

// Date and time units.
const uint32_t kYear = 0x5E74;    // 年
const uint32_t kMonth = 0x6708;   // 月
const uint32_t kDay = 0x65E5;     // 日
const uint32_t kDayNo = 0x53F7;   // 号
const uint32_t kHour = 0x65F6;    // 时
const uint32_t kOClock = 0x70B9;  // 点
const uint32_t kMinute = 0x5206;  // 分
const uint32_t kSecond = 0x79D2;  // 秒
const uint32_t kTen = 0x5341;     // 十

// Parts of a date in the order they are written.
enum { kNone, kYearPart, kMonthPart, kDayPart, kHourPart, kMinutePart, kSecondPart };

_tSegChar CharAt(const unsigned char* p, size_t nLen, size_t nPos)
{
    if (nPos >= nLen)
        return _tSegChar{0, 0, ESegCharClass::Space};
    return ReadSegChar(p, nLen, nPos);
}

bool IsAlnum(const _tSegChar& ch)
{
    return ch.eClass == ESegCharClass::Letter || ch.eClass == ESegCharClass::Digit;
}

int DigitValue(const _tSegChar& ch)
{
    if (ch.eClass != ESegCharClass::Digit)
        return -1;
    return static_cast<int>(ch.nCode < 0x80 ? ch.nCode - '0' : ch.nCode - 0xFF10);
}

// Consecutive digits from nPos: their count, their value (capped) and end.
struct _tDigits {
    int nCount = 0;
    int nValue = 0;
    size_t nEnd = 0;
};

_tDigits ReadDigits(const unsigned char* p, size_t nLen, size_t nPos)
{
    _tDigits digits;
    digits.nEnd = nPos;
    for (;;) {
        _tSegChar ch = CharAt(p, nLen, digits.nEnd);
        int nDigit = DigitValue(ch);
        if (nDigit < 0)
            return digits;
        if (digits.nValue < 100000)
            digits.nValue = digits.nValue * 10 + nDigit;
        ++digits.nCount;
        digits.nEnd += ch.nLen;
    }
}

bool IsRunSuffixFree(const unsigned char* p, size_t nLen, size_t nPos)
{
    return !IsAlnum(CharAt(p, nLen, nPos));
}

// "," followed by exactly three digits continues a number's thousands.
bool IsThousandsGroup(const unsigned char* p, size_t nLen, size_t nAfterComma)
{
    _tDigits group = ReadDigits(p, nLen, nAfterComma);
    return group.nCount == 3;
}

// Whether the joiner ch between the run so far and next keeps the run going.
bool JoinsRun(const _tSegChar& ch, const _tSegChar& last, const _tSegChar& next, bool bLetter, bool bDecimal,
              int nGroupDigits, const unsigned char* p, size_t nLen, size_t nAfter)
{
    switch (ch.nCode) {
    case '.':
        return bLetter || next.eClass == ESegCharClass::Digit;
    case ',':
        return !bLetter && !bDecimal && nGroupDigits >= 1 && nGroupDigits <= 3 && IsThousandsGroup(p, nLen, nAfter);
    case '-': case '_':
        return bLetter;
    case '\'': case 0x2019:
        return last.eClass == ESegCharClass::Letter && next.eClass == ESegCharClass::Letter;
    default:
        return false;
    }
}

size_t MatchIsoDate(const unsigned char* p, size_t nLen, size_t nPos)
{
    _tDigits year = ReadDigits(p, nLen, nPos);
    if (year.nCount != 4 || year.nValue < 1000 || year.nValue > 2999)
        return nPos;
    _tSegChar sep = CharAt(p, nLen, year.nEnd);
    if (sep.nCode != '-' && sep.nCode != '.' && sep.nCode != '/')
        return nPos;
    _tDigits month = ReadDigits(p, nLen, year.nEnd + 1);
    if (month.nCount < 1 || month.nCount > 2 || month.nValue < 1 || month.nValue > 12 ||
        CharAt(p, nLen, month.nEnd).nCode != sep.nCode)
        return nPos;
    _tDigits day = ReadDigits(p, nLen, month.nEnd + 1);
    if (day.nCount < 1 || day.nCount > 2 || day.nValue < 1 || day.nValue > 31 ||
        !IsRunSuffixFree(p, nLen, day.nEnd))
        return nPos;
    return day.nEnd;
}

// 12:30 or 12:30:45 (ASCII or full-width colons).
size_t MatchClock(const unsigned char* p, size_t nLen, size_t nPos)
{
    _tDigits hour = ReadDigits(p, nLen, nPos);
    if (hour.nCount < 1 || hour.nCount > 2 || hour.nValue > 24)
        return nPos;
    size_t nEnd = hour.nEnd;
    for (int nPart = 0; nPart < 2; ++nPart) {
        _tSegChar colon = CharAt(p, nLen, nEnd);
        if (colon.nCode != ':' && colon.nCode != 0xFF1A)
            break;
        _tDigits part = ReadDigits(p, nLen, nEnd + colon.nLen);
        if (part.nCount != 2 || part.nValue > 59)
            break;
        nEnd = part.nEnd;
    }
    if (nEnd == hour.nEnd || !IsRunSuffixFree(p, nLen, nEnd))
        return nPos;
    return nEnd;
}

// The part a number and its unit make after the part nLast, or kNone.
int UnitPart(uint32_t nUnit, const _tDigits& number, int nLast, const unsigned char* p, size_t nLen,
             size_t nAfterUnit)
{
    int v = number.nValue;
    switch (nUnit) {
    case kYear:
        return nLast == kNone && number.nCount == 4 && v >= 1000 && v <= 2999 ? kYearPart : kNone;
    case kMonth:
        return nLast < kMonthPart && number.nCount <= 2 && v >= 1 && v <= 12 ? kMonthPart : kNone;
    case kDay:
        return nLast < kDayPart && number.nCount <= 2 && v >= 1 && v <= 31 ? kDayPart : kNone;
    case kDayNo:
        return nLast == kMonthPart && number.nCount <= 2 && v >= 1 && v <= 31 ? kDayPart : kNone;
    case kHour:
        return nLast < kHourPart && number.nCount <= 2 && v <= 24 ? kHourPart : kNone;
    case kOClock: {
        if (nLast >= kHourPart || number.nCount > 2 || v > 24)
            return kNone;
        // "8点" alone is as often a count as a time: only with a day or minutes.
        _tDigits minutes = ReadDigits(p, nLen, nAfterUnit);
        bool bMinutes = minutes.nCount >= 1 && CharAt(p, nLen, minutes.nEnd).nCode == kMinute;
        return nLast == kDayPart || bMinutes ? kHourPart : kNone;
    }
    case kMinute:
        return nLast == kHourPart && number.nCount <= 2 && v <= 59 ? kMinutePart : kNone;
    case kSecond:
        return nLast == kMinutePart && number.nCount <= 2 && v <= 59 ? kSecondPart : kNone;
    default:
        return kNone;
    }
}

size_t MatchUnitDate(const unsigned char* p, size_t nLen, size_t nPos)
{
    size_t nEnd = nPos;
    int nLast = kNone;
    while (nEnd < nLen) {
        if (nLast == kDayPart) {
            size_t nClock = MatchClock(p, nLen, nEnd);
            if (nClock != nEnd)
                return nClock;
        }
        _tDigits number = ReadDigits(p, nLen, nEnd);
        if (number.nCount == 0)
            break;
        _tSegChar unit = CharAt(p, nLen, number.nEnd);
        int nPart = UnitPart(unit.nCode, number, nLast, p, nLen, number.nEnd + unit.nLen);
        if (nPart == kNone)
            break;
        nLast = nPart;
        nEnd = number.nEnd + unit.nLen;
    }
    return nEnd;
}

// 〇 ○ 零 一 ... 九 as 0-9; -1 for others (十 included).
int ChineseDigit(uint32_t nCode)
{
    switch (nCode) {
    case 0x3007: case 0x25CB: case 0x96F6: return 0;
    case 0x4E00: return 1;
    case 0x4E8C: return 2;
    case 0x4E09: return 3;
    case 0x56DB: return 4;
    case 0x4E94: return 5;
    case 0x516D: return 6;
    case 0x4E03: return 7;
    case 0x516B: return 8;
    case 0x4E5D: return 9;
    default: return -1;
    }
}

// A numeral up to 39 (五, 十, 十二, 二十, 三十一); its value, or -1.
int ReadSmallNumeral(const unsigned char* p, size_t nLen, size_t& nPos)
{
    size_t nCur = nPos;
    _tSegChar ch = CharAt(p, nLen, nCur);
    int nTens = -1, nUnits = ChineseDigit(ch.nCode);
    if (nUnits > 0) {
        nCur += ch.nLen;
        ch = CharAt(p, nLen, nCur);
    }
    if (ch.nCode == kTen) {
        nTens = nUnits > 0 ? nUnits : 1;
        nCur += ch.nLen;
        ch = CharAt(p, nLen, nCur);
        nUnits = ChineseDigit(ch.nCode);
        if (nUnits > 0)
            nCur += ch.nLen;
        else
            nUnits = 0;
    }
    if (nTens < 0 && nUnits <= 0)
        return -1;
    nPos = nCur;
    return (nTens > 0 ? nTens * 10 : 0) + nUnits;
}

// A small numeral followed by one of two units, within [nMin, nMax].
size_t MatchNumeralUnit(const unsigned char* p, size_t nLen, size_t nPos, uint32_t nUnit1, uint32_t nUnit2,
                        int nMin, int nMax)
{
    size_t nCur = nPos;
    int nValue = ReadSmallNumeral(p, nLen, nCur);
    _tSegChar unit = CharAt(p, nLen, nCur);
    if (nValue < nMin || nValue > nMax || (unit.nCode != nUnit1 && unit.nCode != nUnit2))
        return nPos;
    return nCur + unit.nLen;
}

size_t MatchChineseYear(const unsigned char* p, size_t nLen, size_t nPos)
{
    size_t nCur = nPos;
    for (int i = 0; i < 4; ++i) {
        _tSegChar ch = CharAt(p, nLen, nCur);
        if (ChineseDigit(ch.nCode) < 0)
            return nPos;
        nCur += ch.nLen;
    }
    _tSegChar unit = CharAt(p, nLen, nCur);
    return unit.nCode == kYear ? nCur + unit.nLen : nPos;
}

}  // namespace

size_t MatchLatinRun(const unsigned char* p, size_t nLen, size_t nPos, bool& bNumber)
{
    bool bLetter = false, bDecimal = false;
    int nGroupDigits = 0;
    _tSegChar last;
    size_t nEnd = nPos;
    while (nEnd < nLen) {
        _tSegChar ch = CharAt(p, nLen, nEnd);
        if (IsAlnum(ch)) {
            bLetter = bLetter || ch.eClass == ESegCharClass::Letter;
            nGroupDigits += ch.eClass == ESegCharClass::Digit;
            last = ch;
            nEnd += ch.nLen;
            continue;
        }
        if (nEnd == nPos)
            break;
        _tSegChar next = CharAt(p, nLen, nEnd + ch.nLen);
        if (!IsAlnum(next) ||
            !JoinsRun(ch, last, next, bLetter, bDecimal, nGroupDigits, p, nLen, nEnd + ch.nLen))
            break;
        bDecimal = bDecimal || ch.nCode == '.';
        nGroupDigits = 0;
        nEnd += ch.nLen;
    }
    if (nEnd == nPos) {
        bNumber = false;
        return nPos;
    }
    _tSegChar suffix = CharAt(p, nLen, nEnd);
    if (!bLetter && (suffix.nCode == '%' || suffix.nCode == 0xFF05 || suffix.nCode == 0x2030)) {
        nEnd += suffix.nLen;
    } else if (bLetter && last.eClass == ESegCharClass::Letter) {
        if (suffix.nCode == '+' && CharAt(p, nLen, nEnd + 1).nCode == '+' && IsRunSuffixFree(p, nLen, nEnd + 2))
            nEnd += 2;
        else if (suffix.nCode == '#' && IsRunSuffixFree(p, nLen, nEnd + 1))
            nEnd += 1;
    }
    bNumber = !bLetter;
    return nEnd;
}

size_t MatchDateTime(const unsigned char* p, size_t nLen, size_t nPos)
{
    size_t nEnd = MatchIsoDate(p, nLen, nPos);
    if (nEnd == nPos)
        nEnd = MatchClock(p, nLen, nPos);
    if (nEnd == nPos)
        nEnd = MatchUnitDate(p, nLen, nPos);
    return nEnd;
}

size_t MatchChineseDate(const unsigned char* p, size_t nLen, size_t nPos)
{
    size_t nEnd = MatchChineseYear(p, nLen, nPos);
    size_t nMonthEnd = MatchNumeralUnit(p, nLen, nEnd, kMonth, kMonth, 1, 12);
    if (nMonthEnd == nEnd)
        return nEnd;
    return MatchNumeralUnit(p, nLen, nMonthEnd, kDay, kDayNo, 1, 31);
}
