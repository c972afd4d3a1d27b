// Every XML line ends with CR LF; the element order is fixed because other
// programs read these files.
#include "Docx/ContentWriter.h"

#include <cstdio>
#include <json/writer.h>

#include "Docx/DocxParser.h"
#include "Docx/XmlScan.h"
#include "Utility/XmlText.h"
#include "Utility/EncodingConverter.h"

namespace {

std::string Hex8(uint32_t nId)
{
    char sBuf[16];
    std::snprintf(sBuf, sizeof sBuf, "%08X", nId);
    return sBuf;
}

std::string ParaIdText(const _tParagraph& para)
{
    std::string sId = Hex8(para.id);
    if (para.level == DocLevel::TABLE_PLACEHOLDER)
        sId += " Table";
    else if (para.level == DocLevel::FIGURE_PLACEHOLDER)
        sId += " Figure ";
    return sId;
}

void Element(std::string& sOut, const char* sTag, const std::string& sValue)
{
    sOut += '<';
    sOut += sTag;
    sOut += '>';
    sOut += sValue;
    sOut += "</";
    sOut += sTag;
    sOut += ">\r\n";
}

void Element(std::string& sOut, const char* sTag, long long nValue)
{
    Element(sOut, sTag, std::to_string(nValue));
}

}  // namespace

const char* CContentWriter::XmlDeclaration()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
}

std::string CContentWriter::WriteJson2Str(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "\t";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

const _tParagraph* CContentWriter::CaptionAt(unsigned nIndex) const
{
    if (nIndex == NO_CAPTION || nIndex >= m_parser.m_vecParagraph.size())
        return nullptr;
    return &m_parser.m_vecParagraph[nIndex];
}

const _tParagraph* CContentWriter::PlaceholderCaption(const _tParagraph& para) const
{
    if (para.level == DocLevel::TABLE_PLACEHOLDER && para.id < m_parser.m_vecTable.size())
        return CaptionAt(m_parser.m_vecTable[para.id].caption_index);
    if (para.level == DocLevel::FIGURE_PLACEHOLDER && para.id < m_parser.m_vecFigure.size())
        return CaptionAt(m_parser.m_vecFigure[para.id].caption_index);
    return nullptr;
}

void CContentWriter::ParaOutput(std::string& sOut, const _tParagraph& para) const
{
    const _tParagraph* pText = &para;
    if (para.IsPlaceholder())
        pText = PlaceholderCaption(para);
    sOut += "<para>\r\n";
    Element(sOut, "page_num", para.page_num);
    Element(sOut, "paraId", ParaIdText(para));
    Element(sOut, "font", XmlEscape(para.font));
    Element(sOut, "fontSize", para.font_size);
    Element(sOut, "line_space", para.line_space);
    Element(sOut, "numPtr", para.numPtr);
    Element(sOut, "level", para.level);
    Element(sOut, "text", pText ? XmlEscape(pText->text) : std::string());
    Element(sOut, "segment_text", pText ? XmlEscape(pText->segment_txt) : std::string());
    sOut += "</para>\r\n";
}

std::string CContentWriter::XMLData() const
{
    const CDocxParser& p = m_parser;
    std::string sOut;
    sOut.reserve(p.m_vecParagraph.size() * 256 + 4096);
    sOut += XmlDeclaration();
    sOut += "<Docx>\r\n";
    Element(sOut, "docxPath", XmlEscape(LocalToUtf8(p.m_sPath)));
    Element(sOut, "docxFile", XmlEscape(LocalToUtf8(p.m_sFilename)));
    Element(sOut, "format", XmlEscape(p.m_sDocFormatExt));
    Element(sOut, "url_prefix", XmlEscape(p.m_sURLPrefix));
    Element(sOut, "pages_count", static_cast<long long>(p.m_vecPageParaID.size()));
    std::string sList;
    for (uint32_t nId : p.m_vecPageParaID)
        sList += Hex8(nId) + " ";
    Element(sOut, "pages_paraID", sList);
    sList.clear();
    for (int nIndex : p.m_vecFormulaIndex)
        sList += std::to_string(nIndex) + " ";
    Element(sOut, "formular_index", sList);
    Element(sOut, "SingleByteCharCount", static_cast<long long>(p.m_nSingleCharCount));
    Element(sOut, "MultiByteCharCount", static_cast<long long>(p.m_nMultiCharCount));
    Element(sOut, "CharCount", static_cast<long long>(p.m_nCharCount));
    sOut += "<Headers>\r\n";
    for (const _tParagraph& para : p.m_vecHeadFooter[0])
        ParaOutput(sOut, para);
    sOut += "</Headers><Footers>\r\n";
    for (const _tParagraph& para : p.m_vecHeadFooter[1])
        ParaOutput(sOut, para);
    sOut += "</Footers>\r\n";
    sOut += "<ContentStructs>\r\n";
    Element(sOut, "ContentCount", static_cast<long long>(p.m_vecContentStruct.size()));
    for (int nIndex : p.m_vecContentStruct) {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= p.m_vecParagraph.size())
            continue;
        sOut += "<content>\r\n";
        ParaOutput(sOut, p.m_vecParagraph[static_cast<size_t>(nIndex)]);
        sOut += "</content>\r\n";
    }
    sOut += "</ContentStructs>\r\n";
    sOut += "<Paragraph>\r\n";
    Element(sOut, "ParaCount", static_cast<long long>(p.m_vecParagraph.size()));
    for (const _tParagraph& para : p.m_vecParagraph)
        ParaOutput(sOut, para);
    sOut += "</Paragraph>\r\n";
    TablesOutput(sOut);
    FiguresOutput(sOut);
    sOut += "</Docx>\r\n";
    return sOut;
}

void CContentWriter::TablesOutput(std::string& sOut) const
{
    const CDocxParser& p = m_parser;
    sOut += "<Tables>\r\n";
    Element(sOut, "TableCount", static_cast<long long>(p.m_vecTable.size()));
    for (const _tTable& table : p.m_vecTable) {
        sOut += "<table>\r\n<tableCaption>\r\n";
        if (const _tParagraph* pCaption = CaptionAt(table.caption_index))
            ParaOutput(sOut, *pCaption);
        sOut += "</tableCaption>\r\n";
        Element(sOut, "paraIndex", static_cast<int>(table.para_index));
        Element(sOut, "tableRowCount", static_cast<long long>(table.rows.size()));
        for (size_t r = 0; r < table.rows.size(); ++r) {
            sOut += "<Row>\r\n";
            Element(sOut, "index", static_cast<long long>(r + 1));
            for (size_t c = 0; c < table.rows[r].size(); ++c) {
                sOut += "<Col>\r\n";
                Element(sOut, "index", static_cast<long long>(c + 1));
                for (const _tParagraph& para : table.rows[r][c])
                    ParaOutput(sOut, para);
                sOut += "</Col>\r\n";
            }
            sOut += "</Row>\r\n";
        }
        sOut += "</table>\r\n";
    }
    sOut += "</Tables>\r\n";
}

void CContentWriter::FiguresOutput(std::string& sOut) const
{
    const CDocxParser& p = m_parser;
    sOut += "<Figures>\r\n";
    Element(sOut, "FigureCount", static_cast<long long>(p.m_vecFigure.size()));
    for (const _tFigure& figure : p.m_vecFigure) {
        sOut += "<figure>\r\n<figureCaption>\r\n";
        if (const _tParagraph* pCaption = CaptionAt(figure.caption_index))
            ParaOutput(sOut, *pCaption);
        sOut += "</figureCaption>\r\n";
        Element(sOut, "paraIndex", static_cast<int>(figure.para_index));
        Element(sOut, "figureFile", XmlEscape(figure.figure_file));
        Element(sOut, "figureID", XmlEscape(figure.figure_id));
        sOut += "</figure>\r\n";
    }
    sOut += "</Figures>\r\n";
}

std::string CContentWriter::ContentXML() const
{
    const CDocxParser& p = m_parser;
    std::string sOut = "<DocStructs>\r\n";
    Element(sOut, "DocStruCount", static_cast<long long>(p.m_vecDocStruct.size()));
    for (int nIndex : p.m_vecDocStruct) {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= p.m_vecParagraph.size())
            continue;
        sOut += "<struct>\r\n";
        ParaOutput(sOut, p.m_vecParagraph[static_cast<size_t>(nIndex)]);
        sOut += "</struct>\r\n";
    }
    sOut += "</DocStructs>\r\n";
    return sOut;
}

Json::Value CContentWriter::ParaOutputJson(const _tParagraph& para) const
{
    Json::Value obj(Json::objectValue);
    obj["page_num"] = para.page_num;
    obj["paraId"] = ParaIdText(para);
    if (!para.font.empty())
        obj["font"] = para.font;
    obj["fontSize"] = para.font_size;
    obj["line_space"] = para.line_space;
    obj["numPtr"] = para.numPtr;
    obj["level"] = para.level;
    if (!para.IsPlaceholder()) {
        obj["text"] = para.text;
        obj["segment_txt"] = para.segment_txt;
    } else if (const _tParagraph* pCaption = PlaceholderCaption(para)) {
        if (!pCaption->text.empty()) {
            obj["text"] = pCaption->text;
            obj["segment_txt"] = pCaption->segment_txt;
        }
    }
    return obj;
}

Json::Value CContentWriter::TablesJson() const
{
    Json::Value tables(Json::arrayValue);
    for (const _tTable& table : m_parser.m_vecTable) {
        Json::Value obj(Json::objectValue);
        const _tParagraph* pCaption = CaptionAt(table.caption_index);
        obj["tableCaption"] = pCaption ? ParaOutputJson(*pCaption) : Json::Value();
        obj["paraIndex"] = static_cast<int>(table.para_index);
        obj["tableRowCount"] = static_cast<Json::UInt64>(table.rows.size());
        Json::Value rows(Json::arrayValue);
        for (size_t r = 0; r < table.rows.size(); ++r) {
            Json::Value row(Json::objectValue);
            row["index"] = static_cast<Json::UInt64>(r + 1);
            Json::Value cols(Json::arrayValue);
            for (size_t c = 0; c < table.rows[r].size(); ++c) {
                Json::Value col(Json::objectValue);
                col["index"] = static_cast<Json::UInt64>(c + 1);
                Json::Value paras(Json::arrayValue);
                for (const _tParagraph& para : table.rows[r][c])
                    paras.append(ParaOutputJson(para));
                col["Paras"] = paras;
                cols.append(col);
            }
            row["Cols"] = cols;
            rows.append(row);
        }
        obj["Rows"] = rows;
        tables.append(obj);
    }
    Json::Value out(Json::objectValue);
    out["TableCount"] = static_cast<Json::UInt64>(m_parser.m_vecTable.size());
    out["Tables"] = tables;
    return out;
}

Json::Value CContentWriter::FiguresJson() const
{
    Json::Value figures(Json::arrayValue);
    for (const _tFigure& figure : m_parser.m_vecFigure) {
        Json::Value obj(Json::objectValue);
        const _tParagraph* pCaption = CaptionAt(figure.caption_index);
        obj["figureCaption"] = pCaption ? ParaOutputJson(*pCaption) : Json::Value();
        obj["paraIndex"] = static_cast<int>(figure.para_index);
        obj["figureFile"] = figure.figure_file;
        obj["figureID"] = figure.figure_id;
        figures.append(obj);
    }
    Json::Value out(Json::objectValue);
    out["FigureCount"] = static_cast<Json::UInt64>(m_parser.m_vecFigure.size());
    out["Figures"] = figures;
    return out;
}

std::string CContentWriter::JsonData(bool bWithTables) const
{
    const CDocxParser& p = m_parser;
    Json::Value root(Json::objectValue);
    root["docxPath"] = LocalToUtf8(p.m_sPath);
    root["docxFile"] = LocalToUtf8(p.m_sFilename);
    root["format"] = p.m_sDocFormatExt;
    root["url_prefix"] = p.m_sURLPrefix;
    root["pages_count"] = static_cast<Json::UInt64>(p.m_vecPageParaID.size());
    Json::Value pages(Json::arrayValue);
    for (uint32_t nId : p.m_vecPageParaID)
        pages.append(Hex8(nId));
    root["pages_paraID"] = pages;
    Json::Value formulas(Json::arrayValue);
    for (int nIndex : p.m_vecFormulaIndex)
        formulas.append(nIndex);
    root["formular_index"] = formulas;
    root["SingleByteCharCount"] = static_cast<Json::UInt64>(p.m_nSingleCharCount);
    root["MultiByteCharCount"] = static_cast<Json::UInt64>(p.m_nMultiCharCount);
    root["CharCount"] = static_cast<Json::UInt64>(p.m_nCharCount);
    const char* const kHeadFooter[2] = {"Headers", "Footers"};
    for (int k = 0; k < 2; ++k) {
        Json::Value list(Json::arrayValue);
        for (const _tParagraph& para : p.m_vecHeadFooter[k])
            list.append(ParaOutputJson(para));
        root[kHeadFooter[k]] = list;
    }
    Json::Value contents(Json::arrayValue);
    for (int nIndex : p.m_vecContentStruct) {
        if (nIndex >= 0 && static_cast<size_t>(nIndex) < p.m_vecParagraph.size())
            contents.append(ParaOutputJson(p.m_vecParagraph[static_cast<size_t>(nIndex)]));
    }
    root["ContentCount"] = static_cast<Json::UInt64>(p.m_vecContentStruct.size());
    root["Contents"] = contents;
    Json::Value paras(Json::arrayValue);
    for (const _tParagraph& para : p.m_vecParagraph)
        paras.append(ParaOutputJson(para));
    root["ParaCount"] = static_cast<Json::UInt64>(p.m_vecParagraph.size());
    root["Paras"] = paras;
    if (bWithTables) {
        root["Tables"] = TablesJson();
        root["Figures"] = FiguresJson();
    }
    return WriteJson2Str(root);
}

std::string CContentWriter::ContentJson() const
{
    Json::Value root(Json::objectValue);
    Json::Value list(Json::arrayValue);
    for (int nIndex : m_parser.m_vecDocStruct) {
        if (nIndex >= 0 && static_cast<size_t>(nIndex) < m_parser.m_vecParagraph.size())
            list.append(ParaOutputJson(m_parser.m_vecParagraph[static_cast<size_t>(nIndex)]));
    }
    root["DocStruCount"] = static_cast<Json::UInt64>(m_parser.m_vecDocStruct.size());
    root["struct"] = list;
    return WriteJson2Str(root);
}
