// Stages whose services have not been built yet. Each leaves the document
// and the findings untouched; the service that takes a stage over replaces
// its body here.
#include "Checker/CheckStages.h"

void RunAuditStage(CDocxParser& /*parser*/, CCheckResult& /*results*/, int /*nType*/, int /*nResultFormat*/,
                   const char* /*sOrganization*/, bool /*bDebug*/, _tAuditOutputs& outputs)
{
    outputs = _tAuditOutputs();
}

std::string RunKnowledgeStage(CDocxParser& /*parser*/, int /*nType*/)
{
    return "{}";
}

std::string RunRuleScanStage(const char* /*sLine*/, int /*nType*/, int /*nRuleId*/)
{
    return "[]";
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
