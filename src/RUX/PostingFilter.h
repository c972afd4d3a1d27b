// Narrows the postings of a busy index slot (a tag such as "/n" that many
// rules name in a later grid) to those whose rule can start in the current
// paragraph: a rule whose first block lists only words can match only when
// one of those words occurs. Postings keep their stored order, so matching
// sees exactly the postings that could succeed, in the same order.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class CRUX;

class CPostingFilter {
public:
    // isTagElem: per rule-dictionary id, whether the element is a tag.
    CPostingFilter(const CRUX& set, const std::vector<int8_t>& isTagElem);

    // True when the slot's postings go through Candidates.
    bool IsFiltered(int nSlot) const { return m_mapSlots.count(nSlot) > 0; }
    // Indexes of the slot's postings that may match, ascending, given the
    // distinct word ids of the paragraph (sorted).
    void Candidates(int nSlot, const std::vector<int>& vecPresent, std::vector<int>& vecOut) const;

private:
    struct _tSlotBuckets {
        std::vector<int> vecAlways;  // first block with a tag, a negation or no word
        std::unordered_map<int, std::vector<int>> mapByWord;
    };
    std::unordered_map<int, _tSlotBuckets> m_mapSlots;
};
