// Gathering the candidates of a character from its readings and look-alikes.
#include "Spelling/SpellCandidates.h"

#include <algorithm>

#include "Utility/FileUtility.h"

namespace {

const uint64_t kMaxConfusionBytes = uint64_t(1) << 22;

}  // namespace

bool CSpellCandidates::Load(const std::string& sDataDir, std::string& sError)
{
    std::string sFolder = JoinPath(sDataDir, "Spelling");
    if (!m_readings.Load(JoinPath(sFolder, "Readings.dat"), sError))
        return false;
    std::string sConfusion;
    std::string sPath = JoinPath(sFolder, "Confusion.txt");
    if (!ReadWholeFile(sPath, sConfusion, kMaxConfusionBytes)) {
        sError = "cannot read " + sPath;
        return false;
    }
    m_alikes.Load(sConfusion);
    return true;
}

void CSpellCandidates::AddChars(const std::vector<char32_t>& vecChars, _tSpellCandidate::EKind eKind, char32_t nCode,
                                std::vector<_tSpellCandidate>& vecOut) const
{
    for (char32_t nOther : vecChars) {
        if (nOther == nCode || (m_fnKnown && !m_fnKnown(nOther)) || m_alikes.KeptApart(nCode, nOther))
            continue;
        bool bSeen = std::any_of(vecOut.begin(), vecOut.end(),
                                 [&](const _tSpellCandidate& c) { return c.nCode == nOther; });
        if (!bSeen)
            vecOut.push_back({nOther, eKind});
    }
}

std::vector<_tSpellCandidate> CSpellCandidates::For(char32_t nCode) const
{
    std::vector<_tSpellCandidate> vecOut;
    const std::vector<uint16_t>& vecReadings = m_readings.Readings(nCode);
    for (uint16_t nReading : vecReadings)
        AddChars(m_readings.CharsWith(nReading), _tSpellCandidate::SAME_READING, nCode, vecOut);
    AddChars(m_alikes.LookAlikes(nCode), _tSpellCandidate::LOOK_ALIKE, nCode, vecOut);
    for (uint16_t nReading : vecReadings) {
        uint16_t nSyllable = CCharReadings::Syllable(nReading);
        for (int nTone = 1; nTone <= 5; ++nTone) {
            if (nTone != CCharReadings::Tone(nReading))
                AddChars(m_readings.CharsWith(CCharReadings::MakeReading(nSyllable, nTone)),
                         _tSpellCandidate::OTHER_TONE, nCode, vecOut);
        }
    }
    return vecOut;
}
