// The word rules of the punctuation pass, run when spelling is on: wrong
// words of the spelling-error list, unknown English words, impossible
// dates and doubled words.
#include <algorithm>

#include "RUX/DateWord.h"
#include "RUX/PunctuationPass.h"
#include "RUX/PunctuationTokens.h"
#include "Segmenter/Segmenter.h"
#include "Utility/QueryExpand.h"

using namespace punctuation;

bool CPunctuationPass::SpellErrorRule(int i)
{
    const _tPassToken& t = Token(i);
    if (t.pos != "/srclist" || !m_settings.pSpellDict)
        return false;
    std::vector<std::string> vecForms = m_settings.pSpellDict->GetRightForms(t.word);
    if (vecForms.empty())
        return false;
    Add("update", "spelling rule 1.5.2", t.word, t.offset, {vecForms[0], "1.5.2"});
    return true;
}

namespace {

// Only plain lower-case words are judged: capitalised and mixed-case words
// are mostly names, acronyms and products that no word list holds.
bool IsCheckableEnglish(const std::string& sWord)
{
    if (sWord.size() < 3)
        return false;
    return std::all_of(sWord.begin(), sWord.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace

bool CPunctuationPass::EnglishWordRule(int i)
{
    // Reference entries are full of names and titles in other spellings.
    if (Last() - 1 <= 3 || Token(1).word.empty() || m_settings.nFlag == -512 || InReferenceList())
        return false;
    const _tPassToken& t = Token(i);
    if (!IsCheckableEnglish(t.word) || PELNOR_IsEnglishWord(t.word.c_str()))
        return false;
    for (const _tPassToken* p : {&Token(i - 1), &Token(i + 1)})
        if (IsNumeral(*p) || IsMark(*p))
            return false;
    Add("update", "english rule 1.5.5", t.word, t.offset, {"??", "1.5.5"});
    return true;
}

namespace {

// Digits, ':' and the units of a date or time: the pieces the segmenter may
// leave after a date word ("2023年" "13" "月").
bool IsDatePiece(const std::string& sWord)
{
    static const char* const kUnits[] = {"年", "月", "日", "号", "时", "点", "分", "秒"};
    for (size_t i = 0; i < sWord.size();) {
        if (IsDigit(sWord[i]) || sWord[i] == ':') {
            ++i;
            continue;
        }
        const char* const* pUnit = std::find_if(std::begin(kUnits), std::end(kUnits),
                                                 [&](const char* s) { return sWord.compare(i, 3, s) == 0; });
        if (pUnit == std::end(kUnits))
            return false;
        i += 3;
    }
    return !sWord.empty();
}

}  // namespace

bool CPunctuationPass::DateWordRule(int& i)
{
    const _tPassToken& t = Token(i);
    if (!IsTimeWord(t) || t.word.empty() || !IsDigit(t.word[0]))
        return false;
    std::string sDate = t.word;
    int j = i + 1;
    for (; j < Last() && j <= i + 4; ++j) {
        const _tPassToken& piece = Token(j);
        if (!(IsNumeral(piece) || IsTimeWord(piece)) || !IsDatePiece(piece.word))
            break;
        sDate += piece.word;
    }
    if (IsPossibleDateWord(sDate))
        return false;
    Add("update", "date rule 99.1", sDate, t.offset, {"??", "99.1"});
    i = j - 1;
    return true;
}

bool CPunctuationPass::DoubledWordRule(int& i)
{
    const _tPassToken& t = Token(i);
    if (i + 1 >= Last() || Token(i + 1).word != t.word || IsMark(t) || IsNumeral(t) || IsTimeWord(t))
        return false;
    if (t.word.size() <= 3 && !IsSingleHan(t.word))
        return false;
    if (IsDeliberateDouble(i))
        return false;
    std::string sBoth = t.word + (IsAsciiLetter(t.word[0]) ? " " : "") + t.word;
    Add("update", "reduplicate rule 1.5.3", sBoth, t.offset, {t.word, "1.5.3"});
    ++i;
    return true;
}

// Reduplication as a form of the language: 看看, 常常, 人人, 说说, 研究研究,
// 干干净净. The doubled form is a dictionary word, or the word is a verb,
// or (one character) an adjective, adverb or measure word, or it is one
// half of an AABB form.
bool CPunctuationPass::IsDeliberateDouble(int i) const
{
    const _tPassToken& t = Token(i);
    auto tagIs = [&](char c) { return t.pos.size() >= 2 && t.pos[1] == c; };
    if (tagIs('v'))
        return true;
    if (!IsSingleHan(t.word))
        return false;
    if (tagIs('a') || tagIs('d') || tagIs('q') || PELNOR_GetWordID((t.word + t.word).c_str()) >= 0)
        return true;
    auto doubleAt = [&](int j) {
        return j >= 1 && j + 1 < Last() && IsSingleHan(Token(j).word) && Token(j).word == Token(j + 1).word;
    };
    return doubleAt(i + 2) || doubleAt(i - 2);
}
