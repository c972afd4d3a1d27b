// One paragraph as HTML. The text written is always the model's text; what
// document.xml adds is only where spans begin and end and what they say.
#include "Convert/HtmlParagraphWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "Convert/HtmlEscape.h"
#include "Docx/DocxRecords.h"
#include "Docx/ParagraphFormat.h"
#include "Docx/StyleSheet.h"
#include "Docx/TagTokenizer.h"
#include "Docx/XmlScan.h"

namespace {

constexpr double kEmuPerPoint = 12700.0;
// How far before a picture's relationship id its drawing's extent may stand.
constexpr size_t kExtentWindow = 4096;

const std::string_view kVertMarks[] = {"<superscript>", "</superscript>", "<subscript>", "</subscript>"};

size_t VertMarkAt(std::string_view sText, size_t nPos)
{
    for (std::string_view sMark : kVertMarks) {
        if (sText.compare(nPos, sMark.size(), sMark) == 0)
            return sMark.size();
    }
    return 0;
}

// A font name as a CSS family: quoted, without bytes that could end the
// declaration or the attribute.
std::string CssFamily(std::string_view sName)
{
    std::string sOut = "\"";
    for (char c : sName) {
        if (c != '"' && c != '\'' && c != ';' && c != '<' && c != '>' && c != '&' && c != '\\' &&
            static_cast<unsigned char>(c) >= 0x20)
            sOut += c;
    }
    return sOut + "\"";
}

std::string FontCss(const std::string& sFirst, const std::string& sSecond, int nHalfPoints)
{
    std::string sCss;
    if (!sFirst.empty()) {
        sCss = "font-family:" + CssFamily(sFirst);
        if (!sSecond.empty() && sSecond != sFirst)
            sCss += "," + CssFamily(sSecond);
        sCss += ";";
    }
    if (nHalfPoints > 0) {
        char sBuf[32];
        std::snprintf(sBuf, sizeof sBuf, "font-size:%.1fpt;", nHalfPoints / 2.0);
        sCss += sBuf;
    }
    return sCss;
}

bool IsOn(std::string_view sXml, const _tTag& tag)
{
    bool bFound = false;
    std::string_view sValue = tag.LeadingValue(sXml, "w:val", bFound);
    return !bFound || !(sValue == "0" || sValue == "false" || sValue == "off" || sValue == "none");
}

// Word's highlight names that CSS knows by another name or not at all.
std::string HighlightColor(std::string_view sName)
{
    if (sName == "darkYellow")
        return "olive";
    if (sName == "lightGray")
        return "lightgray";
    if (sName == "darkGray")
        return "darkgray";
    std::string sOut;
    for (char c : sName) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            return std::string();
        sOut += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return sOut == "none" ? std::string() : sOut;
}

bool IsHexColor(std::string_view sValue)
{
    return sValue.size() == 6 && sValue.find_first_not_of("0123456789ABCDEFabcdef") == std::string_view::npos;
}

// "width:120.5pt" inside a VML style value.
double StyleLength(std::string_view sStyle, std::string_view sName)
{
    size_t nPos = sStyle.find(sName);
    if (nPos == std::string_view::npos)
        return 0;
    std::string sNumber(sStyle.substr(nPos + sName.size(), 16));
    char* pEnd = nullptr;
    double dValue = std::strtod(sNumber.c_str(), &pEnd);
    return pEnd && std::string_view(pEnd).substr(0, 2) == "pt" ? dValue : 0;
}

}  // namespace

CHtmlParagraphWriter::CHtmlParagraphWriter(const CStyleSheet& sheet, const CHtmlStyleLooks& looks,
                                           std::string_view sDocXml)
    : m_sheet(sheet), m_looks(looks), m_sXml(sDocXml)
{
}

void CHtmlParagraphWriter::Begin(const _tParagraph& para)
{
    m_pPara = &para;
    m_nStart = std::string_view::npos;
    m_tags = _tParagraphTags();
    m_look = m_looks.Look("");
    // A body paragraph's id is the offset of the "p" of "<w:p", a nested
    // one's the offset of its '<'.
    size_t nId = para.id;
    size_t nStart = std::string_view::npos;
    if (nId < m_sXml.size() && IsElementAt(m_sXml, nId, "<w:p"))
        nStart = nId;
    else if (nId >= 3 && nId - 3 < m_sXml.size() && IsElementAt(m_sXml, nId - 3, "<w:p"))
        nStart = nId - 3;
    if (nStart == std::string_view::npos)
        return;
    size_t nEnd = FindIn(m_sXml, "</w:p>", nStart + 4);
    if (nEnd == XML_NPOS)
        nEnd = m_sXml.size();
    size_t nNested = FindElement(m_sXml, "<w:p", nStart + 4, nEnd);
    if (nNested != XML_NPOS)
        nEnd = nNested;
    m_nStart = nStart;
    m_nEnd = nEnd;
    CParagraphTagReader(m_sXml).Read(nStart, nEnd, m_tags);
    m_look = m_looks.Look(std::string(m_tags.sStyle));
    size_t nFirstRun = m_tags.vecRuns.empty() ? nEnd : m_tags.vecRuns[0].nStart;
    size_t nPPr = FindElement(m_sXml, "<w:pPr", nStart, nFirstRun);
    if (nPPr != XML_NPOS) {
        _tParaLook own;
        _tParaLook::ReadProperties(m_sXml, nPPr, nFirstRun, own);
        m_look.Overlay(own);
    }
}

std::string CHtmlParagraphWriter::ElementStyle() const
{
    std::string sCss = m_look.Css();
    int nLine = m_pPara ? m_pPara->line_space : 0;
    std::string sRule;
    if (m_nStart != std::string_view::npos) {
        _tLineProps own;
        if (m_tags.bLine)
            own.nLine = ValueToInt(m_tags.sLine);
        own.sLineRule = std::string(m_tags.sLineRule);
        _tLineProps line = m_sheet.ResolveLine(std::string(m_tags.sStyle), own);
        if (line.nLine > 0)
            nLine = line.nLine;
        sRule = line.sLineRule;
    }
    char sBuf[48] = "";
    if (nLine > 0 && (sRule == "exact" || sRule == "atLeast"))
        std::snprintf(sBuf, sizeof sBuf, "line-height:%.1fpt;", nLine / 20.0);
    else if (nLine > 0 && nLine < 2400)
        // A word processor's single line is about 1.25 times the font size.
        std::snprintf(sBuf, sizeof sBuf, "line-height:%d%%;", nLine * 125 / 240);
    sCss += sBuf;
    if (m_pPara && m_pPara->font_size > 0)
        sCss += FontCss(std::string(), std::string(), m_pPara->font_size);
    return sCss;
}

bool CHtmlParagraphWriter::ImageSize(const std::string& sRelationId, double& dWidth, double& dHeight) const
{
    dWidth = dHeight = 0;
    if (m_nStart == std::string_view::npos || sRelationId.empty())
        return false;
    size_t nRef = FindIn(m_sXml, "=\"" + sRelationId + "\"", m_nStart, m_nEnd);
    if (nRef == XML_NPOS)
        return false;
    size_t nFloor = std::max(m_nStart, nRef > kExtentWindow ? nRef - kExtentWindow : 0);
    std::string_view sBefore = m_sXml.substr(nFloor, nRef - nFloor);
    size_t nExtent = sBefore.rfind("<wp:extent ");
    std::string sValue;
    if (nExtent != std::string_view::npos) {
        size_t nTag = nFloor + nExtent;
        size_t nTagEnd = FindIn(m_sXml, ">", nTag, nRef);
        GetXMLPropertyValue(m_sXml, nTag, "cx", sValue, nTagEnd);
        dWidth = std::atof(sValue.c_str()) / kEmuPerPoint;
        GetXMLPropertyValue(m_sXml, nTag, "cy", sValue, nTagEnd);
        dHeight = std::atof(sValue.c_str()) / kEmuPerPoint;
    } else if ((nExtent = sBefore.rfind("<v:shape ")) != std::string_view::npos) {
        size_t nTag = nFloor + nExtent;
        GetXMLPropertyValue(m_sXml, nTag, "style", sValue, FindIn(m_sXml, ">", nTag, nRef));
        dWidth = StyleLength(sValue, "width:");
        dHeight = StyleLength(sValue, "height:");
    }
    return dWidth > 0 && dHeight > 0;
}

std::string CHtmlParagraphWriter::BaseStyle() const
{
    return FontCss(m_pPara->font, std::string(), m_pPara->font_size);
}

std::string CHtmlParagraphWriter::RunStyle(const _tRunTags& run) const
{
    _tRunProps own;
    CStyleSheet::ReadRunProps(m_sXml, run.nStart, run.nEnd, own);
    _tRunFormat format = m_sheet.ResolveRun(std::string(m_tags.sStyle), std::string(run.sRStyle), own);
    // Chinese text is drawn in the East Asian font, the rest in the Latin
    // one; the other stays in the list for the characters it covers.
    bool bEastAsian = CParagraphFormat::HasEastAsianText(run.sText);
    std::string sFirst = format.sFonts[bEastAsian ? FONT_EAST_ASIA : FONT_ASCII];
    std::string sSecond = format.sFonts[bEastAsian ? FONT_ASCII : FONT_EAST_ASIA];
    if (sFirst.empty())
        sFirst.swap(sSecond);
    if (sFirst.empty())
        sFirst = m_pPara->font;
    return FontCss(sFirst, sSecond, format.nSize > 0 ? format.nSize : m_pPara->font_size) + RunLook(run);
}

std::string CHtmlParagraphWriter::RunLook(const _tRunTags& run) const
{
    std::string sCss;
    CTagTokenizer tokenizer(m_sXml, run.nStart, run.nEnd);
    _tTag tag;
    bool bFound = false;
    while (tokenizer.Next(tag)) {
        // The properties end at the text; a w:rPrChange holds old ones.
        if (tag.IsOpening("w:t") || tag.sName == "w:rPrChange" || (tag.bClosing && tag.sName == "w:rPr"))
            break;
        if (tag.bClosing)
            continue;
        if (tag.sName == "w:b")
            sCss += IsOn(m_sXml, tag) ? "font-weight:bold;" : "font-weight:normal;";
        else if (tag.sName == "w:i")
            sCss += IsOn(m_sXml, tag) ? "font-style:italic;" : "font-style:normal;";
        else if (tag.sName == "w:u" && IsOn(m_sXml, tag))
            sCss += "text-decoration:underline;";
        else if ((tag.sName == "w:strike" || tag.sName == "w:dstrike") && IsOn(m_sXml, tag))
            sCss += "text-decoration:line-through;";
        else if (tag.sName == "w:color") {
            std::string_view sValue = tag.LeadingValue(m_sXml, "w:val", bFound);
            if (IsHexColor(sValue))
                sCss += "color:#" + std::string(sValue) + ";";
        } else if (tag.sName == "w:highlight") {
            std::string sColor = HighlightColor(tag.LeadingValue(m_sXml, "w:val", bFound));
            if (!sColor.empty())
                sCss += "background:" + sColor + ";";
        }
    }
    return sCss;
}

void CHtmlParagraphWriter::FindMarks(const std::vector<size_t>& vecFigures, std::vector<_tPiece>& vecMarks) const
{
    const std::string& sText = m_pPara->text;
    size_t nFrom = 0;
    for (size_t nFigure : vecFigures) {
        std::string sMark = "(Figure " + std::to_string(nFigure) + ")";
        size_t nPos = sText.find(sMark, nFrom);
        if (nPos == std::string::npos)
            continue;
        _tPiece mark;
        mark.nStart = nPos;
        mark.nEnd = nPos + sMark.size();
        mark.nRun = MARK;
        mark.nFigure = nFigure;
        vecMarks.push_back(mark);
        nFrom = mark.nEnd;
    }
}

void CHtmlParagraphWriter::FindRuns(const std::vector<_tPiece>& vecMarks, std::vector<_tPiece>& vecRuns) const
{
    if (m_nStart == std::string_view::npos)
        return;
    const std::string& sText = m_pPara->text;
    size_t nCursor = 0;
    for (size_t i = 0; i < m_tags.vecRuns.size(); ++i) {
        const _tRunTags& run = m_tags.vecRuns[i];
        if (!run.bText || run.sText.empty())
            continue;
        std::string sWanted(run.sText);
        size_t nLead = 0;
        if (!run.sAlign.empty()) {
            sWanted = "<" + std::string(run.sAlign) + ">" + sWanted + "</" + std::string(run.sAlign) + ">";
            nLead = run.sAlign.size() + 2;
        }
        size_t nFrom = nCursor;
        size_t nPos;
        while ((nPos = sText.find(sWanted, nFrom)) != std::string::npos) {
            // A match that overlaps a figure mark is not the run's text.
            auto it = std::find_if(vecMarks.begin(), vecMarks.end(),
                                   [&](const _tPiece& mark) { return mark.nEnd > nPos; });
            if (it == vecMarks.end() || it->nStart >= nPos + sWanted.size())
                break;
            nFrom = it->nEnd;
        }
        if (nPos == std::string::npos)
            continue;
        _tPiece piece;
        piece.nStart = nPos + nLead;
        piece.nEnd = piece.nStart + run.sText.size();
        piece.nRun = static_cast<int>(i);
        vecRuns.push_back(piece);
        nCursor = nPos + sWanted.size();
    }
}

void CHtmlParagraphWriter::WriteSpan(std::string& sOut, size_t nStart, size_t nEnd, const std::string& sStyle) const
{
    // The superscript and subscript marks stay outside the spans, so the
    // elements always nest.
    std::string_view sText(m_pPara->text);
    size_t nPos = nStart;
    while (nPos < nEnd) {
        size_t nMark = nPos;
        size_t nMarkLen = 0;
        while (nMark < nEnd && !(sText[nMark] == '<' && (nMarkLen = VertMarkAt(sText, nMark)) != 0))
            ++nMark;
        if (nMark > nPos) {
            if (sStyle.empty()) {
                AppendHtmlText(sOut, sText.substr(nPos, nMark - nPos));
            } else {
                sOut += "<span style='" + sStyle + "'>";
                AppendHtmlText(sOut, sText.substr(nPos, nMark - nPos));
                sOut += "</span>";
            }
        }
        if (nMark >= nEnd)
            break;
        size_t nMarkEnd = std::min(nEnd, nMark + nMarkLen);
        AppendHtmlText(sOut, sText.substr(nMark, nMarkEnd - nMark));
        nPos = nMarkEnd;
    }
}

const std::string& CHtmlParagraphWriter::StyleOf(const _tPiece& piece) const
{
    std::string& sStyle = m_vecStyles[static_cast<size_t>(piece.nRun)];
    if (sStyle.empty())
        sStyle = RunStyle(m_tags.vecRuns[static_cast<size_t>(piece.nRun)]);
    return sStyle;
}

void CHtmlParagraphWriter::WritePieces(const std::vector<_tPiece>& vecPieces,
                                       const std::map<size_t, std::string>& mapImages, std::string& sOut) const
{
    const std::string& sText = m_pPara->text;
    std::string sBase = BaseStyle();
    size_t nPos = 0;
    for (size_t i = 0; i < vecPieces.size(); ++i) {
        const _tPiece& piece = vecPieces[i];
        if (piece.nStart < nPos)
            continue;
        if (piece.nStart > nPos)
            WriteSpan(sOut, nPos, piece.nStart, sBase);
        if (piece.nRun == MARK) {
            auto it = mapImages.find(piece.nFigure);
            if (it != mapImages.end())
                sOut += it->second;
            nPos = piece.nEnd;
            continue;
        }
        // Neighbouring runs that look the same share one span.
        const std::string& sStyle = StyleOf(piece);
        size_t nEnd = piece.nEnd;
        while (i + 1 < vecPieces.size() && vecPieces[i + 1].nRun >= 0 && vecPieces[i + 1].nStart == nEnd &&
               StyleOf(vecPieces[i + 1]) == sStyle)
            nEnd = vecPieces[++i].nEnd;
        WriteSpan(sOut, piece.nStart, nEnd, sStyle);
        nPos = nEnd;
    }
    if (nPos < sText.size())
        WriteSpan(sOut, nPos, sText.size(), sBase);
}

void CHtmlParagraphWriter::WriteContent(std::string& sOut, const std::vector<size_t>& vecFigures,
                                        const std::map<size_t, std::string>& mapImages) const
{
    if (!m_pPara)
        return;
    std::vector<_tPiece> vecMarks;
    FindMarks(vecFigures, vecMarks);
    // Pictures without a mark stood before any text.
    for (const auto& image : mapImages) {
        if (std::none_of(vecMarks.begin(), vecMarks.end(),
                         [&](const _tPiece& mark) { return mark.nFigure == image.first; }))
            sOut += image.second;
    }
    std::vector<_tPiece> vecPieces = vecMarks;
    FindRuns(vecMarks, vecPieces);
    std::sort(vecPieces.begin(), vecPieces.end(),
              [](const _tPiece& a, const _tPiece& b) { return a.nStart < b.nStart; });
    m_vecStyles.assign(m_tags.vecRuns.size(), std::string());
    WritePieces(vecPieces, mapImages, sOut);
    if (m_pPara->text.empty() && mapImages.empty())
        sOut += "&nbsp;";
}
