// Runs of single characters, which often hide a wrongly written word, are
// sent to the spelling service; its corrections become hits.
#include "RUX/PunctuationPass.h"
#include "RUX/PunctuationTokens.h"
#include "Segmenter/Segmenter.h"
#include "Spelling/SpellingChecker.h"

using namespace punctuation;

namespace {

// A known word pair at least this often written together is no misspelling.
const int kKnownPairFreq = 5;

// Chinese the segmenter only guessed to be one word (no dictionary word, no
// name, place or organisation): a wrongly written word joined by the guess
// (试应 for 适应) is as suspect as the single characters it was made of.
bool IsGuessedWord(const _tPassToken& t)
{
    return t.pos == "/x" && BeginsWithHan(t.word) && EndsWithHan(t.word);
}

}  // namespace

void CPunctuationPass::SpellingRuns()
{
    int nStart = -1;
    std::string sText;
    for (int i = 1; i <= Last(); ++i) {
        const _tPassToken& t = Token(i);
        bool bInRun = i < Last() && !IsMark(t) && !t.word.empty() &&
                      (t.word.size() == 3 || static_cast<unsigned char>(t.word[0]) < 0x80 ||
                       IsGuessedWord(t));
        if (bInRun) {
            if (nStart < 0) {
                nStart = i;
                sText.clear();
            }
            sText += t.word;
            continue;
        }
        if (nStart < 0)
            continue;
        // The word that closes the run goes with it, as context.
        sText += t.word;
        if (i - nStart >= 2)
            SpellingCheck(sText, nStart, i, Token(nStart).offset, m_nParaId);
        nStart = -1;
    }
}

int CPunctuationPass::SpellingCheck(std::string& sText, int nStart, int nEnd, int nOffset, uint32_t nParaId)
{
    if (nStart < 1 || nEnd > Last() || nStart > nEnd)
        return -1;
    if (nStart + 2 <= nEnd) {
        int nId1 = PELNOR_GetWordID(Token(nStart).word.c_str());
        int nId2 = PELNOR_GetWordID(Token(nStart + 1).word.c_str());
        if (nId1 >= 0 && nId2 >= 0 && PELNOR_GetPairFreq(nId1, nId2) >= kKnownPairFreq)
            return 0;
    }
    // The word before the run is sent too, as context; nothing in it is taken.
    size_t nPrefix = 0;
    if (nStart >= 2) {
        const std::string& sBefore = Token(nStart - 1).word;
        sText.insert(0, sBefore);
        nOffset -= static_cast<int>(sBefore.size());
        nPrefix = sBefore.size();
    }
    std::vector<_spell_check_result> vecCorrections;
    if (!SpellingChecker(sText.c_str(), vecCorrections))
        return -1;
    const size_t nLastLen = Token(nEnd).word.size();
    size_t nFrom = 0;
    uint32_t nSavedPara = m_nParaId;
    m_nParaId = nParaId;
    for (const _spell_check_result& correction : vecCorrections) {
        if (correction.orig.empty())
            continue;
        size_t nPos = sText.find(correction.orig, nFrom);
        if (nPos == std::string::npos || nPos < nPrefix || nPos > sText.size() - nLastLen)
            continue;
        Add("update", "spelling rule 1.5.1", correction.orig, static_cast<int>(nPos) + nOffset,
            {correction.revise, "1.5.1"});
        nFrom = nPos + correction.orig.size();
    }
    m_nParaId = nSavedPara;
    return 1;
}
