// Buckets of busy index slots by the words a rule's first block needs.
#include "RUX/PostingFilter.h"

#include <algorithm>

#include "RUX/RUX.h"

namespace {

// Slots with fewer postings are tried as they are: filtering would cost more.
const size_t kBusySlot = 16;

}  // namespace

CPostingFilter::CPostingFilter(const CRUX& set, const std::vector<int8_t>& isTagElem)
{
    const std::vector<_tRUXIndex>& vecIndex = set.GetIndex();
    const std::vector<_tRule>& vecRules = set.GetRules();
    const CIntArray& pool = set.GetIntArray();
    for (size_t s = 0; s < vecIndex.size(); ++s) {
        const std::vector<_tRUXIndexData>& vecPostings = vecIndex[s].pData;
        if (vecPostings.size() < kBusySlot)
            continue;
        _tSlotBuckets& buckets = m_mapSlots[static_cast<int>(s)];
        for (size_t k = 0; k < vecPostings.size(); ++k) {
            int nRule = vecPostings[k].knowledge_index;
            bool bWordsOnly = false;
            std::vector<int> vecWords;
            if (nRule >= 0 && static_cast<size_t>(nRule) < vecRules.size()) {
                const _tKnowledge& knowledge = vecRules[static_cast<size_t>(nRule)].knowledge;
                if (!knowledge.grids.empty() && !knowledge.grids[0].blocks.empty() &&
                    !knowledge.grids[0].blocks[0].is_not) {
                    vecWords = pool.GetValues(knowledge.grids[0].blocks[0].elems);
                    bWordsOnly = !vecWords.empty();
                    for (int nId : vecWords)
                        if (nId < 0 || static_cast<size_t>(nId) >= isTagElem.size() || isTagElem[static_cast<size_t>(nId)])
                            bWordsOnly = false;
                }
            }
            if (!bWordsOnly) {
                buckets.vecAlways.push_back(static_cast<int>(k));
                continue;
            }
            for (int nId : vecWords)
                buckets.mapByWord[nId].push_back(static_cast<int>(k));
        }
    }
}

void CPostingFilter::Candidates(int nSlot, const std::vector<int>& vecPresent, std::vector<int>& vecOut) const
{
    vecOut.clear();
    auto it = m_mapSlots.find(nSlot);
    if (it == m_mapSlots.end())
        return;
    const _tSlotBuckets& buckets = it->second;
    vecOut = buckets.vecAlways;
    for (int nId : vecPresent) {
        auto word = buckets.mapByWord.find(nId);
        if (word != buckets.mapByWord.end())
            vecOut.insert(vecOut.end(), word->second.begin(), word->second.end());
    }
    std::sort(vecOut.begin(), vecOut.end());
    vecOut.erase(std::unique(vecOut.begin(), vecOut.end()), vecOut.end());
}
