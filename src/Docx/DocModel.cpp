// The document model's operations: each keeps the rules written in
// DocModel.h, the paraId map above all, which is kept up to date as entries
// arrive rather than rebuilt at the end.
#include "Docx/DocModel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Utility/Log.h"

namespace {

bool IsPlaceholderLevel(int nLevel)
{
    return nLevel == DocLevel::TABLE_PLACEHOLDER || nLevel == DocLevel::FIGURE_PLACEHOLDER;
}

constexpr uint64_t kOnes = UINT64_C(0x0101010101010101);
constexpr uint64_t kHigh = kOnes * 0x80;
constexpr uint64_t kLow7 = kOnes * 0x7F;

// 0x80 in each byte of y that is zero, nothing elsewhere (no carry crosses bytes).
inline uint64_t ZeroBytes(uint64_t y)
{
    return ~(((y & kLow7) + kLow7) | y | kLow7);
}

// The number of bytes of a mask that holds 0x80 or 0 in each.
inline size_t CountMarks(uint64_t nMask)
{
    return static_cast<size_t>(((nMask >> 7) * kOnes) >> 56);
}

// A character of several bytes counts once, by its lead byte (0xC0 and up);
// a single-byte one counts unless it is a blank. Eight bytes at a time: the
// lead bytes have their two top bits set, the single bytes their top bit clear.
void CountTextChars(const std::string& sText, size_t& nMulti, size_t& nSingle)
{
    const char* p = sText.data();
    const char* pEnd = p + sText.size();
    for (uint64_t x = 0; pEnd - p >= 8; p += 8) {
        std::memcpy(&x, p, 8);
        nMulti += CountMarks(x & (x << 1) & kHigh);
        uint64_t nAscii = ~x & kHigh;
        if (nAscii == 0)
            continue;
        uint64_t nBlanks = ZeroBytes(x ^ (kOnes * ' ')) | ZeroBytes(x ^ (kOnes * '\t')) |
                           ZeroBytes(x ^ (kOnes * '\r')) | ZeroBytes(x ^ (kOnes * '\n'));
        nSingle += CountMarks(nAscii & ~nBlanks);
    }
    for (; p < pEnd; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0xC0)
            ++nMulti;
        else if (c < 0x80 && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            ++nSingle;
    }
}

}  // namespace

// ---- Queries -----------------------------------------------------------------

int CDocModel::GetParaIndex(uint32_t nParaId, _tParaIndex* pIndex) const
{
    auto it = m_mapParaId2Index.find(nParaId);
    if (it == m_mapParaId2Index.end())
        return -1;
    if (pIndex)
        *pIndex = it->second;
    return static_cast<int>(it->second.para_index);
}

const _tParagraph* CDocModel::Find(uint32_t nParaId) const
{
    _tParaIndex index;
    if (GetParaIndex(nParaId, &index) < 0)
        return nullptr;
    if (index.table_index < 0)
        return index.para_index < m_vecParagraph.size() ? &m_vecParagraph[index.para_index] : nullptr;
    if (static_cast<size_t>(index.table_index) >= m_vecTable.size())
        return nullptr;
    const _tTable& table = m_vecTable[static_cast<size_t>(index.table_index)];
    if (index.row_index < 0 || static_cast<size_t>(index.row_index) >= table.rows.size())
        return nullptr;
    const _tRow& row = table.rows[static_cast<size_t>(index.row_index)];
    if (index.col_index < 0 || static_cast<size_t>(index.col_index) >= row.size())
        return nullptr;
    const _tCell& cell = row[static_cast<size_t>(index.col_index)];
    return index.para_index < cell.size() ? &cell[index.para_index] : nullptr;
}

// ---- The paraId map ------------------------------------------------------------

void CDocModel::MapBody(size_t nIndex)
{
    _tParaIndex index;
    index.para_index = static_cast<unsigned>(nIndex);
    // The first body entry of an id keeps it, and a cell keeps its id.
    m_mapParaId2Index.emplace(m_vecParagraph[nIndex].id, index);
}

void CDocModel::MapCells(size_t nTable)
{
    const _tTable& table = m_vecTable[nTable];
    for (size_t r = 0; r < table.rows.size(); ++r) {
        for (size_t c = 0; c < table.rows[r].size(); ++c) {
            const _tCell& cell = table.rows[r][c];
            for (size_t k = 0; k < cell.size(); ++k) {
                _tParaIndex index;
                index.table_index = static_cast<int>(nTable);
                index.row_index = static_cast<int>(r);
                index.col_index = static_cast<int>(c);
                index.para_index = static_cast<unsigned>(k);
                m_mapParaId2Index[cell[k].id] = index;
            }
        }
    }
}

void CDocModel::RebuildMap()
{
    m_mapParaId2Index.clear();
    for (size_t t = 0; t < m_vecTable.size(); ++t)
        MapCells(t);
    for (size_t i = 0; i < m_vecParagraph.size(); ++i)
        MapBody(i);
}

// ---- Entries ---------------------------------------------------------------------

void CDocModel::Clear()
{
    m_vecPageParaID.clear();
    m_vecChapterId.clear();
    m_vecChapterParaIndex.clear();
    m_vecHeadFooter[0].clear();
    m_vecHeadFooter[1].clear();
    m_nFigureCaptionFilled = 1;
    m_mapParaId2Index.clear();
    m_vecDocStruct.clear();
    m_vecContentStruct.clear();
    m_vecParagraph.clear();
    m_vecTable.clear();
    m_vecFigure.clear();
    m_nReferenceStartIndex = 0;
    m_nReferenceEndIndex = 0;
    m_vecFormulaIndex.clear();
    m_nMultiCharCount = m_nSingleCharCount = m_nCharCount = 0;
}

bool CDocModel::AddParagraph(const _tParagraph& para)
{
    if ((para.text.empty() && para.level >= 0) || para.IsPlaceholder())
        return false;
    for (auto it = m_vecParagraph.rbegin(); it != m_vecParagraph.rend(); ++it) {
        if (it->IsPlaceholder())
            continue;
        if (para.id < it->id) {
            SetLastError("Critical problem while adding previous id in " + para.text);
            return false;
        }
        break;
    }
    if (para.level >= 1 && para.level <= 13 && !m_vecParagraph.empty() &&
        m_vecParagraph.back().level == para.level && m_vecParagraph.back().text.empty()) {
        size_t nLast = m_vecParagraph.size() - 1;
        auto it = m_mapParaId2Index.find(m_vecParagraph[nLast].id);
        if (it != m_mapParaId2Index.end() && it->second.table_index < 0 && it->second.para_index == nLast)
            m_mapParaId2Index.erase(it);
        m_vecParagraph[nLast] = para;
        MapBody(nLast);
        return true;
    }
    m_vecParagraph.push_back(para);
    MapBody(m_vecParagraph.size() - 1);
    return true;
}

size_t CDocModel::AddFigure(_tFigure figure, const _tParagraph& holder)
{
    size_t nFigure = m_vecFigure.size();
    figure.para_index = static_cast<unsigned>(m_vecParagraph.size());
    _tParagraph placeholder = holder;
    placeholder.level = DocLevel::FIGURE_PLACEHOLDER;
    placeholder.id = static_cast<uint32_t>(nFigure);
    m_vecFigure.push_back(std::move(figure));
    m_vecParagraph.push_back(std::move(placeholder));
    MapBody(m_vecParagraph.size() - 1);
    m_nFigureCaptionFilled = 0;
    return nFigure;
}

size_t CDocModel::AddTable(_tTable table)
{
    size_t nTable = m_vecTable.size();
    table.para_index = static_cast<unsigned>(m_vecParagraph.size());
    _tParagraph placeholder;
    placeholder.level = DocLevel::TABLE_PLACEHOLDER;
    placeholder.id = static_cast<uint32_t>(nTable);
    m_vecTable.push_back(std::move(table));
    m_vecParagraph.push_back(placeholder);
    MapCells(nTable);
    MapBody(m_vecParagraph.size() - 1);
    return nTable;
}

bool CDocModel::AddPlaceholder(const _tParagraph& placeholder)
{
    if (!placeholder.IsPlaceholder())
        return false;
    m_vecParagraph.push_back(placeholder);
    MapBody(m_vecParagraph.size() - 1);
    return true;
}

void CDocModel::AppendLoadedFigure(const _tFigure& figure)
{
    m_vecFigure.push_back(figure);
}

void CDocModel::AppendLoadedTable(_tTable table)
{
    m_vecTable.push_back(std::move(table));
    MapCells(m_vecTable.size() - 1);
}

void CDocModel::SetFigureCaption(size_t nFigure, unsigned nCaptionIndex)
{
    if (nFigure < m_vecFigure.size())
        m_vecFigure[nFigure].caption_index = nCaptionIndex;
}

// ---- Levels and index lists ------------------------------------------------------

bool CDocModel::IsOrdinary(size_t nIndex) const
{
    return nIndex < m_vecParagraph.size() && !m_vecParagraph[nIndex].IsPlaceholder();
}

void CDocModel::InsertSorted(std::vector<int>& vecList, int nValue)
{
    auto it = std::lower_bound(vecList.begin(), vecList.end(), nValue);
    if (it == vecList.end() || *it != nValue)
        vecList.insert(it, nValue);
}

bool CDocModel::SetLevel(size_t nIndex, int nLevel)
{
    if (!IsOrdinary(nIndex) || IsPlaceholderLevel(nLevel))
        return false;
    m_vecParagraph[nIndex].level = nLevel;
    return true;
}

bool CDocModel::EnterHeading(size_t nIndex, int nLevel)
{
    if (!SetLevel(nIndex, nLevel))
        return false;
    InsertSorted(m_vecDocStruct, static_cast<int>(nIndex));
    return true;
}

size_t CDocModel::DemoteHeadingsBefore(size_t nIndex)
{
    size_t nDemoted = 0;
    std::vector<int> vecKept;
    for (int nEntry : m_vecDocStruct) {
        _tParagraph& para = m_vecParagraph[static_cast<size_t>(nEntry)];
        if (static_cast<size_t>(nEntry) < nIndex && para.level >= DocLevel::TITLE1 && para.level <= DocLevel::TITLE4) {
            para.level = DocLevel::TEXT;
            ++nDemoted;
        } else {
            vecKept.push_back(nEntry);
        }
    }
    m_vecDocStruct.swap(vecKept);
    return nDemoted;
}

bool CDocModel::EnterContentLine(size_t nIndex)
{
    if (!SetLevel(nIndex, DocLevel::CONTENT1))
        return false;
    InsertSorted(m_vecContentStruct, static_cast<int>(nIndex));
    return true;
}

bool CDocModel::EnterFormula(size_t nIndex)
{
    if (!IsOrdinary(nIndex))
        return false;
    InsertSorted(m_vecFormulaIndex, static_cast<int>(nIndex));
    return true;
}

// ---- Joining broken lines ------------------------------------------------------------

void CDocModel::JoinParagraphs(const std::function<bool(const _tParagraph&)>& bJoin)
{
    if (m_vecParagraph.empty())
        return;
    // vecNewIndex[i]: where old entry i went, or for a joined entry where
    // the entry it was joined into went.
    std::vector<unsigned> vecNewIndex(m_vecParagraph.size(), 0);
    std::vector<_tParagraph> vecOut;
    vecOut.reserve(m_vecParagraph.size());
    vecOut.push_back(std::move(m_vecParagraph[0]));
    size_t nRemoved = 0;
    for (size_t i = 1; i < m_vecParagraph.size(); ++i) {
        _tParagraph& last = vecOut.back();
        if (m_vecParagraph[i].level == last.level && bJoin(last)) {
            last.text += m_vecParagraph[i].text;
            ++nRemoved;
        } else {
            vecOut.push_back(std::move(m_vecParagraph[i]));
        }
        vecNewIndex[i] = static_cast<unsigned>(vecOut.size() - 1);
    }
    m_vecParagraph.swap(vecOut);
    if (nRemoved == 0) {
        RebuildMap();
        return;
    }
    auto follow = [&vecNewIndex](unsigned& nValue) {
        if (nValue != NO_CAPTION && nValue < vecNewIndex.size())
            nValue = vecNewIndex[nValue];
    };
    for (_tTable& table : m_vecTable) {
        follow(table.caption_index);
        follow(table.para_index);
    }
    for (_tFigure& figure : m_vecFigure) {
        follow(figure.caption_index);
        follow(figure.para_index);
    }
    auto followList = [&vecNewIndex](std::vector<int>& vecList) {
        for (int& nValue : vecList) {
            if (nValue >= 0 && static_cast<size_t>(nValue) < vecNewIndex.size())
                nValue = static_cast<int>(vecNewIndex[static_cast<size_t>(nValue)]);
        }
        vecList.erase(std::unique(vecList.begin(), vecList.end()), vecList.end());
    };
    followList(m_vecDocStruct);
    followList(m_vecContentStruct);
    followList(m_vecFormulaIndex);
    RebuildMap();
}

void CDocModel::JoinCellParagraphs(const std::function<bool(const _tParagraph&)>& bJoin)
{
    for (_tTable& table : m_vecTable) {
        for (_tRow& row : table.rows) {
            for (_tCell& cell : row) {
                for (size_t k = 0; k + 1 < cell.size();) {
                    if (bJoin(cell[k])) {
                        cell[k].text += cell[k + 1].text;
                        cell.erase(cell.begin() + static_cast<std::ptrdiff_t>(k + 1));
                        continue;
                    }
                    ++k;
                }
            }
        }
    }
    RebuildMap();
}

// ---- Headers, pages, counts --------------------------------------------------------------

void CDocModel::AddHeadFooter(int nKind, const _tParagraph& para)
{
    m_vecHeadFooter[nKind != 0].push_back(para);
}

void CDocModel::SetHeadFooter(int nKind, std::vector<_tParagraph> vecParas)
{
    m_vecHeadFooter[nKind != 0] = std::move(vecParas);
}

void CDocModel::SetPageParaIDs(std::vector<uint32_t> vecIds)
{
    std::sort(vecIds.begin(), vecIds.end());
    m_vecPageParaID = std::move(vecIds);
}

void CDocModel::SetPageNumbers(const std::vector<int>& vecPages)
{
    for (size_t i = 0; i < m_vecParagraph.size(); ++i) {
        _tParagraph& para = m_vecParagraph[i];
        para.page_num = i < vecPages.size() ? vecPages[i] : 0;
        if (para.level != DocLevel::TABLE_PLACEHOLDER || para.id >= m_vecTable.size())
            continue;
        for (_tRow& row : m_vecTable[para.id].rows) {
            for (_tCell& cell : row) {
                for (_tParagraph& cellPara : cell)
                    cellPara.page_num = para.page_num;
            }
        }
    }
}

void CDocModel::SetChapters(std::vector<int> vecIds, std::vector<unsigned> vecParaIndexes)
{
    m_vecChapterId = std::move(vecIds);
    m_vecChapterParaIndex = std::move(vecParaIndexes);
}

void CDocModel::SetFormulaIndex(std::vector<int> vecIndexes)
{
    m_vecFormulaIndex.clear();
    for (int nIndex : vecIndexes) {
        if (nIndex >= 0 && IsOrdinary(static_cast<size_t>(nIndex)))
            InsertSorted(m_vecFormulaIndex, nIndex);
    }
}

void CDocModel::SetReferenceRange(int nStart, int nEnd)
{
    m_nReferenceStartIndex = nStart;
    m_nReferenceEndIndex = nEnd;
}

void CDocModel::CountChars()
{
    size_t nMulti = 0, nSingle = 0;
    auto count = [&](const std::string& sText) { CountTextChars(sText, nMulti, nSingle); };
    for (const auto& list : m_vecHeadFooter) {
        for (const _tParagraph& para : list)
            count(para.text);
    }
    for (const _tParagraph& para : m_vecParagraph) {
        if (!para.IsPlaceholder())
            count(para.text);
    }
    for (const _tTable& table : m_vecTable) {
        for (const _tRow& row : table.rows) {
            for (const _tCell& cell : row) {
                for (const _tParagraph& para : cell)
                    count(para.text);
            }
        }
    }
    SetCharCounts(nMulti, nSingle, nMulti + nSingle);
}

void CDocModel::SetCharCounts(size_t nMulti, size_t nSingle, size_t nTotal)
{
    m_nMultiCharCount = nMulti;
    m_nSingleCharCount = nSingle;
    m_nCharCount = nTotal;
}
