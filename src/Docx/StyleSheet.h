// The run and paragraph properties of styles.xml as a word processor
// applies them: document defaults, then the paragraph style with its whole
// basedOn chain, then the run's character style with its chain, then the
// run's own properties; theme font names resolve through the theme. Gives
// the font slots and size of a run and the line spacing of a paragraph.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "Docx/ThemeFonts.h"

struct _tTag;

// The font slots of w:rFonts that Chinese and Latin text are set in.
enum EFontSlot { FONT_ASCII = 0, FONT_EAST_ASIA = 1, FONT_HANSI = 2, FONT_SLOTS = 3 };

// One slot as one level of properties states it: a font, a theme font, or
// (both empty) nothing, so the level below shows through.
struct _tFontChoice {
    std::string sName;
    std::string sTheme;
    bool Stated() const { return !sName.empty() || !sTheme.empty(); }
};

// Run properties of one level (defaults, a style, a run); 0 and empty mean
// "not stated here".
struct _tRunProps {
    _tFontChoice fonts[FONT_SLOTS];
    int nSize = 0;  // w:sz, half-points
    // The stated parts of upper replace those of this.
    void Overlay(const _tRunProps& upper);
};

// Line spacing of one level: w:line and w:lineRule of w:spacing, each
// inherited on its own.
struct _tLineProps {
    int nLine = 0;          // 0: not stated
    std::string sLineRule;  // "auto" (240ths of a line), "exact", "atLeast" (twips)
    void Overlay(const _tLineProps& upper);
};

// What a run shows: a font per slot and its size.
struct _tRunFormat {
    std::string sFonts[FONT_SLOTS];
    int nSize = 0;  // half-points; 0 when nothing states one
};

class CStyleSheet {
public:
    // Reads w:docDefaults and every w:style of the text of styles.xml.
    void ReadStyles(std::string_view sStylesXml);
    // The theme's fonts; sLanguage is w:themeFontLang's w:eastAsia of
    // settings.xml (may be empty).
    void ReadTheme(std::string_view sThemeXml, std::string_view sLanguage);
    void Clear();

    // A run of a paragraph in style sParaStyle (empty: the default paragraph
    // style) with character style sRunStyle (empty: the default one) and its
    // own properties.
    _tRunFormat ResolveRun(const std::string& sParaStyle, const std::string& sRunStyle,
                           const _tRunProps& own) const;
    // The line spacing of a paragraph in style sParaStyle with its own.
    _tLineProps ResolveLine(const std::string& sParaStyle, const _tLineProps& own) const;

    // The properties a style's chain (defaults below a paragraph style)
    // gives; null for an unknown id.
    const _tRunProps* StyleRun(const std::string& sStyleId) const;

    // The run properties of w:rFonts and w:sz in [nStart, nEnd): the first
    // of each tag counts.
    static void ReadRunProps(std::string_view sText, size_t nStart, size_t nEnd, _tRunProps& props);
    // The slots one w:rFonts tag states; a theme font and a named one in
    // the same slot are both kept, and the theme wins when it resolves.
    static void ReadFontTag(std::string_view sText, const _tTag& tag, _tRunProps& props);
    // The first w:spacing in [nStart, nEnd) with w:line or w:lineRule.
    static void ReadLineProps(std::string_view sText, size_t nStart, size_t nEnd, _tLineProps& props);

private:
    struct _tStyleDef {
        bool bParagraph = false;
        std::string sBasedOn;
        _tRunProps run;
        _tLineProps line;
    };
    struct _tMerged {
        _tRunProps run;
        _tLineProps line;
    };

    void ReadStyle(std::string_view sText, size_t nStart, size_t nEnd);
    // Folds each style's chain from its root down; a chain that comes back
    // on itself or runs deeper than any real one stops there.
    void MergeChains();
    const _tMerged& ParagraphStyle(const std::string& sStyleId) const;
    const std::string& SlotFont(const _tFontChoice& choice) const;

    _tMerged m_defaults;
    std::map<std::string, _tStyleDef> m_mapStyles;
    std::map<std::string, _tMerged> m_mapMerged;  // chains folded, defaults under paragraph styles
    std::string m_sDefaultParagraph;
    std::string m_sDefaultCharacter;
    CThemeFonts m_theme;
};
