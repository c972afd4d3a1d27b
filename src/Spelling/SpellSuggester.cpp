// Scoring candidate characters by the best segmentation of their
// neighbourhood. The log probability of a window of a few characters on
// each side is compared before and after the change; only characters that
// stand alone before and join a word after are considered, so a frequent
// single character never displaces a rarer correct one by frequency alone.
#include "Spelling/SpellSuggester.h"

#include <algorithm>
#include <cstdlib>

#include <json/json.h>

#include "Spelling/Utf8Chars.h"

namespace {

// Characters on each side of the one tried; longer words are rare.
const size_t kWindow = 4;
const char32_t kKnownLimit = 0x30000;

// How much less likely a look-alike or another tone is, a priori, than a
// character of the same reading (natural log).
double KindPenalty(_tSpellCandidate::EKind eKind)
{
    switch (eKind) {
    case _tSpellCandidate::SAME_READING: return 0.0;
    case _tSpellCandidate::LOOK_ALIKE: return 1.0;
    default: return 2.5;
    }
}

}  // namespace

CSpellSuggester::CSpellSuggester() = default;
CSpellSuggester::~CSpellSuggester() = default;

bool CSpellSuggester::Load(const std::string& sDataDir, std::string& sError)
{
    if (!m_core.Load(sDataDir + "/Segmenter", sError) || !m_candidates.Load(sDataDir, sError))
        return false;
    IndexKnownChars();
    m_candidates.SetKnown([this](char32_t nCode) { return nCode < kKnownLimit && m_vecKnownBmp[nCode]; });
    return true;
}

void CSpellSuggester::IndexKnownChars()
{
    m_vecKnownBmp.assign(kKnownLimit, false);
    for (size_t nId = 0; nId < m_core.Count(); ++nId) {
        for (const _tUtf8Char& ch : SplitUtf8(m_core.Word(static_cast<int>(nId)))) {
            if (ch.nCode < kKnownLimit && IsHanChar(ch.nCode))
                m_vecKnownBmp[ch.nCode] = true;
        }
    }
}

// The best segmentation's log probability of a text of Chinese characters;
// pAlone (when given) gets per character whether it is a word by itself.
double CSpellSuggester::BestLogProb(const std::string& sText, std::vector<bool>* pAlone) const
{
    std::vector<_tUtf8Char> vecChars = SplitUtf8(sText);
    size_t n = vecChars.size();
    if (pAlone)
        pAlone->assign(n, false);
    if (n == 0)
        return 0.0;
    std::vector<int> vecCharAt(sText.size() + 1, -1);
    for (size_t i = 0; i < n; ++i)
        vecCharAt[vecChars[i].nStart] = static_cast<int>(i);
    vecCharAt[sText.size()] = static_cast<int>(n);
    std::vector<double> vecRoute(n + 1, 0.0);
    std::vector<size_t> vecNext(n + 1, 0);
    std::vector<int> vecIds, vecEnds;
    for (size_t i = n; i-- > 0;) {
        double dBest = m_core.UnknownLogProb() + vecRoute[i + 1];
        size_t nBestNext = i + 1;
        size_t nStart = vecChars[i].nStart;
        vecIds.clear();
        vecEnds.clear();
        m_core.PrefixWords(sText.data() + nStart, static_cast<int>(sText.size() - nStart), vecIds, vecEnds);
        for (size_t k = 0; k < vecIds.size(); ++k) {
            int nNext = vecCharAt[nStart + static_cast<size_t>(vecEnds[k])];
            if (nNext <= static_cast<int>(i))
                continue;
            double dScore = m_core.LogProb(vecIds[k]) + vecRoute[static_cast<size_t>(nNext)];
            if (dScore > dBest) {
                dBest = dScore;
                nBestNext = static_cast<size_t>(nNext);
            }
        }
        vecRoute[i] = dBest;
        vecNext[i] = nBestNext;
    }
    if (pAlone) {
        for (size_t i = 0; i < n; i = vecNext[i])
            (*pAlone)[i] = vecNext[i] == i + 1;
    }
    return vecRoute[0];
}

// The best candidate for character nAt of the run [nFrom, nTo); false when
// it does not stand alone or no candidate joins a word.
bool CSpellSuggester::BestCandidate(const std::string& sSentence, const std::vector<_tUtf8Char>& vecChars,
                                    size_t nFrom, size_t nTo, size_t nAt, _tSpellCorrection& best) const
{
    size_t nFirst = nAt >= nFrom + kWindow ? nAt - kWindow : nFrom;
    size_t nLast = std::min(nTo, nAt + kWindow + 1);
    size_t nBegin = vecChars[nFirst].nStart, nEnd = vecChars[nLast - 1].nStart + vecChars[nLast - 1].nLen;
    std::string sBefore = sSentence.substr(nBegin, vecChars[nAt].nStart - nBegin);
    std::string sAfter = sSentence.substr(vecChars[nAt].nStart + vecChars[nAt].nLen,
                                          nEnd - vecChars[nAt].nStart - vecChars[nAt].nLen);
    std::vector<bool> vecAlone;
    double dOriginal = BestLogProb(sSentence.substr(nBegin, nEnd - nBegin), &vecAlone);
    size_t nIndex = nAt - nFirst;
    if (!vecAlone[nIndex])
        return false;
    bool bFound = false;
    for (const _tSpellCandidate& candidate : m_candidates.For(vecChars[nAt].nCode)) {
        std::string sChar = Utf8Of(candidate.nCode);
        double dChanged = BestLogProb(sBefore + sChar + sAfter, &vecAlone);
        if (vecAlone[nIndex])
            continue;
        double dGain = dChanged - dOriginal - KindPenalty(candidate.eKind);
        if (!bFound || dGain > best.fGain) {
            bFound = true;
            best.sOrg = sSentence.substr(vecChars[nAt].nStart, vecChars[nAt].nLen);
            best.sRevise = sChar;
            best.nStart = vecChars[nAt].nStart;
            best.nEnd = vecChars[nAt].nStart + vecChars[nAt].nLen;
            best.fGain = dGain;
        }
    }
    return bFound;
}

void CSpellSuggester::ScoreRun(const std::string& sSentence, const std::vector<_tUtf8Char>& vecChars, size_t nFrom,
                               size_t nTo, std::vector<_tSpellCorrection>& vecFound) const
{
    if (nTo - nFrom < 2)
        return;
    for (size_t nAt = nFrom; nAt < nTo; ++nAt) {
        _tSpellCorrection best;
        if (BestCandidate(sSentence, vecChars, nFrom, nTo, nAt, best) && best.fGain >= m_fThreshold)
            vecFound.push_back(best);
    }
}

std::vector<_tSpellCorrection> CSpellSuggester::Suggest(const std::string& sSentence) const
{
    std::vector<_tUtf8Char> vecChars = SplitUtf8(sSentence);
    std::vector<_tSpellCorrection> vecFound;
    for (size_t i = 0; i < vecChars.size();) {
        if (!IsHanChar(vecChars[i].nCode)) {
            ++i;
            continue;
        }
        size_t nEnd = i;
        while (nEnd < vecChars.size() && IsHanChar(vecChars[nEnd].nCode))
            ++nEnd;
        ScoreRun(sSentence, vecChars, i, nEnd, vecFound);
        i = nEnd;
    }
    // The strongest first; a neighbour of a taken correction was judged
    // against the wrong character and is dropped.
    std::sort(vecFound.begin(), vecFound.end(),
              [](const _tSpellCorrection& a, const _tSpellCorrection& b) { return a.fGain > b.fGain; });
    std::vector<_tSpellCorrection> vecTaken;
    for (const _tSpellCorrection& correction : vecFound) {
        bool bNear = std::any_of(vecTaken.begin(), vecTaken.end(), [&](const _tSpellCorrection& taken) {
            return correction.nEnd + 3 >= taken.nStart && taken.nEnd + 3 >= correction.nStart;
        });
        if (!bNear)
            vecTaken.push_back(correction);
    }
    std::sort(vecTaken.begin(), vecTaken.end(),
              [](const _tSpellCorrection& a, const _tSpellCorrection& b) { return a.nStart < b.nStart; });
    return vecTaken;
}

std::string CSpellSuggester::AnswerJson(const std::vector<_tSpellCorrection>& vecCorrections)
{
    Json::Value detail(Json::arrayValue);
    for (const _tSpellCorrection& correction : vecCorrections) {
        Json::Value item;
        item["org"] = correction.sOrg;
        item["revise"] = correction.sRevise;
        item["start"] = static_cast<Json::UInt64>(correction.nStart);
        item["end"] = static_cast<Json::UInt64>(correction.nEnd);
        detail.append(item);
    }
    Json::Value sentence;
    sentence["detail"] = detail;
    Json::Value root;
    root["pred_sentences"].append(sentence);
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, root);
}
