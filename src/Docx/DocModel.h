// The records of one parsed document (paragraphs, tables, figures, headers
// and footers, contents lines, headings, page starts) and the rules they
// keep. The parsing steps change it only through the operations below, so
// the rules hold after each of them; the checks read it through the const
// queries.
//
// Rules kept after every operation:
// - Ids. A paragraph's id is the byte offset where its element starts in
//   the part it was read from (the line offset for plain text). In the body
//   list the ids of the entries that are not placeholders never fall: an
//   entry whose id is below its predecessor's is refused. Parts of one
//   paragraph cut apart by a text box share its id.
// - Placeholders. A table or figure is entered as a placeholder entry in
//   the body list (level TABLE_PLACEHOLDER or FIGURE_PLACEHOLDER, id = its
//   index in Tables() or Figures()) which the table or figure points at.
//   No operation turns a placeholder into anything else or an ordinary
//   entry into a placeholder, and a placeholder is never a heading, a
//   contents line or a formula line.
// - The paraId map. Every id of the body list and of every table cell is
//   in ParaIndexMap(); a body id maps to the first body entry with that id,
//   a cell id to its cell (a cell wins over a body entry with the same id);
//   every entry of the map points at a paragraph with its id.
// - Index lists. DocStruct(), ContentStruct() and FormulaIndex() hold body
//   list indexes, ascending and each once. PageParaIDs() is ascending.
// - Table and figure records point at their placeholders (para_index) and
//   at their caption in the body list, or NO_CAPTION.
// - Automatic numbers. The number Word draws before a paragraph of a list
//   ("2.3\t", "第一章 ") is part of its text, at its start, as a reader sees
//   it; num_len gives its length in bytes (0 without one). Offsets of
//   findings count it like any other text; whoever writes text back into
//   the document leaves those first num_len bytes out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "Docx/DocxRecords.h"

class CDocModel {
public:
    // ---- Queries -----------------------------------------------------------
    // Body paragraphs and placeholders in reading order.
    const std::vector<_tParagraph>& Paragraphs() const { return m_vecParagraph; }
    const std::map<uint32_t, _tParaIndex>& ParaIndexMap() const { return m_mapParaId2Index; }
    const std::vector<_tTable>& Tables() const { return m_vecTable; }
    const std::vector<_tFigure>& Figures() const { return m_vecFigure; }
    // [0] headers, [1] footers; their ids come from their own parts and are
    // never looked up.
    const std::vector<_tParagraph>& HeadFooter(int nKind) const { return m_vecHeadFooter[nKind != 0]; }
    const std::vector<_tParagraph>& Headers() const { return m_vecHeadFooter[0]; }
    const std::vector<_tParagraph>& Footers() const { return m_vecHeadFooter[1]; }
    // Body indexes of the headings, of the table-of-contents lines and of
    // the formula number lines.
    const std::vector<int>& DocStruct() const { return m_vecDocStruct; }
    const std::vector<int>& ContentStruct() const { return m_vecContentStruct; }
    const std::vector<int>& FormulaIndex() const { return m_vecFormulaIndex; }
    // The id of the first paragraph of each page.
    const std::vector<uint32_t>& PageParaIDs() const { return m_vecPageParaID; }
    const std::vector<int>& ChapterIds() const { return m_vecChapterId; }
    const std::vector<unsigned>& ChapterParaIndexes() const { return m_vecChapterParaIndex; }
    int ReferenceStartIndex() const { return m_nReferenceStartIndex; }
    int ReferenceEndIndex() const { return m_nReferenceEndIndex; }
    // False while the newest figure still looks for its caption.
    bool FigureCaptionFilled() const { return m_nFigureCaptionFilled != 0; }
    size_t MultiCharCount() const { return m_nMultiCharCount; }
    size_t SingleCharCount() const { return m_nSingleCharCount; }
    size_t CharCount() const { return m_nCharCount; }

    // The para_index of an id's location, -1 when unknown.
    int GetParaIndex(uint32_t nParaId, _tParaIndex* pIndex = nullptr) const;
    // The body or cell paragraph of an id, null when unknown.
    const _tParagraph* Find(uint32_t nParaId) const;

    // ---- Operations --------------------------------------------------------
    // Empties everything (headers and footers too).
    void Clear();
    // Appends a body paragraph. Refused (false): an empty text at a level of
    // 0 or more, a placeholder level, an id below the last entry's. An empty
    // heading at the end of the list is replaced by a heading of its level.
    bool AddParagraph(const _tParagraph& para);
    // Enters a figure and, at the end of the list, its placeholder: a copy of
    // holder (the paragraph being read) with the placeholder level and id.
    // The figure then looks for its caption. Its index.
    size_t AddFigure(_tFigure figure, const _tParagraph& holder);
    // Enters a table (caption_index already set) and its placeholder at the
    // end of the list, with its cell paragraphs in the map. Its index.
    size_t AddTable(_tTable table);
    // A reload: a placeholder entry as the file gives it, and the records
    // whose placeholders came with the paragraph list.
    bool AddPlaceholder(const _tParagraph& placeholder);
    void AppendLoadedFigure(const _tFigure& figure);
    void AppendLoadedTable(_tTable table);
    void SetFigureCaptionFilled(bool bFilled) { m_nFigureCaptionFilled = bFilled ? 1 : 0; }
    void SetFigureCaption(size_t nFigure, unsigned nCaptionIndex);

    // The level of a body entry. Refused (false) for a placeholder, a
    // placeholder level or an index out of range.
    bool SetLevel(size_t nIndex, int nLevel);
    // Sets the level and enters the entry in DocStruct(); refused as SetLevel.
    bool EnterHeading(size_t nIndex, int nLevel);
    // Sets CONTENT1 and enters the entry in ContentStruct().
    bool EnterContentLine(size_t nIndex);
    bool EnterFormula(size_t nIndex);
    void ClearDocStruct() { m_vecDocStruct.clear(); }
    // Every heading (level 1 to 4) listed in DocStruct() before body index
    // nIndex goes back to TEXT and leaves the list: lines of a cover page set
    // in heading styles are no chapters. The number demoted.
    size_t DemoteHeadingsBefore(size_t nIndex);

    // Joins each body entry with the next while bJoin(entry) holds and both
    // have the same level; the next one's text is appended and it leaves the
    // list. Records and index lists follow their entries (a joined entry's
    // onto the entry it joined).
    void JoinParagraphs(const std::function<bool(const _tParagraph&)>& bJoin);
    // Joins cell paragraphs the same way (any level).
    void JoinCellParagraphs(const std::function<bool(const _tParagraph&)>& bJoin);

    void AddHeadFooter(int nKind, const _tParagraph& para);
    void SetHeadFooter(int nKind, std::vector<_tParagraph> vecParas);
    // Sorted on entry.
    void SetPageParaIDs(std::vector<uint32_t> vecIds);
    // The page of each body entry (0 past the end of vecPages); a table's
    // cell paragraphs take the page of its placeholder.
    void SetPageNumbers(const std::vector<int>& vecPages);
    void SetChapters(std::vector<int> vecIds, std::vector<unsigned> vecParaIndexes);
    void SetFormulaIndex(std::vector<int> vecIndexes);
    // The body indexes of the first and last reference entry; -1 for both
    // when the document has none.
    void SetReferenceRange(int nStart, int nEnd);
    // Counts the characters of every text (see CDocxParser::DocCharStat).
    void CountChars();
    void SetCharCounts(size_t nMulti, size_t nSingle, size_t nTotal);

private:
    bool IsOrdinary(size_t nIndex) const;
    void MapBody(size_t nIndex);
    void MapCells(size_t nTable);
    void RebuildMap();
    static void InsertSorted(std::vector<int>& vecList, int nValue);

    // Names as the outputs and earlier versions know them.
    std::vector<uint32_t> m_vecPageParaID;
    std::vector<int> m_vecChapterId;
    std::vector<unsigned> m_vecChapterParaIndex;
    std::vector<_tParagraph> m_vecHeadFooter[2];
    int m_nFigureCaptionFilled = 1;
    std::map<uint32_t, _tParaIndex> m_mapParaId2Index;
    std::vector<int> m_vecDocStruct;
    std::vector<int> m_vecContentStruct;
    std::vector<_tParagraph> m_vecParagraph;
    std::vector<_tTable> m_vecTable;
    std::vector<_tFigure> m_vecFigure;
    int m_nReferenceStartIndex = 0;
    int m_nReferenceEndIndex = 0;
    std::vector<int> m_vecFormulaIndex;
    size_t m_nMultiCharCount = 0;
    size_t m_nSingleCharCount = 0;
    size_t m_nCharCount = 0;
};
