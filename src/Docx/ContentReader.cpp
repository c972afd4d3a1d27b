// The reader walks the file once with a cursor. Values were escaped by the
// writer and are unescaped here, so a reload gives back the model's bytes.
#include "Docx/ContentReader.h"

#include <algorithm>
#include <cstdlib>

#include "Docx/DocxParser.h"
#include "Docx/XmlScan.h"
#include "Utility/XmlText.h"
#include "Utility/Log.h"

namespace {

int ReadInt(std::string_view sText, const char* sTag, size_t nFrom, size_t nLimit, int nDefault = 0)
{
    std::string sValue;
    if (GetXMLItemValue(sText, sTag, sValue, nFrom, nLimit) == XML_NPOS)
        return nDefault;
    return std::atoi(sValue.c_str());
}

uint32_t ReadHex(const std::string& sValue)
{
    return static_cast<uint32_t>(std::strtoul(sValue.c_str(), nullptr, 16));
}

// The span [open, close) of the first sOpen ... sClose at or after nFrom.
bool Section(std::string_view sText, const char* sOpen, const char* sClose, size_t nFrom,
             size_t nLimit, size_t& nStart, size_t& nEnd)
{
    nStart = FindIn(sText, sOpen, nFrom, nLimit);
    if (nStart == XML_NPOS)
        return false;
    nEnd = FindIn(sText, sClose, nStart, nLimit);
    if (nEnd == XML_NPOS)
        return false;
    return true;
}

}  // namespace

size_t CContentReader::paraInput(std::string_view sText, _tParagraph& para, size_t nFrom,
                                 size_t nLimit)
{
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<para>", "</para>", nFrom, nLimit, nStart, nEnd))
        return XML_NPOS;
    para = _tParagraph();
    std::string sValue;
    para.page_num = ReadInt(sText, "page_num", nStart, nEnd);
    GetXMLItemValue(sText, "paraId", sValue, nStart, nEnd);
    para.id = ReadHex(sValue);
    GetXMLItemValue(sText, "font", sValue, nStart, nEnd);
    para.font = XmlUnescape(sValue);
    para.font_size = ReadInt(sText, "fontSize", nStart, nEnd);
    para.line_space = ReadInt(sText, "line_space", nStart, nEnd);
    para.numPtr = ReadInt(sText, "numPtr", nStart, nEnd, -1);
    para.num_len = ReadInt(sText, "num_len", nStart, nEnd);
    para.line_rule = ReadInt(sText, "line_rule", nStart, nEnd);
    if (para.line_rule != LineRule::EXACT && para.line_rule != LineRule::AT_LEAST)
        para.line_rule = LineRule::AUTO;
    para.level = ReadInt(sText, "level", nStart, nEnd);
    GetXMLItemValue(sText, "text", sValue, nStart, nEnd);
    para.text = XmlUnescape(sValue);
    GetXMLItemValue(sText, "segment_text", sValue, nStart, nEnd);
    para.segment_txt = XmlUnescape(sValue);
    return nEnd + 7;
}

void CContentReader::ReadParaList(std::string_view sText, const char* sOpen, const char* sClose,
                                  std::vector<_tParagraph>& vecOut)
{
    vecOut.clear();
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, sOpen, sClose, 0, XML_NPOS, nStart, nEnd))
        return;
    _tParagraph para;
    size_t nPos = nStart;
    while ((nPos = paraInput(sText, para, nPos, nEnd)) != XML_NPOS)
        vecOut.push_back(para);
}

void CContentReader::ReadBodyList(std::string_view sText)
{
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<Paragraph>", "</Paragraph>", 0, XML_NPOS, nStart, nEnd))
        return;
    CDocModel& model = m_parser.EditModel();
    _tParagraph para;
    size_t nPos = nStart;
    while ((nPos = paraInput(sText, para, nPos, nEnd)) != XML_NPOS) {
        if (para.IsPlaceholder())
            model.AddPlaceholder(para);
        else
            model.AddParagraph(para);
    }
}

void CContentReader::ReadContentList(std::string_view sText)
{
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<ContentStructs>", "</ContentStructs>", 0, XML_NPOS, nStart, nEnd))
        return;
    _tParagraph para;
    size_t nPos = nStart;
    while ((nPos = paraInput(sText, para, nPos, nEnd)) != XML_NPOS) {
        _tParaIndex index;
        if (m_parser.GetParaIndex(para.id, &index) >= 0 && index.table_index < 0)
            m_parser.EditModel().EnterContentLine(index.para_index);
    }
}

size_t CContentReader::InputXMLData(std::string_view sText)
{
    CDocxParser& p = m_parser;
    std::string sValue;
    size_t nHead = FindIn(sText, "<Headers>", 0);
    GetXMLItemValue(sText, "docxPath", sValue, 0, nHead);
    p.m_sPath = XmlUnescape(sValue);
    GetXMLItemValue(sText, "docxFile", sValue, 0, nHead);
    p.m_sFilename = XmlUnescape(sValue);
    GetXMLItemValue(sText, "format", sValue, 0, nHead);
    p.m_sDocFormatExt = XmlUnescape(sValue);
    GetXMLItemValue(sText, "url_prefix", sValue, 0, nHead);
    p.m_sURLPrefix = XmlUnescape(sValue);
    std::vector<uint32_t> vecPages;
    GetXMLItemValue(sText, "pages_paraID", sValue, 0, nHead);
    for (size_t nPos = 0; nPos < sValue.size();) {
        char* pEnd = nullptr;
        unsigned long nId = std::strtoul(sValue.c_str() + nPos, &pEnd, 16);
        if (pEnd == sValue.c_str() + nPos)
            break;
        vecPages.push_back(static_cast<uint32_t>(nId));
        nPos = static_cast<size_t>(pEnd - sValue.c_str());
    }
    std::vector<int> vecFormulas;
    GetXMLItemValue(sText, "formular_index", sValue, 0, nHead);
    for (size_t nPos = 0; nPos < sValue.size();) {
        char* pEnd = nullptr;
        long nIndex = std::strtol(sValue.c_str() + nPos, &pEnd, 10);
        if (pEnd == sValue.c_str() + nPos)
            break;
        vecFormulas.push_back(static_cast<int>(nIndex));
        nPos = static_cast<size_t>(pEnd - sValue.c_str());
    }
    CDocModel& model = p.EditModel();
    model.Clear();
    model.SetPageParaIDs(std::move(vecPages));
    model.SetCharCounts(static_cast<size_t>(std::max(0, ReadInt(sText, "MultiByteCharCount", 0, nHead))),
                        static_cast<size_t>(std::max(0, ReadInt(sText, "SingleByteCharCount", 0, nHead))),
                        static_cast<size_t>(std::max(0, ReadInt(sText, "CharCount", 0, nHead))));
    std::vector<_tParagraph> vecList;
    ReadParaList(sText, "<Headers>", "</Headers>", vecList);
    model.SetHeadFooter(0, std::move(vecList));
    ReadParaList(sText, "<Footers>", "</Footers>", vecList);
    model.SetHeadFooter(1, std::move(vecList));
    ReadBodyList(sText);
    // Formula lines are body indexes, known once the body list is in.
    model.SetFormulaIndex(std::move(vecFormulas));
    ReadContentList(sText);
    figureInput(sText);
    tableInput(sText);
    return sText.size();
}

unsigned CContentReader::CaptionIndex(std::string_view sText, size_t nFrom, size_t nLimit,
                                      const char* sTag)
{
    std::string sOpen = std::string("<") + sTag + ">";
    std::string sClose = std::string("</") + sTag + ">";
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, sOpen.c_str(), sClose.c_str(), nFrom, nLimit, nStart, nEnd))
        return NO_CAPTION;
    _tParagraph caption;
    if (paraInput(sText, caption, nStart, nEnd) == XML_NPOS)
        return NO_CAPTION;
    _tParaIndex index;
    if (m_parser.GetParaIndex(caption.id, &index) < 0 || index.table_index >= 0)
        return NO_CAPTION;
    return index.para_index;
}

void CContentReader::figureInput(std::string_view sText)
{
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<Figures>", "</Figures>", 0, XML_NPOS, nStart, nEnd))
        return;
    size_t nPos = nStart, nFigure = 0, nFigureEnd = 0;
    while (Section(sText, "<figure>", "</figure>", nPos, nEnd, nFigure, nFigureEnd)) {
        _tFigure figure;
        figure.caption_index = CaptionIndex(sText, nFigure, nFigureEnd, "figureCaption");
        size_t nAfterCaption = FindIn(sText, "</figureCaption>", nFigure, nFigureEnd);
        size_t nFields = nAfterCaption == XML_NPOS ? nFigure : nAfterCaption;
        figure.para_index = static_cast<unsigned>(ReadInt(sText, "paraIndex", nFields, nFigureEnd));
        std::string sValue;
        GetXMLItemValue(sText, "figureFile", sValue, nFields, nFigureEnd);
        figure.figure_file = XmlUnescape(sValue);
        GetXMLItemValue(sText, "figureID", sValue, nFields, nFigureEnd);
        figure.figure_id = XmlUnescape(sValue);
        // The file does not keep the picture's paragraph; it follows its placeholder.
        const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
        size_t nHolder = static_cast<size_t>(figure.para_index) + 1;
        if (nHolder < vecParas.size() && !vecParas[nHolder].IsPlaceholder())
            figure.para_id = vecParas[nHolder].id;
        m_parser.EditModel().AppendLoadedFigure(figure);
        nPos = nFigureEnd + 9;
    }
}

void CContentReader::ReadTable(std::string_view sText, size_t nFrom, size_t nLimit)
{
    _tTable table;
    table.caption_index = CaptionIndex(sText, nFrom, nLimit, "tableCaption");
    size_t nAfterCaption = FindIn(sText, "</tableCaption>", nFrom, nLimit);
    size_t nFields = nAfterCaption == XML_NPOS ? nFrom : nAfterCaption;
    table.para_index = static_cast<unsigned>(ReadInt(sText, "paraIndex", nFields, nLimit));
    size_t nPos = nFields, nRow = 0, nRowEnd = 0;
    while (Section(sText, "<Row>", "</Row>", nPos, nLimit, nRow, nRowEnd)) {
        _tRow row;
        size_t nCellPos = nRow, nCol = 0, nColEnd = 0;
        while (Section(sText, "<Col>", "</Col>", nCellPos, nRowEnd, nCol, nColEnd)) {
            _tCell cell;
            _tParagraph para;
            size_t nParaPos = nCol;
            while ((nParaPos = paraInput(sText, para, nParaPos, nColEnd)) != XML_NPOS)
                cell.push_back(para);
            row.push_back(std::move(cell));
            nCellPos = nColEnd + 6;
        }
        table.rows.push_back(std::move(row));
        nPos = nRowEnd + 6;
    }
    m_parser.EditModel().AppendLoadedTable(std::move(table));
}

void CContentReader::tableInput(std::string_view sText)
{
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<Tables>", "</Tables>", 0, XML_NPOS, nStart, nEnd))
        return;
    size_t nPos = nStart, nTable = 0, nTableEnd = 0;
    while (Section(sText, "<table>", "</table>", nPos, nEnd, nTable, nTableEnd)) {
        ReadTable(sText, nTable, nTableEnd);
        nPos = nTableEnd + 8;
    }
}

int CContentReader::InputContentXML(std::string_view sText)
{
    CDocModel& model = m_parser.EditModel();
    model.ClearDocStruct();
    size_t nStart = 0, nEnd = 0;
    if (!Section(sText, "<DocStructs>", "</DocStructs>", 0, XML_NPOS, nStart, nEnd))
        return 0;
    size_t nPos = nStart, nStruct = 0, nStructEnd = 0;
    while (Section(sText, "<struct>", "</struct>", nPos, nEnd, nStruct, nStructEnd)) {
        _tParagraph para;
        _tParaIndex index;
        if (paraInput(sText, para, nStruct, nStructEnd) != XML_NPOS) {
            if (m_parser.GetParaIndex(para.id, &index) >= 0 && index.table_index < 0 &&
                index.para_index < model.Paragraphs().size()) {
                model.EnterHeading(index.para_index, model.Paragraphs()[index.para_index].level);
            } else {
                char sBuf[64];
                std::snprintf(sBuf, sizeof sBuf, "Cannot find para_id %08X", para.id);
                SetLastError(sBuf);
            }
        }
        nPos = nStructEnd + 9;
    }
    return static_cast<int>(model.DocStruct().size());
}
