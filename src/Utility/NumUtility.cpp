// Heading numbers: reading, writing and order checking, on GBK bytes.
#include "Utility/NumUtility.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <unordered_map>

#include "Utility/Blanks.h"
#include "Utility/ChineseNumeral.h"
#include "Utility/EncodingConverter.h"

namespace {

// GBK rows of the one-character number styles: lead byte, trail byte of the
// character whose value is 1, and the largest value.
struct _tStyleRow {
    int nStyle;
    unsigned char nLead;
    unsigned char nFirst;
    int nMax;
};
constexpr _tStyleRow kStyleRows[] = {
    {NUM_STYLE_PARENTHESISED, 0xA2, 0xC5, 20},    // ⑴..⒇
    {NUM_STYLE_CIRCLED, 0xA2, 0xD9, 10},          // ①..⑩
    {NUM_STYLE_PAREN_IDEOGRAPH, 0xA2, 0xE5, 10},  // ㈠..㈩
    {NUM_STYLE_FULLWIDTH_UPPER, 0xA3, 0xC1, 26},  // Ａ..Ｚ
    {NUM_STYLE_FULLWIDTH_LOWER, 0xA3, 0xE1, 26},  // ａ..ｚ
};
constexpr unsigned char kFullWidthLead = 0xA3;   // ０..９ are A3 B0..B9
constexpr unsigned char kFullWidthZero = 0xB0;

std::string Gbk(const char* sUtf8)
{
    std::string sGbk;
    Utf8ToGbk(sUtf8, sGbk);
    return sGbk;
}

// The GBK spellings this file compares against, made once.
struct _tGbkTexts {
    std::string sFullDash = Gbk("－");
    std::string sMiddleDot = Gbk("·");
    std::string sFullSpace = Gbk("　");
    std::string sFigure = Gbk("图");
    std::string sTable = Gbk("表");
    std::string sFullParen = Gbk("（");
    std::vector<std::string> vecStems;
    std::vector<std::string> vecPostfix;

    _tGbkTexts()
    {
        for (const char* s : {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"})
            vecStems.push_back(Gbk(s));
        for (const char* s : {")", ".", ":", "]", "章", "节", "）", "、", "：", "】"})
            vecPostfix.push_back(Gbk(s));
    }
};

const _tGbkTexts& Texts()
{
    static const _tGbkTexts texts;
    return texts;
}

size_t CharLen(const std::string& s, size_t nPos)
{
    return (static_cast<unsigned char>(s[nPos]) >= 0x80 && nPos + 1 < s.size()) ? 2 : 1;
}

bool IsRomanLetter(char c, int nStyle)
{
    static const char* const kLetters[2] = {"IVX", "ivx"};
    const char* sLetters = kLetters[nStyle == NUM_STYLE_ROMAN_LOWER];
    return c != '\0' && std::string(sLetters).find(c) != std::string::npos;
}

int RomanLetterValue(char c)
{
    switch (c) {
    case 'I': case 'i': return 1;
    case 'V': case 'v': return 5;
    case 'X': case 'x': return 10;
    default: return 0;
    }
}

// Roman numerals that I, V and X can write: 1 to 39.
std::string ToRoman(long long n, bool bLower)
{
    if (n < 1 || n > 39)
        return std::string();
    static const char* const kOnes[10] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    std::string s(static_cast<size_t>(n / 10), 'X');
    s += kOnes[n % 10];
    if (bLower)
        std::transform(s.begin(), s.end(), s.begin(), [](char c) { return static_cast<char>(c + 'a' - 'A'); });
    return s;
}

bool IsRomanStyle(int nStyle)
{
    return nStyle == NUM_STYLE_ROMAN_UPPER || nStyle == NUM_STYLE_ROMAN_LOWER;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when the run of Roman letters at nPos goes on into other Latin
// letters, as in "Introduction": then it is part of a word.
bool RomanRunEndsInWord(const std::string& s, size_t nPos, int nStyle)
{
    while (nPos < s.size() && IsRomanLetter(s[nPos], nStyle))
        ++nPos;
    return nPos < s.size() && IsAsciiLetter(s[nPos]);
}

// The value of a run of Roman letters, -1 unless it is written the usual way.
int RomanValue(const std::string& sRun, bool bLower)
{
    int nValue = 0;
    for (size_t i = 0; i < sRun.size(); ++i) {
        int v = RomanLetterValue(sRun[i]);
        int nNext = i + 1 < sRun.size() ? RomanLetterValue(sRun[i + 1]) : 0;
        nValue += v < nNext ? -v : v;
        if (nValue > 39)
            return -1;
    }
    return ToRoman(nValue, bLower) == sRun ? nValue : -1;
}

// The value of the leading ASCII digits; 0 when there are none, -1 when they
// are too many to be a heading number.
int LeadingDecimal(const std::string& s)
{
    int nValue = 0;
    for (size_t i = 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (i >= 9)
            return -1;
        nValue = nValue * 10 + (s[i] - '0');
    }
    return nValue;
}

// ０..９ as 0..9; other characters are dropped.
std::string FullWidthToAscii(const std::string& s)
{
    std::string sAscii;
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        auto nTrail = static_cast<unsigned char>(s[i + 1]);
        if (static_cast<unsigned char>(s[i]) == kFullWidthLead && nTrail >= kFullWidthZero
            && nTrail <= kFullWidthZero + 9)
            sAscii += static_cast<char>('0' + (nTrail - kFullWidthZero));
    }
    return sAscii;
}

size_t Utf8CharLen(const std::string& s, size_t nPos)
{
    auto c = static_cast<unsigned char>(s[nPos]);
    size_t nLen = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(nLen, s.size() - nPos);
}

// Trims the IsBlank characters and the ideographic space, in GBK or UTF-8.
// Walks whole characters so a trail byte is never taken for a space.
std::string TrimWideBlanks(const std::string& s, bool bUTF8)
{
    const std::string sSpace = bUTF8 ? std::string("\xE3\x80\x80") : Texts().sFullSpace;
    size_t nBegin = std::string::npos;
    size_t nEnd = 0;
    for (size_t i = 0; i < s.size();) {
        size_t nLen = bUTF8 ? Utf8CharLen(s, i) : CharLen(s, i);
        bool bBlank = nLen == 1 ? IsBlank(s[i])
                                : s.compare(i, nLen, sSpace) == 0;
        if (!bBlank) {
            if (nBegin == std::string::npos)
                nBegin = i;
            nEnd = i + nLen;
        }
        i += nLen;
    }
    return nBegin == std::string::npos ? std::string() : s.substr(nBegin, nEnd - nBegin);
}

// Number of separator characters (. - － ·) at nPos, 0 when none.
size_t SeparatorLen(const std::string& s, size_t nPos)
{
    if (s[nPos] == '.' || s[nPos] == '-')
        return 1;
    const _tGbkTexts& t = Texts();
    for (const std::string* p : {&t.sFullDash, &t.sMiddleDot})
        if (s.compare(nPos, p->size(), *p) == 0)
            return p->size();
    return 0;
}

// The byte offset just past the first nGroups groups of a chapter text
// (groups are split by separators); npos when it has fewer.
size_t GroupsEnd(const std::string& s, size_t nGroups)
{
    size_t nPos = 0;
    for (size_t g = 0; g < nGroups; ++g) {
        if (nPos >= s.size())
            return std::string::npos;
        if (g > 0)
            nPos += SeparatorLen(s, nPos);
        while (nPos < s.size() && SeparatorLen(s, nPos) == 0)
            nPos += CharLen(s, nPos);
    }
    return nPos;
}

size_t CountGroups(const std::string& s)
{
    size_t nGroups = s.empty() ? 0 : 1;
    for (size_t i = 0; i < s.size();) {
        size_t nSep = SeparatorLen(s, i);
        nGroups += nSep > 0 ? 1 : 0;
        i += nSep > 0 ? nSep : CharLen(s, i);
    }
    return nGroups;
}

// The most frequent value among the numbered records; ties go to the value
// seen first. Records without a number would only outvote the pattern.
template <class TValue, class TGet>
TValue Majority(const std::vector<_tSection_Info>& vec, TGet get)
{
    std::map<TValue, size_t> mapCount;
    TValue best {};
    size_t nBest = 0;
    for (const _tSection_Info& info : vec) {
        if (info.order <= 0)
            continue;
        size_t n = ++mapCount[get(info)];
        if (n > nBest) {
            nBest = n;
            best = get(info);
        }
    }
    return best;
}

}  // namespace

struct CNumUtility::_tExpect {
    int nFormat;
    std::string sPrefix;
    std::string sPost;
};

CNumUtility::CNumUtility(bool bUTF8) : m_bUTF8(bUTF8) {}

void CNumUtility::Reset()
{
    m_nFormat = -1;
    m_sPrefix.clear();
    m_sPostfix.clear();
    m_chapter_id.clear();
    m_section_sep.clear();
    m_sResult.clear();
    m_vecOrders.clear();
}

int CNumUtility::Getchar(const char* sText, std::string& sChar)
{
    sChar.clear();
    if (sText == nullptr || *sText == '\0')
        return 0;
    int nLen = (static_cast<unsigned char>(sText[0]) >= 0x80 && sText[1] != '\0') ? 2 : 1;
    sChar.assign(sText, static_cast<size_t>(nLen));
    return nLen;
}

int CNumUtility::GetNumFormat(const char* ch, int& value)
{
    value = -1;
    if (ch == nullptr || *ch == '\0')
        return NUM_STYLE_NONE;
    char c = ch[0];
    if (c >= '0' && c <= '9') {
        value = c - '0';
        return NUM_STYLE_DIGIT;
    }
    if (IsRomanLetter(c, NUM_STYLE_ROMAN_UPPER) || IsRomanLetter(c, NUM_STYLE_ROMAN_LOWER)) {
        value = RomanLetterValue(c);
        return (c >= 'a') ? NUM_STYLE_ROMAN_LOWER : NUM_STYLE_ROMAN_UPPER;
    }
    auto nLead = static_cast<unsigned char>(ch[0]);
    auto nTrail = static_cast<unsigned char>(ch[1]);
    if (nLead < 0x80 || nTrail == 0)
        return NUM_STYLE_NONE;
    if (nLead == kFullWidthLead && nTrail >= kFullWidthZero && nTrail <= kFullWidthZero + 9) {
        value = nTrail - kFullWidthZero;
        return NUM_STYLE_FULLWIDTH_DIGIT;
    }
    for (const _tStyleRow& row : kStyleRows) {
        if (nLead == row.nLead && nTrail >= row.nFirst && nTrail < row.nFirst + row.nMax) {
            value = nTrail - row.nFirst + 1;
            return row.nStyle;
        }
    }
    int nChinese = ChineseNum2Digit(ch, false);
    if (nChinese != -2) {
        value = nChinese;
        return NUM_STYLE_CHINESE;
    }
    for (const std::string& sStem : Texts().vecStems) {
        if (sStem.compare(0, 2, ch, 2) == 0) {
            value = -2;
            return NUM_STYLE_HEAVENLY_STEM;
        }
    }
    return NUM_STYLE_NONE;
}

bool CNumUtility::IsValidNumPostfix(const char* ch)
{
    std::string sChar;
    if (Getchar(ch, sChar) == 0)
        return false;
    const auto& vec = Texts().vecPostfix;
    return std::find(vec.begin(), vec.end(), sChar) != vec.end();
}

int CNumUtility::ExtractOrder(const char* text, _tSection_Info& info, int nType)
{
    info = _tSection_Info();
    if (text == nullptr)
        return NUM_STYLE_NONE;
    std::string sGbk = text;
    if (m_bUTF8)
        Utf8ToGbk(text, sGbk);
    sGbk = TrimWideBlanks(sGbk, false);
    info.sample = TrimWideBlanks(text, m_bUTF8);

    // Up to five bytes of prefix may stand before the number.
    size_t nPos = 0;
    int nStyle = NUM_STYLE_NONE;
    bool bAfterLetter = false;
    while (nPos < sGbk.size()) {
        size_t nLen = CharLen(sGbk, nPos);
        int nValue = 0;
        nStyle = GetNumFormat(sGbk.c_str() + nPos, nValue);
        if (IsRomanStyle(nStyle) && (bAfterLetter || RomanRunEndsInWord(sGbk, nPos, nStyle)))
            nStyle = NUM_STYLE_NONE;  // the i of "Preview" is no number
        if (nStyle != NUM_STYLE_NONE)
            break;
        bool bFull = info.prefix.size() >= 5;
        info.prefix.append(sGbk, nPos, nLen);
        bAfterLetter = nLen == 1 && IsAsciiLetter(sGbk[nPos]);
        nPos += nLen;
        if (bFull)
            break;
    }
    info.section_type = nType;
    if (nType == -1) {
        const _tGbkTexts& t = Texts();
        info.section_type = info.prefix.find(t.sFigure) != std::string::npos ? SECTION_TYPE_FIGURE
            : info.prefix.find(t.sTable) != std::string::npos               ? SECTION_TYPE_TABLE
                                                                            : SECTION_TYPE_HEADING;
    }
    if (nStyle == NUM_STYLE_NONE)
        return NUM_STYLE_NONE;

    ReadNumber(sGbk, nPos, info);
    if (m_nFormat == NUM_STYLE_NONE && info.order > 0) {
        m_nFormat = info.num_format;
        m_sPrefix = info.prefix;
        m_sPostfix = info.post;
    }
    if (info.section_type != SECTION_TYPE_FORMULA
        && (info.prefix == "(" || info.prefix == Texts().sFullParen))
        info.level = -1;
    if (!info.chapter_id.empty()) {
        int nValue = 0;
        info.chapter_format = GetNumFormat(info.chapter_id.c_str(), nValue);
    }
    return info.num_format;
}

// Reads the number that starts at nPos: its text, level, value and post.
void CNumUtility::ReadNumber(const std::string& sGbk, size_t nPos, _tSection_Info& info)
{
    int nValue = 0;
    size_t nLen = CharLen(sGbk, nPos);
    info.num_format = GetNumFormat(sGbk.c_str() + nPos, nValue);
    info.order = nValue;
    info.text.assign(sGbk, nPos, nLen);
    nPos += nLen;
    const int nStyle = info.num_format;
    if (nStyle >= NUM_STYLE_DIGIT && nStyle <= NUM_STYLE_CHINESE_UPPER) {
        // Numbers of several characters; ASCII digits may hold separators.
        while (nPos < sGbk.size()) {
            nLen = CharLen(sGbk, nPos);
            int nNext = 0;
            if (GetNumFormat(sGbk.c_str() + nPos, nNext) == nStyle) {
                info.text.append(sGbk, nPos, nLen);
            } else if (nStyle == NUM_STYLE_DIGIT && (nLen = SeparatorLen(sGbk, nPos)) > 0) {
                info.text.append(sGbk, nPos, nLen);
                ++info.level;
            } else {
                break;
            }
            nPos += nLen;
        }
    } else if (IsRomanStyle(nStyle)) {
        size_t nEnd = nPos;
        while (nEnd < sGbk.size() && IsRomanLetter(sGbk[nEnd], nStyle))
            ++nEnd;
        std::string sRun = sGbk.substr(nPos - 1, nEnd - nPos + 1);
        int nRoman = RomanValue(sRun, nStyle == NUM_STYLE_ROMAN_LOWER);
        if (nRoman > 0) {
            info.text = sRun;
            info.order = nRoman;
            nPos = nEnd;
        }
    }

    if (nStyle == NUM_STYLE_DIGIT)
        ReadDecimal(info);
    else if (nStyle == NUM_STYLE_CHINESE)
        info.order = Str2Integer(info.text.c_str(), false);
    else if (nStyle == NUM_STYLE_FULLWIDTH_DIGIT)
        info.order = LeadingDecimal(FullWidthToAscii(info.text));

    if (info.post.empty() && nPos < sGbk.size() && IsValidNumPostfix(sGbk.c_str() + nPos))
        info.post.assign(sGbk, nPos, CharLen(sGbk, nPos));
}

// ASCII numbers: a trailing full stop is the number's ending; otherwise the
// last separator splits off the chapter part (1.2 of 1.2.3).
void CNumUtility::ReadDecimal(_tSection_Info& info)
{
    std::string& s = info.text;
    while (s.size() > 1 && s.back() == '.') {
        s.pop_back();
        --info.level;
        if (info.post.empty())
            info.post = ".";
    }
    bool bDash = false;
    if (s.back() >= '0' && s.back() <= '9') {
        size_t nSep = s.rfind('.');
        std::string sSep = ".";
        size_t nDash = s.rfind('-');
        if (nDash != std::string::npos && (nSep == std::string::npos || nDash > nSep)) {
            nSep = nDash;
            sSep = "-";
            bDash = true;
        }
        for (const std::string* p : {&Texts().sFullDash, &Texts().sMiddleDot}) {
            size_t nAt = s.rfind(*p);
            if (nAt != std::string::npos && (nSep == std::string::npos || nAt > nSep)) {
                nSep = nAt;
                sSep = *p;
            }
        }
        if (nSep != std::string::npos) {
            info.chapter_id = s.substr(0, nSep);
            info.section_sep = sSep;
            s.erase(0, nSep + sSep.size());
        }
    }
    // Captions count the groups after the chapter part: 图1-2 has level 0.
    if (info.section_type != SECTION_TYPE_HEADING) {
        if (info.level > 0)
            --info.level;
    } else if (bDash && info.level == 1) {
        info.level = 2;
    }
    info.order = LeadingDecimal(s);
}

void CNumUtility::AddSections(const char* text, unsigned para_id)
{
    if (text == nullptr || *text == '\0')
        return;
    _tSection_Info info;
    ExtractOrder(text, info, -1);
    AddSections(info, para_id);
}

void CNumUtility::AddSections(_tSection_Info& info, unsigned para_id)
{
    info.para_id = para_id;
    m_vecOrders.push_back(info);
}

std::string CNumUtility::GenerateNumGbk(long long value, int style) const
{
    std::string s;
    switch (style) {
    case NUM_STYLE_DIGIT:
        return std::to_string(value);
    case NUM_STYLE_FULLWIDTH_DIGIT:
        if (value < 0)
            return s;
        for (char c : std::to_string(value)) {
            s += static_cast<char>(kFullWidthLead);
            s += static_cast<char>(kFullWidthZero + (c - '0'));
        }
        return s;
    case NUM_STYLE_CHINESE:
    case NUM_STYLE_CHINESE_UPPER:
        Integer2Str(value, s, style == NUM_STYLE_CHINESE_UPPER, false);
        return s;
    case NUM_STYLE_ROMAN_UPPER:
    case NUM_STYLE_ROMAN_LOWER:
        return ToRoman(value, style == NUM_STYLE_ROMAN_LOWER);
    default:
        break;
    }
    for (const _tStyleRow& row : kStyleRows) {
        if (row.nStyle == style && value >= 1 && value <= row.nMax) {
            s += static_cast<char>(row.nLead);
            s += static_cast<char>(row.nFirst + value - 1);
        }
    }
    return s;
}

std::string CNumUtility::ToCaller(const std::string& sGbk) const
{
    if (!m_bUTF8)
        return sGbk;
    std::string sUtf8;
    GbkToUtf8(sGbk, sUtf8);
    return sUtf8;
}

const char* CNumUtility::GenerateNum(int value, int style)
{
    m_sResult = ToCaller(GenerateNumGbk(value, style));
    return m_sResult.c_str();
}

// A number the style cannot write leaves textNew empty: a correction that
// drops the number would be worse than none.
const char* CNumUtility::ComposeNumber(_tSection_Info& info, const std::string& sPrefix,
                                       const std::string& sChapter, const std::string& sSep,
                                       long long value, int style, const std::string& sPost)
{
    std::string sNumber = GenerateNumGbk(value, style);
    if (sNumber.empty())
        info.textNew.clear();
    else
        info.textNew = ToCaller(sPrefix + sChapter + (sChapter.empty() ? "" : sSep) + sNumber + sPost);
    return info.textNew.c_str();
}

const char* CNumUtility::SetNewSectionNo(_tSection_Info& info, const _tSection_Format& pattern)
{
    bool bPost = pattern.section_type == 1 || pattern.section_type == -510
        || pattern.section_type == -512;
    return ComposeNumber(info, pattern.prefix, info.chapter_id, pattern.section_sep, info.order,
                         pattern.num_format, bPost ? pattern.post : std::string());
}

const char* CNumUtility::SetNewSectionNo(_tSection_Info& info, int value, const char* prefix,
                                         const char* chapter, int style, const char* post)
{
    long long n = value;
    if (value == -1)
        n = info.orderNew != 0 ? info.orderNew : info.order;
    std::string sChapter = chapter != nullptr ? std::string(chapter) : info.chapter_id;
    return ComposeNumber(info, prefix != nullptr ? std::string(prefix) : info.prefix, sChapter,
                         info.section_sep.empty() ? m_section_sep : info.section_sep, n,
                         style == -1 ? info.num_format : style,
                         post != nullptr ? std::string(post) : info.post);
}

void CNumUtility::FindRightFormat()
{
    if (std::none_of(m_vecOrders.begin(), m_vecOrders.end(),
                     [](const _tSection_Info& info) { return info.order > 0; }))
        return;
    m_nFormat = Majority<int>(m_vecOrders, [](const _tSection_Info& i) { return i.num_format; });
    m_sPrefix = Majority<std::string>(m_vecOrders, [](const _tSection_Info& i) { return i.prefix; });
    m_sPostfix = Majority<std::string>(m_vecOrders, [](const _tSection_Info& i) { return i.post; });
    m_chapter_id = Majority<std::string>(m_vecOrders,
                                         [](const _tSection_Info& i) { return i.chapter_id; });
    m_section_sep = Majority<std::string>(m_vecOrders,
                                          [](const _tSection_Info& i) { return i.section_sep; });
}

bool CNumUtility::HasNumberAfter(size_t nIndex) const
{
    return std::any_of(m_vecOrders.begin() + static_cast<std::ptrdiff_t>(nIndex) + 1,
                       m_vecOrders.end(), [](const _tSection_Info& info) { return info.order > 0; });
}

void CNumUtility::MarkMissing(_tSection_Info& info, long long nNumber, const _tExpect& expect)
{
    info.error_id = "1.3.8";
    info.orderNew = -138;
    ComposeNumber(info, expect.sPrefix, m_chapter_id, m_section_sep, nNumber, expect.nFormat,
                  expect.sPost);
}

// The first number is above the required start. When enough unnumbered
// records stand before it they are the missing numbers; otherwise the first
// number itself is wrong. Returns the counter for the first numbered record.
long long CNumUtility::StartAt(size_t nFirst, int nStart, const _tExpect& expect)
{
    long long nFound = m_vecOrders[nFirst].order;
    long long nGap = nFound - nStart;
    if (static_cast<long long>(nFirst) < nGap)
        return nStart;
    for (long long k = 1; k <= nGap; ++k)
        MarkMissing(m_vecOrders[nFirst - static_cast<size_t>(k)], nFound - k, expect);
    return nFound;
}

// Wrong chapter part ("1.3.10") on a record that is otherwise right.
bool CNumUtility::CheckChapter(_tSection_Info& info, const char* sChapter)
{
    if (!info.error_id.empty() || info.chapter_id.empty() || info.order <= 0)
        return false;
    std::string sNewChapter;
    if (sChapter != nullptr && *sChapter != '\0') {
        const std::string sWant = sChapter;
        size_t nEnd = GroupsEnd(info.chapter_id, CountGroups(sWant));
        if (nEnd != std::string::npos && info.chapter_id.compare(0, nEnd, sWant) == 0)
            return false;
        sNewChapter = sWant + (nEnd == std::string::npos ? "" : info.chapter_id.substr(nEnd));
    } else {
        if (m_chapter_id.empty() || info.chapter_id == m_chapter_id)
            return false;
        sNewChapter = m_chapter_id;
    }
    info.error_id = "1.3.10";
    info.orderNew = info.order;
    ComposeNumber(info, info.prefix, sNewChapter,
                  info.section_sep.empty() ? m_section_sep : info.section_sep, info.order,
                  info.num_format, info.post);
    return true;
}

int CNumUtility::CheckOrder(int nDirection, int nStart, const char* sChapter)
{
    FindRightFormat();
    _tExpect expect {m_nFormat, m_sPrefix, m_sPostfix};
    long long nCounter = 0;
    for (size_t i = 0; i < m_vecOrders.size(); ++i) {
        _tSection_Info& info = m_vecOrders[i];
        if (info.order <= 0) {
            if (nCounter == 0)
                continue;  // nothing to compare with yet
            if (nDirection < 0 || !HasNumberAfter(i))
                break;
            // The missing number takes its place in the run.
            MarkMissing(info, nCounter, expect);
            if (nCounter < INT_MAX)
                ++nCounter;
            continue;
        }
        if (nCounter == 0) {
            nCounter = info.order;
            if (nStart > 0 && info.order > nStart)
                nCounter = StartAt(i, nStart, expect);
        }
        bool bWrongNumber = info.order != nCounter && !(nDirection < 0 && info.order == nCounter - 1);
        bool bError = bWrongNumber || info.num_format != expect.nFormat
            || info.prefix != expect.sPrefix
            || (!info.chapter_id.empty() && info.chapter_id != m_chapter_id);
        if (bError && info.prefix != expect.sPrefix) {
            const _tSection_Info* pNext = i + 1 < m_vecOrders.size() ? &m_vecOrders[i + 1] : nullptr;
            if (info.order != 1 || pNext == nullptr || pNext->prefix != info.prefix)
                continue;  // a stray record of another kind: passed over
            // A new run in another style starts here (一、 after 第一章 ...).
            nCounter = 1;
            expect.sPrefix = info.prefix;
            expect.nFormat = info.num_format;
            if (pNext->post == info.post)
                expect.sPost = info.post;
        } else if (bError) {
            info.error_id = "1.3.6";
            info.orderNew = static_cast<int>(nCounter);
            ComposeNumber(info, info.prefix, m_chapter_id,
                          info.section_sep.empty() ? m_section_sep : info.section_sep, nCounter,
                          expect.nFormat, info.post);
        }
        CheckChapter(info, sChapter);
        if (nDirection < 0 && nCounter == static_cast<long long>(info.order) + 1)
            --nCounter;
        if (nCounter > 0 && nCounter < INT_MAX)
            ++nCounter;
    }
    return 1;
}
