// Stages of the checking pipeline. The rule scan and knowledge stages run
// the report type's rule set when the data folder has one; the stages whose
// services have not been built yet leave the document and the findings
// untouched, and the service that takes a stage over replaces its body here.
#include "Checker/CheckStages.h"

#include <memory>

#include "Docx/DocxParser.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RuleScan.h"

void RunAuditStage(CDocxParser& /*parser*/, CCheckResult& /*results*/, int /*nType*/, int /*nResultFormat*/,
                   const char* /*sOrganization*/, bool /*bDebug*/, _tAuditOutputs& outputs)
{
    outputs = _tAuditOutputs();
}

std::string RunKnowledgeStage(CDocxParser& parser, int nType)
{
    // Without a rule set for the report type there is nothing to extract.
    std::unique_ptr<CRUX> pSet = OpenRuleSetOfType(nType);
    if (!pSet)
        return "{}";
    CRUXAgent agent(pSet.get());
    agent.ScanDoc(&parser, parser.m_nResultFormat, false);
    return agent.GetKnowledgeJsonStr();
}

std::string RunRuleScanStage(const char* sLine, int nType, int nRuleId)
{
    std::unique_ptr<CRUX> pSet = OpenRuleSetOfType(nType);
    if (!pSet)
        return "[]";
    return TraceText(*pSet, sLine, nRuleId);
}

void RunFormatStage(CDocxParser& /*parser*/, CCheckResult& /*results*/, int /*nType*/)
{
}

void RunFormatRecheckStage(CDocxParser& /*parser*/, CCheckResult& /*results*/, int /*nTemplateID*/)
{
}

void RunHtmlStage(CDocxParser& /*parser*/, CCheckResult& /*results*/,
                  const std::vector<_tKeyVal>& /*vecStandards*/)
{
}
