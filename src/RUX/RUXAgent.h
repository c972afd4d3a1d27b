// Applies one compiled rule set to text: the paragraphs, headers, footers,
// captions and table cells of a document, the lines of a text file or of a
// text in memory. Holds the hits, key values, tuples, tables and knowledge
// records of the last scan and writes them as files and strings.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Docx/KeyVal.h"
#include "RUX/RUXRecords.h"
#include "RUX/RUXResultRecords.h"

class CRUX;
class CDocxParser;
class CBufferManager;
class CPostingFilter;
class CQueryExpand;
struct _tParagraph;
struct _tTable;

// The state of the paragraph being scanned. A scan inside a scan (a table
// cell read by an extractor, a key value of the second pass) swaps the whole
// of it out and back, so the outer paragraph goes on as it was.
struct _tParaScanState {
    std::vector<_tRUXScanResult> tokens;  // "/LB", the segmenter's tokens, "/LE"
    std::string text_stand;                // the paragraph after normalisation
    std::string original_text;             // the paragraph as given
    Json::Value trace;                     // its trace object, with the trace on
    uint32_t para_id = 0;
    int level = 0;
    int token_matched_index = 0;           // the token whose posting is being tried
    int action_id = 0;                     // the action of the rule being tried
};

// What a paragraph scan hands to each posting it tries: the paragraph's
// settings, the token, and what the tries tell the scan.
struct _tScanContext {
    uint32_t para_id = 0;
    uint32_t para_offset = 0;  // added to every offset reported
    int level = 0;
    int field_filter = -1;     // -1: rules of any field but the key-scoped ones
    int rule_filter = -1;      // -1: every rule
    int token = 0;             // position of the token tried
    int token_offset = 0;      // its byte offset in the paragraph
    bool stop_token = false;   // set by a try: skip the token's further postings
    bool email_done = false;   // the e-mail extractor ran in this paragraph
};

class CRUXAgent {
public:
    explicit CRUXAgent(CRUX* pRUX);
    ~CRUXAgent();
    CRUXAgent(const CRUXAgent&) = delete;
    CRUXAgent& operator=(const CRUXAgent&) = delete;

    // Clears hits, key values, tuples, tables and the trace.
    void Reset();

    // ---- scans ----
    // The whole document, then the second pass, conflict removal, tuple
    // generation and the output files beside the document. 1, or -1.
    int ScanDoc(CDocxParser* pDocx, int bJson, bool bDebug);
    // One paragraph; the result of the last match tried.
    int ScanText(const char* sText, uint32_t nParaId, int nLevel, int nFieldFilter = -1, int nRuleFilter = -1,
                 uint32_t nOffset = 0);
    // Every line a paragraph (id = line number); the trace JSON text, also
    // written to Match_Debug.txt. Without bTrace nothing is traced or
    // written and the result is empty.
    const char* ScanTextMem(const char* sText, int nRuleFilter, bool bTrace = true);
    // Every line of the file a paragraph; the output files with the file as
    // base name. 1, or -1 with "Failed open file <name>".
    int ScanTextFile(const char* sFile, int bJson, bool bDebug);
    // Where the output files go; empty writes none. Set by the scans.
    void SetOutputBase(const std::string& sBase) { m_sOutputBase = sBase; }
    // The wrong words and their right forms for the spelling rules (not owned).
    void SetSpellCheckDict(const CQueryExpand* pDict) { m_pSpellCheckDict = pDict; }
    // Off: scans only extract (knowledge), without punctuation and spelling checks.
    void EnableContentChecks(bool bOn) { m_bContentChecks = bOn; }

    // ---- matching ----
    int MatchRule(const _tRUXIndexData& posting, int i, _tRUX_Result& hit);
    int LocateFirstToken(const _tRUXIndexData& posting, int i);
    int MatchKnowledge(int nRule, int nStart, _tRUX_Result& hit);
    int MatchGrid(int nRule, int g, int& nStart, int& nLimit, _tRUX_Result& hit);
    bool MatchBlock(const _tBlock& block, int p);
    bool LineMatch(int nRule);

    // ---- outputs ----
    int AddResult(_tRUX_Result& hit);
    void KeyValConflictRemove();
    static void SortByParaId(std::vector<_tKeyVal>& vecKeyVal);
    static bool IsSameTuple(const std::vector<_tKeyVal>& a, const std::vector<_tKeyVal>& b);
    static int GetKeyIndex(const std::vector<_tKeyVal>& tuple, int nKey, int nStart = 0);
    static std::string GetValueFromTupleByKeyId(const std::vector<_tKeyVal>& tuple, int nKey, int nStart = 0);
    // The hit list; written to sPrefix + "_RUX_result.xml" when both are non-empty.
    const char* GetResult(const char* sPrefix);
    std::string KeyVal_WriteXML(const _tKeyVal& keyVal) const;
    Json::Value KeyVal_WriteJson(const _tKeyVal& keyVal) const;
    // Reads one "<KeyVal>" record; the position after it, or npos.
    size_t KeyVal_ReadXML(const std::string& sText, size_t nFrom, _tKeyVal& keyVal) const;
    // Writes every output file for base sBase (JSON or XML and text) and builds
    // the result strings; the knowledge-graph file always.
    void WriteOutputs(const std::string& sBase, bool bJson);
    std::string GetKnowledgeJsonStr() const;
    const std::string& GetKGResult() const { return m_sKGResult; }
    const std::string& GetSingleKeyResult() const { return m_sKeyValResult; }
    const std::string& GetEntityResult() const { return m_sEntityKeyValResult; }
    const std::string& GetTupleResult() const { return m_sTupleResult; }
    const std::string& GetMatchProcess() const { return m_sMatchProcess; }

    // ---- keys ----
    void BuildKeyIdMap();
    int GetKeyValue(int nKey, std::vector<_tKeyVal>& vecOut, uint32_t nPara = 0, uint32_t nOff = UINT32_MAX,
                    int nMode = 2, bool bNearestOnly = false);
    int GetKeyValue(const char* sKeyName, std::vector<_tKeyVal>& vecOut, uint32_t nPara = 0,
                    uint32_t nOff = UINT32_MAX, int nMode = 2, bool bNearestOnly = false);
    void GenerateTuple();
    bool GenerateOneTuple(size_t i, const _tRUXIndexData& posting);
    void GenerateDate(const std::vector<_tKeyVal>& tuple, const _tRUXIndexData& posting);
    void GenerateSingleKey(int nRule);
    int ExtractDate(const char* sText, std::vector<std::string>& vecDates);
    void ScanRules();

    // ---- tables ----
    int ExtractTableHead(bool bByRow, int i, std::vector<std::string>& vecHeads);
    static void MergeTableHead(std::vector<std::string>& vecHeads, const std::vector<std::string>& vecNext);
    int MapTableItemName(int nRule, const std::vector<std::string>& vecHeads, std::vector<_tTableItem>& vecItems);
    int ExtractTableData(int nToken, _tRUX_Result& hit);
    int ExtractSingleColData(int nToken, _tRUX_Result& hit);
    int ExtractTableArguments(int nRule);

    // ---- anchored extractors ----
    int ExtractUnitData(const std::string& sText, _tRUX_Result& hit, int nToken, int nLevel, uint32_t nOffset);
    int ExtractBetweenData(const std::string& sText, _tRUX_Result& hit, int nToken, int nLevel, uint32_t nOffset);
    int ExtractCountry(const std::string& sText, _tRUX_Result& hit, uint32_t nOffset);
    int ExtractEmailData(const std::string& sText, _tRUX_Result& hit, int nLevel, uint32_t nOffset);
    int ExtractParagraphData(_tRUX_Result& hit, int nLevel);
    int ExtractSectionData(_tRUX_Result& hit, int nLevel);
    int ConvertData(int nRule, _tRUX_Result& hit);

    // ---- results ----
    std::vector<_tRUX_Result> m_vecRUXResult;
    std::vector<_tKeyVal> m_vecSingleKeyVal;
    std::vector<_tKeyVal> m_vecKeyValNamedEntity;
    std::vector<std::vector<_tKeyVal>> m_vecTuple;
    std::vector<std::vector<std::vector<_tKeyVal>>> m_vecTable;
    std::vector<_tTableArgument> m_vecTableArguments;
    std::vector<_tEntityAttrVal> m_vecEntityVal;
    std::vector<_tHeadRelTail> m_vecHeadRelTail;
    Json::Value m_jsonDebug;
    // The paragraph being scanned (after a scan: the last one).
    const _tParaScanState& ScanState() const { return m_scan; }
    const std::vector<_tKeyVal>& GetKeyPrefix() const { return m_vecKeyPrefix; }

    // Names of a key: attribute and display name ("" for -1 or unknown).
    std::string KeyAttribute(int nKey) const;
    std::string KeyShowName(int nKey) const;

private:
    // scan helpers
    void BeginScan(bool bDebug);
    int ScanParagraph(const char* sText, uint32_t nParaId, int nLevel, int nFieldFilter, int nRuleFilter,
                      uint32_t nOffset);
    void BuildTokens(const char* sSegmented);
    int MarkupLength(size_t i) const;
    int TryPosting(const _tRUXIndexData& posting, _tScanContext& context);
    bool PassesFilters(const _tRule& rule, int nRule, const _tScanContext& context) const;
    // The punctuation and word checks of the paragraph just scanned; nFlag
    // is its level (-512, a formula, has no English-word check).
    void PunctionCheck(uint32_t nParaId, int nFlag);
    void AddCheckHit(_tRUX_Result& hit);
    void Trace(const std::string& sMessage);
    void ReadResultFromRule(int nRule, _tRUX_Result& hit) const;
    void ScanParagraphs(const std::vector<_tParagraph>& vecParas);
    void ScanTables();
    void SplitLines(const std::string& sText);
    void ScanLines(int nRuleFilter);
    void PostProcess(bool bSecondPass);
    void FinishTrace();
    const _tRule& Rule(int nRule) const;
    std::vector<int> Values(const _tIntArray& range) const;
    std::string BlockText(int nRule, int g, int b) const;
    std::string GridText(int nRule, int g) const;
    uint32_t SumWordLengths(int nFrom, int nTo) const;
    const _tParagraph* BodyParagraph(int nIndex) const;
    std::string DocParagraphText(uint32_t nParaId) const;

    // output helpers
    void Tuple2KnowGraph(const std::vector<_tKeyVal>& tuple, int nRule);
    std::vector<_tKeyVal> HitToKeyVals(const _tRUX_Result& hit, size_t nFrom, size_t nCount, bool bTable) const;
    int FindEntityHead(const std::string& sField, const std::string& sValue) const;
    Json::Value KeyValArray(std::vector<_tKeyVal> vecKeyVal) const;
    Json::Value TupleJson() const;
    Json::Value TableJson() const;
    Json::Value ArgumentJson() const;
    Json::Value KGJson() const;
    std::string TupleText() const;
    void WriteText(const std::string& sFile, const std::string& sText);
    void WriteXmlFiles(const std::string& sBase);

    // table helpers
    const _tTable* CurrentTable() const;
    std::string CellText(const _tTable& table, size_t r, size_t c) const;
    uint32_t CellParaId(const _tTable& table, size_t r, size_t c) const;

    // anchor helpers
    int NextParagraphText(int nLevel, int& nCursor, std::string& sText) const;

    CRUX* m_pRUX;
    std::unique_ptr<CBufferManager> m_pBuffer;
    std::unique_ptr<CPostingFilter> m_pPostingFilter;
    std::string m_sMatchProcess;
    int m_nTableIndex = 0, m_nRowIndex = 0, m_nColIndex = 0, m_nRowColParaIndex = 0, m_nParaIndex = 0;
    bool m_bDebug = false;
    int m_nScanDepth = 0;
    _tParaScanState m_scan;
    CDocxParser* m_pDocxParser = nullptr;
    const CQueryExpand* m_pSpellCheckDict = nullptr;
    bool m_bContentChecks = true;
    std::string m_sOutputBase;
    std::string m_sKGResult, m_sKeyValResult, m_sEntityKeyValResult, m_sTupleResult;
    std::string m_sHitList;
    std::vector<std::string> m_vecPlainLines;  // paragraphs of a text scan, by id
    std::vector<int8_t> m_vecIsTagElem;        // per rule-dictionary id: element is a tag
    std::vector<std::string> m_vecElemStr;

    std::unordered_map<std::string, std::vector<size_t>> m_mapHitsByRulePara;  // hit indexes

    // keys
    std::map<int, std::vector<_tKeyVal>> m_mapKeyId2Keys;
    std::vector<_tKeyVal> m_vecDuringDate, m_vecEndingDate, m_vecKeyPrefix;
};
