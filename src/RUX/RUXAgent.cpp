// The scans of the rule agent: documents, paragraphs, text files and texts
// in memory; the token list of a paragraph, the markup skip, the filters and
// the dispatch of each posting to matching or to an extractor.
#include "RUX/RUXAgent.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "Convert/TextDecoder.h"
#include "Docx/DocumentPlace.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "RUX/PostingFilter.h"
#include "RUX/RUX.h"
#include "RUX/RUXEngine.h"
#include "RUX/RUXGrammer.h"
#include "Segmenter/Segmenter.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

enum {
    kActionConvert = 4,
    kActionSection = 6,
    kActionParagraph = 7,
    kActionTitle = 8,
    kActionBetween = 9,
    kActionUnit = 10,
    kActionEmail = 11,
    kFieldSingleRow = 1,
    kFieldRowColHead = 4,
    kFieldHeader = 5,
    kFieldFooter = 6,
    kFieldTitle = 7,
    kFieldTitle3 = 10
};

bool IsTableField(int nField)
{
    return (nField >= 1 && nField <= 4) || (nField >= kFieldTitle && nField <= kFieldTitle3);
}

}  // namespace

CRUXAgent::CRUXAgent(CRUX* pRUX) : m_pRUX(pRUX), m_pBuffer(std::make_unique<CBufferManager>())
{
    const CWordList* pWords = m_pRUX ? m_pRUX->GetWordList() : nullptr;
    const CPDAT* pDict = m_pRUX ? m_pRUX->GetDict() : nullptr;
    unsigned nCount = pDict ? pDict->GetItemCount() : 0;
    m_vecElemStr.assign(nCount, std::string());
    m_vecIsTagElem.assign(nCount, 0);
    for (unsigned i = 0; pWords && i < nCount; ++i) {
        const char* sWord = pWords->GetWord(static_cast<int>(i));
        m_vecElemStr[i] = sWord ? sWord : "";
        m_vecIsTagElem[i] = (sWord && *sWord == '/') ? 1 : 0;
    }
    if (m_pRUX)
        m_pPostingFilter = std::make_unique<CPostingFilter>(*m_pRUX, m_vecIsTagElem);
}

CRUXAgent::~CRUXAgent() = default;

void CRUXAgent::Reset()
{
    m_vecRUXResult.clear();
    m_mapHitsByRulePara.clear();
    m_vecSingleKeyVal.clear();
    m_vecKeyValNamedEntity.clear();
    m_vecTuple.clear();
    m_vecTable.clear();
    m_vecTableArguments.clear();
    m_vecEntityVal.clear();
    m_vecHeadRelTail.clear();
    m_sMatchProcess.clear();
    m_jsonDebug = Json::Value(Json::objectValue);
    m_jsonDebug["debug"] = Json::Value(Json::arrayValue);
}

void CRUXAgent::BeginScan(bool bDebug)
{
    m_bDebug = bDebug;
    Reset();
    // Every scan starts from an empty key map, so no scan sees the keys of
    // a document scanned before it.
    m_mapKeyId2Keys.clear();
    m_vecDuringDate.clear();
    m_vecEndingDate.clear();
    m_vecKeyPrefix.clear();
    m_nTableIndex = m_nRowIndex = m_nColIndex = m_nRowColParaIndex = m_nParaIndex = 0;
    m_vecPlainLines.clear();
}

const _tRule& CRUXAgent::Rule(int nRule) const
{
    return m_pRUX->GetRules()[static_cast<size_t>(nRule)];
}

std::vector<int> CRUXAgent::Values(const _tIntArray& range) const
{
    return m_pRUX->GetIntArray().GetValues(range);
}

void CRUXAgent::Trace(const std::string& sMessage)
{
    if (m_bDebug)
        m_scan.trace["process"].append(sMessage);
}

void CRUXAgent::FinishTrace()
{
    if (!m_bDebug)
        return;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    m_sMatchProcess = Json::writeString(builder, m_jsonDebug);
    WriteFileAtomic(JoinPath(RUX_GetDataPath(), "Match_Debug.txt"), m_sMatchProcess + "\r\n");
}

// ---------------------------------------------------------------- scans

int CRUXAgent::ScanDoc(CDocxParser* pDocx, int bJson, bool bDebug)
{
    if (!pDocx || !m_pRUX)
        return -1;
    BeginScan(bDebug);
    m_pDocxParser = pDocx;
    for (int k = 0; k < 2; ++k)
        for (const _tParagraph& para : pDocx->Model().HeadFooter(k))
            ScanText(para.text.c_str(), para.id, para.level);
    ScanParagraphs(pDocx->Model().Paragraphs());
    ScanTables();
    PostProcess(true);
    std::string sBase;
    if (!pDocx->m_sFilename.empty())
        sBase = pDocx->OutputPath("");
    WriteOutputs(sBase, bJson != 0);
    FinishTrace();
    return 1;
}

void CRUXAgent::ScanParagraphs(const std::vector<_tParagraph>& vecParas)
{
    // A table caption is scanned once, with its table: scanned here too it
    // would give its table's values twice, the second time for whatever
    // table the position then names.
    std::set<unsigned> setCaptions;
    for (const _tTable& table : m_pDocxParser->Model().Tables())
        setCaptions.insert(table.caption_index);
    for (size_t i = 0; i < vecParas.size(); ++i) {
        const _tParagraph& para = vecParas[i];
        if (para.level == DocLevel::FIGURE_PLACEHOLDER || para.level == DocLevel::TABLE_PLACEHOLDER ||
            setCaptions.count(static_cast<unsigned>(i)))
            continue;
        m_nParaIndex = static_cast<int>(i);
        ScanText(para.text.c_str(), para.id, para.level);
    }
}

void CRUXAgent::ScanTables()
{
    const std::vector<_tTable>& vecTables = m_pDocxParser->Model().Tables();
    for (m_nTableIndex = 0; m_nTableIndex >= 0 && static_cast<size_t>(m_nTableIndex) < vecTables.size();) {
        int nTable = m_nTableIndex;
        const _tTable& table = vecTables[static_cast<size_t>(nTable)];
        if (const _tParagraph* pCaption = BodyParagraph(static_cast<int>(table.caption_index)))
            ScanText(pCaption->text.c_str(), pCaption->id, DocLevel::TABLE_CAPTION);
        for (m_nRowIndex = 0; m_nTableIndex == nTable && static_cast<size_t>(m_nRowIndex) < table.rows.size();
             ++m_nRowIndex) {
            for (m_nColIndex = 0; m_nTableIndex == nTable && static_cast<size_t>(m_nRowIndex) < table.rows.size() &&
                                  static_cast<size_t>(m_nColIndex) < table.rows[static_cast<size_t>(m_nRowIndex)].size();) {
                int nCol = m_nColIndex, nRow = m_nRowIndex;
                const _tCell& cell = table.rows[static_cast<size_t>(nRow)][static_cast<size_t>(nCol)];
                for (m_nRowColParaIndex = 0; static_cast<size_t>(m_nRowColParaIndex) < cell.size() &&
                                             m_nTableIndex == nTable && m_nRowIndex == nRow;
                     ++m_nRowColParaIndex) {
                    const _tParagraph& para = cell[static_cast<size_t>(m_nRowColParaIndex)];
                    ScanText(para.text.c_str(), para.id, DocLevel::TABLE_COL);
                }
                // An extractor that moved the position has consumed the cell.
                if (m_nColIndex == nCol && m_nRowIndex == nRow && m_nTableIndex == nTable)
                    ++m_nColIndex;
            }
        }
        if (m_nTableIndex == nTable)
            ++m_nTableIndex;
    }
}

// The lines are all known before the scan, so an extractor can read on
// into the lines after the current one.
void CRUXAgent::SplitLines(const std::string& sText)
{
    m_vecPlainLines.clear();
    size_t nStart = 0;
    while (true) {
        size_t nEnd = sText.find('\n', nStart);
        std::string sLine = sText.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        m_vecPlainLines.push_back(sLine);
        if (nEnd == std::string::npos || nEnd + 1 >= sText.size())
            break;
        nStart = nEnd + 1;
    }
}

void CRUXAgent::ScanLines(int nRuleFilter)
{
    for (size_t i = 0; i < m_vecPlainLines.size(); ++i) {
        m_nParaIndex = static_cast<int>(i);
        std::string sLine = m_vecPlainLines[i];
        ScanText(sLine.c_str(), static_cast<uint32_t>(i), DocLevel::TEXT, -1, nRuleFilter);
    }
}

const char* CRUXAgent::ScanTextMem(const char* sText, int nRuleFilter, bool bTrace)
{
    BeginScan(bTrace);
    m_pDocxParser = nullptr;
    SplitLines(sText ? sText : "");
    ScanLines(nRuleFilter);
    PostProcess(false);
    WriteOutputs("", false);
    FinishTrace();
    return m_sMatchProcess.c_str();
}

int CRUXAgent::ScanTextFile(const char* sFile, int bJson, bool bDebug)
{
    BeginScan(bDebug);
    m_pDocxParser = nullptr;
    std::string sRaw;
    if (!sFile || !ReadWholeFile(sFile, sRaw)) {
        SetLastError(std::string("Failed open file ") + (sFile ? sFile : ""));
        return -1;
    }
    // Rules and the segmenter work on UTF-8: a GBK (or UTF-16) file read
    // as it is would match nothing.
    std::string sText = CTextDecoder::ToUtf8(sRaw);
    // Lines are read in pieces of at most 1023 bytes: a longer line goes on
    // as further paragraphs, cut at a character boundary.
    std::string sLines;
    size_t nStart = 0;
    while (nStart < sText.size()) {
        size_t nEnd = sText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = sText.size();
        std::string sLine = sText.substr(nStart, nEnd - nStart);
        while (sLine.size() > 1023) {
            size_t nCut = 1023;
            while (nCut > 0 && (static_cast<unsigned char>(sLine[nCut]) & 0xC0) == 0x80)
                --nCut;
            if (nCut == 0)
                nCut = 1023;
            sLines += sLine.substr(0, nCut) + "\n";
            sLine.erase(0, nCut);
        }
        sLines += sLine + "\n";
        nStart = nEnd + 1;
    }
    SplitLines(sLines);
    ScanLines(-1);
    PostProcess(false);
    WriteOutputs(CDocumentPlace::OutputFileFor(sFile), bJson != 0);
    FinishTrace();
    return 1;
}

void CRUXAgent::PostProcess(bool bSecondPass)
{
    if (!m_pRUX)
        return;
    if (bSecondPass)
        ScanRules();
    KeyValConflictRemove();
    BuildKeyIdMap();
    GenerateTuple();
}

// ------------------------------------------------------- one paragraph

void CRUXAgent::BuildTokens(const char* sSegmented)
{
    m_scan.tokens.clear();
    const CPDAT* pDict = m_pRUX->GetDict();
    auto idOf = [pDict](const std::string& sWord) { return pDict ? pDict->Find(sWord) : -1; };
    _tRUXScanResult begin;
    begin.pos = "/LB";
    begin.word_id = idOf(begin.pos);
    m_scan.tokens.push_back(begin);
    std::string sText = sSegmented ? sSegmented : "";
    size_t i = 0;
    while (i < sText.size()) {
        while (i < sText.size() && sText[i] == ' ')
            ++i;
        if (i >= sText.size())
            break;
        _tRUXScanResult token;
        size_t nEnd = sText.find(' ', i);
        std::string sToken = sText.substr(i, nEnd == std::string::npos ? std::string::npos : nEnd - i);
        if (sToken.size() > 1 && sToken[0] == '[' && sToken[1] != '/') {
            // A group of words with spaces, closed by a "]" not followed by "/"... the
            // "]" before the tag ends it.
            size_t nClose = sText.find("]/", i + 1);
            if (nClose != std::string::npos) {
                token.word = sText.substr(i + 1, nClose - i - 1);
                nEnd = sText.find(' ', nClose);
                token.pos = sText.substr(nClose + 1, nEnd == std::string::npos ? std::string::npos : nEnd - nClose - 1);
                sToken.clear();
            }
        }
        if (!sToken.empty()) {
            size_t nSlash = sToken.rfind('/');
            if (nSlash == std::string::npos || nSlash == 0) {
                token.word = sToken;
            } else {
                token.word = sToken.substr(0, nSlash);
                token.pos = sToken.substr(nSlash);
            }
        }
        token.word_id = idOf(token.word);
        if (token.word_id < 0 && !token.pos.empty())
            token.word_id = idOf(token.pos);
        m_scan.tokens.push_back(token);
        i = nEnd == std::string::npos ? sText.size() : nEnd + 1;
    }
    _tRUXScanResult end;
    end.pos = "/LE";
    end.word_id = idOf(end.pos);
    m_scan.tokens.push_back(end);
}

// Tokens in a markup group "<", optional "/", a word tagged "/x", ">"; 0 when none starts at i.
int CRUXAgent::MarkupLength(size_t i) const
{
    const std::vector<_tRUXScanResult>& v = m_scan.tokens;
    if (i >= v.size() || v[i].word != "<")
        return 0;
    size_t j = i + 1;
    if (j < v.size() && v[j].word == "/")
        ++j;
    if (j + 1 < v.size() && v[j].pos == "/x" && v[j + 1].word == ">")
        return static_cast<int>(j + 2 - i);
    return 0;
}

uint32_t CRUXAgent::SumWordLengths(int nFrom, int nTo) const
{
    uint32_t nSum = 0;
    for (int i = nFrom; i < nTo && i < static_cast<int>(m_scan.tokens.size());) {
        int nMarkup = MarkupLength(static_cast<size_t>(i));
        if (nMarkup > 0) {
            i += nMarkup;
            continue;
        }
        nSum += static_cast<uint32_t>(m_scan.tokens[static_cast<size_t>(i)].word.size());
        ++i;
    }
    return nSum;
}

int CRUXAgent::ScanText(const char* sText, uint32_t nParaId, int nLevel, int nFieldFilter, int nRuleFilter,
                        uint32_t nOffset)
{
    if (!m_pRUX)
        return -1;
    if (m_nScanDepth == 0) {
        ++m_nScanDepth;
        int nResult = ScanParagraph(sText, nParaId, nLevel, nFieldFilter, nRuleFilter, nOffset);
        --m_nScanDepth;
        return nResult;
    }
    // A scan inside a scan (a table cell read by an extractor, a key value of
    // the second pass) works on a state of its own; the outer one comes back whole.
    _tParaScanState outer;
    std::swap(outer, m_scan);
    ++m_nScanDepth;
    int nResult = ScanParagraph(sText, nParaId, nLevel, nFieldFilter, nRuleFilter, nOffset);
    --m_nScanDepth;
    m_scan = std::move(outer);
    return nResult;
}

int CRUXAgent::ScanParagraph(const char* sText, uint32_t nParaId, int nLevel, int nFieldFilter, int nRuleFilter,
                             uint32_t nOffset)
{
    std::string sOriginal = sText ? sText : "";
    if (m_bDebug) {
        m_scan.trace = Json::Value(Json::objectValue);
        m_scan.trace["original"] = sOriginal;
        m_scan.trace["process"] = Json::Value(Json::arrayValue);
    }
    m_scan.text_stand = TextStandard(sOriginal);
    m_scan.original_text = sOriginal;
    m_scan.level = nLevel;
    m_scan.para_id = nParaId;
    const char* sSegmented = m_scan.text_stand.empty() ? "" : PELNOR_ParagraphProcess(m_scan.text_stand.c_str(), 1);
    std::string sCopy = sSegmented ? sSegmented : "";
    if (m_bDebug)
        m_scan.trace["segment"] = sCopy;
    BuildTokens(sCopy.c_str());

    int nResult = -1;
    int nOffsetSoFar = 0;
    _tScanContext context;
    context.para_id = nParaId;
    context.para_offset = nOffset;
    context.level = nLevel;
    context.field_filter = nFieldFilter;
    context.rule_filter = nRuleFilter;
    // The distinct word ids of the paragraph, for the filter of busy slots.
    std::vector<int> vecPresent, vecCandidates;
    for (const _tRUXScanResult& token : m_scan.tokens)
        if (token.word_id >= 0)
            vecPresent.push_back(token.word_id);
    std::sort(vecPresent.begin(), vecPresent.end());
    vecPresent.erase(std::unique(vecPresent.begin(), vecPresent.end()), vecPresent.end());
    const std::vector<_tRUXIndex>& vecIndex = m_pRUX->GetIndex();
    for (size_t i = 1; i < m_scan.tokens.size(); ++i) {
        int nMarkup = MarkupLength(i);
        if (nMarkup > 0) {
            i += static_cast<size_t>(nMarkup) - 1;
            continue;
        }
        const _tRUXScanResult& token = m_scan.tokens[i];
        int nWordLen = static_cast<int>(token.word.size());
        m_scan.tokens[i].offset = nOffsetSoFar;
        if (token.word_id < 0 || static_cast<size_t>(token.word_id) >= vecIndex.size()) {
            nOffsetSoFar += nWordLen;
            continue;
        }
        int nSlot = token.word_id;
        const std::vector<_tRUXIndexData>& vecPostings = vecIndex[static_cast<size_t>(nSlot)].pData;
        bool bFiltered = m_pPostingFilter->IsFiltered(nSlot);
        if (bFiltered)
            m_pPostingFilter->Candidates(nSlot, vecPresent, vecCandidates);
        size_t nCount = bFiltered ? vecCandidates.size() : vecPostings.size();
        context.token = static_cast<int>(i);
        context.token_offset = nOffsetSoFar;
        for (size_t k = 0; k < nCount; ++k) {
            context.stop_token = false;
            const _tRUXIndexData& posting = vecPostings[bFiltered ? static_cast<size_t>(vecCandidates[k]) : k];
            nResult = TryPosting(posting, context);
            if (context.stop_token)
                break;
        }
        nOffsetSoFar += nWordLen;
    }
    // Key values scanned again by their field's rules were checked with
    // their paragraph already.
    if ((g_bPunctionCheck || g_bSpellingCheck) && nFieldFilter < 0)
        PunctionCheck(nParaId, nLevel);
    if (m_bDebug)
        m_jsonDebug["debug"].append(m_scan.trace);
    return nResult;
}

bool CRUXAgent::PassesFilters(const _tRule& rule, int nRule, const _tScanContext& context) const
{
    int nFieldFilter = context.field_filter;
    int nLevel = context.level;
    if (nFieldFilter < 0 && rule.field >= kAttributeFieldBase)
        return false;
    if (nFieldFilter >= 0 && rule.field != nFieldFilter)
        return false;
    if (nLevel == DocLevel::HEADER) {
        if (rule.field != kFieldHeader)
            return false;
    } else if (nLevel == DocLevel::FOOTER) {
        if (rule.field != kFieldFooter)
            return false;
    } else if (rule.field == kFieldHeader || rule.field == kFieldFooter) {
        return false;
    }
    return context.rule_filter < 0 || nRule == context.rule_filter;
}

int CRUXAgent::TryPosting(const _tRUXIndexData& posting, _tScanContext& context)
{
    int nRule = posting.knowledge_index;
    if (nRule < 0 || static_cast<unsigned>(nRule) >= m_pRUX->GetRuleCount())
        return -1;
    const _tRule& rule = Rule(nRule);
    if (!PassesFilters(rule, nRule, context))
        return -1;
    const int i = context.token;
    const int nLevel = context.level;
    const uint32_t nParaOffset = context.para_offset;
    _tRUX_Result hit;
    hit.para_id = context.para_id;
    hit.offset = nParaOffset;
    hit.rule_index = nRule;
    int nAction = rule.action_id;
    int nField = rule.field;
    bool bGrid0 = posting.grid_index == 0;
    uint32_t nTokenOffset = static_cast<uint32_t>(context.token_offset);
    switch (nAction) {
    case kActionConvert:
        return ConvertData(nRule, hit);
    case kActionParagraph:
        if (bGrid0 && LineMatch(nRule))
            return ExtractParagraphData(hit, nLevel);
        return -1;
    case kActionUnit:
        if (bGrid0) {
            ReadResultFromRule(nRule, hit);
            // Label values are cut at blanks, which the normalised text has lost.
            return ExtractUnitData(m_scan.original_text, hit, i, nLevel, nTokenOffset);
        }
        return -1;
    case kActionBetween:
        if (bGrid0) {
            ReadResultFromRule(nRule, hit);
            return ExtractBetweenData(m_scan.text_stand, hit, i, nLevel, nTokenOffset);
        }
        return -1;
    case kActionEmail:
        if (context.email_done)
            return -1;
        context.email_done = true;
        ReadResultFromRule(nRule, hit);
        return ExtractEmailData(m_scan.text_stand, hit, nLevel, nParaOffset);
    case RUX_ACTION_COUNTRY_EXTRACT:
        ReadResultFromRule(nRule, hit);
        return ExtractCountry(m_scan.text_stand, hit, nParaOffset + nTokenOffset);
    default:
        break;
    }
    if (nField == kFieldRowColHead && nLevel == DocLevel::TABLE_CAPTION)
        return ExtractTableArguments(nRule);
    if (nField >= 1 && nField <= kFieldTitle3 && nField != kFieldHeader && nField != kFieldFooter &&
        nLevel == DocLevel::TABLE_COL) {
        ReadResultFromRule(nRule, hit);
        return nField == kFieldSingleRow ? ExtractSingleColData(i, hit) : ExtractTableData(i, hit);
    }
    if ((nAction == kActionSection || nAction == kActionTitle) && nField >= kFieldTitle && nField <= kFieldTitle3) {
        bool bTitle = nField == kFieldTitle ? (nLevel >= 1 && nLevel <= 12) : nLevel == nField - kFieldTitle;
        if (!bTitle)
            return -1;
        if (!bGrid0) {
            context.stop_token = true;
            return -1;
        }
        ReadResultFromRule(nRule, hit);
        return ExtractSectionData(hit, nLevel);
    }
    if (IsTableField(nField))
        return -1;
    if (m_bDebug)
        Trace("Match from word " + m_scan.tokens[static_cast<size_t>(i)].word + " offset=" + std::to_string(context.token_offset) +
              " ");
    int nEnd = MatchRule(posting, i, hit);
    if (nEnd < 0)
        return nEnd;
    hit.offset = nTokenOffset + nParaOffset;
    AddResult(hit);
    return nEnd;
}

void CRUXAgent::ReadResultFromRule(int nRule, _tRUX_Result& hit) const
{
    const _tRule& rule = Rule(nRule);
    const char* sNo = m_pRUX->GetStr(rule.rule_no_id);
    hit.rule_no = sNo ? sNo : "";
    const char* sAction = m_pRUX->GetActionStr(rule.action_id);
    hit.action = sAction ? sAction : "";
    hit.arguments.clear();
    for (int nArg : Values(rule.arguments_id))
        hit.arguments.push_back(m_pRUX->GetArgument(nArg, true));
    hit.credit = rule.credit;
    hit.frequency = rule.frequency;
    hit.rule_index = nRule;
}

const _tParagraph* CRUXAgent::BodyParagraph(int nIndex) const
{
    if (!m_pDocxParser || nIndex < 0 || static_cast<size_t>(nIndex) >= m_pDocxParser->Model().Paragraphs().size())
        return nullptr;
    return &m_pDocxParser->Model().Paragraphs()[static_cast<size_t>(nIndex)];
}

std::string CRUXAgent::DocParagraphText(uint32_t nParaId) const
{
    if (m_pDocxParser) {
        const char* sText = m_pDocxParser->GetText(nParaId);
        return sText ? sText : "";
    }
    if (nParaId < m_vecPlainLines.size())
        return m_vecPlainLines[nParaId];
    return "";
}
