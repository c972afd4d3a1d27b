// Finds a paragraph by its id: in word/document.xml the id is the byte
// position where the paragraph was read, in an HTML page the element that
// carries the id as its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CParagraphAddress {
public:
    static constexpr size_t NPOS = static_cast<size_t>(-1);

    // The "<" of the paragraph an id names: the id lies three bytes past it
    // (a paragraph of the body) or on it (one in a table cell or a text
    // box). NPOS when no paragraph starts there, as in a changed document.
    static size_t DocStart(const std::string& sDoc, uint32_t nParaId);
    // The end of the paragraph starting at nStart as the reviser reads it:
    // its next "</w:p>", or the "/>" of a paragraph written empty; NPOS
    // when there is neither.
    static size_t DocEnd(const std::string& sDoc, size_t nStart);
    // The paragraph's own end tag, past any paragraphs nested in it (text
    // boxes), or the "/>" of a paragraph written empty; NPOS when missing.
    static size_t DocOwnEnd(const std::string& sDoc, size_t nStart);
    // Where a paragraph's content starts: past its start tag and its <w:pPr>.
    static size_t DocContentStart(const std::string& sDoc, size_t nStart);
    // The first paragraph of the body; NPOS when it has none.
    static size_t FirstBodyParagraph(const std::string& sDoc);
    // True when a paragraph element ("<w:p" and a blank, ">" or "/") starts at nPos.
    static bool IsParagraphTag(const std::string& sDoc, size_t nPos);

    // The page's paragraph named by the id: [nStart, nEnd) from the "<" of
    // its element to its "</p>" or "</h", whichever comes first (or the
    // end of the page). False when no element has that name.
    static bool HtmlBounds(const std::string& sPage, uint32_t nParaId, size_t& nStart, size_t& nEnd);
};
