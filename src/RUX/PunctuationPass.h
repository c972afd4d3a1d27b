// The punctuation and word checks over the tokens of one paragraph: wrong
// words of the spelling-error list, unknown English words, impossible
// dates, doubled words, the neighbours of each punctuation mark, half-width
// marks in Chinese text, the pairing of brackets and quotation marks, and
// runs of single characters sent to the spelling service. Each problem
// becomes a hit with an action ("update" or "delete"), the text found, its
// replacement and a finding code, which the audit agent turns into
// findings. A pass object lives for one paragraph and keeps only scratch
// state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RUX/RUXResultRecords.h"

class CQueryExpand;

// One token as the pass sees it: markup is already left out, offsets are
// the running byte offsets of the paragraph.
struct _tPassToken {
    std::string word;
    std::string pos;  // the tag with its leading "/"
    int offset = 0;
};

struct _tPunctuationSettings {
    bool bPunctuation = true;                 // the punctuation rules and the pairing
    bool bSpelling = false;                   // the word rules and the spelling service
    int nLevel = 0;                           // the paragraph's level (reference lists are left alone)
    int nFlag = 0;                            // -512 turns the English-word rule off
    const CQueryExpand* pSpellDict = nullptr;  // wrong words and their right forms
};

class CPunctuationPass {
public:
    // vecTokens are the paragraph's words in order, without the "/LB" and
    // "/LE" ends (the pass adds them).
    CPunctuationPass(const std::vector<_tPassToken>& vecTokens, uint32_t nParaId, const _tPunctuationSettings& settings);

    // Runs every check; the hits in text order of their rules' walks.
    std::vector<_tRUX_Result> Run();

    // The spelling check of the run of tokens nStart..nEnd (indexes with the
    // "/LB" end at 0) whose words are joined in sText, the run starting at
    // byte nOffset: 0 when its first two words are a known pair, -1 when the
    // service fails, else 1.
    int SpellingCheck(std::string& sText, int nStart, int nEnd, int nOffset, uint32_t nParaId);

private:
    struct _tOpenMark {
        int index;
        int offset;
    };

    // word rules
    bool SpellErrorRule(int i);
    bool EnglishWordRule(int i);
    bool DateWordRule(int& i);
    bool DoubledWordRule(int& i);
    bool IsDeliberateDouble(int i) const;
    // punctuation
    void MarkRules(int& i);
    bool NeighbourError(int i, bool& bSkipNext) const;
    bool EnumerationCommaRule(int i);
    void QuestionMarkRule();
    void PairMark(int i);
    void CloseMark(int i);
    void ReportUnclosed();
    bool HalfWidthRule(int i);
    bool HalfWidthCounts(int i);
    bool InReferenceList();
    int MatchingHalfWidthClose(int i) const;
    // spelling runs
    void SpellingRuns();

    void Add(const char* sAction, const std::string& sRule, const std::string& sValue, int nOffset,
             std::vector<std::string> vecArguments);
    void AddError(int i);
    const _tPassToken& Token(int i) const { return m_vecTokens[static_cast<size_t>(i)]; }
    int Last() const { return static_cast<int>(m_vecTokens.size()) - 1; }  // the "/LE" end

    std::vector<_tPassToken> m_vecTokens;
    uint32_t m_nParaId;
    _tPunctuationSettings m_settings;
    std::vector<_tRUX_Result> m_vecResults;
    std::vector<_tOpenMark> m_vecOpen;   // opening marks waiting for their closing one
    int m_nLastMark = -1;                // the last mark that passed
    std::vector<int> m_vecHalfWidthClose;  // ")" closing a "(" reported as half-width
    int m_nReferenceEntry = -1;            // the paragraph is a reference entry: -1 not yet known
};
