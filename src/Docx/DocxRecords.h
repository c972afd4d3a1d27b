// Records of the parsed document: paragraphs, tables, figures, relationships,
// and the level codes every output file and check uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Docx/LineRule.h"

// Level codes of paragraphs. The numbers are written into every output
// file, so they never change.
namespace DocLevel {
constexpr int TEXT = 0;
constexpr int TITLE1 = 1;
constexpr int TITLE2 = 2;
constexpr int TITLE3 = 3;
constexpr int TITLE4 = 4;
constexpr int CONTENT1 = 13;
constexpr int CONTENT2 = 26;
constexpr int CONTENT3 = 39;
constexpr int FIRSTPAGES = -1;  // -2 and -3 are the second and third class
constexpr int TABLE_PLACEHOLDER = -100;
constexpr int TABLE_COL = -101;
constexpr int TABLE_CAPTION = -102;
constexpr int FIGURE_PLACEHOLDER = -200;
constexpr int FIGURE_CAPTION = -201;
constexpr int TXTBOX = -202;
constexpr int HEADER = -300;
constexpr int FOOTER = -400;
constexpr int APPENDIX = -500;
constexpr int ABSTRACT_CAPTION_CN = -503;
constexpr int ABSTRACT_TEXT_CN = -504;
constexpr int ABSTRACT_KEYWORD_CN = -505;
constexpr int ABSTRACT_CAPTION_EN = -506;
constexpr int ABSTRACT_TEXT_EN = -507;
constexpr int ABSTRACT_KEYWORD_EN = -508;
constexpr int REFERENCE_CAPTION = -509;
constexpr int REFERENCE_TEXT = -510;
constexpr int ACKNOWLEDGE_CAPTION = -511;
constexpr int FORMULA_INDEX = -512;
constexpr int AUTHOR = -513;
constexpr int MAJOR = -514;
constexpr int SUPERVISOR = -515;
constexpr int NOT_FOUND = 1000;  // what the level lookup answers for an unknown id
}  // namespace DocLevel

constexpr unsigned NO_CAPTION = 0xFFFFFFFFu;


// One paragraph, cell paragraph, header/footer, style record or placeholder.
struct _tParagraph {
    uint32_t id = 0;
    // As the word processor shows them, through styles, defaults and theme:
    // the East Asian font of the first run with Chinese text, else the Latin
    // font of the first run; the w:sz (half-points) of the last text run.
    std::string font;
    int font_size = 0;  // raw w:sz, half-points
    std::string text;
    std::string segment_txt;
    int level = DocLevel::TEXT;
    int line_space = 0;  // raw w:line that applies (own, else style chain, else defaults), 240 = single
    int line_rule = LineRule::AUTO;  // how line_space is meant
    int numPtr = -1;
    int page_num = 0;
    // Bytes at the start of text that hold the paragraph's automatic list
    // number ("2.3\t"): drawn by Word, not written in the runs. Goes with
    // text, so reset leaves it alone too.
    int num_len = 0;

    // Back to the defaults; the texts stay as they are.
    void reset()
    {
        id = 0;
        font.clear();
        font_size = 0;
        level = DocLevel::TEXT;
        line_space = 0;
        line_rule = LineRule::AUTO;
        numPtr = -1;
        page_num = 0;
    }
    bool IsPlaceholder() const
    {
        return level == DocLevel::TABLE_PLACEHOLDER || level == DocLevel::FIGURE_PLACEHOLDER;
    }
};

// Levels equal; spacing, size and font equal or unknown on either side.
bool IsSameFormat(const _tParagraph& a, const _tParagraph& b);

// Where a paraId lives: in the body list (table_index -1) or in a cell.
struct _tParaIndex {
    int table_index = -1;
    int row_index = 0;
    int col_index = 0;
    unsigned para_index = 0;
};

using _tCell = std::vector<_tParagraph>;
using _tRow = std::vector<_tCell>;

struct _tTable {
    unsigned para_index = 0;               // the placeholder in the body list
    unsigned caption_index = NO_CAPTION;   // the caption in the body list
    std::vector<_tRow> rows;
};

struct _tFigure {
    unsigned para_index = 0;               // the placeholder in the body list
    uint32_t para_id = 0;                  // the paragraph holding the picture
    unsigned caption_index = NO_CAPTION;
    std::string figure_id;                 // relationship id
    std::string figure_file;               // relationship target, relative to word/
};

struct _tRelationInfo {
    std::string file;
    int type = -1;
};

// A paragraph nested in another (text boxes), as offsets into the scanned text.
struct _tEmbedingPara {
    size_t start = 0;
    size_t ending = 0;
    bool is_txtbox = false;
};
