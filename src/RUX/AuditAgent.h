// The evaluator of one check (CAuditAgent): lets the type's extraction
// rules scan the document, takes the template selection keys from the
// extracted values, turns checking actions of extraction rules into
// failures, and runs the type's audit rules over the extracted values. It
// hands back plain failure records; the checks above make findings of them.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Docx/KeyVal.h"
#include "RUX/AuditRecords.h"

class CAudit;
class CRUX;
class CRUXAgent;
class CDocxParser;
class CQueryExpand;
class CStandardSearch;

// What the checks of cited standards need beyond the rule set: the data
// folder with "SearchAgent.xml" (empty: the rule set's folder), the
// similar-word dictionary that relates issuing codes, and the rule set
// that reads the cited text of an inspection-table row. Nothing is owned.
struct _tStandardServices {
    std::string sDataDir;
    const CQueryExpand* pSimilar = nullptr;
    CRUX* pArgumentRUX = nullptr;
};

class CAuditAgent {
public:
    // pAudit may be null: the check then scans nothing and finds nothing.
    explicit CAuditAgent(CAudit* pAudit);
    virtual ~CAuditAgent();
    CAuditAgent(const CAuditAgent&) = delete;
    CAuditAgent& operator=(const CAuditAgent&) = delete;

    // The whole evaluation, in order: rule scan, paper structure (types 6
    // and 7), template keys, extraction findings, audit rules. 1, or 0
    // without a rule set.
    int Check(CDocxParser* pDocx, int nResultFormat, const char* sOrganization, bool bDebug);
    // The audit rules over the values the rule agent holds (tests fill them).
    int CheckAllData();
    // Only the scan, without tracing.
    int ExtractKnowledge(CDocxParser* pDocx, int nResultFormat);
    std::string GetKnowledgeJsonStr() const;
    // The cited standards the last check looked up, in order.
    void GetStandards(std::vector<_tKeyVal>& vecStandards) const;
    void SetStandardServices(const _tStandardServices& services) { m_standardServices = services; }

    const std::vector<_tAuditFailure>& Failures() const { return m_vecFailures; }
    // Milliseconds the last Check spent in the rule scan and in the rest
    // (paper structure, template keys, extraction findings, audit rules).
    double ScanMs() const { return m_fScanMs; }
    double AuditMs() const { return m_fAuditMs; }
    CRUXAgent* GetRUXAgent() const { return m_pRUXAgent.get(); }

protected:
    // Places the parts of a paper (abstracts, keywords, references,
    // acknowledgement, author, major, supervisor) at the paragraphs the
    // type's rules found for them; each part not found is a "12.1" failure
    // naming the part.
    virtual void RecognisePaperStructure(CDocxParser& docx);

private:
    void TakeTemplateKeys(const char* sOrganization);
    void ConvertExtractionHits();
    void CheckNotNull();
    void CheckKeyValue(const _tKeyVal& kv, int nMode);
    void RunCommand(int nRule, int nCommand, const _tKeyVal& kv, int nMode);
    void CheckUnique(const _tKeyVal& kv, int nRule);
    void CheckUniqueTuple(const _tKeyVal& kv, int nRule);
    void ReportDifferentValues(std::vector<_tKeyVal>& vecValues);
    void CheckNumChinese(const _tKeyVal& kv, int nRule);
    void CheckStandardId(const _tKeyVal& kv);
    void CheckStandardNumber(const _tKeyVal& kv);
    void CheckStandardArgument();
    const _tKeyVal* TupleValue(const char* sKey) const;
    _tKeyVal AsWritten(const _tKeyVal& kv) const;
    CStandardSearch& StandardSearch();
    void CheckLogicExpression(const _tKeyVal& kv, int nMode, int nRule);
    bool FieldValue(int nField, const _tKeyVal& kv, int nMode, std::string& sValue);
    bool TableSum(int nField, int nMode, double& dSum) const;
    void Add(_tAuditFailure failure, const _tKeyVal& kv);
    std::string ParagraphText(uint32_t nParaId, const std::string& sFallback) const;
    std::string RuleNo(int nRule) const;

    CAudit* m_pAudit;
    std::unique_ptr<CRUXAgent> m_pRUXAgent;
    CDocxParser* m_pDocx = nullptr;
    std::vector<_tAuditFailure> m_vecFailures;
    const std::vector<_tKeyVal>* m_pCurTuple = nullptr;
    const std::vector<std::vector<_tKeyVal>>* m_pCurTable = nullptr;
    int m_nCurRule = -1;
    _tKeyVal m_curKeyVal;  // the document value a failing expression is reported at
    bool m_bCurKeyValSet = false;
    std::set<int> m_setUniqueDone;         // attributes checked by audit_unique
    std::set<int> m_setTupleRulesDone;     // tuple-scoped rules run on the current tuple
    bool m_bDebug = false;
    _tStandardServices m_standardServices;
    std::unique_ptr<CStandardSearch> m_pStandardSearch;  // made on the first citation
    std::vector<_tKeyVal> m_vecStandards;
    double m_fScanMs = 0;
    double m_fAuditMs = 0;
};
