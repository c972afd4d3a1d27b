// Matching one rule at one token: the start of the match, the grids of the
// pattern with their positions, limits, repeats, steps and retries, the
// blocks, the values of selected grids, and the line test of the simple
// extractors.
#include <cstdint>

#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RUXGrammer.h"

namespace {

bool IsAscii(unsigned char c)
{
    return c < 0x80;
}

}  // namespace

std::string CRUXAgent::GridText(int nRule, int g) const
{
    const std::vector<_tRuleOrg>& vecOrgs = m_pRUX->GetRuleOrgs();
    if (nRule < 0 || static_cast<size_t>(nRule) >= vecOrgs.size())
        return "";
    const _tKnowledgeOrg& knowledge = vecOrgs[static_cast<size_t>(nRule)].rule;
    if (g < 0 || static_cast<size_t>(g) >= knowledge.vecGrids.size())
        return "";
    return GetGridStr(knowledge.vecGrids[static_cast<size_t>(g)]);
}

std::string CRUXAgent::BlockText(int nRule, int g, int b) const
{
    const std::vector<_tRuleOrg>& vecOrgs = m_pRUX->GetRuleOrgs();
    if (nRule < 0 || static_cast<size_t>(nRule) >= vecOrgs.size())
        return "";
    const _tKnowledgeOrg& knowledge = vecOrgs[static_cast<size_t>(nRule)].rule;
    if (g < 0 || static_cast<size_t>(g) >= knowledge.vecGrids.size())
        return "";
    const _tGridOrg& grid = knowledge.vecGrids[static_cast<size_t>(g)];
    if (b < 0 || static_cast<size_t>(b) >= grid.vecBlocks.size())
        return "";
    return GetBlockStr(grid.vecBlocks[static_cast<size_t>(b)]);
}

int CRUXAgent::MatchRule(const _tRUXIndexData& posting, int i, _tRUX_Result& hit)
{
    m_scan.token_matched_index = i;
    int nStart = LocateFirstToken(posting, i);
    if (nStart < 0)
        return -1;
    int nRule = posting.knowledge_index;
    m_scan.action_id = Rule(nRule).action_id;
    int nEnd = MatchKnowledge(nRule, nStart, hit);
    if (nEnd < 0)
        return nEnd;
    ReadResultFromRule(nRule, hit);
    hit.rule_index = nRule;
    return nEnd;
}

int CRUXAgent::LocateFirstToken(const _tRUXIndexData& posting, int i)
{
    const _tKnowledge& knowledge = Rule(posting.knowledge_index).knowledge;
    if (knowledge.grids.empty() || knowledge.grids[0].blocks.empty())
        return -1;
    const _tBlock& first = knowledge.grids[0].blocks[0];
    int nFrom = (posting.grid_index == 0 && posting.block_index == 0) ? i : i - 1;
    // The index knows how far before this block a match can start at most;
    // a start found further back could never reach the indexed token, so the
    // walk stops there instead of at the paragraph start.
    int nStop = posting.back_count >= 0 && posting.back_count < i ? i - posting.back_count - 1 : 0;
    for (int p = nFrom; p >= nStop; --p)
        if (MatchBlock(first, p))
            return p;
    if (m_bDebug)
        Trace("Try to match first block failed! with " + BlockText(posting.knowledge_index, 0, 0));
    return -1;
}

int CRUXAgent::MatchKnowledge(int nRule, int nStart, _tRUX_Result& hit)
{
    const _tKnowledge& knowledge = Rule(nRule).knowledge;
    const CIntArray& pool = m_pRUX->GetIntArray();
    auto stepAfter = [&pool, &knowledge](int g) {
        return g < knowledge.steps.size() ? pool.GetValue(knowledge.steps.start + g) : 1;
    };
    const char* sText = m_pRUX->GetStr(knowledge.text_id);
    std::string sPattern = (m_bDebug && sText) ? sText : "";
    if (m_bDebug)
        Trace(" Try to match knowledge " + sPattern);
    int nTokens = static_cast<int>(m_scan.tokens.size());
    int g = 0, p = nStart, nLimit = m_scan.token_matched_index, nRetries = 0;
    size_t nSelectedBefore = hit.vecSelected.size();
    while (g < knowledge.grid_count && p >= 0 && p < nTokens) {
        if (m_bDebug)
            Trace("Trying to match grid " + GridText(nRule, g));
        int nEnd = MatchGrid(nRule, g, p, nLimit, hit);
        if (nEnd >= 0) {
            p = nEnd;
            nLimit = p + stepAfter(g);
            ++g;
            continue;
        }
        if (g == 0)
            break;
        ++nRetries;
        if (nRetries >= stepAfter(g - 1))
            break;
        ++p;
    }
    if (g < knowledge.grid_count || g == 0) {
        Trace(" Knowledge Match Failed! ");
        hit.vecSelected.resize(nSelectedBefore);
        hit.vecSelectedParaId.resize(nSelectedBefore);
        hit.vecSelectedOffset.resize(nSelectedBefore);
        return -1;
    }
    if (p < m_scan.token_matched_index) {
        Trace(" Knowledge Match Failed! Indexed Token not covered in match! ");
        hit.vecSelected.resize(nSelectedBefore);
        hit.vecSelectedParaId.resize(nSelectedBefore);
        hit.vecSelectedOffset.resize(nSelectedBefore);
        return -1;
    }
    if (m_bDebug)
        Trace(sPattern + " Knowledge Match Success! ");
    return p;
}

int CRUXAgent::MatchGrid(int nRule, int g, int& nStart, int& nLimit, _tRUX_Result& hit)
{
    const _tGrid& grid = Rule(nRule).knowledge.grids[static_cast<size_t>(g)];
    const CIntArray& pool = m_pRUX->GetIntArray();
    // Per block from the pool; a missing entry counts 1.
    auto repeatOf = [&pool, &grid](int b) { return b < grid.repeats.size() ? pool.GetValue(grid.repeats.start + b) : 1; };
    auto stepOf = [&pool, &grid](int b) { return b < grid.steps.size() ? pool.GetValue(grid.steps.start + b) : 1; };
    int nBlocks = static_cast<int>(grid.blocks.size());
    int nTokens = static_cast<int>(m_scan.tokens.size());
    int b = 0, p = nStart, nMatched = 0, nMisses = 0, nLast = -1, nFirst = -1;
    if (nBlocks > 0 && repeatOf(0) != 0)
        nLimit += repeatOf(0) - 1;
    while (b < nBlocks && p < nTokens && (nLimit < 0 || p <= nLimit)) {
        int nRepeat = repeatOf(b);
        int nStep = stepOf(b);
        bool bMatch = MatchBlock(grid.blocks[static_cast<size_t>(b)], p);
        if (!bMatch && nRepeat == 0) {
            ++b;
            continue;
        }
        if (!bMatch && g == 0 && nMatched == 0) {
            ++p;
            continue;
        }
        if (bMatch) {
            if (nMatched == 0)
                nStart = nFirst = p;
            nLast = b;
            nMisses = 0;
            ++nMatched;
            ++p;
            if (nRepeat <= nMatched) {
                nLimit = p + nStep;
                ++b;
                if (b < nBlocks)
                    nLimit += repeatOf(b);
            }
            continue;
        }
        ++nMisses;
        if (nLast == b && nStep > nMisses) {
            ++p;
        } else if (nLast != b) {
            Trace("Match Grid Failed! ");
            return -1;
        } else {
            nLimit = p + nStep;
            ++b;
            if (b < nBlocks)
                nLimit += repeatOf(b);
        }
    }
    if (b < nBlocks) {
        Trace("\t\tMatch Grid Failed! ");
        return -1;
    }
    if (grid.is_selected) {
        if (nFirst < 0)
            nFirst = p;
        std::string sValue;
        for (int t = nFirst; t < p; ++t) {
            const std::string& sWord = m_scan.tokens[static_cast<size_t>(t)].word;
            if (sWord.empty())
                continue;
            if (!sValue.empty() && IsAscii(static_cast<unsigned char>(sValue.back())) &&
                IsAscii(static_cast<unsigned char>(sWord[0])))
                sValue += ' ';
            sValue += sWord;
        }
        uint32_t nOffset = SumWordLengths(1, nFirst) + hit.offset;
        hit.AddSelected(sValue, hit.para_id, nOffset);
        Trace(sValue + "\tvalue selected!");
    }
    Trace(" \tMatch Grid Success!");
    return p;
}

bool CRUXAgent::MatchBlock(const _tBlock& block, int p)
{
    if (p < 0 || static_cast<size_t>(p) >= m_scan.tokens.size())
        return false;
    const _tRUXScanResult& token = m_scan.tokens[static_cast<size_t>(p)];
    const CIntArray& pool = m_pRUX->GetIntArray();
    bool bMatch = false;
    for (int32_t k = block.elems.start; k < block.elems.end && !bMatch; ++k) {
        int nId = pool.GetValue(k);
        if (nId == token.word_id && nId >= 0) {
            bMatch = true;
        } else if (nId >= 0 && static_cast<size_t>(nId) < m_vecIsTagElem.size() && m_vecIsTagElem[static_cast<size_t>(nId)]) {
            const std::string& sElem = m_vecElemStr[static_cast<size_t>(nId)];
            bMatch = token.pos.compare(0, sElem.size(), sElem) == 0;
        }
    }
    if (m_bDebug) {
        std::string sBlock;
        for (int32_t k = block.elems.start; k < block.elems.end; ++k) {
            int nId = pool.GetValue(k);
            if (nId >= 0 && static_cast<size_t>(nId) < m_vecElemStr.size())
                sBlock += (sBlock.empty() ? "" : ";") + m_vecElemStr[static_cast<size_t>(nId)];
        }
        sBlock = "[" + std::string(block.is_not ? "-(" : "") + sBlock + (block.is_not ? ")" : "") + "]";
        Trace("In Block " + sBlock + " try to match " + token.word + token.pos);
        if (bMatch)
            Trace("Matched!");
        if (block.is_not)
            Trace(bMatch ? "Block Matched Success! Matched Result Reverse because of not! "
                         : "Block Matched Failed! Matched Result Reverse because of not!");
        else
            Trace(bMatch ? "Block Matched Success!" : "Block Matched Failed!");
    }
    return block.is_not ? !bMatch : bMatch;
}

bool CRUXAgent::LineMatch(int nRule)
{
    const _tKnowledge& knowledge = Rule(nRule).knowledge;
    for (size_t g = 1; g < knowledge.grids.size(); ++g) {
        const _tGrid& grid = knowledge.grids[g];
        if (grid.blocks.size() != 1)
            return false;
        bool bFound = false;
        for (size_t p = 0; p < m_scan.tokens.size() && !bFound; ++p)
            bFound = MatchBlock(grid.blocks[0], static_cast<int>(p));
        if (!bFound)
            return false;
    }
    return true;
}
