// Labels the HTML export of a document with the paragraph ids of its model.
// The walk goes through the export's paragraph-like elements ("<p ",
// "<h1>".."<h6>", "<table") and the paragraph list in step: each paragraph
// element gets the id of its entry, each cell paragraph of a table the id
// of its cell paragraph, each picture of an element the name of its figure.
// Text-box paragraphs have no element of their own and are passed over.
// The labels are what the reviser finds paragraphs by and what pages are
// cut at, so the label text is fixed: three blanks, name="%08X", a blank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

class CDocModel;

class CHtmlLabeler {
public:
    CHtmlLabeler(const CDocModel& model, bool bShowProgress);

    // sHtml with the labels inserted; the walk starts at nFrom (after the
    // body start tag).
    std::string Label(std::string_view sHtml, size_t nFrom);
    // Where the walk stopped in the paragraph list and the table list.
    size_t ParaCursor() const { return m_nPara; }
    size_t TableCursor() const { return m_nTable; }

    // The next paragraph-like element at or after nFrom, or npos.
    static size_t GetParaStart(std::string_view sHtml, size_t nFrom);
    // The position after the end tag of the element at nStart ("</p>",
    // "</hN>", the matching "</table>"); the end of the text without one.
    static size_t GetParaEnd(std::string_view sHtml, size_t nStart);
    // "   name=\"%08X\" ".
    static std::string ParaLabel(uint32_t nId);
    // Inserts sPrefix (with a '/' added unless it ends in '/' or '\') right
    // after every `src="` that follows a blank, CR or LF. Nothing for "".
    static void InsertUrlPrefix(std::string& sHtml, std::string sPrefix);
    // The table whose caption, taken from its first row, is the list entry
    // nIndex; -1 when the entry is no such caption. The export writes such
    // a caption inside the table, so the walk meets it there.
    static long InTableCaptionOf(const CDocModel& model, size_t nIndex);
    // Where list entry nIndex stands in the document: its id, a figure's
    // paragraph, a table's first cell paragraph (nPrevious for a table
    // without cells or a record that is missing).
    static uint32_t EntryPosition(const CDocModel& model, size_t nIndex, uint32_t nPrevious);
    // The id of the paragraph that holds a picture, 0 when none is known. A
    // model read back from its document file has lost it; then it is the
    // paragraph (or cell paragraph of the table) right after the picture's
    // placeholders that carries its mark "(Figure n)".
    static uint32_t FigureHolder(const CDocModel& model, size_t nFigure);

private:
    struct _tInsert {
        size_t nPos;
        std::string sText;
    };

    void Step(size_t nStart, size_t nEnd);
    void StepTable(size_t nStart, size_t nEnd);
    void StepParagraph(size_t nStart, size_t nEnd);
    bool IsFigureAt(size_t nIndex) const;
    bool IsHolderAt(size_t nIndex, uint32_t nHolder) const;
    void LabelFigure(uint32_t nFigure, size_t& nImgFrom, size_t nEnd);
    void SetParaId(size_t nStart, uint32_t nId);
    void SetTable(size_t nStart, size_t nEnd, const _tTable& table);
    size_t SkipTextBoxes(size_t nIndex) const;
    // Copies the text up to nUpTo with the pending labels in place.
    void Flush(size_t nUpTo);
    void ShowProgress(size_t nPos);

    const CDocModel& m_model;
    bool m_bShowProgress;
    size_t m_nNextProgress = 0;
    std::string_view m_sHtml;
    std::string m_sOut;
    size_t m_nCopied = 0;
    std::vector<_tInsert> m_vecInserts;
    size_t m_nPara = 0;
    size_t m_nTable = 0;
};
