// The stages of a check that other services perform: the audit agent with
// its rule scan, the format check, and the marking of findings in the HTML
// pages. The pipeline calls them here in its fixed order; each stage is
// filled in by its service and until then leaves document and findings as
// they are, so a check always completes with a valid result.
#pragma once

#include <string>
#include <vector>

#include "Checker/CheckServices.h"
#include "Docx/KeyVal.h"

class CDocxParser;
class CCheckResult;
class CDocReviser;
class CRUXManager;
class CQueryExpand;

// What the audit stage hands back to the pipeline.
struct _tAuditOutputs {
    std::string sKGResult;
    std::string sSingleKeyResult;
    std::string sEntityKeyResult;
    std::string sTupleResult;
    std::vector<_tKeyVal> vecStandards;  // cited standards, for the HTML marks
    double fScanMs = 0;                  // the rule scan
    double fAuditMs = 0;                 // the audit after it
};

// Rule scan (with punctuation and spelling), paper structure, template
// keys, extraction findings and audit rules for report type nType. A null
// manager, or a type it does not know, leaves document and findings as they are.
// pSpellDict holds the wrong words the spelling rules correct, pSimDict the
// similar words that relate the issuing codes of cited standards (both may be null).
void RunAuditStage(CRUXManager* pManager, CDocxParser& parser, CCheckResult& results, int nType, int nResultFormat,
                   const char* sOrganization, bool bDebug, _tAuditOutputs& outputs,
                   const CQueryExpand* pSpellDict = nullptr, const CQueryExpand* pSimDict = nullptr);
// The knowledge of a text as one JSON object ("{}" when nothing was found).
std::string RunKnowledgeStage(CRUXManager* pManager, CDocxParser& parser, int nType);
// One text scanned with one rule (-1 for all): the trace text.
std::string RunRuleScanStage(CRUXManager* pManager, const char* sLine, int nType, int nRuleId);
// The format check of report type nType: structure, numbering, captions,
// and the paragraphs against the template the format checker selects.
// Nothing without a format checker among the services.
void RunFormatStage(const _tCheckServices& services, CDocxParser& parser, CCheckResult& results, int nType);
// The paragraph comparison against a given template (re-check of a saved result).
void RunFormatRecheckStage(const _tCheckServices& services, CDocxParser& parser, CCheckResult& results,
                           int nTemplateID);
// Marks the findings in the document's HTML pages and writes the pages.
// The reviser marks the findings in the pages, which are then written.
void RunHtmlStage(CDocReviser& reviser, CDocxParser& parser, CCheckResult& results,
                  const std::vector<_tKeyVal>& vecStandards);
