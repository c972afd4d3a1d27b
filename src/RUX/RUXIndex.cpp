// The word index: postings per word or attribute slot with back counts, and
// skip lists naming the rules contained in a posting's rule.
#include <algorithm>
#include <cstdint>

#include "RUX/RUX.h"
#include "Utility/PDAT.h"

namespace {

// Back counts saturate instead of overflowing on absurd repeat counts.
int32_t AddCount(int32_t nCount, int64_t nAdd)
{
    int64_t nSum = static_cast<int64_t>(nCount) + nAdd;
    return nSum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(nSum);
}

bool IsSubsequence(const std::vector<int>& vecShort, const std::vector<int>& vecLong)
{
    size_t i = 0;
    for (size_t j = 0; j < vecLong.size() && i < vecShort.size(); ++j)
        if (vecLong[j] == vecShort[i])
            ++i;
    return i == vecShort.size();
}

void AddOnce(std::vector<int>& vecList, int nValue)
{
    if (std::find(vecList.begin(), vecList.end(), nValue) == vecList.end())
        vecList.push_back(nValue);
}

}  // namespace

std::vector<int> CRUX::ElementSequence(int nRule) const
{
    std::vector<int> vecSeq;
    for (const _tGrid& grid : m_pRules[static_cast<size_t>(nRule)].knowledge.grids)
        for (const _tBlock& block : grid.blocks)
            for (int nId : m_pIntArray->GetValues(block.elems))
                vecSeq.push_back(nId);
    return vecSeq;
}

bool CRUX::IsPartOfRule(int a, int b) const
{
    int nCount = static_cast<int>(m_pRules.size());
    if (a == b || a < 0 || b < 0 || a >= nCount || b >= nCount)
        return false;
    const _tRule& ruleA = m_pRules[static_cast<size_t>(a)];
    const _tRule& ruleB = m_pRules[static_cast<size_t>(b)];
    if (ruleA.knowledge.grid_count > ruleB.knowledge.grid_count || ruleA.action_id != ruleB.action_id)
        return false;
    if (m_vecSequences.size() == m_pRules.size())
        return IsSubsequence(m_vecSequences[static_cast<size_t>(a)], m_vecSequences[static_cast<size_t>(b)]);
    return IsSubsequence(ElementSequence(a), ElementSequence(b));
}

void CRUX::ComputeSkipList(std::vector<_tRUXIndexData>& vecPostings, std::vector<std::vector<int>>& vecSkips) const
{
    size_t n = vecPostings.size();
    vecSkips.assign(n, std::vector<int>());
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            int ri = vecPostings[i].knowledge_index;
            int rj = vecPostings[j].knowledge_index;
            if (IsPartOfRule(ri, rj)) {
                // The containing rule moves ahead of the rule it contains.
                AddOnce(vecSkips[j], ri);
                std::swap(vecPostings[i], vecPostings[j]);
                std::swap(vecSkips[i], vecSkips[j]);
            } else if (IsPartOfRule(rj, ri)) {
                AddOnce(vecSkips[i], rj);
            }
        }
    }
}

void CRUX::Indexing()
{
    unsigned nWords = m_pDict->GetItemCount();
    unsigned nAttributes = m_pAttributeDict->GetItemCount();
    m_nIndexItemCount = nWords + nAttributes + 1;
    std::vector<std::vector<_tRUXIndexData>> vecSlots(m_nIndexItemCount);
    for (size_t r = 0; r < m_pRules.size(); ++r) {
        const _tRule& rule = m_pRules[r];
        std::vector<int> vecGridSteps = m_pIntArray->GetValues(rule.knowledge.steps);
        int32_t nBack = 0;
        for (size_t g = 0; g < rule.knowledge.grids.size(); ++g) {
            const _tGrid& grid = rule.knowledge.grids[g];
            int nGridStep = g < vecGridSteps.size() ? vecGridSteps[g] : 1;
            if (rule.action_id >= RUX_ACTION_GENERATE_TUPLE && !grid.is_selected) {
                nBack = AddCount(nBack, nGridStep);
                continue;
            }
            std::vector<int> vecRepeats = m_pIntArray->GetValues(grid.repeats);
            std::vector<int> vecSteps = m_pIntArray->GetValues(grid.steps);
            for (size_t b = 0; b < grid.blocks.size(); ++b) {
                const _tBlock& block = grid.blocks[b];
                if (!block.is_not) {
                    for (int nId : m_pIntArray->GetValues(block.elems)) {
                        size_t nSlot = nId >= 0 ? static_cast<size_t>(nId) : nWords + 1 + static_cast<size_t>(~nId);
                        _tRUXIndexData posting;
                        posting.knowledge_index = static_cast<int32_t>(r);
                        posting.grid_index = static_cast<int32_t>(g);
                        posting.block_index = static_cast<int32_t>(b);
                        posting.back_count = nBack;
                        vecSlots[nSlot].push_back(posting);
                    }
                }
                int nRepeat = b < vecRepeats.size() ? vecRepeats[b] : 1;
                nBack = AddCount(nBack, nRepeat == 0 ? 1 : nRepeat);
                int nStep = b < vecSteps.size() ? vecSteps[b] : 1;
                if (nStep > 1)
                    nBack = AddCount(nBack, nStep);
            }
            if (nGridStep > 1)
                nBack = AddCount(nBack, nGridStep);
        }
    }

    m_vecSequences.clear();
    for (size_t r = 0; r < m_pRules.size(); ++r)
        m_vecSequences.push_back(ElementSequence(static_cast<int>(r)));
    m_pIndex.assign(m_nIndexItemCount, _tRUXIndex());
    for (size_t s = 0; s < vecSlots.size(); ++s) {
        std::vector<_tRUXIndexData>& vecPostings = vecSlots[s];
        std::vector<std::vector<int>> vecSkips(vecPostings.size());
        if (vecPostings.size() > 1) {
            std::stable_sort(vecPostings.begin(), vecPostings.end(),
                             [](const _tRUXIndexData& x, const _tRUXIndexData& y) {
                                 if (x.knowledge_index != y.knowledge_index)
                                     return x.knowledge_index < y.knowledge_index;
                                 if (x.grid_index != y.grid_index)
                                     return x.grid_index < y.grid_index;
                                 return x.block_index < y.block_index;
                             });
            ComputeSkipList(vecPostings, vecSkips);
        }
        for (size_t p = 0; p < vecPostings.size(); ++p)
            vecPostings[p].skiplist = m_pIntArray->Add(vecSkips[p]);
        m_pIndex[s].df = static_cast<int32_t>(vecPostings.size());
        m_pIndex[s].pData = std::move(vecPostings);
    }
    m_vecSequences.clear();
}
