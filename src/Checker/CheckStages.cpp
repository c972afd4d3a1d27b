// Stages of the checking pipeline. The rule scan and knowledge stages run
// the report type's rule set when the data folder has one; the stages whose
// services have not been built yet leave the document and the findings
// untouched, and the service that takes a stage over replaces its body here.
#include "Checker/CheckStages.h"

#include <memory>
#include <set>

#include "Checker/CheckResult.h"
#include "Checker/DocFormatCheck.h"
#include "Checker/ReferenceCheck.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "RUX/RUXManager.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RuleScan.h"
#include "Reviser/DocReviser.h"

namespace {

// The processor of a report type from the manager; null (no rule scan, no
// audit) when the library has no manager or the type was never set up.
CAudit* ProcessorOfType(CRUXManager* pManager, int nType)
{
    return pManager ? pManager->GetProcesser(nType) : nullptr;
}

void AddFinding(CCheckResult& results, const _tAuditFailure& failure)
{
    _tCheckResult record;
    record.para_id = failure.para_id;
    record.offset = failure.offset;
    record.error_id = failure.code;
    record.error_msg = failure.message;
    record.text = failure.text;
    record.field_id = FIELD_CONTENT;
    record.org_str = failure.org_str;
    record.new_str = failure.new_str;
    record.new_para_id = failure.new_para_id;
    record.revise_type = _tCheckResult::ReviseFromLetter(std::string(1, failure.revise), REVISE_U);
    results.AddResult(record);
}

// A report type without citations never asks for the argument rule set,
// so its absence is noticed (and logged) only by a check that needs it.
_tStandardServices StandardServices(CRUXManager& manager, const CQueryExpand* pSimDict)
{
    _tStandardServices services;
    services.sDataDir = manager.DataPath();
    services.pSimilar = pSimDict;
    std::set<int> setTypes = manager.ReportTypes();
    if (setTypes.count(CRUXManager::kArgumentRuleType)) {
        CAudit* pArguments = manager.GetProcesser(CRUXManager::kArgumentRuleType);
        services.pArgumentRUX = pArguments ? pArguments->GetRUX() : nullptr;
    }
    return services;
}

}  // namespace

void RunAuditStage(CRUXManager* pManager, CDocxParser& parser, CCheckResult& results, int nType, int nResultFormat,
                   const char* sOrganization, bool bDebug, _tAuditOutputs& outputs, const CQueryExpand* pSpellDict,
                   const CQueryExpand* pSimDict)
{
    outputs = _tAuditOutputs();
    CAudit* pAudit = ProcessorOfType(pManager, nType);
    if (!pAudit)
        return;
    CAuditAgent agent(pAudit);
    agent.GetRUXAgent()->SetSpellCheckDict(pSpellDict);
    agent.SetStandardServices(StandardServices(*pManager, pSimDict));
    agent.Check(&parser, nResultFormat, sOrganization, bDebug);
    for (const _tAuditFailure& failure : agent.Failures())
        AddFinding(results, failure);
    CRUXAgent* pRUXAgent = agent.GetRUXAgent();
    outputs.sKGResult = pRUXAgent->GetKGResult();
    outputs.sSingleKeyResult = pRUXAgent->GetSingleKeyResult();
    outputs.sEntityKeyResult = pRUXAgent->GetEntityResult();
    outputs.sTupleResult = pRUXAgent->GetTupleResult();
    agent.GetStandards(outputs.vecStandards);
    outputs.fScanMs = agent.ScanMs();
    outputs.fAuditMs = agent.AuditMs();
}

std::string RunKnowledgeStage(CRUXManager* pManager, CDocxParser& parser, int nType)
{
    // Without a rule set for the report type there is nothing to extract.
    CAudit* pAudit = ProcessorOfType(pManager, nType);
    if (pAudit) {
        CAuditAgent agent(pAudit);
        agent.GetRUXAgent()->EnableContentChecks(false);
        agent.ExtractKnowledge(&parser, parser.m_nResultFormat);
        return agent.GetKnowledgeJsonStr();
    }
    std::unique_ptr<CRUX> pSet = OpenRuleSetOfType(nType);
    if (!pSet)
        return "{}";
    CRUXAgent agent(pSet.get());
    agent.EnableContentChecks(false);
    agent.ScanDoc(&parser, parser.m_nResultFormat, false);
    return agent.GetKnowledgeJsonStr();
}

std::string RunRuleScanStage(CRUXManager* pManager, const char* sLine, int nType, int nRuleId)
{
    CAudit* pAudit = ProcessorOfType(pManager, nType);
    if (pAudit)
        return TraceText(*pAudit->GetRUX(), sLine, nRuleId);
    std::unique_ptr<CRUX> pSet = OpenRuleSetOfType(nType);
    if (!pSet)
        return "[]";
    return TraceText(*pSet, sLine, nRuleId);
}

namespace {

_tFormatCheckOptions FormatOptions(const _tCheckServices& services)
{
    _tFormatCheckOptions options;
    options.pFontSizes = services.pNum2FontSize;
    options.bBodyFormat = g_bBodyFormatCheck;
    return options;
}

}  // namespace

void RunFormatStage(const _tCheckServices& services, CDocxParser& parser, CCheckResult& results, int nType)
{
    if (!services.pDocFormatChecker)
        return;
    services.pDocFormatChecker->Check(parser, results, nType, FormatOptions(services));
    // The reference list is checked entry by entry after the format pass.
    CReferenceCheck().CheckReferenceList(parser, results);
}

void RunFormatRecheckStage(const _tCheckServices& services, CDocxParser& parser, CCheckResult& results,
                           int nTemplateID)
{
    if (services.pDocFormatChecker)
        services.pDocFormatChecker->ReCheck(parser, results, nTemplateID, FormatOptions(services));
}

void RunHtmlStage(CDocReviser& reviser, CDocxParser& parser, CCheckResult& results,
                  const std::vector<_tKeyVal>& vecStandards)
{
    // A document without pages (its export failed, or a text in memory with
    // its own plain page) has nothing to mark.
    if (reviser.ShowCheckInHtml(&parser, &results, vecStandards) != 1)
        return;
    parser.OutputHtmlPages();
}
