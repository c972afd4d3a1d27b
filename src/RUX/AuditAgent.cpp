// The audit evaluator: the order of a check, the conversion of checking
// actions, the not-null fields and the walk over single values, tuples and
// table rows, with each rule indexed under a value's field.
#include "RUX/AuditAgent.h"

#include <chrono>
#include <cstdio>
#include <map>

#include "Docx/DocxParser.h"
#include "Docx/PaperParser.h"
#include "RUX/Audit.h"
#include "RUX/AuditExpression.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/StandardSearch.h"
#include "Utility/Log.h"

namespace {

const uint32_t kNoParagraph = 0xFFFFFFFFu;

bool BeginsWithDigit(const std::string& s)
{
    return !s.empty() && s[0] >= '0' && s[0] <= '9';
}

}  // namespace

CAuditAgent::CAuditAgent(CAudit* pAudit)
    : m_pAudit(pAudit), m_pRUXAgent(pAudit ? std::make_unique<CRUXAgent>(pAudit->GetRUX()) : nullptr)
{
}

CAuditAgent::~CAuditAgent() = default;

int CAuditAgent::Check(CDocxParser* pDocx, int nResultFormat, const char* sOrganization, bool bDebug)
{
    m_vecFailures.clear();
    m_vecStandards.clear();
    m_pDocx = pDocx;
    m_bDebug = bDebug;
    if (!m_pAudit || !pDocx)
        return 0;
    auto start = std::chrono::steady_clock::now();
    m_pRUXAgent->ScanDoc(pDocx, nResultFormat, bDebug);
    auto scanned = std::chrono::steady_clock::now();
    if (m_pAudit->GetType() == 6 || m_pAudit->GetType() == 7)
        RecognisePaperStructure(*pDocx);
    TakeTemplateKeys(sOrganization);
    ConvertExtractionHits();
    CheckAllData();
    auto done = std::chrono::steady_clock::now();
    m_fScanMs = std::chrono::duration<double, std::milli>(scanned - start).count();
    m_fAuditMs = std::chrono::duration<double, std::milli>(done - scanned).count();
    return 1;
}

int CAuditAgent::ExtractKnowledge(CDocxParser* pDocx, int nResultFormat)
{
    m_pDocx = pDocx;
    if (!m_pAudit || !pDocx)
        return 0;
    return m_pRUXAgent->ScanDoc(pDocx, nResultFormat, false);
}

std::string CAuditAgent::GetKnowledgeJsonStr() const
{
    return m_pRUXAgent ? m_pRUXAgent->GetKnowledgeJsonStr() : "{}";
}

void CAuditAgent::GetStandards(std::vector<_tKeyVal>& vecStandards) const
{
    vecStandards = m_vecStandards;
}

void CAuditAgent::RecognisePaperStructure(CDocxParser& docx)
{
    CRUXAgent& agent = *m_pRUXAgent;
    CPaperParser parser(docx, [&agent](const char* sKeyName) {
        std::vector<_tKeyVal> vecValues;
        agent.GetKeyValue(sKeyName, vecValues);
        return vecValues;
    });
    parser.PaperParse();
    for (int nLevel : parser.Missing()) {
        const char* sKey = CPaperParser::KeyName(nLevel);
        _tAuditFailure failure;
        failure.code = "12.1";
        failure.para_id = kNoParagraph;
        failure.revise = 'I';
        // The name the rule set shows for the key; the key itself when the
        // rule set has no rule for the part.
        failure.new_str = agent.KeyShowName(m_pAudit->GetRUX()->GetKeyId(sKey));
        if (failure.new_str.empty())
            failure.new_str = sKey;
        m_vecFailures.push_back(failure);
    }
}

void CAuditAgent::TakeTemplateKeys(const char* sOrganization)
{
    std::vector<_tKeyVal> vecValues;
    if (m_pRUXAgent->GetKeyValue("rux_organization", vecValues) > 0)
        m_pDocx->m_keyValOrganization = vecValues[0];
    if (m_pRUXAgent->GetKeyValue("rux_argument", vecValues) > 0)
        m_pDocx->m_keyValArgu = vecValues[0];
    if (m_pRUXAgent->GetKeyValue("rux_area", vecValues) > 0)
        m_pDocx->m_keyValArea = vecValues[0];
    if (sOrganization && *sOrganization)
        m_pDocx->m_keyValOrganization.key_value = sOrganization;
}

namespace {

// The spelling service sees a few words at a time, so a term it does not
// know (脱硝, 比特币) looks like a slip wherever it stands. A slip is rarely
// made the same way this often in one document: the author means it.
const int kAuthorsUsage = 3;
const char kSpellingRule[] = "spelling rule 1.5.1";

std::string CorrectionKey(const _tRUX_Result& hit)
{
    return (hit.vecSelected.empty() ? "" : hit.vecSelected[0]) + '\0' +
           (hit.arguments.empty() ? "" : hit.arguments[0]);
}

std::map<std::string, int> CountSpellingCorrections(const std::vector<_tRUX_Result>& vecHits)
{
    std::map<std::string, int> mapCount;
    for (const _tRUX_Result& hit : vecHits)
        if (hit.rule_no == kSpellingRule)
            ++mapCount[CorrectionKey(hit)];
    return mapCount;
}

}  // namespace

void CAuditAgent::ConvertExtractionHits()
{
    const std::map<std::string, int> mapSpelling = CountSpellingCorrections(m_pRUXAgent->m_vecRUXResult);
    for (const _tRUX_Result& hit : m_pRUXAgent->m_vecRUXResult) {
        if (hit.action != "insert" && hit.action != "update" && hit.action != "delete")
            continue;
        if (hit.rule_no == kSpellingRule && mapSpelling.at(CorrectionKey(hit)) >= kAuthorsUsage)
            continue;
        _tAuditFailure failure;
        failure.para_id = hit.para_id;
        failure.offset = hit.offset;
        failure.rule_no = hit.rule_no;
        failure.org_str = hit.vecSelected.empty() ? "" : hit.vecSelected[0];
        failure.new_str = hit.arguments.empty() ? "" : hit.arguments[0];
        if (hit.action == "update") {
            bool bCode = hit.arguments.size() >= 2 && BeginsWithDigit(hit.arguments.back());
            failure.code = bCode ? hit.arguments.back() : "1.5.1";
        } else if (hit.action == "delete") {
            failure.code = hit.arguments.empty() ? "1.5.3" : hit.arguments[0];
            failure.new_str.clear();
            failure.revise = 'D';
        } else {
            failure.code = "1.5.4";
            failure.revise = 'I';
        }
        failure.text = ParagraphText(hit.para_id, hit.org_para_text);
        m_vecFailures.push_back(failure);
    }
}

int CAuditAgent::CheckAllData()
{
    if (!m_pAudit || !m_pRUXAgent)
        return 0;
    m_setUniqueDone.clear();
    CheckNotNull();
    m_pCurTuple = nullptr;
    m_pCurTable = nullptr;
    for (const _tKeyVal& kv : m_pRUXAgent->m_vecSingleKeyVal)
        CheckKeyValue(kv, 1);
    for (const std::vector<_tKeyVal>& tuple : m_pRUXAgent->m_vecTuple) {
        m_pCurTuple = &tuple;
        m_setTupleRulesDone.clear();
        for (const _tKeyVal& kv : tuple)
            CheckKeyValue(kv, 2);
    }
    for (const std::vector<std::vector<_tKeyVal>>& table : m_pRUXAgent->m_vecTable) {
        m_pCurTable = &table;
        for (size_t r = 0; r < table.size(); ++r) {
            if (m_bDebug)
                std::printf("Tuple %zu/%zu\r", r + 1, table.size());
            m_pCurTuple = &table[r];
            m_setTupleRulesDone.clear();
            for (const _tKeyVal& kv : table[r])
                CheckKeyValue(kv, 3);
        }
        if (m_bDebug)
            std::printf("\n");
    }
    m_pCurTuple = nullptr;
    m_pCurTable = nullptr;
    return 1;
}

void CAuditAgent::CheckNotNull()
{
    m_nCurRule = -1;
    for (const _tNotNullField& field : m_pAudit->GetNotNullFields()) {
        std::vector<_tKeyVal> vecValues;
        if (field.id >= 0)
            m_pRUXAgent->GetKeyValue(field.id, vecValues);
        if (vecValues.size() > 1 || (vecValues.size() == 1 && !vecValues[0].key_value.empty()))
            continue;
        _tAuditFailure failure;
        failure.code = field.code;
        failure.new_str = field.name;
        failure.revise = 'I';
        _tKeyVal kv;
        kv.para_id = vecValues.empty() ? kNoParagraph : vecValues[0].para_id;
        kv.offset = vecValues.empty() ? 0 : vecValues[0].offset;
        Add(failure, kv);
    }
}

void CAuditAgent::CheckKeyValue(const _tKeyVal& kv, int nMode)
{
    if (!m_pAudit || kv.key_name_id < 0)
        return;
    const std::vector<_tAuditRule>& vecRules = m_pAudit->GetRules();
    for (int nRule : m_pAudit->RulesOfField(kv.key_name_id)) {
        const _tAuditRule& rule = vecRules[static_cast<size_t>(nRule)];
        m_nCurRule = nRule;
        if (rule.rules.size() == 1 && rule.rules[0].type == AUDIT_UNIT_COMMAND)
            RunCommand(nRule, rule.rules[0].val, kv, nMode);
        else
            CheckLogicExpression(kv, nMode, nRule);
    }
}

void CAuditAgent::Add(_tAuditFailure failure, const _tKeyVal& kv)
{
    failure.para_id = kv.para_id;
    failure.offset = kv.offset;
    if (failure.org_str.empty())
        failure.org_str = kv.key_value;
    if (failure.text.empty() && kv.para_id != kNoParagraph)
        failure.text = ParagraphText(kv.para_id, kv.org_para_text);
    if (failure.rule_no.empty() && m_nCurRule >= 0)
        failure.rule_no = RuleNo(m_nCurRule);
    m_vecFailures.push_back(std::move(failure));
}

std::string CAuditAgent::ParagraphText(uint32_t nParaId, const std::string& sFallback) const
{
    if (!m_pDocx)
        return sFallback;
    const char* sText = m_pDocx->GetText(nParaId);
    return sText && *sText ? std::string(sText) : sFallback;
}

std::string CAuditAgent::RuleNo(int nRule) const
{
    const std::vector<_tAuditRuleOrg>& vecOrg = m_pAudit->GetRuleOrgs();
    return nRule >= 0 && static_cast<size_t>(nRule) < vecOrg.size() ? vecOrg[static_cast<size_t>(nRule)].no : "";
}
