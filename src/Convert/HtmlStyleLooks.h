// How paragraphs look on an HTML page: alignment, indents, spacing and
// boldness, from a paragraph's own properties over those of its style chain
// in styles.xml. The document model keeps none of these (the checks need
// fonts, sizes and line spacing only), so the HTML export reads them here.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

struct _tParaLook {
    std::string sJc;  // w:jc as written; empty: not stated
    std::optional<int> firstLineChars, firstLine, hangingChars, hanging, leftChars, left, before, after;
    std::optional<bool> bold;  // the style's run properties

    // What upper states replaces what this states.
    void Overlay(const _tParaLook& upper);
    // The w:pPr properties (w:jc, w:ind, w:spacing) of [nFrom, nTo); the
    // first of each tag counts, so a w:pPrChange after them is not read.
    static void ReadProperties(std::string_view sXml, size_t nFrom, size_t nTo, _tParaLook& look);
    // CSS declarations ("text-align:center;text-indent:2em;").
    std::string Css() const;
};

class CHtmlStyleLooks {
public:
    // The paragraph styles and defaults of a styles.xml text.
    void Read(std::string_view sStylesXml);
    // The look a style gives with its basedOn chain and the defaults; an
    // empty or unknown id gives the default paragraph style's.
    const _tParaLook& Look(const std::string& sStyleId) const;

private:
    struct _tStyle {
        std::string sBasedOn;
        _tParaLook look;
    };
    void ReadStyle(std::string_view sXml, size_t nStart, size_t nEnd);
    _tParaLook Resolve(const std::string& sStyleId) const;

    _tParaLook m_defaults;
    std::string m_sDefaultStyle;
    std::map<std::string, _tStyle> m_mapStyles;
    std::map<std::string, _tParaLook> m_mapResolved;
};
