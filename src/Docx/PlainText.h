// The text of a parsed document for a person to read: paragraphs in reading
// order, each once, with none of the model's own markings.
#pragma once

#include <string>

class CDocxParser;

class CPlainText {
public:
    // Paragraphs one per line ("\n"); a table row per line with its cells
    // separated by tabs (the paragraphs of a cell joined by a space). Left
    // out: figure placeholders, which repeat their paragraph; the copy of a
    // text box that documents carry for older readers; the "(Figure N)"
    // markers of pictures and the <superscript>/<subscript> tags of runs.
    static std::string Render(const CDocxParser& parser);
    // One paragraph text without markers and tags.
    static std::string CleanText(const std::string& sText);
};
