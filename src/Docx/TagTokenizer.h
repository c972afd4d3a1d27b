// A forward-only walk over the tags of a range of XML text: each step gives
// one tag's name, its attribute bytes and whether it closes or is empty.
// The property readers share it, so a paragraph is read in one pass instead
// of one bounded search per property.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

struct _tTag {
    size_t nStart = 0;           // position of its '<'
    size_t nEnd = 0;             // position after its '>', or where it was cut
    std::string_view sName;      // "w:rFonts"; for "</w:r>" the "w:r"
    std::string_view sAttrs;     // from the end of the name to '>' ("/>" not included)
    bool bClosing = false;       // "</name>"
    bool bSelfClosing = false;   // "<name .../>"
    bool bComplete = false;      // ended by its own '>' inside the range

    // "<name" followed by a blank or '>': tells "<w:t>" from "<w:tab/>" and
    // from "<w:t/>", as the substring scanner's element test does.
    bool IsOpening(std::string_view sTagName) const
    {
        if (bClosing || sName != sTagName)
            return false;
        // The byte after the name is the first of the attributes, or the '>'.
        if (!sAttrs.empty())
            return sAttrs[0] == ' ' || sAttrs[0] == '\t' || sAttrs[0] == '\r' || sAttrs[0] == '\n';
        return bComplete && !bSelfClosing;
    }
    // The bytes from '<' to '>' are exactly sRaw (e.g. "</w:r>", "<w:tab/>").
    bool Is(std::string_view sText, std::string_view sRaw) const
    {
        return bComplete && nEnd - nStart == sRaw.size() &&
               std::memcmp(sText.data() + nStart, sRaw.data(), sRaw.size()) == 0;
    }
    // The value of sAttr when it is the first attribute, written after a
    // single space (`<w:sz w:val="24"/>`); bFound tells a missing one from
    // an empty one.
    std::string_view LeadingValue(std::string_view sText, std::string_view sAttr, bool& bFound) const;
    // The value of the first `sAttr="` anywhere among the attributes.
    std::string_view Value(std::string_view sText, std::string_view sAttr, bool& bFound) const;
};

class CTagTokenizer {
public:
    // Tags whose '<' lies in [nFrom, nEnd); nothing past nEnd is read.
    CTagTokenizer(std::string_view sText, size_t nFrom, size_t nEnd);

    // The next tag; false at the end of the range. Every '<' of the range
    // starts a tag: a tag with a stray '<' inside ends before it, so markup
    // in a comment is seen as a byte search would see it.
    bool Next(_tTag& tag);

private:
    std::string_view m_sText;
    size_t m_nPos;
    size_t m_nEnd;
};
