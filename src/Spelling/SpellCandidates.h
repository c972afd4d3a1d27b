// The characters a written character may have been meant as: those with
// the same reading (syllable and tone), those on the look-alike list, then
// those with the same syllable in another tone. Only characters the caller
// knows (those its word list can score) are offered.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Spelling/CharReadings.h"
#include "Spelling/ConfusionList.h"

struct _tSpellCandidate {
    enum EKind { SAME_READING = 0, LOOK_ALIKE = 1, OTHER_TONE = 2 };
    char32_t nCode;
    EKind eKind;
};

class CSpellCandidates {
public:
    // Reads <sDataDir>/Spelling/Readings.dat and Confusion.txt.
    bool Load(const std::string& sDataDir, std::string& sError);
    // Characters outside fnKnown are never offered.
    void SetKnown(std::function<bool(char32_t)> fnKnown) { m_fnKnown = std::move(fnKnown); }

    // The candidates for nCode, each once, in the order of the kinds above.
    std::vector<_tSpellCandidate> For(char32_t nCode) const;

    const CCharReadings& Readings() const { return m_readings; }

private:
    void AddChars(const std::vector<char32_t>& vecChars, _tSpellCandidate::EKind eKind, char32_t nCode,
                  std::vector<_tSpellCandidate>& vecOut) const;

    CCharReadings m_readings;
    CConfusionList m_alikes;
    std::function<bool(char32_t)> m_fnKnown;
};
