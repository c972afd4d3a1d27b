// Every XML line ends with CR LF; the element order is fixed because other
// programs read these files.
#include "Docx/ContentWriter.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>
#include <json/writer.h>

#include "Docx/DocxParser.h"
#include "Docx/XmlScan.h"
#include "Utility/XmlText.h"
#include "Utility/EncodingConverter.h"

namespace {

// Appends the eight upper-case hex digits of an id.
void AppendHex8(std::string& sOut, uint32_t nId)
{
    static const char kDigits[] = "0123456789ABCDEF";
    char sBuf[8];
    for (int i = 7; i >= 0; --i, nId >>= 4)
        sBuf[i] = kDigits[nId & 0xF];
    sOut.append(sBuf, 8);
}

std::string Hex8(uint32_t nId)
{
    std::string sOut;
    AppendHex8(sOut, nId);
    return sOut;
}

void AppendNumber(std::string& sOut, long long nValue)
{
    char sBuf[24];
    std::to_chars_result res = std::to_chars(sBuf, sBuf + sizeof sBuf, nValue);
    sOut.append(sBuf, static_cast<size_t>(res.ptr - sBuf));
}

// The fixed parts of a paragraph are laid out in a buffer on the stack and
// appended at once; these put a piece there and return the end.
template <size_t N>
char* Put(char* p, const char (&sText)[N])
{
    std::memcpy(p, sText, N - 1);
    return p + N - 1;
}

char* PutNumber(char* p, int nValue)
{
    return std::to_chars(p, p + 12, nValue).ptr;
}

// Elements are written straight into the file being built: no value passes
// through a string of its own.
void Open(std::string& sOut, std::string_view sTag)
{
    sOut += '<';
    sOut.append(sTag);
    sOut += '>';
}

void Close(std::string& sOut, std::string_view sTag)
{
    sOut += "</";
    sOut.append(sTag);
    sOut += ">\r\n";
}

void Element(std::string& sOut, std::string_view sTag, long long nValue)
{
    Open(sOut, sTag);
    AppendNumber(sOut, nValue);
    Close(sOut, sTag);
}

void EscapedElement(std::string& sOut, std::string_view sTag, std::string_view sValue)
{
    Open(sOut, sTag);
    XmlEscapeAppend(sOut, sValue);
    Close(sOut, sTag);
}

void AppendParaId(std::string& sOut, const _tParagraph& para)
{
    AppendHex8(sOut, para.id);
    if (para.level == DocLevel::TABLE_PLACEHOLDER)
        sOut += " Table";
    else if (para.level == DocLevel::FIGURE_PLACEHOLDER)
        sOut += " Figure ";
}

std::string ParaIdText(const _tParagraph& para)
{
    std::string sId;
    AppendParaId(sId, para);
    return sId;
}

// Room for a paragraph written by ParaOutput: its texts (escaping rarely
// adds much) and the fixed elements around them.
size_t ParaOutputSize(const _tParagraph& para)
{
    return para.text.size() + para.segment_txt.size() + para.font.size() + 256;
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
    if (nIndex == NO_CAPTION || nIndex >= m_parser.Model().Paragraphs().size())
        return nullptr;
    return &m_parser.Model().Paragraphs()[nIndex];
}

const _tParagraph* CContentWriter::PlaceholderCaption(const _tParagraph& para) const
{
    if (para.level == DocLevel::TABLE_PLACEHOLDER && para.id < m_parser.Model().Tables().size())
        return CaptionAt(m_parser.Model().Tables()[para.id].caption_index);
    if (para.level == DocLevel::FIGURE_PLACEHOLDER && para.id < m_parser.Model().Figures().size())
        return CaptionAt(m_parser.Model().Figures()[para.id].caption_index);
    return nullptr;
}

void CContentWriter::ParaOutput(std::string& sOut, const _tParagraph& para) const
{
    const _tParagraph* pText = &para;
    if (para.IsPlaceholder())
        pText = PlaceholderCaption(para);
    char sBuf[256];
    char* p = Put(sBuf, "<para>\r\n<page_num>");
    p = PutNumber(p, para.page_num);
    p = Put(p, "</page_num>\r\n<paraId>");
    sOut.append(sBuf, static_cast<size_t>(p - sBuf));
    AppendParaId(sOut, para);
    sOut += "</paraId>\r\n<font>";
    XmlEscapeAppend(sOut, para.font);
    p = Put(sBuf, "</font>\r\n<fontSize>");
    p = PutNumber(p, para.font_size);
    p = Put(p, "</fontSize>\r\n<line_space>");
    p = PutNumber(p, para.line_space);
    p = Put(p, "</line_space>\r\n<numPtr>");
    p = PutNumber(p, para.numPtr);
    p = Put(p, "</numPtr>\r\n");
    if (para.num_len > 0) {
        // Only paragraphs with an automatic number carry it, so files of
        // documents without lists keep their form.
        p = Put(p, "<num_len>");
        p = PutNumber(p, para.num_len);
        p = Put(p, "</num_len>\r\n");
    }
    if (para.line_rule != LineRule::AUTO) {
        // Likewise only spacings stated in points carry their rule.
        p = Put(p, "<line_rule>");
        p = PutNumber(p, para.line_rule);
        p = Put(p, "</line_rule>\r\n");
    }
    p = Put(p, "<level>");
    p = PutNumber(p, para.level);
    p = Put(p, "</level>\r\n<text>");
    sOut.append(sBuf, static_cast<size_t>(p - sBuf));
    if (pText)
        XmlEscapeAppend(sOut, pText->text);
    sOut += "</text>\r\n<segment_text>";
    if (pText)
        XmlEscapeAppend(sOut, pText->segment_txt);
    sOut += "</segment_text>\r\n</para>\r\n";
}

size_t CContentWriter::XMLDataSize() const
{
    const CDocModel& model = m_parser.Model();
    size_t nSize = 8192;
    for (const auto* pList : {&model.Headers(), &model.Footers(), &model.Paragraphs()}) {
        for (const _tParagraph& para : *pList)
            nSize += ParaOutputSize(para);
    }
    nSize += model.ContentStruct().size() * 1024;
    for (const _tTable& table : model.Tables()) {
        nSize += 1024;
        for (const _tRow& row : table.rows) {
            nSize += 64;
            for (const _tCell& cell : row) {
                nSize += 64;
                for (const _tParagraph& para : cell)
                    nSize += ParaOutputSize(para);
            }
        }
    }
    return nSize + model.Figures().size() * 1024 + model.PageParaIDs().size() * 9 +
           model.FormulaIndex().size() * 12;
}

std::string CContentWriter::XMLData() const
{
    const CDocxParser& p = m_parser;
    const CDocModel& model = p.Model();
    std::string sOut;
    sOut.reserve(XMLDataSize());
    sOut += XmlDeclaration();
    sOut += "<Docx>\r\n";
    EscapedElement(sOut, "docxPath", LocalToUtf8(p.m_sPath));
    EscapedElement(sOut, "docxFile", LocalToUtf8(p.m_sFilename));
    EscapedElement(sOut, "format", p.m_sDocFormatExt);
    EscapedElement(sOut, "url_prefix", p.m_sURLPrefix);
    Element(sOut, "pages_count", static_cast<long long>(model.PageParaIDs().size()));
    Open(sOut, "pages_paraID");
    for (uint32_t nId : model.PageParaIDs()) {
        AppendHex8(sOut, nId);
        sOut += ' ';
    }
    Close(sOut, "pages_paraID");
    Open(sOut, "formular_index");
    for (int nIndex : model.FormulaIndex()) {
        AppendNumber(sOut, nIndex);
        sOut += ' ';
    }
    Close(sOut, "formular_index");
    Element(sOut, "SingleByteCharCount", static_cast<long long>(model.SingleCharCount()));
    Element(sOut, "MultiByteCharCount", static_cast<long long>(model.MultiCharCount()));
    Element(sOut, "CharCount", static_cast<long long>(model.CharCount()));
    sOut += "<Headers>\r\n";
    for (const _tParagraph& para : model.Headers())
        ParaOutput(sOut, para);
    sOut += "</Headers><Footers>\r\n";
    for (const _tParagraph& para : model.Footers())
        ParaOutput(sOut, para);
    sOut += "</Footers>\r\n";
    sOut += "<ContentStructs>\r\n";
    Element(sOut, "ContentCount", static_cast<long long>(model.ContentStruct().size()));
    for (int nIndex : model.ContentStruct()) {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= model.Paragraphs().size())
            continue;
        sOut += "<content>\r\n";
        ParaOutput(sOut, model.Paragraphs()[static_cast<size_t>(nIndex)]);
        sOut += "</content>\r\n";
    }
    sOut += "</ContentStructs>\r\n";
    sOut += "<Paragraph>\r\n";
    Element(sOut, "ParaCount", static_cast<long long>(model.Paragraphs().size()));
    for (const _tParagraph& para : model.Paragraphs())
        ParaOutput(sOut, para);
    sOut += "</Paragraph>\r\n";
    TablesOutput(sOut);
    FiguresOutput(sOut);
    sOut += "</Docx>\r\n";
    return sOut;
}

void CContentWriter::TablesOutput(std::string& sOut) const
{
    const CDocModel& model = m_parser.Model();
    sOut += "<Tables>\r\n";
    Element(sOut, "TableCount", static_cast<long long>(model.Tables().size()));
    for (const _tTable& table : model.Tables()) {
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
    const CDocModel& model = m_parser.Model();
    sOut += "<Figures>\r\n";
    Element(sOut, "FigureCount", static_cast<long long>(model.Figures().size()));
    for (const _tFigure& figure : model.Figures()) {
        sOut += "<figure>\r\n<figureCaption>\r\n";
        if (const _tParagraph* pCaption = CaptionAt(figure.caption_index))
            ParaOutput(sOut, *pCaption);
        sOut += "</figureCaption>\r\n";
        Element(sOut, "paraIndex", static_cast<int>(figure.para_index));
        EscapedElement(sOut, "figureFile", figure.figure_file);
        EscapedElement(sOut, "figureID", figure.figure_id);
        sOut += "</figure>\r\n";
    }
    sOut += "</Figures>\r\n";
}

std::string CContentWriter::ContentXML() const
{
    const CDocModel& model = m_parser.Model();
    std::string sOut = "<DocStructs>\r\n";
    Element(sOut, "DocStruCount", static_cast<long long>(model.DocStruct().size()));
    for (int nIndex : model.DocStruct()) {
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= model.Paragraphs().size())
            continue;
        sOut += "<struct>\r\n";
        ParaOutput(sOut, model.Paragraphs()[static_cast<size_t>(nIndex)]);
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
    if (para.num_len > 0)
        obj["num_len"] = para.num_len;
    if (para.line_rule != LineRule::AUTO)
        obj["line_rule"] = para.line_rule;
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
    for (const _tTable& table : m_parser.Model().Tables()) {
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
                col["Paras"] = std::move(paras);
                cols.append(std::move(col));
            }
            row["Cols"] = std::move(cols);
            rows.append(std::move(row));
        }
        obj["Rows"] = std::move(rows);
        tables.append(std::move(obj));
    }
    Json::Value out(Json::objectValue);
    out["TableCount"] = static_cast<Json::UInt64>(m_parser.Model().Tables().size());
    out["Tables"] = std::move(tables);
    return out;
}

Json::Value CContentWriter::FiguresJson() const
{
    Json::Value figures(Json::arrayValue);
    for (const _tFigure& figure : m_parser.Model().Figures()) {
        Json::Value obj(Json::objectValue);
        const _tParagraph* pCaption = CaptionAt(figure.caption_index);
        obj["figureCaption"] = pCaption ? ParaOutputJson(*pCaption) : Json::Value();
        obj["paraIndex"] = static_cast<int>(figure.para_index);
        obj["figureFile"] = figure.figure_file;
        obj["figureID"] = figure.figure_id;
        figures.append(std::move(obj));
    }
    Json::Value out(Json::objectValue);
    out["FigureCount"] = static_cast<Json::UInt64>(m_parser.Model().Figures().size());
    out["Figures"] = std::move(figures);
    return out;
}

std::string CContentWriter::JsonData(bool bWithTables) const
{
    const CDocxParser& p = m_parser;
    const CDocModel& model = p.Model();
    Json::Value root(Json::objectValue);
    root["docxPath"] = LocalToUtf8(p.m_sPath);
    root["docxFile"] = LocalToUtf8(p.m_sFilename);
    root["format"] = p.m_sDocFormatExt;
    root["url_prefix"] = p.m_sURLPrefix;
    root["pages_count"] = static_cast<Json::UInt64>(model.PageParaIDs().size());
    Json::Value pages(Json::arrayValue);
    for (uint32_t nId : model.PageParaIDs())
        pages.append(Hex8(nId));
    root["pages_paraID"] = std::move(pages);
    Json::Value formulas(Json::arrayValue);
    for (int nIndex : model.FormulaIndex())
        formulas.append(nIndex);
    root["formular_index"] = std::move(formulas);
    root["SingleByteCharCount"] = static_cast<Json::UInt64>(model.SingleCharCount());
    root["MultiByteCharCount"] = static_cast<Json::UInt64>(model.MultiCharCount());
    root["CharCount"] = static_cast<Json::UInt64>(model.CharCount());
    const char* const kHeadFooter[2] = {"Headers", "Footers"};
    for (int k = 0; k < 2; ++k) {
        Json::Value list(Json::arrayValue);
        for (const _tParagraph& para : model.HeadFooter(k))
            list.append(ParaOutputJson(para));
        root[kHeadFooter[k]] = std::move(list);
    }
    Json::Value contents(Json::arrayValue);
    for (int nIndex : model.ContentStruct()) {
        if (nIndex >= 0 && static_cast<size_t>(nIndex) < model.Paragraphs().size())
            contents.append(ParaOutputJson(model.Paragraphs()[static_cast<size_t>(nIndex)]));
    }
    root["ContentCount"] = static_cast<Json::UInt64>(model.ContentStruct().size());
    root["Contents"] = std::move(contents);
    Json::Value paras(Json::arrayValue);
    for (const _tParagraph& para : model.Paragraphs())
        paras.append(ParaOutputJson(para));
    root["ParaCount"] = static_cast<Json::UInt64>(model.Paragraphs().size());
    root["Paras"] = std::move(paras);
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
    for (int nIndex : m_parser.Model().DocStruct()) {
        if (nIndex >= 0 && static_cast<size_t>(nIndex) < m_parser.Model().Paragraphs().size())
            list.append(ParaOutputJson(m_parser.Model().Paragraphs()[static_cast<size_t>(nIndex)]));
    }
    root["DocStruCount"] = static_cast<Json::UInt64>(m_parser.Model().DocStruct().size());
    root["struct"] = list;
    return WriteJson2Str(root);
}
