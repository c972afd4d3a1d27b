// Reads the paragraph styles of styles.xml into style records: heading
// level, numbering, and the font, size and line spacing the style sheet
// gives them.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

class CStyleSheet;

class CStyleReader {
public:
    // Fills the style list, the style map and the heading-level map from the
    // text of styles.xml. A style is listed when it or the style it is based
    // on states a size, and inherits the level and numbering of that base
    // when it states no size of its own: the paragraph levels rest on this.
    // Font, size and line spacing of a record are what sheet resolves.
    static void ExtractStyles(std::string_view sText, const CStyleSheet& sheet,
                              std::vector<_tParagraph>& vecStyles,
                              std::map<std::string, _tParagraph>& mapStyles,
                              std::map<std::string, int>& mapLevels);

    // The heading level an outline level value gives: "0".."3" -> 1..4, else 0.
    static int OutlineLevel(std::string_view sValue);

    // The font a paragraph in this style shows: East Asian, else ASCII,
    // else high-ANSI.
    static std::string StyleFont(const std::string* pFonts);

private:
    static int LevelFromName(std::string_view sText, size_t nStart, size_t nEnd,
                             const std::string& sName);
    static void ApplySheet(const CStyleSheet& sheet, const std::string& sId, _tParagraph& style);
};
