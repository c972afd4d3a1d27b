// Finds characters of a sentence that are probably written wrongly and
// proposes their corrections. A character that stands alone in the best
// segmentation of its neighbourhood is tried against the characters that
// sound or look like it; a candidate wins when it joins its neighbours into
// a word and the neighbourhood becomes much more likely under the
// segmenter's word frequencies. The threshold trades recall for precision.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Segmenter/CoreDict.h"
#include "Spelling/SpellCandidates.h"
#include "Spelling/Utf8Chars.h"

struct _tSpellCorrection {
    std::string sOrg;     // the character as written
    std::string sRevise;  // the proposed character
    size_t nStart = 0;    // byte offsets in the sentence, end exclusive
    size_t nEnd = 0;
    double fGain = 0.0;   // log-probability gained by the neighbourhood
};

class CSpellSuggester {
public:
    // Gains are natural-log probability ratios; the default asks for an
    // e^6 (about 400) times as likely neighbourhood, which keeps findings on
    // correct sentences rare (see bench/spelling_quality.py).
    static constexpr double kDefaultThreshold = 6.0;

    CSpellSuggester();
    ~CSpellSuggester();
    CSpellSuggester(const CSpellSuggester&) = delete;
    CSpellSuggester& operator=(const CSpellSuggester&) = delete;

    // Loads the segmenter's core dictionary (<sDataDir>/Segmenter) and the
    // readings and look-alikes (<sDataDir>/Spelling). False with sError.
    bool Load(const std::string& sDataDir, std::string& sError);
    void SetThreshold(double fThreshold) { m_fThreshold = fThreshold; }
    double Threshold() const { return m_fThreshold; }

    // The corrections of a UTF-8 sentence in text order, at most one per
    // character and none for neighbouring characters. Thread-safe.
    std::vector<_tSpellCorrection> Suggest(const std::string& sSentence) const;

    // The answer of the spelling service for these corrections:
    // {"pred_sentences":[{"detail":[{"org","revise","start","end"}...]}]}.
    static std::string AnswerJson(const std::vector<_tSpellCorrection>& vecCorrections);

private:
    double BestLogProb(const std::string& sText, std::vector<bool>* pAlone) const;
    void ScoreRun(const std::string& sSentence, const std::vector<_tUtf8Char>& vecChars, size_t nFrom,
                  size_t nTo, std::vector<_tSpellCorrection>& vecFound) const;
    bool BestCandidate(const std::string& sSentence, const std::vector<_tUtf8Char>& vecChars, size_t nFrom,
                       size_t nTo, size_t nAt, _tSpellCorrection& best) const;
    void IndexKnownChars();

    CCoreDict m_core;
    CSpellCandidates m_candidates;
    std::vector<bool> m_vecKnownBmp;  // by code point: occurs in some core word
    double m_fThreshold = kDefaultThreshold;
};
