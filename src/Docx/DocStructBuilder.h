// Structure of a parsed document: first-page format classes, table of
// contents, heading levels and the paraId map (BuildContent); lines joined
// back into paragraphs for recognised text (RebuildParagraph); headings
// found from their numbers (ParseSection).
#pragma once

#include <string>

#include "Docx/DocxRecords.h"

class CDocxParser;

class CDocStructBuilder {
public:
    explicit CDocStructBuilder(CDocxParser& parser) : m_parser(parser) {}

    void BuildContent();
    void RebuildParagraph();
    int ParseSection();

    // Ends like a finished sentence or clause: ; . : ) or 。：！；）.
    static bool IsCompleteParagraph(const std::string& sText);
    // A line of a table of contents or of a list of figures or tables: a
    // text, a leader (a tab, three dots or more, or the page-reference
    // mark) and a page number at the end, which goes to nPage (-1 for a
    // Roman one).
    static bool IsContentsLine(const std::string& sText, int& nPage);

private:
    static int ClassifyFirstPage(const _tParagraph& para, std::vector<_tParagraph>& vecClasses, bool& bOpen);
    void LowerHeadings(int nMinLevel);
    void MarkContentsLines();
    bool IsShortNumbered(const std::string& sText) const;
    bool FindChapterTitle(size_t nChapter);

    CDocxParser& m_parser;
};
