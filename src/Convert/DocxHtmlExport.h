// The HTML export of a parsed document, written beside it as "<name>.htm"
// in UTF-8: the page the paged rendering labels and cuts. It is built from
// the document model, one element per entry of the paragraph list, so the
// labelling walk meets exactly the elements it expects:
// - one <div class=WordSectionN> per section of the document (a section
//   with nothing to label joins the next one);
// - <h1>..<h4> for heading levels 1 to 4, "<p " for every other paragraph;
// - a table as <table><tr><td> with one "<p " per cell paragraph, and its
//   caption taken from the first row inside it;
// - pictures as <img> in the paragraph that holds them, where the model
//   text marks them; a picture whose paragraph is no entry of the list (a
//   picture alone, a text box) in a paragraph of its own;
// - text-box paragraphs, which the walk passes over, as blocks without
//   "<p ", "<h" or "<table".
// Fonts, sizes and looks of the runs come from document.xml when it is at
// hand; the text is always the model's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Convert/HtmlStyleLooks.h"

class CDocxParser;
class CExportMedia;
class CHtmlParagraphWriter;
struct _tParagraph;

class CDocxHtmlExport {
public:
    // Tells a page this export wrote from a file of the user's.
    static constexpr const char* MARKER = "veskar document export";

    explicit CDocxHtmlExport(const CDocxParser& parser);
    ~CDocxHtmlExport();
    CDocxHtmlExport(const CDocxHtmlExport&) = delete;
    CDocxHtmlExport& operator=(const CDocxHtmlExport&) = delete;

    // The page. sDocXml is document.xml as the model was read from it; it
    // may be empty. Pictures are copied beside the page as a side effect.
    std::string Build(std::string_view sDocXml);
    // Builds and writes the page: 1 written, 0 a file of that name that this
    // library did not write is in the way (left as it is), -1 write failure.
    int Write(std::string_view sDocXml);
    // Where Write puts the page.
    std::string Path() const;

private:
    void WriteHead(std::string& sOut) const;
    // Body positions at or after which a new section begins.
    std::vector<uint32_t> SectionStarts(std::string_view sDocXml) const;
    // Writes the entries that belong together from nIndex on; the next index.
    size_t WriteUnit(size_t nIndex, std::string& sOut, bool& bLabelled);
    size_t WriteFigures(size_t nIndex, std::string& sOut, bool& bLabelled);
    void WriteParagraph(const _tParagraph& para, const std::set<size_t>& setPlaced, std::string& sOut);
    bool WriteTable(size_t nTable, const std::set<size_t>& setPlaced, std::string& sOut);
    void WriteCellStart(const std::vector<_tParagraph>& cell, std::string& sOut) const;
    void WriteLoneFigures(size_t nFrom, size_t nTo, std::string& sOut);
    size_t WriteTextBoxes(size_t nIndex, std::string& sOut);
    std::string ImageTag(size_t nFigure);
    // The table a caption at nIndex stands in (its first row), or -1.
    long InTableCaptionOf(size_t nIndex) const;
    // The table that the figures [nFrom, nTo) stand in, or -1.
    long TableOfFigures(size_t nFrom, size_t nTo) const;
    bool IsHolderEntry(size_t nIndex, uint32_t nHolder) const;

    const CDocxParser& m_parser;
    std::string_view m_sXml;
    CHtmlStyleLooks m_looks;
    std::unique_ptr<CHtmlParagraphWriter> m_pWriter;
    std::unique_ptr<CExportMedia> m_pMedia;
    std::map<uint32_t, std::vector<size_t>> m_mapFiguresByHolder;
};
