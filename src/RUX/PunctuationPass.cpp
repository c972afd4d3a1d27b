// The walk of the punctuation pass, the neighbour rules of each mark and
// the pairing of brackets and quotation marks.
#include "RUX/PunctuationPass.h"

#include <algorithm>
#include <cstring>

#include "RUX/PunctuationTokens.h"

using namespace punctuation;

namespace {

// Pairs that close each other. Besides the common ones, the other bracket
// forms the segmenter tags as brackets or quotation marks pair as well, so
// "【注】" or "[1]" is no unpaired mark.
const char* const kPairs[][2] = {
    {"“", "”"}, {"‘", "’"}, {"(", ")"}, {"（", "）"}, {"《", "》"}, {"【", "】"}, {"〔", "〕"},
    {"[", "]"}, {"［", "］"}, {"「", "」"}, {"『", "』"}, {"〈", "〉"}, {"{", "}"}, {"｛", "｝"},
    {"\"", "\""}, {"'", "'"}, {"〖", "〗"},
};

bool IsPair(const std::string& sOpen, const std::string& sClose)
{
    for (const auto& pair : kPairs)
        if (sOpen == pair[0] && sClose == pair[1])
            return true;
    return false;
}

const char* const kRuleMark = "punctuation rule 99.3";
const char* const kRulePair = "punctuation rule 99.5";

}  // namespace

unsigned long punctuation::CodePointAt(const std::string& s, size_t i)
{
    if (i >= s.size())
        return 0;
    unsigned char c = static_cast<unsigned char>(s[i]);
    int nMore = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (nMore < 0 || i + static_cast<size_t>(nMore) >= s.size())
        return 0;
    unsigned long n = nMore == 0 ? c : c & (0x3Fu >> nMore);
    for (int k = 1; k <= nMore; ++k)
        n = (n << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3Fu);
    return n;
}

unsigned long punctuation::LastCodePoint(const std::string& s)
{
    if (s.empty())
        return 0;
    size_t i = s.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80 && s.size() - i < 4)
        --i;
    return CodePointAt(s, i);
}

bool punctuation::IsHan(unsigned long c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == 0x3007;
}

CPunctuationPass::CPunctuationPass(const std::vector<_tPassToken>& vecTokens, uint32_t nParaId,
                                   const _tPunctuationSettings& settings)
    : m_nParaId(nParaId), m_settings(settings)
{
    _tPassToken begin;
    begin.pos = "/LB";
    m_vecTokens.push_back(begin);
    m_vecTokens.insert(m_vecTokens.end(), vecTokens.begin(), vecTokens.end());
    _tPassToken end;
    end.pos = "/LE";
    if (!vecTokens.empty())
        end.offset = vecTokens.back().offset + static_cast<int>(vecTokens.back().word.size());
    m_vecTokens.push_back(end);
}

std::vector<_tRUX_Result> CPunctuationPass::Run()
{
    for (int i = 1; i < Last(); ++i) {
        if (m_settings.bSpelling &&
            (SpellErrorRule(i) || EnglishWordRule(i) || DateWordRule(i) || DoubledWordRule(i)))
            continue;
        if (m_settings.bPunctuation && IsMark(Token(i)))
            MarkRules(i);
    }
    // Marks still open at the end of the paragraph are unpaired. The pairing
    // is a punctuation rule, so this report belongs to the same switch.
    if (m_settings.bPunctuation)
        ReportUnclosed();
    if (m_settings.bSpelling)
        SpellingRuns();
    return std::move(m_vecResults);
}

void CPunctuationPass::Add(const char* sAction, const std::string& sRule, const std::string& sValue, int nOffset,
                           std::vector<std::string> vecArguments)
{
    _tRUX_Result hit;
    hit.action = sAction;
    hit.rule_no = sRule;
    hit.para_id = m_nParaId;
    hit.offset = static_cast<uint32_t>(std::max(nOffset, 0));
    hit.AddSelected(sValue, m_nParaId, hit.offset);
    hit.arguments = std::move(vecArguments);
    m_vecResults.push_back(std::move(hit));
}

void CPunctuationPass::AddError(int i)
{
    Add("update", kRuleMark, Token(i).word, Token(i).offset, {"??", "99.3"});
}

void CPunctuationPass::MarkRules(int& i)
{
    const _tPassToken& t = Token(i);
    // A point before a Latin letter or digit belongs to a name ("*.gz",
    // ".py", "a.html"), it ends no sentence.
    if (t.word == "." && !Token(i + 1).word.empty() && IsAsciiAlnum(Token(i + 1).word[0]))
        return;
    const char k = MarkKind(t);
    bool bHalfWidth = HalfWidthRule(i);
    // Half-width marks after Latin text, digits or symbols belong to code,
    // formulas and English; the rules of Chinese punctuation are not theirs.
    // Reference entries follow their citation style instead.
    bool bChineseUse = !IsAsciiMark(t) || (EndsWithHan(Token(i - 1).word) && !InReferenceList());
    if (!bChineseUse) {
        if (IsOpening(t) || IsClosing(t))
            PairMark(i);
        return;
    }
    if (k == 'n' && EnumerationCommaRule(i))
        return;
    bool bSkipNext = false;
    bool bError = false;
    if (k == 'w')
        QuestionMarkRule();
    else
        bError = NeighbourError(i, bSkipNext);
    if (IsOpening(t) || IsClosing(t))
        PairMark(i);
    // A paragraph does not end on a comma or an enumeration comma.
    if ((k == 'd' || k == 'n') && i == Last() - 1)
        bError = true;
    if (!bError)
        m_nLastMark = i;
    else if (!bHalfWidth)
        AddError(i);
    if (bSkipNext) {
        // The next mark is not judged again, but it still opens or closes.
        ++i;
        if (IsOpening(Token(i)) || IsClosing(Token(i)))
            PairMark(i);
    }
}

namespace {

// A point right after a Latin word ends an abbreviation ("e.g.", "et al."),
// it is no full stop standing next to another mark.
bool IsAbbreviationPoint(const _tPassToken& point, const _tPassToken& before)
{
    return point.word == "." && !before.word.empty() && IsAsciiLetter(before.word.back());
}

}  // namespace

bool CPunctuationPass::NeighbourError(int i, bool& bSkipNext) const
{
    const _tPassToken& before = Token(i - 1);
    const _tPassToken& after = Token(i + 1);
    const char kBefore = MarkKind(before), kAfter = MarkKind(after);
    bool bMarkBefore = kBefore && !(i >= 2 && IsAbbreviationPoint(before, Token(i - 2)));
    bool bMarkAfter = kAfter != 0;
    switch (MarkKind(Token(i))) {
    case 'd':
        if (bMarkBefore && !IsQuotation(before) && kBefore != 's' && !(kBefore == 'k' && IsClosing(before)) &&
            before.word != ">" && before.word != "·")
            return true;
        if (bMarkAfter && !IsQuotation(after) && !(kAfter == 'k' && IsOpening(after)) && kAfter != 's' &&
            after.word != "|" && after.word != "<" && after.word != "." && after.word != "·") {
            bSkipNext = true;
            return true;
        }
        return false;
    case 'j':
        return bMarkBefore && !IsQuotation(before) && !(kBefore == 'k' && IsClosing(before)) && before.word != ">";
    case 'p':
        return before.word == "即" || before.word == "就是";
    case 's':
        if (after.pos == "/udeng")
            return true;
        return kBefore && kBefore != 's' && kBefore != 'd' && bMarkAfter && kAfter != 's' && kAfter != 'd';
    default:
        return false;
    }
}

bool CPunctuationPass::EnumerationCommaRule(int i)
{
    static const char* const kConjunctions[] = {"及", "和", "与", "或"};
    const std::string& sNext = Token(i + 1).word;
    bool bConjunction = std::any_of(std::begin(kConjunctions), std::end(kConjunctions),
                                    [&](const char* s) { return sNext == s; });
    const _tPassToken& before = Token(i - 1);
    if (!bConjunction || IsNumeral(before) || before.pos.size() < 2)
        return false;
    Add("delete", "punctuation rule 99.4", Token(i).word, Token(i).offset, {"99.4"});
    return true;
}

// Two questions with no other mark between them are one choice question:
// the first mark should be a comma.
void CPunctuationPass::QuestionMarkRule()
{
    if (m_nLastMark < 0 || MarkKind(Token(m_nLastMark)) != 'w')
        return;
    Add("update", kRuleMark, Token(m_nLastMark).word, Token(m_nLastMark).offset, {"，", "99.3"});
}

void CPunctuationPass::PairMark(int i)
{
    // A mark quoted by itself (“（”) is spoken of, not used. The straight
    // single quotation mark is as often an apostrophe or a prime (π', A').
    if ((IsQuotation(Token(i - 1)) && IsQuotation(Token(i + 1))) || Token(i).word == "'")
        return;
    if (IsOpening(Token(i))) {
        m_vecOpen.push_back({i, Token(i).offset});
        return;
    }
    CloseMark(i);
}

void CPunctuationPass::CloseMark(int i)
{
    const char k = MarkKind(Token(i));
    // A closing mark without an open one of its kind is left alone: "1）"
    // numbers list items.
    auto it = std::find_if(m_vecOpen.rbegin(), m_vecOpen.rend(),
                           [&](const _tOpenMark& open) { return MarkKind(Token(open.index)) == k; });
    if (it == m_vecOpen.rend())
        return;
    // Marks of the other kind opened inside the span it closes stay unpaired.
    size_t nKeep = static_cast<size_t>(m_vecOpen.rend() - it);
    while (m_vecOpen.size() > nKeep) {
        const _tOpenMark& open = m_vecOpen.back();
        Add("update", kRulePair, Token(open.index).word, open.offset, {"??", "99.5"});
        m_vecOpen.pop_back();
    }
    while (!m_vecOpen.empty() && MarkKind(Token(m_vecOpen.back().index)) == k) {
        const _tOpenMark open = m_vecOpen.back();
        m_vecOpen.pop_back();
        if (IsPair(Token(open.index).word, Token(i).word))
            return;
        Add("update", kRulePair, Token(open.index).word, open.offset, {"??", "99.5"});
    }
}

// A quotation or note running over several paragraphs opens each of them
// and closes only the last, so a mark opening a paragraph that closes
// nothing may stay open; so may any in a reference entry, whose lines are
// often broken.
void CPunctuationPass::ReportUnclosed()
{
    if (m_vecOpen.empty())
        return;  // the common case; the reference test below reads the whole paragraph
    bool bClosesAny = false;
    for (int i = 2; i < Last() && !bClosesAny; ++i)
        bClosesAny = IsClosing(Token(i));
    if (!InReferenceList())
        for (const _tOpenMark& open : m_vecOpen)
            if (open.index != 1 || bClosesAny)
                Add("update", kRulePair, Token(open.index).word, open.offset, {"??", "99.5"});
    m_vecOpen.clear();
}
