// The one-pass scanner of word/document.xml (and of header and footer
// parts): paragraphs, text boxes, runs, math runs, superscripts, pictures
// with their placeholders and captions, and tables with their captions.
// It works on the raw text with bounded substring searches and always moves
// forward, so no input can make it loop or read past its text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

class CDocxParser;
class CParagraphFormat;
struct _tRunTags;
struct _tParagraphTags;

class CBodyScanner {
public:
    // No id given: the paragraph's id is the offset of its start.
    static constexpr int64_t NO_ID = -1;

    CBodyScanner(CDocxParser& parser, std::string_view sText);

    // Scans [nFrom, nEnd) of the text (the inside of <w:body>).
    void ScanBody(size_t nFrom, size_t nEnd, bool bShowProgress);

    // The end of the paragraph starting at nStart (the position of its "</w:p>"
    // or of its own "/>") and the paragraphs nested in it.
    size_t LocateParaEnding(size_t nStart, std::vector<_tEmbedingPara>& vecNested) const;
    // Extracts [nStart, nEnd) and offers it to the paragraph list; its id.
    uint32_t AddParagraph(size_t nStart, size_t nEnd, int64_t nId, bool bTextBox);
    // Properties and runs of [nStart, nEnd). A non-zero nForcedLevel replaces
    // the level the properties give. Pictures become figures when bFigures.
    void ExtractParagrah(size_t nStart, size_t nEnd, _tParagraph& para, int64_t nId,
                         int nForcedLevel, bool bFigures);
    // The table [nStart, nEnd): 1, -1 for a row without its end, -2 for a cell
    // without its end (the table is dropped).
    int ExtractTable(size_t nStart, size_t nEnd);

    // Cuts trailing blanks and marks a formula number line "... (3)".
    static void ParagraphPostProcess(_tParagraph& para);

private:
    // The automatic list number drawn before the paragraph (counted even
    // when the paragraph turns out empty, as Word counts it).
    std::string ListNumber(const _tParagraphTags& tags, const std::string& sStyleId);
    void ExtractRun(const _tRunTags& run, bool bPageRef, _tParagraph& para,
                    CParagraphFormat& format, bool bFigures);
    // A text run that states no size takes the level and numbering of a
    // listed paragraph style, as heading detection has always had it.
    void InheritStyleLevel(const _tRunTags& run, _tParagraph& para, const std::string& sStyleId) const;
    // The runs end like a formula number line ("... (2.1)").
    static bool IsFormulaLine(const _tParagraphTags& tags);
    bool IsEquationObject(const _tRunTags& run) const;
    void AddFigure(size_t nPicture, size_t nRunEnd, _tParagraph& para);
    void SearchFigureCaption(_tParagraph& para);
    int ReadRow(size_t nRow, size_t nRowEnd, _tRow& row);
    void ReadCell(size_t nCell, size_t nCellEnd, _tCell& cell);
    void FindTableCaption(_tTable& table);
    size_t SelfClosingEnd(size_t nStart, size_t nLimit) const;
    void ShowProgress(size_t nPos);

    CDocxParser& m_parser;
    std::string_view m_sText;
    size_t m_nEnd;
    bool m_bNumbering = false;  // body paragraphs count the document's lists
    bool m_bShowProgress = false;
    size_t m_nNextProgress = 0;
};
