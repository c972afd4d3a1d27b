// The order of the headings: reads the chapter numbers (correcting headings
// that are no chapters), then walks the sections level by level under each
// chapter, checking every run of one level for a gap-free order and
// recording where each numbered heading stands for the caption checks.
#pragma once

#include <cstddef>
#include <string>

class CFormatCheckContext;

class CSectionOrderCheck {
public:
    explicit CSectionOrderCheck(CFormatCheckContext& context) : m_context(context) {}

    // Rebuilds the chapter list of the document and the section positions.
    void ScanChapter();
    // Checks every run of sections, from the first heading on.
    void CheckAllSections();
    // Checks the run of level nLevel (2..4) that starts at heading nStart
    // (an index into the heading list) under the chapter text sChapter;
    // returns the heading index at which the caller goes on.
    size_t CheckSectionOrder(size_t nStart, int nLevel, const std::string& sChapter);

private:
    int LevelAt(size_t nHeading) const;
    // The recorded number of the chapter that holds a body index, "" when none.
    std::string ChapterOf(int nBodyIndex) const;
    // True when the heading was moved to a deeper level.
    bool CorrectTooHigh(size_t nHeading, int nLevel, int nDepth, int nFormat);

    CFormatCheckContext& m_context;
};
