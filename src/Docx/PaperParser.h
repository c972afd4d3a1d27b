// Marks the parts of a thesis or paper in the document model: abstracts,
// keyword lines, the reference list, the acknowledgement and the author,
// major and supervisor lines. It does not read text itself: the rules of the
// report type find the parts, and a lookup hands the recogniser the values
// they found under each part's key. Parts it cannot place are listed for the
// caller, which reports them.
#pragma once

#include <functional>
#include <vector>

#include "Docx/KeyVal.h"

class CDocxParser;

// One extraction result per part of a paper; the index is -501 minus the
// part's level code.
struct _tPaperStruct {
    static constexpr int kCount = 15;
    KEY_VAL keys[kCount];
};

class CPaperParser {
public:
    // Every value the rules found under a key name, in any order.
    using ValueLookup = std::function<std::vector<_tKeyVal>(const char* sKeyName)>;

    CPaperParser(CDocxParser& docx, ValueLookup lookup);

    // The rule key of a part's level code (-501 to -515), null for others.
    static const char* KeyName(int nLevel);

    // Places every part, sets the levels of the texts after the captions,
    // the reference range, and demotes cover lines set as headings. 1.
    int PaperParse();
    // Places one part: the body index of its paragraph, which gets the
    // level; for a part found in a table cell (cover pages are often
    // tables) the index of the table's placeholder, the cell keeping its
    // level; -1 when the part is missing.
    int SetPaperElement(int nLevel);
    // Gives nLevel to the text paragraphs (level 0 or a cover-page class)
    // right after the caption at nCaptionIndex, up to the first paragraph
    // of another level. For
    // reference entries the range goes to the model. The number marked.
    int SetTextLevel(int nLevel, int nCaptionIndex);

    const _tPaperStruct& PaperStruct() const { return m_paper; }
    // Level codes of the parts not found, in the order they were asked for.
    const std::vector<int>& Missing() const { return m_vecMissing; }

private:
    // The value that places a part, or null: the first in reading order; for
    // the back matter the last in the body, else the last in a cell.
    const _tKeyVal* ChooseValue(int nLevel, const std::vector<_tKeyVal>& vecValues) const;

    CDocxParser& m_docx;
    ValueLookup m_lookup;
    _tPaperStruct m_paper;
    std::vector<int> m_vecMissing;
};
