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

private:
    static int ClassifyFirstPage(const _tParagraph& para, std::vector<_tParagraph>& vecClasses, bool& bOpen);
    void LowerHeadings(int nMinLevel);
    bool IsShortNumbered(const std::string& sText) const;
    bool FindChapterTitle(size_t nChapter);

    CDocxParser& m_parser;
};
