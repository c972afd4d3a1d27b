// Offsets into the scanned text are paragraph ids, so every extraction is
// done on positions of the text as read, never on a copy.
#include "Docx/BodyScanner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "Docx/DocxParser.h"
#include "Docx/ParagraphFormat.h"
#include "Docx/ParagraphTagReader.h"
#include "Docx/StyleReader.h"
#include "Docx/XmlScan.h"
#include "Utility/Blanks.h"
#include "Utility/Log.h"

namespace {

const std::string kTu = "\xE5\x9B\xBE";    // 图
const std::string kBiao = "\xE8\xA1\xA8";  // 表

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

CBodyScanner::CBodyScanner(CDocxParser& parser, std::string_view sText)
    : m_parser(parser), m_sText(sText), m_nEnd(sText.size())
{
}

void CBodyScanner::ShowProgress(size_t nPos)
{
    if (!m_bShowProgress || nPos < m_nNextProgress)
        return;
    std::printf("Struct parsing %lld/%lld\r", static_cast<long long>(nPos),
                static_cast<long long>(m_sText.size()));
    std::fflush(stdout);
    m_nNextProgress = nPos + m_sText.size() / 100 + 1;
}

void CBodyScanner::ScanBody(size_t nFrom, size_t nEnd, bool bShowProgress)
{
    // Progress goes to a terminal only: piped output stays clean, and a
    // line per element would cost more than the scan itself.
    m_bShowProgress = bShowProgress && isatty(STDOUT_FILENO);
    m_bNumbering = true;
    m_nEnd = std::min(nEnd, m_sText.size());
    size_t nPos = nFrom;
    while (nPos < m_nEnd) {
        size_t nTag = FindIn(m_sText, "<w:", nPos, m_nEnd);
        if (nTag == XML_NPOS)
            break;
        ShowProgress(nTag);
        if (IsElementAt(m_sText, nTag, "<w:p")) {
            size_t nStart = nTag + 3;
            std::vector<_tEmbedingPara> vecNested;
            size_t nParaEnd = LocateParaEnding(nStart, vecNested);
            if (vecNested.size() > 1) {
                size_t nTable = FindIn(m_sText, "<w:tbl>", nStart, nParaEnd);
                if (nTable != XML_NPOS) {
                    nPos = nTable;
                    continue;
                }
            }
            if (vecNested.empty()) {
                AddParagraph(nStart, nParaEnd, NO_ID, false);
            } else {
                // Parts of the outer paragraph around its text boxes keep its id.
                int64_t nOuterId = AddParagraph(nStart, vecNested[0].start, NO_ID, false);
                for (size_t i = 0; i < vecNested.size(); ++i) {
                    const _tEmbedingPara& nested = vecNested[i];
                    AddParagraph(nested.start, nested.ending, NO_ID, nested.is_txtbox);
                    if (i + 1 < vecNested.size() && vecNested[i + 1].start > nested.ending + 20)
                        AddParagraph(nested.ending, vecNested[i + 1].start, nOuterId, false);
                }
                if (vecNested.back().ending < nParaEnd)
                    AddParagraph(vecNested.back().ending, nParaEnd, nOuterId, false);
            }
            nPos = nParaEnd + 2;
        } else if (IsElementAt(m_sText, nTag, "<w:tbl")) {
            size_t nTableEnd = FindMatchingEnd(m_sText, "<w:tbl", "</w:tbl>", nTag + 6, m_nEnd);
            if (nTableEnd == XML_NPOS)
                break;
            ExtractTable(nTag, nTableEnd);
            nPos = nTableEnd + 2;
        } else {
            nPos = nTag + 3;
        }
    }
    if (m_bShowProgress)
        std::printf("\r\n");
}

size_t CBodyScanner::SelfClosingEnd(size_t nStart, size_t nLimit) const
{
    size_t nSlash = FindIn(m_sText, "/>", nStart, nLimit);
    if (nSlash == XML_NPOS)
        return XML_NPOS;
    size_t nNextTag = FindIn(m_sText, "<", nStart + 1, nSlash);
    return nNextTag == XML_NPOS ? nSlash : XML_NPOS;
}

size_t CBodyScanner::LocateParaEnding(size_t nStart, std::vector<_tEmbedingPara>& vecNested) const
{
    size_t nEnd = FindIn(m_sText, "</w:p>", nStart, m_nEnd);
    size_t nSelf = SelfClosingEnd(nStart, nEnd == XML_NPOS ? m_nEnd : nEnd);
    if (nSelf != XML_NPOS)
        return nSelf;
    if (nEnd == XML_NPOS)
        return m_nEnd;  // no end at all: the paragraph runs to the end of the body
    size_t nBoxStart = XML_NPOS, nBoxEnd = XML_NPOS;
    bool bBoxSearched = false;
    size_t nPos = nStart + 1;
    size_t nNested;
    while ((nNested = FindElement(m_sText, "<w:p", nPos, nEnd)) != XML_NPOS) {
        _tEmbedingPara nested;
        nested.start = nNested;
        size_t nOwnEnd = SelfClosingEnd(nNested + 4, nEnd);
        nested.ending = nOwnEnd == XML_NPOS ? nEnd : nOwnEnd;
        if (!bBoxSearched) {
            nBoxStart = FindIn(m_sText, "<w:txbxContent>", nStart, nNested);
            bBoxSearched = true;
        } else if (nBoxEnd != XML_NPOS && nBoxEnd < nNested) {
            nBoxStart = FindIn(m_sText, "<w:txbxContent>", nBoxEnd, nNested);
        }
        if (nBoxStart != XML_NPOS && (nBoxEnd == XML_NPOS || nBoxEnd < nBoxStart))
            nBoxEnd = FindIn(m_sText, "</w:txbxContent>", nBoxStart, m_nEnd);
        nested.is_txtbox = nBoxStart != XML_NPOS && nNested > nBoxStart && nBoxEnd != XML_NPOS &&
                           nested.ending < nBoxEnd;
        vecNested.push_back(nested);
        if (nOwnEnd == XML_NPOS) {
            // A self-closing nested paragraph does not consume an end tag.
            size_t nNext = FindIn(m_sText, "</w:p>", nEnd + 6, m_nEnd);
            nEnd = nNext == XML_NPOS ? m_nEnd : nNext;
        }
        nPos = nNested + 4;
    }
    return nEnd;
}

uint32_t CBodyScanner::AddParagraph(size_t nStart, size_t nEnd, int64_t nId, bool bTextBox)
{
    _tParagraph para;
    ExtractParagrah(nStart, nEnd, para, nId, bTextBox ? DocLevel::TXTBOX : 0, true);
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    if (!vecParas.empty() && vecParas.back().id == para.id)
        return para.id;
    if (m_parser.AddOnePara(para))
        SearchFigureCaption(para);
    return para.id;
}

void CBodyScanner::ExtractParagrah(size_t nStart, size_t nEnd, _tParagraph& para, int64_t nId,
                                   int nForcedLevel, bool bFigures)
{
    para.reset();
    para.text.clear();
    para.num_len = 0;
    para.id = static_cast<uint32_t>(nId == NO_ID ? static_cast<int64_t>(nStart) : nId);
    // One pass reads the paragraph's and its runs' properties; they are
    // applied here in the order the searches they replace applied them.
    _tParagraphTags tags;
    CParagraphTagReader(m_sText).Read(nStart, nEnd, tags);
    std::string sStyleId(tags.sStyle);
    CParagraphFormat format(m_parser.m_styleSheet, m_sText, sStyleId);
    format.SetLineSpace(tags, para);
    if (tags.bNumId)
        para.numPtr = ValueToInt(tags.sNumId);
    if (tags.bStyle)
        para.level = m_parser.StyleID2Level(sStyleId);
    if (para.level == 0 && tags.bOutline)
        para.level = CStyleReader::OutlineLevel(tags.sOutline);
    if (nForcedLevel != 0)
        para.level = nForcedLevel;
    std::string sNumber = ListNumber(tags, sStyleId);

    // Page references are found by one search over the paragraph, kept
    // ahead of the runs, not by one search per run.
    size_t nPageRef = FindIn(m_sText, "PAGEREF", nStart, nEnd);
    size_t nText = 0;
    for (const _tRunTags& run : tags.vecRuns)
        nText += run.sText.size() + 1;
    para.text.reserve(nText);  // the runs' texts are joined without regrowing
    // A picture on a formula line ("[picture]  (2.1)") shows the formula.
    if (bFigures && para.level == 0 && IsFormulaLine(tags))
        bFigures = false;
    for (const _tRunTags& run : tags.vecRuns) {
        if (nPageRef != XML_NPOS && nPageRef < run.nStart)
            nPageRef = FindIn(m_sText, "PAGEREF", run.nStart, nEnd);
        ExtractRun(run, nPageRef != XML_NPOS && nPageRef < run.nEnd, para, format, bFigures);
    }
    ParagraphPostProcess(para);
    // A number alone is no content: an empty numbered paragraph stays empty.
    if (!sNumber.empty() && !para.text.empty()) {
        para.text.insert(0, sNumber);
        para.num_len = static_cast<int>(sNumber.size());
    }
}

std::string CBodyScanner::ListNumber(const _tParagraphTags& tags, const std::string& sStyleId)
{
    if (!m_bNumbering)
        return std::string();
    _tParaList own;
    if (tags.bNumId)
        own.nNumId = ValueToInt(tags.sNumId);
    if (tags.bNumLevel)
        own.nLevel = ValueToInt(tags.sNumLevel);
    return m_parser.m_listNumbering.Next(own, sStyleId);
}

void CBodyScanner::InheritStyleLevel(const _tRunTags& run, _tParagraph& para,
                                     const std::string& sStyleId) const
{
    if (!run.sSize.empty() || sStyleId.empty())
        return;
    auto it = m_parser.m_mapStyleId2Style.find(sStyleId);
    if (it == m_parser.m_mapStyleId2Style.end())
        return;
    if (para.level == 0 && it->second.level >= 1)
        para.level = it->second.level;
    if (para.numPtr == 0 && it->second.numPtr >= 1)
        para.numPtr = it->second.numPtr;
}

void CBodyScanner::ExtractRun(const _tRunTags& run, bool bPageRef, _tParagraph& para,
                              CParagraphFormat& format, bool bFigures)
{
    if (bPageRef) {
        para.text += " . ";
        if (para.level == 0)
            para.level = DocLevel::CONTENT1;
    }
    if (run.bTab)
        para.text += '\t';
    if (run.bText) {
        format.AddRun(run, para);
        InheritStyleLevel(run, para, format.StyleId());
        if (run.sAlign.empty()) {
            para.text += run.sText;
        } else {
            para.text.append("<").append(run.sAlign).append(">");
            para.text += run.sText;
            para.text.append("</").append(run.sAlign).append(">");
        }
    }
    if (bFigures && run.nPicture != XML_NPOS && !IsEquationObject(run))
        AddFigure(run.nPicture, run.nEnd, para);
}

bool CBodyScanner::IsFormulaLine(const _tParagraphTags& tags)
{
    _tParagraph line;
    for (const _tRunTags& run : tags.vecRuns) {
        if (run.bTab)
            line.text += '\t';
        if (run.bText)
            line.text += run.sText;
    }
    // Chinese documents number formulas in full-width brackets too: （2.1）.
    for (const auto& pair : {std::make_pair("\xEF\xBC\x88", '('), std::make_pair("\xEF\xBC\x89", ')')}) {
        for (size_t nPos; (nPos = line.text.find(pair.first)) != std::string::npos;)
            line.text.replace(nPos, 3, 1, pair.second);
    }
    ParagraphPostProcess(line);
    return line.level == DocLevel::FORMULA_INDEX;
}

bool CBodyScanner::IsEquationObject(const _tRunTags& run) const
{
    // The picture of an embedded equation (Equation.3, Equation.DSMT4 of
    // MathType, Equation.KSEE3 of WPS) is its preview, not a figure.
    size_t nObject = FindIn(m_sText, "<w:object", run.nStart, run.nEnd);
    return nObject != XML_NPOS && FindIn(m_sText, "ProgID=\"Equation", nObject, run.nEnd) != XML_NPOS;
}

void CBodyScanner::AddFigure(size_t nPicture, size_t nRunEnd, _tParagraph& para)
{
    if (!para.text.empty() || para.level < 0)
        para.text += "(Figure " + std::to_string(m_parser.Model().Figures().size()) + ")";
    _tFigure figure;
    bool bBlip = m_sText.compare(nPicture, 6, "<a:bli") == 0;
    GetXMLPropertyValue(m_sText, nPicture, bBlip ? "r:embed" : "r:id", figure.figure_id, nRunEnd);
    if (const _tRelationInfo* pInfo = m_parser.GetResInfo(figure.figure_id))
        figure.figure_file = pInfo->file;
    figure.para_id = para.id;
    m_parser.EditModel().AddFigure(std::move(figure), para);
}

void CBodyScanner::SearchFigureCaption(_tParagraph& para)
{
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tFigure>& vecFigures = model.Figures();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    if (vecFigures.empty() || model.FigureCaptionFilled() || para.text.empty())
        return;
    size_t nTu = para.text.find(kTu);
    bool bNumbered = para.numPtr > 0 && para.level == 0 && para.id < vecFigures.back().para_id;
    if (nTu == std::string::npos && !bNumbered)
        return;
    // 图 in the middle of a sentence is a reference to a figure, not a caption;
    // so is a sentence that opens with it (如图 2-1 所示).
    bool bSentence = nTu != std::string::npos && nTu > 6 && para.text.size() - nTu - kTu.size() > 6;
    bSentence = bSentence || (nTu != std::string::npos && nTu <= 6 && para.text.size() - nTu - kTu.size() > 6 &&
                              para.text.find_first_not_of(" \t") < nTu);
    // The sentence that holds the picture itself ("... 如图2-1所示。[picture]")
    // leaves the caption to the next line.
    if (bSentence && para.id == vecFigures.back().para_id)
        return;
    model.SetFigureCaptionFilled(true);
    if (bSentence)
        return;
    size_t nCount = vecParas.size();
    bool bAfterCaption = nCount >= 2 && vecParas[nCount - 2].level == DocLevel::FIGURE_CAPTION;
    // The picture may sit in a paragraph with text of its own, right before the caption.
    bool bAfterHolder = nCount >= 2 && vecParas[nCount - 2].id == vecFigures.back().para_id &&
                        !vecParas[nCount - 2].IsPlaceholder();
    size_t nDistance = nCount - vecFigures.back().para_index;
    if (!bAfterCaption && nDistance > 2 && !(bAfterHolder && nDistance <= 3))
        return;
    para.level = DocLevel::FIGURE_CAPTION;
    model.SetLevel(nCount - 1, DocLevel::FIGURE_CAPTION);
    for (size_t f = vecFigures.size(); f-- > 0;) {
        bool bAfterBox = nCount >= 2 && vecParas[nCount - 2].level == DocLevel::TXTBOX;
        if (!bAfterBox && nCount - vecFigures[f].para_index >= 5)
            break;
        if (vecFigures[f].caption_index != NO_CAPTION)
            break;
        model.SetFigureCaption(f, static_cast<unsigned>(nCount - 1));
    }
}

void CBodyScanner::ParagraphPostProcess(_tParagraph& para)
{
    std::string& sText = para.text;
    while (!sText.empty() && IsBlank(sText.back()))
        sText.pop_back();
    size_t nLen = sText.size();
    if (para.level != 0 || nLen <= 3 || sText[nLen - 1] != ')' || !IsDigit(sText[nLen - 2]))
        return;
    size_t nOpen = sText.rfind('(');
    if (nOpen == std::string::npos || nLen - nOpen > 9 || !IsDigit(sText[nOpen + 1]))
        return;
    if (nOpen == 0 || sText[nOpen - 1] == ' ' || sText[nOpen - 1] == '\t')
        para.level = DocLevel::FORMULA_INDEX;
}

int CBodyScanner::ExtractTable(size_t nStart, size_t nEnd)
{
    _tTable table;
    size_t nPos = nStart + 6;
    size_t nRow;
    while ((nRow = FindElement(m_sText, "<w:tr", nPos, nEnd)) != XML_NPOS) {
        // Tables nested in a cell are skipped over here; their text stays in that cell.
        size_t nRowEnd = FindMatchingEnd(m_sText, "<w:tr", "</w:tr>", nRow + 5, nEnd);
        if (nRowEnd == XML_NPOS) {
            SetLastError(std::string(m_sText.substr(nRow, 599)));
            return -1;
        }
        _tRow row;
        if (ReadRow(nRow, nRowEnd, row) < 0)
            return -2;
        table.rows.push_back(std::move(row));
        nPos = nRowEnd + 7;
    }
    FindTableCaption(table);
    m_parser.EditModel().AddTable(std::move(table));
    return 1;
}

int CBodyScanner::ReadRow(size_t nRow, size_t nRowEnd, _tRow& row)
{
    size_t nPos = nRow + 5;
    size_t nCell;
    while ((nCell = FindElement(m_sText, "<w:tc", nPos, nRowEnd)) != XML_NPOS) {
        size_t nCellEnd = FindMatchingEnd(m_sText, "<w:tc", "</w:tc>", nCell + 5, nRowEnd);
        if (nCellEnd == XML_NPOS) {
            SetLastError(std::string(m_sText.substr(nCell, 599)));
            return -2;
        }
        _tCell cell;
        ReadCell(nCell, nCellEnd, cell);
        row.push_back(std::move(cell));
        nPos = nCellEnd + 7;
    }
    return 1;
}

void CBodyScanner::ReadCell(size_t nCell, size_t nCellEnd, _tCell& cell)
{
    size_t nPos = nCell;
    size_t nPara;
    while ((nPara = FindElement(m_sText, "<w:p", nPos, nCellEnd)) != XML_NPOS) {
        size_t nParaEnd = FindIn(m_sText, "</w:p>", nPara, nCellEnd);
        size_t nSelf = SelfClosingEnd(nPara + 4, nParaEnd == XML_NPOS ? nCellEnd : nParaEnd);
        if (nSelf != XML_NPOS)
            nParaEnd = nSelf;
        else if (nParaEnd == XML_NPOS)
            nParaEnd = nCellEnd;
        _tParagraph para;
        ExtractParagrah(nPara, nParaEnd, para, NO_ID, DocLevel::TABLE_COL, true);
        cell.push_back(std::move(para));
        nPos = nParaEnd + 2;
    }
}

void CBodyScanner::FindTableCaption(_tTable& table)
{
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    const std::vector<_tRow>& rows = table.rows;
    if (rows.size() > 1 && rows[0].size() == 1 && rows[0][0].size() == 1 &&
        rows[0][0][0].text.find(kBiao) != std::string::npos) {
        _tParagraph caption = rows[0][0][0];
        caption.level = DocLevel::TABLE_CAPTION;
        if (model.AddParagraph(caption))
            table.caption_index = static_cast<unsigned>(vecParas.size() - 1);
        return;
    }
    if (vecParas.empty())
        return;
    const _tParagraph& last = vecParas.back();
    if (last.level != 0 && last.level < 3)
        return;
    size_t nPos = last.text.find(kBiao);
    if (nPos == std::string::npos)
        nPos = last.text.find("Table");
    if (nPos == std::string::npos || (nPos >= 7 && last.text.size() - nPos >= 7))
        return;
    if (model.SetLevel(vecParas.size() - 1, DocLevel::TABLE_CAPTION))
        table.caption_index = static_cast<unsigned>(vecParas.size() - 1);
}
