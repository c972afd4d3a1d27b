// Compiling keyword lists and scanning text against them.
#include "KeyScanner/KeywordDict.h"

#include <cstdio>

#include "KeyScanner/KeywordList.h"
#include "Utility/DictEncoding.h"

const char* const CKeywordDict::kErrorWordClass = "错别字";

namespace {

std::string FormatScore(double score)
{
    char sBuf[32];
    std::snprintf(sBuf, sizeof sBuf, "%g", score);
    return sBuf;
}

// The text of a hit, in the encoding of the scanned text.
std::string HitText(const std::string& sDictText, const _stTermPosition& hit, bool bUtf8)
{
    std::string sHit = sDictText.substr(static_cast<size_t>(hit.iStartPos), static_cast<size_t>(hit.nWordLen));
    return bUtf8 ? DictTextToUtf8(sHit) : sHit;
}

// The class's place in the list of names, added when new.
int ClassIndex(std::vector<std::string>& vecClass, const std::string& sName)
{
    for (size_t i = 0; i < vecClass.size(); ++i)
        if (vecClass[i] == sName)
            return static_cast<int>(i);
    vecClass.push_back(sName);
    return static_cast<int>(vecClass.size()) - 1;
}

}  // namespace

CKeywordDict::CKeywordDict(const CKeywordList& list)
{
    m_dict.AddWordInit();
    for (const _tKeyEntry& entry : list.Entries()) {
        std::string sDict;
        Utf8ToDictText(entry.sWord, sDict);
        int nId = m_dict.AddWord(sDict.c_str());
        if (nId < 0)
            continue;
        if (static_cast<size_t>(nId) >= m_vecEntry.size())
            m_vecEntry.resize(static_cast<size_t>(nId) + 1);
        _tCompiled& compiled = m_vecEntry[static_cast<size_t>(nId)];
        compiled = _tCompiled();
        compiled.type = entry.type;
        if (entry.type == _tKeyEntry::KEY_ERROR_WORD) {
            compiled.sRight = entry.sRight;
            Utf8ToDictText(entry.sRight, compiled.sRightGbk);
        } else if (entry.type == _tKeyEntry::KEY_KEYWORD) {
            compiled.nClass = ClassIndex(m_vecClass, entry.sClass);
            compiled.weight = entry.weight;
        }
    }
    m_dict.AddWordComplete();
    for (const _tCompiled& compiled : m_vecEntry) {
        m_nErrorWords += compiled.type == _tKeyEntry::KEY_ERROR_WORD;
        m_nKeywords += compiled.type == _tKeyEntry::KEY_KEYWORD;
        m_nGuards += compiled.type == _tKeyEntry::KEY_GUARD;
    }
}

const CKeywordDict::_tCompiled* CKeywordDict::EntryOf(const _stTermPosition& hit) const
{
    if (hit.nHandle < 0 || static_cast<size_t>(hit.nHandle) >= m_vecEntry.size())
        return nullptr;
    return &m_vecEntry[static_cast<size_t>(hit.nHandle)];
}

std::string CKeywordDict::ClassSections(const std::vector<_stTermPosition>& vecHits, const std::string& sText,
                                        bool bUtf8) const
{
    std::vector<std::vector<std::string>> vecWords(m_vecClass.size());
    std::vector<double> vecScore(m_vecClass.size(), 0.0);
    for (const _stTermPosition& hit : vecHits) {
        const _tCompiled* pCompiled = EntryOf(hit);
        if (!pCompiled || pCompiled->type != _tKeyEntry::KEY_KEYWORD)
            continue;
        const _tCompiled& compiled = *pCompiled;
        auto nClass = static_cast<size_t>(compiled.nClass);
        std::string sWord = HitText(sText, hit, bUtf8);
        vecScore[nClass] += compiled.weight;
        bool bSeen = false;
        for (const std::string& sSeen : vecWords[nClass])
            bSeen = bSeen || sSeen == sWord;
        if (!bSeen)
            vecWords[nClass].push_back(sWord);
    }
    std::string sAnswer;
    for (size_t c = 0; c < m_vecClass.size(); ++c) {
        if (vecWords[c].empty())
            continue;
        std::string sName = m_vecClass[c];
        if (!bUtf8)
            Utf8ToDictText(m_vecClass[c], sName);
        sAnswer += "(Check " + sName + " " + FormatScore(vecScore[c]) + ")";
        for (size_t i = 0; i < vecWords[c].size(); ++i)
            sAnswer += (i ? "##" : "") + vecWords[c][i];
        sAnswer += "$";
    }
    return sAnswer;
}

std::string CKeywordDict::Scan(const std::string& sText, int nMode, bool bUtf8) const
{
    if (sText.empty() || m_vecEntry.empty())
        return "";
    std::string sDict;
    if (bUtf8)
        Utf8ToDictText(sText, sDict);
    else
        sDict = sText;
    std::vector<_stTermPosition> vecHits;
    m_dict.MMScanPosition(sDict.c_str(), vecHits, 0);
    std::string sItems;
    if (nMode & 1) {
        for (const _stTermPosition& hit : vecHits) {
            const _tCompiled* pCompiled = EntryOf(hit);
            if (!pCompiled || pCompiled->type != _tKeyEntry::KEY_ERROR_WORD)
                continue;
            const std::string& sRight = bUtf8 ? pCompiled->sRight : pCompiled->sRightGbk;
            std::string sWritten = HitText(sDict, hit, bUtf8);
            // Folding of Latin case can match a text that is already right.
            if (sWritten == sRight)
                continue;
            sItems += sItems.empty() ? "" : "##";
            sItems += sRight + "-->" + sWritten;
        }
    }
    std::string sAnswer;
    if (!sItems.empty()) {
        std::string sClass = kErrorWordClass;
        if (!bUtf8)
            Utf8ToDictText(kErrorWordClass, sClass);
        sAnswer = "(Check " + sClass + ")" + sItems + "$";
    }
    if (nMode & 2)
        sAnswer += ClassSections(vecHits, sDict, bUtf8);
    return sAnswer;
}
