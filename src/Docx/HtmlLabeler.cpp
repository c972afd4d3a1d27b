// The labelling walk. Labels are gathered per element and written in one
// forward copy, so a large export costs one pass however many labels it
// takes. Tag names are matched without regard to case; comments, scripts
// and style sheets are passed over.
#include "Docx/HtmlLabeler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "Docx/DocModel.h"

namespace {

constexpr size_t npos = std::string_view::npos;

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NameAt(std::string_view s, size_t nPos, std::string_view sName)
{
    if (nPos + sName.size() > s.size())
        return false;
    for (size_t i = 0; i < sName.size(); ++i) {
        if (Lower(s[nPos + i]) != sName[i])
            return false;
    }
    return true;
}

bool EndsName(std::string_view s, size_t nPos)
{
    if (nPos >= s.size())
        return false;
    char c = s[nPos];
    return c == ' ' || c == '>' || c == '/' || c == '\r' || c == '\n' || c == '\t';
}

// "<name" (followed by a blank, '/' or '>') at nPos.
bool IsOpenTag(std::string_view s, size_t nPos, std::string_view sName)
{
    return s[nPos] == '<' && NameAt(s, nPos + 1, sName) && EndsName(s, nPos + 1 + sName.size());
}

bool IsCloseTag(std::string_view s, size_t nPos, std::string_view sName)
{
    return nPos + 1 < s.size() && s[nPos] == '<' && s[nPos + 1] == '/' && NameAt(s, nPos + 2, sName) &&
           EndsName(s, nPos + 2 + sName.size());
}

bool IsHeadingTag(std::string_view s, size_t nPos, bool bClosing)
{
    size_t nName = nPos + (bClosing ? 2 : 1);
    return nName + 1 < s.size() && s[nPos] == '<' && (!bClosing || s[nPos + 1] == '/') && Lower(s[nName]) == 'h' &&
           s[nName + 1] >= '1' && s[nName + 1] <= '6' && EndsName(s, nName + 2);
}

size_t AfterTag(std::string_view s, size_t nPos)
{
    size_t nEnd = s.find('>', nPos);
    return nEnd == npos ? s.size() : nEnd + 1;
}

// Past a comment, script or style element at nPos; npos when there is none.
size_t SkipRaw(std::string_view s, size_t nPos)
{
    if (s.compare(nPos, 4, "<!--") == 0) {
        size_t nEnd = s.find("-->", nPos + 4);
        return nEnd == npos ? s.size() : nEnd + 3;
    }
    for (std::string_view sName : {std::string_view("script"), std::string_view("style")}) {
        if (!IsOpenTag(s, nPos, sName))
            continue;
        for (size_t i = s.find('<', nPos + 1); i != npos; i = s.find('<', i + 1)) {
            if (IsCloseTag(s, i, sName))
                return AfterTag(s, i);
        }
        return s.size();
    }
    return npos;
}

// The next "<name" of the table being walked (not of a table nested in it)
// in [nFrom, nLimit), or npos.
size_t FindTableTag(std::string_view s, size_t nFrom, size_t nLimit, std::string_view sName,
                    std::string_view sAlt = std::string_view())
{
    int nDepth = 0;
    for (size_t i = s.find('<', nFrom); i != npos && i < nLimit; i = s.find('<', i + 1)) {
        if (IsOpenTag(s, i, "table"))
            ++nDepth;
        else if (IsCloseTag(s, i, "table") && --nDepth < 0)
            return npos;
        else if (nDepth == 0 && (IsOpenTag(s, i, sName) || (!sAlt.empty() && IsOpenTag(s, i, sAlt))))
            return i;
    }
    return npos;
}

size_t FindParagraphTag(std::string_view s, size_t nFrom, size_t nLimit)
{
    for (size_t i = s.find('<', nFrom); i != npos && i < nLimit; i = s.find('<', i + 1)) {
        if (IsOpenTag(s, i, "p"))
            return i;
    }
    return npos;
}

}  // namespace

CHtmlLabeler::CHtmlLabeler(const CDocModel& model, bool bShowProgress)
    : m_model(model), m_bShowProgress(bShowProgress && isatty(STDOUT_FILENO))
{
}

size_t CHtmlLabeler::GetParaStart(std::string_view sHtml, size_t nFrom)
{
    size_t nPos = nFrom;
    while (nPos < sHtml.size() && (nPos = sHtml.find('<', nPos)) != npos) {
        size_t nSkip = SkipRaw(sHtml, nPos);
        if (nSkip != npos) {
            nPos = nSkip;
            continue;
        }
        if (IsOpenTag(sHtml, nPos, "p") || IsHeadingTag(sHtml, nPos, false) || IsOpenTag(sHtml, nPos, "table"))
            return nPos;
        ++nPos;
    }
    return npos;
}

size_t CHtmlLabeler::GetParaEnd(std::string_view sHtml, size_t nStart)
{
    bool bTable = IsOpenTag(sHtml, nStart, "table");
    int nDepth = 0;
    for (size_t i = sHtml.find('<', nStart); i != npos; i = sHtml.find('<', i + 1)) {
        if (bTable) {
            if (IsOpenTag(sHtml, i, "table"))
                ++nDepth;
            else if (IsCloseTag(sHtml, i, "table") && --nDepth == 0)
                return AfterTag(sHtml, i);
        } else if (IsCloseTag(sHtml, i, "p") || IsHeadingTag(sHtml, i, true)) {
            return AfterTag(sHtml, i);
        }
    }
    return sHtml.size();
}

std::string CHtmlLabeler::ParaLabel(uint32_t nId)
{
    char sBuf[32];
    std::snprintf(sBuf, sizeof sBuf, "   name=\"%08X\" ", nId);
    return sBuf;
}

void CHtmlLabeler::InsertUrlPrefix(std::string& sHtml, std::string sPrefix)
{
    if (sPrefix.empty())
        return;
    if (sPrefix.back() != '/' && sPrefix.back() != '\\')
        sPrefix += '/';
    std::string sOut;
    sOut.reserve(sHtml.size() + 1024);
    size_t nCopied = 0;
    for (size_t nPos = sHtml.find("src=\""); nPos != std::string::npos; nPos = sHtml.find("src=\"", nPos + 5)) {
        char cBefore = nPos > 0 ? sHtml[nPos - 1] : '\0';
        if (cBefore != ' ' && cBefore != '\r' && cBefore != '\n')
            continue;
        sOut.append(sHtml, nCopied, nPos + 5 - nCopied);
        sOut += sPrefix;
        nCopied = nPos + 5;
    }
    sOut.append(sHtml, nCopied, std::string::npos);
    sHtml.swap(sOut);
}

long CHtmlLabeler::InTableCaptionOf(const CDocModel& model, size_t nIndex)
{
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    const std::vector<_tTable>& vecTables = model.Tables();
    if (nIndex + 1 >= vecParas.size() || vecParas[nIndex].level != DocLevel::TABLE_CAPTION)
        return -1;
    const _tParagraph& next = vecParas[nIndex + 1];
    if (next.level != DocLevel::TABLE_PLACEHOLDER || next.id >= vecTables.size())
        return -1;
    const _tTable& table = vecTables[next.id];
    if (table.caption_index != nIndex || table.rows.empty() || table.rows[0].empty() || table.rows[0][0].empty() ||
        table.rows[0][0][0].id != vecParas[nIndex].id)
        return -1;
    return static_cast<long>(next.id);
}

uint32_t CHtmlLabeler::EntryPosition(const CDocModel& model, size_t nIndex, uint32_t nPrevious)
{
    const _tParagraph& para = model.Paragraphs()[nIndex];
    if (para.level == DocLevel::FIGURE_PLACEHOLDER)
        return para.id < model.Figures().size() && FigureHolder(model, para.id) != 0 ? FigureHolder(model, para.id)
                                                                                    : nPrevious;
    if (para.level != DocLevel::TABLE_PLACEHOLDER)
        return para.id;
    if (para.id >= model.Tables().size())
        return nPrevious;
    for (const _tRow& row : model.Tables()[para.id].rows) {
        for (const _tCell& cell : row) {
            if (!cell.empty())
                return cell.front().id;
        }
    }
    return nPrevious;
}

uint32_t CHtmlLabeler::FigureHolder(const CDocModel& model, size_t nFigure)
{
    const _tFigure& figure = model.Figures()[nFigure];
    if (figure.para_id != 0)
        return figure.para_id;
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    std::string sMark = "(Figure " + std::to_string(nFigure) + ")";
    size_t i = figure.para_index;
    while (i < vecParas.size() && vecParas[i].level == DocLevel::FIGURE_PLACEHOLDER)
        ++i;
    if (i < vecParas.size() && InTableCaptionOf(model, i) >= 0)
        ++i;
    if (i >= vecParas.size())
        return 0;
    const _tParagraph& next = vecParas[i];
    if (!next.IsPlaceholder())
        return next.text.find(sMark) != std::string::npos ? next.id : 0;
    if (next.level != DocLevel::TABLE_PLACEHOLDER || next.id >= model.Tables().size())
        return 0;
    for (const _tRow& row : model.Tables()[next.id].rows) {
        for (const _tCell& cell : row) {
            for (const _tParagraph& para : cell) {
                if (para.text.find(sMark) != std::string::npos)
                    return para.id;
            }
        }
    }
    return 0;
}

std::string CHtmlLabeler::Label(std::string_view sHtml, size_t nFrom)
{
    m_sHtml = sHtml;
    m_sOut.clear();
    m_sOut.reserve(sHtml.size() + m_model.Paragraphs().size() * 20 + 64);
    m_nCopied = 0;
    m_nPara = 0;
    m_nTable = 0;
    const size_t nCount = m_model.Paragraphs().size();
    size_t nPos = std::min(nFrom, sHtml.size());
    while ((m_nPara = SkipTextBoxes(m_nPara)) < nCount) {
        size_t nStart = GetParaStart(sHtml, nPos);
        if (nStart == npos)
            break;
        size_t nEnd = GetParaEnd(sHtml, nStart);
        ShowProgress(nStart);
        Step(nStart, nEnd);
        Flush(nEnd);
        nPos = nEnd;
        while (nPos < sHtml.size() && (sHtml[nPos] == '\r' || sHtml[nPos] == '\n'))
            ++nPos;
    }
    Flush(sHtml.size());
    if (m_bShowProgress)
        std::printf("\r\n");
    return std::move(m_sOut);
}

void CHtmlLabeler::ShowProgress(size_t nPos)
{
    if (!m_bShowProgress || nPos < m_nNextProgress)
        return;
    std::printf("ParaIndex=%d/%zd Size=%zd/%zd\r", static_cast<int>(m_nPara), m_model.Paragraphs().size(), nPos,
                m_sHtml.size());
    std::fflush(stdout);
    m_nNextProgress = nPos + m_sHtml.size() / 100 + 1;
}

size_t CHtmlLabeler::SkipTextBoxes(size_t nIndex) const
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    while (nIndex < vecParas.size() && vecParas[nIndex].level == DocLevel::TXTBOX)
        ++nIndex;
    return nIndex;
}

bool CHtmlLabeler::IsFigureAt(size_t nIndex) const
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    return nIndex < vecParas.size() && vecParas[nIndex].level == DocLevel::FIGURE_PLACEHOLDER &&
           vecParas[nIndex].id < m_model.Figures().size();
}

bool CHtmlLabeler::IsHolderAt(size_t nIndex, uint32_t nHolder) const
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    if (nIndex >= vecParas.size())
        return false;
    const _tParagraph& para = vecParas[nIndex];
    return para.id == nHolder && !para.IsPlaceholder() && para.level != DocLevel::TXTBOX &&
           InTableCaptionOf(m_model, nIndex) < 0;
}

void CHtmlLabeler::Step(size_t nStart, size_t nEnd)
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    // A placeholder whose record is missing (a damaged reload) labels nothing.
    while (m_nPara < vecParas.size() && vecParas[m_nPara].level == DocLevel::FIGURE_PLACEHOLDER &&
           !IsFigureAt(m_nPara))
        ++m_nPara;
    if (m_nPara >= vecParas.size())
        return;
    if (IsOpenTag(m_sHtml, nStart, "table"))
        StepTable(nStart, nEnd);
    else
        StepParagraph(nStart, nEnd);
}

void CHtmlLabeler::StepTable(size_t nStart, size_t nEnd)
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    // Pictures in cells stand before their table in the list.
    size_t nImg = nStart;
    while (IsFigureAt(m_nPara))
        LabelFigure(vecParas[m_nPara++].id, nImg, nEnd);
    if (m_nPara >= vecParas.size())
        return;
    size_t nPlaceholder = m_nPara;
    if (InTableCaptionOf(m_model, m_nPara) >= 0)
        nPlaceholder = m_nPara + 1;
    const _tParagraph& para = vecParas[nPlaceholder];
    if (para.level != DocLevel::TABLE_PLACEHOLDER || para.id >= m_model.Tables().size())
        return;  // a table the list does not hold here: passed over
    SetTable(nStart, nEnd, m_model.Tables()[para.id]);
    m_nTable = para.id + 1;
    m_nPara = nPlaceholder + 1;
}

void CHtmlLabeler::StepParagraph(size_t nStart, size_t nEnd)
{
    const std::vector<_tParagraph>& vecParas = m_model.Paragraphs();
    const _tParagraph& para = vecParas[m_nPara];
    if (IsFigureAt(m_nPara)) {
        // The pictures of one paragraph, and that paragraph when it is the
        // next entry; a picture whose paragraph is no entry stands alone.
        uint32_t nHolder = FigureHolder(m_model, para.id);
        size_t nImg = nStart;
        while (IsFigureAt(m_nPara) && FigureHolder(m_model, vecParas[m_nPara].id) == nHolder)
            LabelFigure(vecParas[m_nPara++].id, nImg, nEnd);
        if (IsHolderAt(m_nPara, nHolder))
            SetParaId(nStart, vecParas[m_nPara++].id);
        return;
    }
    // The table of a placeholder is still to come; a caption taken from a
    // table's first row is met inside the table.
    if (para.level == DocLevel::TABLE_PLACEHOLDER || InTableCaptionOf(m_model, m_nPara) >= 0)
        return;
    SetParaId(nStart, para.id);
    ++m_nPara;
}

void CHtmlLabeler::LabelFigure(uint32_t nFigure, size_t& nImgFrom, size_t nEnd)
{
    size_t nImg = nImgFrom;
    for (nImg = m_sHtml.find('<', nImg); nImg != npos && nImg < nEnd; nImg = m_sHtml.find('<', nImg + 1)) {
        if (IsOpenTag(m_sHtml, nImg, "img"))
            break;
    }
    if (nImg == npos || nImg >= nEnd)
        return;
    std::string sIndex = std::to_string(nFigure);
    m_vecInserts.push_back({nImg, "<a name=\"Figure" + sIndex + "\"></a>"});
    m_vecInserts.push_back({nImg + 4, " name=\"Figure" + sIndex + "\" "});
    nImgFrom = nImg + 4;
}

void CHtmlLabeler::SetParaId(size_t nStart, uint32_t nId)
{
    size_t nName = IsHeadingTag(m_sHtml, nStart, false) ? 3 : 2;
    m_vecInserts.push_back({nStart + nName, ParaLabel(nId)});
}

void CHtmlLabeler::SetTable(size_t nStart, size_t nEnd, const _tTable& table)
{
    size_t nPos = nStart + 6;
    for (const _tRow& row : table.rows) {
        size_t nRow = FindTableTag(m_sHtml, nPos, nEnd, "tr");
        if (nRow == npos)
            return;
        size_t nRowEnd = FindTableTag(m_sHtml, nRow + 3, nEnd, "tr");
        if (nRowEnd == npos)
            nRowEnd = nEnd;
        size_t nCellPos = nRow + 3;
        for (const _tCell& cell : row) {
            size_t nCell = FindTableTag(m_sHtml, nCellPos, nRowEnd, "td", "th");
            if (nCell == npos)
                break;
            size_t nCellEnd = FindTableTag(m_sHtml, nCell + 3, nRowEnd, "td", "th");
            if (nCellEnd == npos)
                nCellEnd = nRowEnd;
            size_t nParaPos = nCell;
            for (const _tParagraph& para : cell) {
                size_t nPara = FindParagraphTag(m_sHtml, nParaPos, nCellEnd);
                if (nPara == npos)
                    break;
                SetParaId(nPara, para.id);
                nParaPos = nPara + 2;
            }
            nCellPos = nCellEnd;
        }
        nPos = nRowEnd;
    }
}

void CHtmlLabeler::Flush(size_t nUpTo)
{
    std::stable_sort(m_vecInserts.begin(), m_vecInserts.end(),
                     [](const _tInsert& a, const _tInsert& b) { return a.nPos < b.nPos; });
    for (const _tInsert& insert : m_vecInserts) {
        if (insert.nPos < m_nCopied || insert.nPos > m_sHtml.size())
            continue;
        m_sOut.append(m_sHtml.data() + m_nCopied, insert.nPos - m_nCopied);
        m_sOut += insert.sText;
        m_nCopied = insert.nPos;
    }
    m_vecInserts.clear();
    nUpTo = std::min(nUpTo, m_sHtml.size());
    if (nUpTo > m_nCopied) {
        m_sOut.append(m_sHtml.data() + m_nCopied, nUpTo - m_nCopied);
        m_nCopied = nUpTo;
    }
}
