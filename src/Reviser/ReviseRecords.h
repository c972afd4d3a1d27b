// The records the reviser passes between its steps: the visible pieces of
// a paragraph, where a finding's text lies among them, and what a revision
// did with each finding.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One piece of visible text of a paragraph. In a document a piece is the
// text of one <w:t> element; a run with a vertical alignment shows it as
// "<value>text</value>", the way the paragraph text of the document model
// does, and those tag bytes exist only in the piece (length_ignore).
struct _tSegInfo {
    static constexpr size_t NPOS = static_cast<size_t>(-1);

    std::string text;
    size_t start = 0;          // byte position of the first real byte in the document string
    size_t length_ignore = 0;  // tag bytes of text that are not in the document
    size_t prefix = 0;         // the tag bytes before the real text
    // Document pieces only: the run that holds the piece and its <w:t> element.
    size_t run_start = NPOS;
    size_t run_end = NPOS;     // after "</w:r>"
    size_t elem_start = NPOS;  // "<w:t"
    size_t elem_end = NPOS;    // after "</w:t>"

    size_t RealLength() const { return text.size() - length_ignore; }
};

// Real document bytes [begin, end) of one piece that a finding's text covers.
struct _tPieceRange {
    size_t seg = 0;
    size_t begin = 0;
    size_t end = 0;
};

// Where a finding's original text lies: its pieces, first to last, and the
// place new text goes before it.
struct _tReviseLocation {
    bool found = false;
    size_t insert_seg = 0;
    size_t insert_at = 0;
    std::vector<_tPieceRange> ranges;
};

// What one revision did, finding by finding.
struct _tReviseReport {
    size_t nFindings = 0;       // findings read from the result
    size_t nApplied = 0;        // changed the document, or needed no change
    size_t nCommented = 0;      // tracked revision: became a comment
    size_t nDocumentLevel = 0;  // concern the whole document
    size_t nParaMissing = 0;    // their paragraph is not in the document
    size_t nTextMissing = 0;    // their text is not in their paragraph
    size_t nNotApplied = 0;     // the element to change was not found
};
