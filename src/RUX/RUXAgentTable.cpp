// Table extraction: table heads (merged over several head lines), mapping
// of head names to rule arguments, rows or columns as key values, the
// single-row walk and the cells of two-headed tables.
#include <algorithm>
#include <cstring>

#include "Docx/DocxParser.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RUXGrammer.h"
#include "Utility/PDAT.h"

namespace {

const int kFieldColHead = 3;

}  // namespace

const _tTable* CRUXAgent::CurrentTable() const
{
    if (!m_pDocxParser || m_nTableIndex < 0 || static_cast<size_t>(m_nTableIndex) >= m_pDocxParser->Model().Tables().size())
        return nullptr;
    return &m_pDocxParser->Model().Tables()[static_cast<size_t>(m_nTableIndex)];
}

std::string CRUXAgent::CellText(const _tTable& table, size_t r, size_t c) const
{
    if (r >= table.rows.size() || c >= table.rows[r].size())
        return "";
    std::string sText;
    for (const _tParagraph& para : table.rows[r][c])
        sText += para.text;
    return sText;
}

uint32_t CRUXAgent::CellParaId(const _tTable& table, size_t r, size_t c) const
{
    if (r >= table.rows.size() || c >= table.rows[r].size() || table.rows[r][c].empty())
        return 0;
    return table.rows[r][c][0].id;
}

int CRUXAgent::ExtractTableHead(bool bByRow, int i, std::vector<std::string>& vecHeads)
{
    vecHeads.clear();
    const _tTable* pTable = CurrentTable();
    if (!pTable || i < 0)
        return -1;
    if (bByRow) {
        if (static_cast<size_t>(i) < pTable->rows.size())
            for (size_t c = 0; c < pTable->rows[static_cast<size_t>(i)].size(); ++c)
                vecHeads.push_back(TextStandard(CellText(*pTable, static_cast<size_t>(i), c)));
    } else {
        for (size_t r = 0; r < pTable->rows.size(); ++r)
            if (static_cast<size_t>(i) < pTable->rows[r].size())
                vecHeads.push_back(TextStandard(CellText(*pTable, r, static_cast<size_t>(i))));
    }
    return static_cast<int>(vecHeads.size());
}

void CRUXAgent::MergeTableHead(std::vector<std::string>& vecHeads, const std::vector<std::string>& vecNext)
{
    std::vector<std::string> vecMerged;
    size_t a = 0, b = 0;
    while (b < vecNext.size()) {
        std::string sCurrent = a < vecHeads.size() ? vecHeads[a] : "";
        if (vecNext[b].empty()) {
            vecMerged.push_back(sCurrent);
            ++a;
            ++b;
            continue;
        }
        if (vecNext[b] == sCurrent) {
            vecMerged.push_back(sCurrent);
            ++a;
            ++b;
            continue;
        }
        // A spanning upper entry split into its sub-heads: they take its place.
        vecMerged.push_back(vecNext[b++]);
        while (b < vecNext.size() && !vecNext[b].empty() &&
               (a + 1 >= vecHeads.size() || vecNext[b] != vecHeads[a + 1]) &&
               vecMerged.size() + (vecHeads.size() - std::min(vecHeads.size(), a + 1)) < vecNext.size())
            vecMerged.push_back(vecNext[b++]);
        ++a;
    }
    for (; a < vecHeads.size(); ++a)
        vecMerged.push_back(vecHeads[a]);
    vecHeads = std::move(vecMerged);
}

int CRUXAgent::MapTableItemName(int nRule, const std::vector<std::string>& vecHeads, std::vector<_tTableItem>& vecItems)
{
    vecItems.clear();
    const _tKnowledge& knowledge = Rule(nRule).knowledge;
    std::vector<bool> vecTaken(knowledge.grids.size(), false);
    int nMapped = 0;
    for (const std::string& sHead : vecHeads) {
        _tTableItem item;
        item.item_name = sHead;
        int nId = sHead.empty() ? -1 : m_pRUX->GetDict()->Find(sHead);
        for (size_t g = 0; g < knowledge.grids.size() && item.index < 0; ++g) {
            if (vecTaken[g] || knowledge.grids[g].blocks.empty())
                continue;
            for (int nElem : Values(knowledge.grids[g].blocks[0].elems)) {
                bool bHit = nId >= 0 ? nElem == nId
                                     : (nElem >= 0 && static_cast<size_t>(nElem) < m_vecElemStr.size() &&
                                        !m_vecElemStr[static_cast<size_t>(nElem)].empty() &&
                                        sHead.find(m_vecElemStr[static_cast<size_t>(nElem)]) != std::string::npos);
                if (bHit) {
                    item.index = static_cast<int>(g);
                    vecTaken[g] = true;
                    ++nMapped;
                    break;
                }
            }
        }
        vecItems.push_back(item);
    }
    return nMapped;
}

int CRUXAgent::ExtractTableData(int /*nToken*/, _tRUX_Result& hit)
{
    const _tTable* pTable = CurrentTable();
    if (hit.rule_index < 0 || !pTable)
        return -1;
    int nRule = hit.rule_index;
    bool bByRow = Rule(nRule).field != kFieldColHead;
    std::vector<std::string> vecHeads, vecNext;
    ExtractTableHead(bByRow, 0, vecHeads);
    int nHeadLines = 1;
    while (ExtractTableHead(bByRow, nHeadLines, vecNext) > static_cast<int>(vecHeads.size())) {
        MergeTableHead(vecHeads, vecNext);
        ++nHeadLines;
    }
    std::vector<_tTableItem> vecItems;
    int nMapped = MapTableItemName(nRule, vecHeads, vecItems);
    size_t nArgs = Values(Rule(nRule).arguments_id).size();
    if (nMapped < 2 || static_cast<size_t>(nMapped) < (nArgs + 1) / 2) {
        ++m_nColIndex;
        return m_nColIndex;
    }
    size_t nLines = 0;
    if (bByRow) {
        nLines = pTable->rows.size();
    } else {
        for (const _tRow& row : pTable->rows)
            nLines = std::max(nLines, row.size());
    }
    const _tTable table = *pTable;  // cells are scanned below, which may move the position
    int nTable = m_nTableIndex;
    bool bFound = false;
    for (size_t line = static_cast<size_t>(nHeadLines); line < nLines; ++line) {
        std::vector<std::string> vecValues(nArgs);
        std::vector<uint32_t> vecIds(nArgs, 0);
        for (size_t k = 0; k < vecItems.size(); ++k) {
            size_t r = bByRow ? line : k, c = bByRow ? k : line;
            if (r >= table.rows.size() || c >= table.rows[r].size())
                continue;
            std::string sCell = TextStandard(CellText(table, r, c));
            uint32_t nId = CellParaId(table, r, c);
            ScanText(sCell.c_str(), nId, 0);
            int nArg = vecItems[k].index;
            if (nArg >= 0 && static_cast<size_t>(nArg) < nArgs) {
                vecValues[static_cast<size_t>(nArg)] = sCell;
                vecIds[static_cast<size_t>(nArg)] = nId;
            }
        }
        for (size_t k = 0; k < nArgs; ++k)
            hit.AddSelected(vecValues[k], vecIds[k], 0);
        bFound = true;
    }
    m_nTableIndex = nTable;
    if (bFound) {
        ++m_nRowIndex;
        m_nColIndex = 0;
        m_scan.text_stand.clear();
        AddResult(hit);
    }
    ++m_nTableIndex;
    m_nRowIndex = 0;
    m_nColIndex = 0;
    return m_nTableIndex;
}

int CRUXAgent::ExtractSingleColData(int /*nToken*/, _tRUX_Result& hit)
{
    const _tTable* pTable = CurrentTable();
    if (hit.rule_index < 0 || !pTable)
        return -1;
    const _tKnowledge& knowledge = Rule(hit.rule_index).knowledge;
    std::vector<int> vecSteps = Values(knowledge.steps);
    int nStep = (!vecSteps.empty() && vecSteps[0] > 0) ? vecSteps[0] : 1;
    for (const _tGrid& grid : knowledge.grids) {
        size_t r = static_cast<size_t>(m_nRowIndex), c = static_cast<size_t>(m_nColIndex);
        if (grid.is_selected)
            hit.AddSelected(CellText(*pTable, r, c), CellParaId(*pTable, r, c), 0);
        if (r >= pTable->rows.size() || c + static_cast<size_t>(nStep) >= pTable->rows[r].size())
            break;
        m_nColIndex += nStep;
    }
    if (!hit.vecSelected.empty())
        AddResult(hit);
    return m_nColIndex;
}

int CRUXAgent::ExtractTableArguments(int nRule)
{
    const _tTable* pTable = CurrentTable();
    if (!pTable)
        return -1;
    std::vector<int> vecArgs = Values(Rule(nRule).arguments_id);
    std::string sFile = vecArgs.empty() ? "" : m_pRUX->GetArgument(vecArgs[0], true);
    std::string sCaption;
    if (const _tParagraph* pCaption = BodyParagraph(static_cast<int>(pTable->caption_index)))
        sCaption = pCaption->text;
    std::string sNo, sName = sCaption;
    size_t nBlank = sCaption.find(' ');
    if (nBlank != std::string::npos) {
        sNo = nBlank > 3 ? sCaption.substr(3, nBlank - 3) : "";
        size_t nRest = sCaption.find_first_not_of(" \t", nBlank);
        sName = nRest == std::string::npos ? "" : sCaption.substr(nRest);
    }
    for (size_t r = 1; r < pTable->rows.size(); ++r) {
        for (size_t k = 1; k < pTable->rows[r].size(); ++k) {
            _tTableArgument arg;
            arg.file_name = sFile;
            arg.section_no = sNo;
            arg.section_name = sName;
            arg.row_name = TextStandard(CellText(*pTable, r, 0));
            arg.col_name = TextStandard(CellText(*pTable, 0, k));
            arg.value = TextStandard(CellText(*pTable, r, k));
            m_vecTableArguments.push_back(arg);
        }
    }
    ++m_nTableIndex;
    m_nRowIndex = 0;
    m_nColIndex = 0;
    return m_nTableIndex;
}
