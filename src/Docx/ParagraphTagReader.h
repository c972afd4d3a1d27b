// Reads a paragraph's properties and its runs' properties in one pass over
// its tags. Each value is the one the first matching tag of the range
// gives, as the per-property searches it replaces found them; the caller
// applies them in document order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/XmlScan.h"

struct _tTag;

// One run: "<w:r" (or "<m:r") up to its first "</w:r>" ("</m:r>"), or up
// to the end of the range when that is missing.
struct _tRunTags {
    size_t nStart = 0;
    size_t nEnd = 0;
    bool bMath = false;
    bool bTab = false;             // holds "<w:tab/>"
    std::string_view sAlign;       // w:vertAlign ("superscript", "subscript")
    bool bText = false;            // its first <w:t> (<m:t>) holds text
    std::string_view sText;        // that text, as written
    std::string_view sSize;        // w:sz, else w:szCs
    bool bSz = false;              // w:sz alone: the size Chinese and Latin text show
    std::string_view sSz;
    std::string_view sRStyle;      // w:rStyle, the run's character style
    size_t nFontTag = XML_NPOS;    // its first "<w:rFonts " (read only when wanted)
    int nFontTags = 0;
    size_t nPicture = XML_NPOS;    // first "<v:imagedata r:id" or "<a:blip r:embed"
};

struct _tParagraphTags {
    bool bLine = false;            // w:line of w:spacing
    std::string_view sLine;
    std::string_view sLineRule;    // w:lineRule of that w:spacing
    bool bNumId = false;
    std::string_view sNumId;
    bool bNumLevel = false;        // w:ilvl of w:numPr
    std::string_view sNumLevel;
    bool bStyle = false;
    std::string_view sStyle;
    bool bOutline = false;
    std::string_view sOutline;
    std::vector<_tRunTags> vecRuns;
};

class CParagraphTagReader {
public:
    explicit CParagraphTagReader(std::string_view sText);

    // The properties and runs of [nStart, nEnd).
    void Read(size_t nStart, size_t nEnd, _tParagraphTags& tags);

    enum class EName;  // the tag names a property comes from

private:
    // What a run collects while its tags go by.
    struct _tRunState {
        bool bOpen = false;
        bool bSz = false;
        bool bSzCs = false;
        bool bAlign = false;
        bool bRStyle = false;
        std::string_view sSz;
        std::string_view sSzCs;
        size_t nTextTag = XML_NPOS;    // its first <w:t>
        size_t nTextOpenEnd = XML_NPOS;
        size_t nTextClose = XML_NPOS;
        bool bAwaitClose = false;      // the tag after <w:t> may be its end
        bool bSearchText = false;      // text not found the short way
    };

    void ParagraphTag(EName eName, const _tTag& tag, _tParagraphTags& tags) const;
    void RunTag(EName eName, const _tTag& tag, _tRunTags& run, _tRunState& state) const;
    void FinishRun(size_t nEnd, _tRunTags& run, _tRunState& state) const;

    std::string_view m_sText;
};
