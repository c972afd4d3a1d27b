// The inline markup of suggested texts ("m<superscript>2</superscript>"):
// cut into plain and tagged stretches, escaped for XML and HTML, and the
// alignment tags the document model writes around raised or lowered text.
#pragma once

#include <string>
#include <vector>

struct _tMarkupPart {
    std::string tag;   // empty for plain text
    std::string text;
};

class CMarkupText {
public:
    // Plain stretches and stretches enclosed in a tag pair "<name>..</name>"
    // (a name of ASCII letters; pairs do not nest). A tag without its
    // closing tag after it is plain text.
    static std::vector<_tMarkupPart> Split(const std::string& sText);
    // Text for the inside of an XML or HTML element: "<" and ">" escaped,
    // "&" escaped unless it starts a character or entity reference (the
    // document's own texts carry those as written), and control characters
    // XML cannot hold dropped.
    static std::string EscapeText(const std::string& sText);
    // The w:vertAlign value of a tag ("sup" and "superscript" give
    // "superscript"); "" for a tag that is no alignment.
    static std::string AlignValue(const std::string& sTag);
    // The text without the alignment tags of the document model.
    static std::string WithoutAlignTags(const std::string& sText);
};
