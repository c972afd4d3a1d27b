// The rule agent's side of the punctuation and word checks: the tokens of
// the paragraph just scanned go to a pass, and its hits join the agent's
// hits, where the audit agent turns them into findings.
#include "Global/Globals.h"
#include "RUX/PunctuationPass.h"
#include "RUX/RUXAgent.h"

void CRUXAgent::PunctionCheck(uint32_t nParaId, int nFlag)
{
    _tPunctuationSettings settings;
    settings.bPunctuation = g_bPunctionCheck;
    settings.bSpelling = g_bSpellingCheck;
    if (!m_bContentChecks || (!settings.bPunctuation && !settings.bSpelling))
        return;
    settings.nLevel = m_scan.level;
    settings.nFlag = nFlag;
    settings.pSpellDict = m_pSpellCheckDict;
    // The pass sees the words of the text only: the "/LB" and "/LE" ends
    // and markup groups stay out, as they do from the offsets.
    std::vector<_tPassToken> vecTokens;
    const std::vector<_tRUXScanResult>& vecScan = m_scan.tokens;
    for (size_t i = 1; i + 1 < vecScan.size(); ++i) {
        int nMarkup = MarkupLength(i);
        if (nMarkup > 0) {
            i += static_cast<size_t>(nMarkup) - 1;
            continue;
        }
        _tPassToken token;
        token.word = vecScan[i].word;
        token.pos = vecScan[i].pos;
        token.offset = vecScan[i].offset;
        vecTokens.push_back(std::move(token));
    }
    CPunctuationPass pass(vecTokens, nParaId, settings);
    for (_tRUX_Result& hit : pass.Run())
        AddCheckHit(hit);
}

// A paragraph read twice in one scan (a table cell an extractor read before
// the walk reached it) gives its findings once.
void CRUXAgent::AddCheckHit(_tRUX_Result& hit)
{
    std::string sHitKey = hit.rule_no + '\0' + std::to_string(hit.para_id);
    std::vector<size_t>& vecSame = m_mapHitsByRulePara[sHitKey];
    for (size_t nOld : vecSame) {
        const _tRUX_Result& old = m_vecRUXResult[nOld];
        if (old.offset == hit.offset && old.vecSelected == hit.vecSelected && old.action == hit.action)
            return;
    }
    hit.org_para_text = m_scan.text_stand;
    vecSame.push_back(m_vecRUXResult.size());
    m_vecRUXResult.push_back(hit);
}
