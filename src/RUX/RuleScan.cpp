// Scans of files and texts with a fresh agent on a given rule set.
#include "RUX/RuleScan.h"

#include "Docx/DocumentPlace.h"

#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RUXEngine.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

std::unique_ptr<CRUX> OpenRuleSetOfType(int nType)
{
    if (!RUX_IsInit())
        return nullptr;
    auto pSet = std::make_unique<CRUX>(nullptr, nType);
    if (!FileExists(pSet->RuleFile()) || pSet->Load() != 1)
        return nullptr;
    return pSet;
}

namespace {

_tScanOutcome Finish(CRUXAgent& agent, const std::string& sPrefix)
{
    _tScanOutcome outcome;
    outcome.nResult = 1;
    outcome.sHitList = agent.GetResult(sPrefix.c_str());
    outcome.sKnowledge = agent.GetKnowledgeJsonStr();
    return outcome;
}

}  // namespace

_tScanOutcome ScanDocumentFile(CRUX& set, const char* sFile, int nType, bool bJson)
{
    CDocxParser parser;
    g_sLastErrorMessage.clear();
    const char* sResult = parser.ImportDocx(sFile, "", nType, bJson ? 1 : 0);
    if (!sResult || !*sResult) {
        if (g_sLastErrorMessage.empty())
            SetLastError(std::string("Failed open file ") + (sFile ? sFile : ""));
        return _tScanOutcome();
    }
    CRUXAgent agent(&set);
    agent.ScanDoc(&parser, bJson ? 1 : 0, false);
    // The hit list goes where the other outputs go (the output folder when
    // one is set), never beside a document the caller wants left alone.
    return Finish(agent, CDocumentPlace::OutputFileFor(sFile ? sFile : ""));
}

_tScanOutcome ScanDocumentResult(CRUX& set, const char* sResultFile, bool bJson)
{
    CDocxParser parser;
    if (parser.LoadDocResult(sResultFile) == 0)
        return _tScanOutcome();
    CRUXAgent agent(&set);
    agent.ScanDoc(&parser, bJson ? 1 : 0, false);
    return Finish(agent, "");
}

_tScanOutcome ScanPlainTextFile(CRUX& set, const char* sFile, bool bJson)
{
    CRUXAgent agent(&set);
    if (agent.ScanTextFile(sFile, bJson ? 1 : 0, false) != 1)
        return _tScanOutcome();
    return Finish(agent, sFile ? sFile : "");
}

std::string ScanOneParagraph(CRUX& set, const char* sText, unsigned nParaId)
{
    CRUXAgent agent(&set);
    agent.Reset();
    agent.ScanText(sText ? sText : "", nParaId, 0);
    return agent.GetResult("");
}

std::string TraceText(CRUX& set, const char* sText, int nRule)
{
    CRUXAgent agent(&set);
    return agent.ScanTextMem(sText ? sText : "", nRule);
}
