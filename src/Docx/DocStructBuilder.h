// Structure of a parsed document: first-page format classes, table of
// contents, heading levels and the paraId map (BuildContent); lines joined
// back into paragraphs for recognised text (RebuildParagraph); headings
// found from their numbers (ParseSection).
#pragma once

#include <map>
#include <string>

#include "Docx/DocxRecords.h"
#include "Utility/SectionFormat.h"

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
    // The caption level a text numbered as a caption takes ("图2-1 ...",
    // "表 3.1 ...", "Fig. 2", "Table 1"): FIGURE_CAPTION, TABLE_CAPTION, or 0.
    static int CaptionLevel(const std::string& sText);

private:
    static int ClassifyFirstPage(const _tParagraph& para, std::vector<_tParagraph>& vecClasses, bool& bOpen);
    void LowerHeadings(int nMinLevel);
    void MarkContentsLines();
    bool IsShortNumbered(const std::string& sText) const;
    bool FindChapterTitle(size_t nChapter);

    // Rules that keep numbered list items, captions, references and body
    // sentences of a thesis or paper from becoming headings.
    static bool IsPaperHeadingText(const _tParagraph& para, const _tSection_Info& info);
    // The last order met at each heading level and the chapter part it had;
    // a number that does not continue its level's run is a list item.
    struct _tLevelRun {
        int nOrder = -1;  // -1: the level starts again
        std::string sChapter;
        int nListOrder = -1;  // a list that went back below the run, and its last item
    };
    // Items numbered 1, 2 one right after the other, with no text between
    // them, are a list: headings have their text between them.
    bool StartsList(size_t nIndex, const _tSection_Info& info) const;
    // Takes a list that goes on from an earlier list item in mapRuns.
    static bool ContinuesRun(std::map<int, _tLevelRun>& mapRuns, int nLevel, const _tSection_Info& info);

    CDocxParser& m_parser;
};
