// Chinese numerals to integers and back, on GBK bytes.
#include "Utility/ChineseNumeral.h"

#include <climits>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"

namespace {

constexpr long long kWan = 10000;
constexpr long long kYi = 100000000;

// The numeral characters in GBK, made once from their UTF-8 spelling so the
// source stays readable.
struct NumeralTable {
    std::unordered_map<uint16_t, int> mapValue;  // GBK code -> value
    std::string sDigit[2][10];                   // [upper][digit]
    std::string sUnit[2][5];                     // [upper]: 十 百 千 万 亿
    std::string sNegative;                       // 负

    NumeralTable()
    {
        static const char* const kDigits[2][10] = {
            {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"},
            {"零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"}};
        static const char* const kUnits[2][5] = {{"十", "百", "千", "万", "亿"},
                                                 {"拾", "佰", "仟", "万", "亿"}};
        static const int kUnitValue[5] = {10, 100, 1000, 10000, 100000000};
        for (int u = 0; u < 2; ++u) {
            for (int d = 0; d < 10; ++d) {
                Utf8ToGbk(kDigits[u][d], sDigit[u][d]);
                mapValue[Code(sDigit[u][d])] = d;
            }
            for (int k = 0; k < 5; ++k) {
                Utf8ToGbk(kUnits[u][k], sUnit[u][k]);
                mapValue[Code(sUnit[u][k])] = kUnitValue[k];
            }
        }
        for (const auto& extra : {std::make_pair("○", 0), std::make_pair("两", 2)}) {
            std::string sGbk;
            Utf8ToGbk(extra.first, sGbk);
            mapValue[Code(sGbk)] = extra.second;
        }
        Utf8ToGbk("负", sNegative);
    }

    static uint16_t Code(const std::string& sGbk)
    {
        if (sGbk.size() < 2)
            return 0;
        return static_cast<uint16_t>((static_cast<unsigned char>(sGbk[0]) << 8)
                                     | static_cast<unsigned char>(sGbk[1]));
    }
};

const NumeralTable& Table()
{
    static const NumeralTable table;
    return table;
}

// Byte length of the GBK character at p (which is not at the end).
size_t GbkCharLen(const char* p)
{
    return (static_cast<unsigned char>(p[0]) >= 0x80 && p[1] != '\0') ? 2 : 1;
}

int GbkNum2Digit(const char* p)
{
    if (p == nullptr || static_cast<unsigned char>(p[0]) < 0x80 || p[1] == '\0')
        return -2;
    uint16_t nCode = static_cast<uint16_t>((static_cast<unsigned char>(p[0]) << 8)
                                           | static_cast<unsigned char>(p[1]));
    const auto& map = Table().mapValue;
    auto it = map.find(nCode);
    return it == map.end() ? -2 : it->second;
}

// Logs the failure with the text in UTF-8, as every log line is.
int Fail(const char* sText, bool bUTF8, const char* sWhy)
{
    std::string sUtf8 = sText;
    if (!bUTF8)
        GbkToUtf8(sText, sUtf8);
    WriteError(sUtf8 + sWhy);
    return -1;
}

bool IsUnitBelowWan(int v) { return v == 10 || v == 100 || v == 1000; }
bool IsBigUnit(int v) { return v == kWan || v == kYi; }

// Reads the values left to right: digit+unit pairs build a section, 万 and 亿
// close a section into the total. -1 with the reason in sWhy on failure.
long long Evaluate(const std::vector<int>& vecValue, const char*& sWhy)
{
    long long nTotal = 0;
    long long nSection = 0;
    for (size_t i = 0; i < vecValue.size(); ++i) {
        int v = vecValue[i];
        int nNext = i + 1 < vecValue.size() ? vecValue[i + 1] : -1;
        if (v >= 1 && v <= 9) {
            if (nNext >= 0 && nNext <= 9) {
                sWhy = " is invalid Chinese numeric expression";
                return -1;
            }
            if (IsUnitBelowWan(nNext)) {
                nSection += static_cast<long long>(v) * nNext;
                ++i;
            } else if (IsBigUnit(nNext)) {
                nTotal += (nSection + v) * nNext;
                nSection = 0;
                ++i;
            } else {
                nSection += v;
            }
        } else if (v == 10) {
            nSection += 10;
        } else if (IsBigUnit(v)) {
            // 三万亿: a bare 亿 after a closed section scales the whole total.
            if (nSection == 0 && v == kYi)
                nTotal *= kYi;
            else
                nTotal += nSection * v;
            nSection = 0;
        } else if (v == 100 || v == 1000) {
            sWhy = " is invalid num expersion";
            return -1;
        }
        // 零 and ○ only separate places and add nothing.
        if (nTotal > INT_MAX || nSection > INT_MAX) {
            sWhy = " is out of the range of Chinese numeric expressions";
            return -1;
        }
    }
    if (nTotal + nSection > INT_MAX) {
        sWhy = " is out of the range of Chinese numeric expressions";
        return -1;
    }
    return nTotal + nSection;
}

// Writes 0 < n < 10000 place by place; inner runs of zeros give one 零,
// trailing zeros nothing. bLeading drops the 一 of 十 in 10..19.
void WriteGroup(unsigned long long n, bool bLeading, bool bUpper, std::string& sOut)
{
    const NumeralTable& t = Table();
    static const unsigned long long kPlace[4] = {1000, 100, 10, 1};
    bool bStarted = false;
    bool bZero = false;
    for (int k = 0; k < 4; ++k) {
        unsigned d = static_cast<unsigned>(n / kPlace[k] % 10);
        if (d == 0) {
            bZero = bStarted;
            continue;
        }
        if (bZero)
            sOut += t.sDigit[bUpper][0];
        bZero = false;
        bool bDropOne = bLeading && k == 2 && d == 1 && n < 20;
        if (!bDropOne)
            sOut += t.sDigit[bUpper][d];
        if (k < 3)
            sOut += t.sUnit[bUpper][2 - k];
        bStarted = true;
    }
}

// Writes n > 0 in groups of four digits closed by 万 or 亿; a 零 stands
// before a lower group that does not fill its places.
void WriteNumber(unsigned long long n, bool bLeading, bool bUpper, std::string& sOut)
{
    const NumeralTable& t = Table();
    if (n < kWan) {
        WriteGroup(n, bLeading, bUpper, sOut);
        return;
    }
    unsigned long long nUnit = n >= static_cast<unsigned long long>(kYi) ? kYi : kWan;
    WriteNumber(n / nUnit, bLeading, bUpper, sOut);
    sOut += t.sUnit[bUpper][nUnit == static_cast<unsigned long long>(kYi) ? 4 : 3];
    unsigned long long nLow = n % nUnit;
    if (nLow == 0)
        return;
    if (nLow < nUnit / 10)
        sOut += t.sDigit[bUpper][0];
    WriteNumber(nLow, false, bUpper, sOut);
}

}  // namespace

int ChineseNum2Digit(const char* sChar, bool bUTF8)
{
    if (sChar == nullptr || *sChar == '\0')
        return -2;
    if (!bUTF8)
        return GbkNum2Digit(sChar);
    // One UTF-8 character is at most four bytes; convert just that much.
    size_t nLen = 1;
    while (nLen < 4 && (static_cast<unsigned char>(sChar[nLen]) & 0xC0) == 0x80)
        ++nLen;
    std::string sGbk;
    Utf8ToGbk(std::string(sChar, nLen), sGbk);
    return GbkNum2Digit(sGbk.c_str());
}

int Str2Integer(const char* sText, bool bUTF8)
{
    if (sText == nullptr || *sText == '\0')
        return -1;
    std::string sGbk = sText;
    if (bUTF8 && !Utf8ToGbk(sText, sGbk))
        return Fail(sText, bUTF8, " using invalid charater in Chinese numeric expression. ");
    std::vector<int> vecValue;
    for (const char* p = sGbk.c_str(); *p != '\0'; p += GbkCharLen(p)) {
        int v = GbkNum2Digit(p);
        if (v == -2)
            return Fail(sText, bUTF8, " using invalid charater in Chinese numeric expression. ");
        vecValue.push_back(v);
    }
    const char* sWhy = "";
    long long nValue = Evaluate(vecValue, sWhy);
    if (nValue < 0)
        return Fail(sText, bUTF8, sWhy);
    return static_cast<int>(nValue);
}

void Integer2Str(long long nValue, std::string& sOut, bool bUpper, bool bUTF8)
{
    const NumeralTable& t = Table();
    std::string sGbk;
    unsigned long long n = static_cast<unsigned long long>(nValue);
    if (nValue < 0) {
        sGbk = t.sNegative;
        n = 0ULL - n;
    }
    if (n == 0)
        sGbk += t.sDigit[bUpper][0];
    else
        WriteNumber(n, true, bUpper, sGbk);
    if (bUTF8)
        GbkToUtf8(sGbk, sOut);
    else
        sOut = sGbk;
}

bool Integer2Str(const char* sDecimal, std::string& sOut, bool bUpper, bool bUTF8)
{
    sOut.clear();
    if (sDecimal == nullptr)
        return false;
    const char* p = sDecimal;
    bool bNegative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    while (*p == '0' && p[1] >= '0' && p[1] <= '9')
        ++p;
    long long nValue = 0;
    int nDigits = 0;
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9' || ++nDigits > 18)
            return false;
        nValue = nValue * 10 + (*p - '0');
    }
    Integer2Str(bNegative ? -nValue : nValue, sOut, bUpper, bUTF8);
    return true;
}
