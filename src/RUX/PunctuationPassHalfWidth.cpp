// Half-width marks in Chinese text ("表明,该方法有效.") and their full-width
// forms. A mark counts only with a Chinese character on its left and
// Chinese text after it, so numbers (1,000  3.14), addresses, e-mail,
// formulas and English spans keep their marks; reference lists, formulas
// and the English abstract are left alone.
#include "Docx/DocxRecords.h"
#include "RUX/PunctuationPass.h"
#include "RUX/PunctuationTokens.h"

using namespace punctuation;

namespace {

const char* FullWidthOf(const std::string& sMark)
{
    static const char* const kMarks[][2] = {{",", "，"}, {".", "。"}, {";", "；"}, {":", "："},
                                            {"?", "？"}, {"!", "！"}, {"(", "（"}, {")", "）"}};
    for (const auto& mark : kMarks)
        if (sMark == mark[0])
            return mark[1];
    return nullptr;
}

bool LevelExempt(int nLevel)
{
    return nLevel == DocLevel::FORMULA_INDEX || nLevel == DocLevel::ABSTRACT_CAPTION_EN ||
           nLevel == DocLevel::ABSTRACT_TEXT_EN || nLevel == DocLevel::ABSTRACT_KEYWORD_EN;
}

// Chinese text follows: a Chinese character, or a full-width opening mark.
bool ChineseFollows(const std::string& sWord)
{
    static const char* const kOpenings[] = {"“", "‘", "（", "《", "【"};
    if (BeginsWithHan(sWord))
        return true;
    for (const char* s : kOpenings)
        if (sWord == s)
            return true;
    return false;
}

// The document type code of a reference entry: "[J]", "[M]", "[EB/OL]",
// "［D］" ... starting at s[i]; its length, or 0.
size_t TypeCodeAt(const std::string& s, size_t i)
{
    size_t nOpen = s.compare(i, 1, "[") == 0 ? 1 : s.compare(i, 3, "［") == 0 ? 3 : 0;
    if (!nOpen)
        return 0;
    size_t j = i + nOpen, nLetters = 0;
    while (j < s.size() && s[j] >= 'A' && s[j] <= 'Z' && nLetters < 3) {
        ++j;
        ++nLetters;
    }
    if (nLetters == 0)
        return 0;
    if (j < s.size() && s[j] == '/') {
        size_t nFrom = ++j;
        while (j < s.size() && s[j] >= 'A' && s[j] <= 'Z' && j - nFrom < 3)
            ++j;
        if (j == nFrom)
            return 0;
    }
    size_t nClose = s.compare(j, 1, "]") == 0 ? 1 : s.compare(j, 3, "］") == 0 ? 3 : 0;
    return nClose ? j + nClose - i : 0;
}

// "2015,43(4):", "2015, 43(增刊): " or "2015,(10):" at s[i] (the year): the year, volume,
// issue and pages of a journal citation.
bool VolumeIssueAt(const std::string& s, size_t i)
{
    size_t j = i;
    while (j < s.size() && IsDigit(s[j]))
        ++j;
    if (j - i != 4 || (i > 0 && IsDigit(s[i - 1])) || j >= s.size() || s[j] != ',')
        return false;
    ++j;
    while (j < s.size() && s[j] == ' ')
        ++j;
    size_t nVolume = j;
    while (j < s.size() && IsDigit(s[j]))
        ++j;
    if (j - nVolume > 4 || j >= s.size() || s[j] != '(')  // the volume may be missing
        return false;
    size_t nClose = s.find(')', j);
    return nClose != std::string::npos && nClose - j < 24 && nClose + 1 < s.size() &&
           (s[nClose + 1] == ':' || s.compare(nClose + 1, 3, "：") == 0);
}

}  // namespace

// The reference list, and a reference entry outside it (a list the
// structure recognition missed, a citation under a title), keep the marks
// of their citation style.
bool CPunctuationPass::InReferenceList()
{
    if (m_settings.nLevel == DocLevel::REFERENCE_TEXT || m_settings.nLevel == DocLevel::REFERENCE_CAPTION)
        return true;
    if (m_nReferenceEntry < 0) {
        std::string sText;
        for (const _tPassToken& t : m_vecTokens)
            sText += t.word;
        m_nReferenceEntry = 0;
        for (size_t i = 0; i < sText.size() && !m_nReferenceEntry; ++i)
            if (TypeCodeAt(sText, i) || VolumeIssueAt(sText, i))
                m_nReferenceEntry = 1;
    }
    return m_nReferenceEntry == 1;
}

bool CPunctuationPass::HalfWidthRule(int i)
{
    const char* sFull = FullWidthOf(Token(i).word);
    if (!sFull || LevelExempt(m_settings.nLevel) || InReferenceList() || !HalfWidthCounts(i))
        return false;
    Add("update", "punctuation rule 99.3", Token(i).word, Token(i).offset, {sFull, "99.3"});
    return true;
}

bool CPunctuationPass::HalfWidthCounts(int i)
{
    const std::string& sMark = Token(i).word;
    const std::string& sLeft = Token(i - 1).word;
    if (sMark == ")") {
        for (int j : m_vecHalfWidthClose)
            if (j == i)
                return true;
        // Closing a full-width "（": only the width is wrong.
        return EndsWithHan(sLeft) && !m_vecOpen.empty() && Token(m_vecOpen.back().index).word == "（";
    }
    if (!EndsWithHan(sLeft))
        return false;
    const _tPassToken& next = Token(i + 1);
    if (sMark == "(") {
        int nClose = MatchingHalfWidthClose(i);
        bool bChinese = BeginsWithHan(next.word) || (nClose > i + 1 && EndsWithHan(Token(nClose - 1).word));
        if (bChinese && nClose > 0)
            m_vecHalfWidthClose.push_back(nClose);
        return bChinese;
    }
    if (ChineseFollows(next.word))
        return true;
    // At the end of the paragraph a sentence may close with any of them but
    // the comma, which the comma rule reports by itself.
    return i + 1 == Last() && sMark != ",";
}

// The ")" that closes the "(" at i, or -1 when another mark or none does.
int CPunctuationPass::MatchingHalfWidthClose(int i) const
{
    int nDepth = 0;
    for (int j = i + 1; j < Last(); ++j) {
        const _tPassToken& t = Token(j);
        if (MarkKind(t) != 'k')
            continue;
        if (IsOpening(t)) {
            ++nDepth;
        } else if (IsClosing(t)) {
            if (nDepth == 0)
                return t.word == ")" ? j : -1;
            --nDepth;
        }
    }
    return -1;
}
