// Reads the paragraph styles of styles.xml (size, font, spacing, heading
// level, one step of inheritance) and the font and size of a text run.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

// What a run's own tags say of its font, before the paragraph style fills
// the gaps.
struct _tRunFont {
    std::string_view sSize;  // w:sz, else w:szCs; empty when neither gives one
    std::string_view sName;  // of w:rFonts: w:eastAsia, else w:ascii, else w:hAnsi
};

class CStyleReader {
public:
    // Fills the style list, the style map (styles with a font size only) and
    // the heading-level map from the text of styles.xml.
    static void ExtractStyles(std::string_view sText, std::vector<_tParagraph>& vecStyles,
                              std::map<std::string, _tParagraph>& mapStyles,
                              std::map<std::string, int>& mapLevels);

    // Size and font of a style element or of one text run in [nStart, nLimit).
    // Runs fall back to "w:szCs" for their size and, with no size at all, to
    // the paragraph style's size, font, level and numbering.
    static void ExtractFont(std::string_view sText, size_t nStart, size_t nLimit, _tParagraph& para,
                            const std::string& sStyleId, bool bStyleMode,
                            const std::map<std::string, _tParagraph>& mapStyles);

    // Sets the size and (when still unknown) the font of para from a run's
    // own values; with no size at all, the paragraph style's size, font,
    // level and numbering fill in.
    static void ApplyRunFont(const _tRunFont& font, _tParagraph& para, const std::string& sStyleId,
                             const std::map<std::string, _tParagraph>& mapStyles);

    // The font w:rFonts names in [nStart, nLimit): w:eastAsia of any of
    // them, else w:ascii, else w:hAnsi; sFont stays as it is when none has one.
    static void ReadFontName(std::string_view sText, size_t nStart, size_t nLimit,
                             std::string& sFont);

    // The heading level an outline level value gives: "0".."3" -> 1..4, else 0.
    static int OutlineLevel(std::string_view sValue);

private:
    static int LevelFromName(std::string_view sText, size_t nStart, size_t nEnd,
                             const std::string& sName);
};
