// The numbering of figure and table captions, formula numbers and
// references: each caption belongs to the chapter its number names, must
// stand inside that chapter, and the captions of one chapter run 1, 2, 3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Utility/SectionFormat.h"

class CFormatCheckContext;

class CCaptionOrderCheck {
public:
    // Reads the section positions the heading scan recorded.
    explicit CCaptionOrderCheck(CFormatCheckContext& context);

    void CheckFigures();
    void CheckTables();
    void CheckFormulas();
    void CheckReferences();
    // Checks the numbers of the body paragraphs at vecIndexes (ascending)
    // as a list of the given kind (CPartOrderCheck::KIND_*).
    void CheckOrderBase(const std::vector<int>& vecIndexes, int nKind);

private:
    // A numbered heading and where the run of its chapter ends (the id of
    // the next heading of the same or a higher level).
    struct _tHead {
        uint32_t nID = 0;
        uint32_t nRunEnd = 0;
        std::string sChapter;
    };
    struct _tCaption {
        uint32_t nID = 0;
        _tSection_Info info;
        const _tHead* pHead = nullptr;
    };

    // The last heading of level nDepth before the paragraph nId, or null.
    const _tHead* Containing(int nDepth, uint32_t nId) const;
    void CheckRun(std::vector<_tCaption>& vecCaptions, size_t nFrom, size_t nTo, const std::string& sChapter,
                  int nKind);
    void WrongChapter(const _tCaption& caption, int nKind);

    CFormatCheckContext& m_context;
    std::vector<_tHead> m_vecHeads[5];  // by level 1..4, ascending ids
};
