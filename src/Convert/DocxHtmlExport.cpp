// Builds the export entry by entry. The grouping rules here (which entries
// share an element) are the ones the labelling walk follows, so the two
// must change together.
#include "Convert/DocxHtmlExport.h"

#include <algorithm>
#include <cstdio>

#include "Convert/ExportMedia.h"
#include "Convert/HtmlEscape.h"
#include "Convert/HtmlParagraphWriter.h"
#include "Docx/DocxParser.h"
#include "Docx/HtmlLabeler.h"
#include "Docx/XmlScan.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"

namespace {

constexpr uint64_t kMaxStylesBytes = UINT64_C(64) << 20;
// How far before a cell's first paragraph its cell properties may start.
constexpr size_t kCellPropsWindow = 8192;

// The document's look on screen and on paper. The pages add their own
// sheets for the panel, the pager and the marks.
// The document's look on screen and on paper: the body is the sheet, so a
// page cut out of a section looks like one too. The pages add their own
// sheets for the panel, the pager and the marks.
const char kStyleSheet[] =
    "html {background:#e9e9e9;}\r\n"
    "body {background:#fff; color:#000; width:21cm; max-width:calc(100% - 1cm); box-sizing:border-box;\r\n"
    "  margin:1cm auto; padding:2.5cm 2.8cm; box-shadow:0 1px 4px rgba(0,0,0,.25);\r\n"
    "  font-family:\"Times New Roman\",\"SimSun\",\"Songti SC\",serif; font-size:12.0pt;}\r\n"
    "div[class^=WordSection] + div[class^=WordSection] {margin-top:2cm; padding-top:1cm;\r\n"
    "  border-top:1px dashed #bbb;}\r\n"
    "p, h1, h2, h3, h4 {margin:0; white-space:pre-wrap; tab-size:4; overflow-wrap:break-word;}\r\n"
    "h1 {font-size:16.0pt; margin:12pt 0 6pt;}\r\n"
    "h2 {font-size:14.0pt; margin:10pt 0 4pt;}\r\n"
    "h3 {font-size:13.0pt; margin:8pt 0 3pt;}\r\n"
    "h4 {font-size:12.0pt; margin:6pt 0 2pt;}\r\n"
    "p.MsoCaption {text-align:center; margin:3pt 0 6pt;}\r\n"
    "p.MsoToc1, p.MsoToc2, p.MsoToc3 {text-align:justify;}\r\n"
    "p.MsoToc2 {margin-left:1em;} p.MsoToc3 {margin-left:2em;}\r\n"
    "p.MsoFigure {text-align:center; margin:6pt 0;}\r\n"
    "span.MsoFootnoteReference {vertical-align:super; font-size:smaller;}\r\n"
    "table.MsoTableGrid {border-collapse:collapse; margin:6pt auto; max-width:100%;}\r\n"
    "table.MsoTableGrid td {border:1px solid #000; padding:1pt 5.4pt; vertical-align:top;}\r\n"
    "table.MsoTableGrid td.MergedBelow {border-top:none;}\r\n"
    "img {max-width:100%; height:auto;}\r\n"
    "div.TextBox {border:1px solid #aaa; padding:4pt 6pt; margin:6pt 0;}\r\n"
    "@media print {\r\n"
    "  html {background:none;}\r\n"
    "  body {box-shadow:none; margin:0; padding:0; width:auto; max-width:none;}\r\n"
    "  div[class^=WordSection] + div[class^=WordSection] {page-break-before:always; border:none;\r\n"
    "    margin:0; padding:0;}\r\n"
    "}\r\n";

bool IsTextBox(const _tParagraph& para)
{
    return para.level == DocLevel::TXTBOX;
}

const char* ParagraphClass(int nLevel)
{
    switch (nLevel) {
    case DocLevel::TABLE_CAPTION:
    case DocLevel::FIGURE_CAPTION: return "MsoCaption";
    case DocLevel::CONTENT1: return "MsoToc1";
    case DocLevel::CONTENT2: return "MsoToc2";
    case DocLevel::CONTENT3: return "MsoToc3";
    default: return "MsoNormal";
    }
}

}  // namespace

CDocxHtmlExport::CDocxHtmlExport(const CDocxParser& parser) : m_parser(parser) {}

CDocxHtmlExport::~CDocxHtmlExport() = default;

std::string CDocxHtmlExport::Path() const
{
    return m_parser.OutputPath(".htm");
}

int CDocxHtmlExport::Write(std::string_view sDocXml)
{
    std::string sPath = Path();
    if (!MayReplaceFile(sPath, MARKER))
        return 0;
    return WriteFileAtomic(sPath, Build(sDocXml)) ? 1 : -1;
}

std::string CDocxHtmlExport::Build(std::string_view sDocXml)
{
    m_sXml = sDocXml;
    std::string sStyles;
    if (ReadWholeFile(m_parser.m_sPath + "/word/styles.xml", sStyles, kMaxStylesBytes))
        m_looks.Read(sStyles);
    m_pWriter = std::make_unique<CHtmlParagraphWriter>(m_parser.StyleSheet(), m_looks, m_sXml);
    std::string sBase = m_parser.OutputPath("");
    m_pMedia = std::make_unique<CExportMedia>(m_parser.m_sPath, sBase, LocalToUtf8(m_parser.m_sFilename));
    const std::vector<_tFigure>& vecFigures = m_parser.Model().Figures();
    m_mapFiguresByHolder.clear();
    for (size_t f = 0; f < vecFigures.size(); ++f)
        m_mapFiguresByHolder[CHtmlLabeler::FigureHolder(m_parser.Model(), f)].push_back(f);

    std::string sOut;
    WriteHead(sOut);
    sOut += "<body lang=ZH-CN>\r\n\r\n<div class=WordSection1>\r\n\r\n";
    std::vector<uint32_t> vecStarts = SectionStarts(sDocXml);
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    size_t nStart = 0;
    int nSection = 1;
    bool bLabelled = false, bBreak = false;
    uint32_t nPosition = 0;
    for (size_t i = 0; i < vecParas.size();) {
        nPosition = CHtmlLabeler::EntryPosition(m_parser.Model(), i, nPosition);
        for (; nStart < vecStarts.size() && nPosition >= vecStarts[nStart]; ++nStart)
            bBreak = true;
        // A section with nothing the walk labels joins the next one: a
        // page needs a paragraph id to be found by.
        if (bBreak && bLabelled) {
            sOut += "</div>\r\n\r\n<div class=WordSection" + std::to_string(++nSection) + ">\r\n\r\n";
            bLabelled = false;
        }
        bBreak = false;
        i = WriteUnit(i, sOut, bLabelled);
    }
    sOut += "</div>\r\n\r\n</body>\r\n\r\n</html>\r\n";
    return sOut;
}

void CDocxHtmlExport::WriteHead(std::string& sOut) const
{
    sOut += "<html>\r\n\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">\r\n";
    sOut += "<meta name=Generator content=\"";
    sOut += MARKER;
    sOut += "\">\r\n<title>" + HtmlAttrEscape(LocalToUtf8(m_parser.m_sFilename)) + "</title>\r\n";
    sOut += "<style>\r\n<!--\r\n";
    sOut += kStyleSheet;
    sOut += "-->\r\n</style>\r\n</head>\r\n\r\n";
}

std::vector<uint32_t> CDocxHtmlExport::SectionStarts(std::string_view sDocXml) const
{
    // Pages already cut (a document read back, or exported again) keep
    // their places.
    const std::vector<uint32_t>& vecPages = m_parser.Model().PageParaIDs();
    if (!vecPages.empty())
        return vecPages;
    // Otherwise a section ends with the paragraph whose properties hold its
    // w:sectPr: everything after that element is in the next one.
    std::vector<uint32_t> vecStarts;
    size_t nPos = 0;
    size_t nSect;
    while ((nSect = FindElement(sDocXml, "<w:sectPr", nPos)) != XML_NPOS) {
        vecStarts.push_back(static_cast<uint32_t>(nSect + 1));
        nPos = nSect + 9;
    }
    return vecStarts;
}

long CDocxHtmlExport::InTableCaptionOf(size_t nIndex) const
{
    return CHtmlLabeler::InTableCaptionOf(m_parser.Model(), nIndex);
}

bool CDocxHtmlExport::IsHolderEntry(size_t nIndex, uint32_t nHolder) const
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    if (nIndex >= vecParas.size())
        return false;
    const _tParagraph& para = vecParas[nIndex];
    return para.id == nHolder && !para.IsPlaceholder() && !IsTextBox(para) && InTableCaptionOf(nIndex) < 0;
}

long CDocxHtmlExport::TableOfFigures(size_t nFrom, size_t nTo) const
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    const std::vector<_tTable>& vecTables = m_parser.Model().Tables();
    if (nTo >= vecParas.size())
        return -1;
    long nTable = InTableCaptionOf(nTo);
    if (nTable < 0 && vecParas[nTo].level == DocLevel::TABLE_PLACEHOLDER && vecParas[nTo].id < vecTables.size())
        nTable = static_cast<long>(vecParas[nTo].id);
    if (nTable < 0)
        return -1;
    std::set<uint32_t> setCells;
    for (const _tRow& row : vecTables[static_cast<size_t>(nTable)].rows) {
        for (const _tCell& cell : row) {
            for (const _tParagraph& para : cell)
                setCells.insert(para.id);
        }
    }
    for (size_t i = nFrom; i < nTo; ++i) {
        if (!setCells.count(CHtmlLabeler::FigureHolder(m_parser.Model(), vecParas[i].id)))
            return -1;
    }
    return nTable;
}

size_t CDocxHtmlExport::WriteUnit(size_t nIndex, std::string& sOut, bool& bLabelled)
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    const _tParagraph& para = vecParas[nIndex];
    if (IsTextBox(para))
        return WriteTextBoxes(nIndex, sOut);
    if (para.level == DocLevel::FIGURE_PLACEHOLDER)
        return WriteFigures(nIndex, sOut, bLabelled);
    long nTable = InTableCaptionOf(nIndex);
    if (nTable >= 0) {
        bLabelled = WriteTable(static_cast<size_t>(nTable), {}, sOut) || bLabelled;
        return nIndex + 2;
    }
    if (para.level == DocLevel::TABLE_PLACEHOLDER) {
        if (para.id < m_parser.Model().Tables().size())
            bLabelled = WriteTable(para.id, {}, sOut) || bLabelled;
        return nIndex + 1;
    }
    WriteParagraph(para, {}, sOut);
    bLabelled = true;
    return nIndex + 1;
}

size_t CDocxHtmlExport::WriteFigures(size_t nIndex, std::string& sOut, bool& bLabelled)
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    const std::vector<_tFigure>& vecFigures = m_parser.Model().Figures();
    auto isFigure = [&](size_t i) {
        return i < vecParas.size() && vecParas[i].level == DocLevel::FIGURE_PLACEHOLDER &&
               vecParas[i].id < vecFigures.size();
    };
    if (!isFigure(nIndex))
        return nIndex + 1;
    uint32_t nHolder = CHtmlLabeler::FigureHolder(m_parser.Model(), vecParas[nIndex].id);
    size_t nSame = nIndex;
    std::set<size_t> setPlaced;
    while (isFigure(nSame) && CHtmlLabeler::FigureHolder(m_parser.Model(), vecParas[nSame].id) == nHolder)
        setPlaced.insert(vecParas[nSame++].id);
    // The pictures of a paragraph go into it.
    if (IsHolderEntry(nSame, nHolder)) {
        WriteParagraph(vecParas[nSame], setPlaced, sOut);
        bLabelled = true;
        return nSame + 1;
    }
    // Pictures in cells stand before their table in the list.
    size_t nAll = nSame;
    while (isFigure(nAll))
        setPlaced.insert(vecParas[nAll++].id);
    long nTable = TableOfFigures(nIndex, nAll);
    if (nTable >= 0) {
        bLabelled = WriteTable(static_cast<size_t>(nTable), setPlaced, sOut) || bLabelled;
        return nAll + (InTableCaptionOf(nAll) >= 0 ? 2 : 1);
    }
    WriteLoneFigures(nIndex, nSame, sOut);
    return nSame;
}

void CDocxHtmlExport::WriteParagraph(const _tParagraph& para, const std::set<size_t>& setPlaced, std::string& sOut)
{
    m_pWriter->Begin(para);
    std::map<size_t, std::string> mapImages;
    std::vector<size_t> vecOwn;
    auto it = m_mapFiguresByHolder.find(para.id);
    if (it != m_mapFiguresByHolder.end())
        vecOwn = it->second;
    for (size_t nFigure : vecOwn) {
        if (setPlaced.count(nFigure))
            mapImages[nFigure] = ImageTag(nFigure);
    }
    bool bHeading = para.level >= DocLevel::TITLE1 && para.level <= DocLevel::TITLE4;
    std::string sTag = bHeading ? "h" + std::to_string(para.level) : std::string("p");
    sOut += "<" + sTag;
    if (!bHeading)
        sOut += std::string(" class=") + ParagraphClass(para.level);
    std::string sStyle = m_pWriter->ElementStyle();
    if (!sStyle.empty())
        sOut += " style='" + sStyle + "'";
    sOut += ">";
    m_pWriter->WriteContent(sOut, vecOwn, mapImages);
    sOut += "</" + sTag + ">\r\n\r\n";
}

bool CDocxHtmlExport::WriteTable(size_t nTable, const std::set<size_t>& setPlaced, std::string& sOut)
{
    const _tTable& table = m_parser.Model().Tables()[nTable];
    bool bCells = false;
    sOut += "<table class=MsoTableGrid border=1 cellspacing=0 cellpadding=0>\r\n";
    for (const _tRow& row : table.rows) {
        sOut += "<tr>\r\n";
        for (const _tCell& cell : row) {
            WriteCellStart(cell, sOut);
            for (const _tParagraph& para : cell)
                WriteParagraph(para, setPlaced, sOut);
            if (cell.empty())
                sOut += "&nbsp;";
            bCells = bCells || !cell.empty();
            sOut += "</td>\r\n";
        }
        sOut += "</tr>\r\n";
    }
    sOut += "</table>\r\n\r\n";
    return bCells;
}

void CDocxHtmlExport::WriteCellStart(const std::vector<_tParagraph>& cell, std::string& sOut) const
{
    sOut += "<td";
    // Merged cells from the cell's properties, which stand right before
    // its first paragraph; a nested paragraph's id is the offset of its '<'.
    size_t nFirst = cell.empty() ? XML_NPOS : cell.front().id;
    if (nFirst >= m_sXml.size()) {
        sOut += ">\r\n";
        return;
    }
    size_t nFloor = nFirst > kCellPropsWindow ? nFirst - kCellPropsWindow : 0;
    size_t nCell = XML_NPOS;
    for (size_t nPos = nFirst; nPos > nFloor;) {
        size_t nFound = m_sXml.rfind("<w:tc", nPos - 1);
        if (nFound == std::string_view::npos || nFound < nFloor)
            break;
        if (IsElementAt(m_sXml, nFound, "<w:tc")) {
            nCell = nFound;
            break;
        }
        nPos = nFound;
    }
    if (nCell != XML_NPOS) {
        std::string sSpan, sMerge;
        GetXMLPropertyValue(m_sXml, nCell, "w:gridSpan w:val", sSpan, nFirst);
        if (ValueToInt(sSpan) > 1)
            sOut += " colspan=" + std::to_string(ValueToInt(sSpan));
        size_t nMerge = FindIn(m_sXml, "<w:vMerge", nCell, nFirst);
        if (nMerge != XML_NPOS) {
            size_t nTagEnd = FindIn(m_sXml, ">", nMerge, nFirst);
            GetXMLPropertyValue(m_sXml, nMerge, "w:val", sMerge, nTagEnd);
            if (sMerge != "restart")
                sOut += " class=MergedBelow";
        }
    }
    sOut += ">\r\n";
}

void CDocxHtmlExport::WriteLoneFigures(size_t nFrom, size_t nTo, std::string& sOut)
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    // The holder is read from document.xml for the pictures' sizes only.
    _tParagraph holder;
    holder.id = CHtmlLabeler::FigureHolder(m_parser.Model(), vecParas[nFrom].id);
    m_pWriter->Begin(holder);
    sOut += "<p class=MsoFigure>";
    for (size_t i = nFrom; i < nTo; ++i)
        sOut += ImageTag(vecParas[i].id);
    sOut += "</p>\r\n\r\n";
}

size_t CDocxHtmlExport::WriteTextBoxes(size_t nIndex, std::string& sOut)
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    sOut += "<div class=TextBox>\r\n";
    size_t i = nIndex;
    for (; i < vecParas.size() && IsTextBox(vecParas[i]); ++i) {
        const _tParagraph& para = vecParas[i];
        m_pWriter->Begin(para);
        sOut += "<div class=TextBoxLine style='" + m_pWriter->ElementStyle() + "'>";
        auto it = m_mapFiguresByHolder.find(para.id);
        m_pWriter->WriteContent(sOut, it == m_mapFiguresByHolder.end() ? std::vector<size_t>() : it->second, {});
        sOut += "</div>\r\n";
    }
    sOut += "</div>\r\n\r\n";
    return i;
}

std::string CDocxHtmlExport::ImageTag(size_t nFigure)
{
    const _tFigure& figure = m_parser.Model().Figures()[nFigure];
    std::string sUrl = m_pMedia->Place(figure.figure_file);
    std::string sTag = "<img";
    if (!sUrl.empty())
        sTag += " src=\"" + HtmlAttrEscape(sUrl) + "\"";
    double dWidth = 0, dHeight = 0;
    if (m_pWriter->ImageSize(figure.figure_id, dWidth, dHeight)) {
        char sBuf[64];
        // Points to CSS pixels.
        std::snprintf(sBuf, sizeof sBuf, " width=%d", static_cast<int>(dWidth * 4 / 3 + 0.5));
        sTag += sBuf;
    }
    // A picture that cannot be shown leaves its name; no text is added,
    // so the paragraph's text stays the model's.
    sTag += " alt=\"Figure " + std::to_string(nFigure + 1) + "\">";
    return sTag;
}
