// The checking pipeline. Its order is fixed: audit stage (rule scan and
// audit rules), extraction outputs, format check, sensitive words, HTML
// marks; every stage adds to the same findings.
#include "Checker/ReportChecker.h"

#include "Checker/CheckResult.h"
#include "Checker/CheckStages.h"
#include "Checker/ErrorWordScan.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "Reviser/DocReviser.h"
#include "Utility/BufferManager.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

const char* const kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

}  // namespace

CReportChecker::CReportChecker(const _tCheckServices& services)
    : m_services(services),
      m_pBufManager(std::make_unique<CBufferManager>()),
      m_pDocxParser(std::make_unique<CDocxParser>()),
      m_pCheckResult(std::make_unique<CCheckResult>(services.pError2Message)),
      m_pDocReviser(std::make_unique<CDocReviser>(services.pError2Message, services.pNum2FontSize))
{
}

CReportChecker::~CReportChecker() = default;

const char* CReportChecker::Keep(const std::string& sText)
{
    return m_pBufManager->AddBuffer(sText.c_str());
}

void CReportChecker::StartTiming(bool bImport)
{
    // A check run again on the same import keeps the parse time only.
    double fParse = bImport ? 0 : m_timing.fParse;
    m_timing = _tCheckTiming();
    m_timing.fParse = m_timing.fTotal = fParse;
    m_stageClock = CStageClock();
}

void CReportChecker::EndStage(double _tCheckTiming::*pStage)
{
    double fMs = m_stageClock.Lap();
    if (pStage)
        m_timing.*pStage += fMs;
    m_timing.fTotal += fMs;
}

int CReportChecker::ImportFile(const char* sFilename, const char* sURLPrefix, int nType, int nResultFormat)
{
    StartTiming(true);
    int nResult = m_pDocxParser->ImportFile(sFilename, sURLPrefix, nType, nResultFormat);
    EndStage(&_tCheckTiming::fParse);
    return nResult;
}

int CReportChecker::ImportMemory(const char* sText, int nType, int nResultFormat)
{
    StartTiming(true);
    int nResult = m_pDocxParser->ImportMemory(sText, nType, nResultFormat, false);
    EndStage(&_tCheckTiming::fParse);
    return nResult;
}

const char* CReportChecker::ImportDocx(const char* sDocxFilename, const char* sURLPrefix, int nType,
                                       int nResultFormat)
{
    StartTiming(true);
    const char* sResult = Keep(m_pDocxParser->ImportDocx(sDocxFilename, sURLPrefix, nType, nResultFormat));
    EndStage(&_tCheckTiming::fParse);
    return sResult;
}

size_t CReportChecker::LoadDocResult(const char* sResultXMLFilename)
{
    return m_pDocxParser->LoadDocResult(sResultXMLFilename);
}

void CReportChecker::BeginCheck(int nType)
{
    m_nReportType = nType;
    m_pCheckResult->Reset();
}

int CReportChecker::Check(int nType, int nResultFormat, const char* sOrganization, bool bDebug)
{
    // The switches are read once, so one changed meanwhile never splits a check.
    const bool bFormatCheck = g_bFormatCheck;
    const bool bFilterCheck = g_bFilteringCheck;
    StartTiming(false);
    BeginCheck(nType);
    _tAuditOutputs outputs;
    RunAuditStage(m_services.pRUXManager, *m_pDocxParser, *m_pCheckResult, m_nReportType,
                  nResultFormat, sOrganization, bDebug, outputs, m_services.pSpellCheckDict,
                  m_services.pSimDict);
    // The agent times its scan and audit; the rest of the stage goes with the audit.
    double fAuditStage = m_stageClock.Lap();
    m_timing.fRuleScan = outputs.fScanMs;
    m_timing.fAudit = fAuditStage - outputs.fScanMs;
    m_timing.fTotal += fAuditStage;
    m_sKGResult = outputs.sKGResult;
    m_sSingleKeyResult = outputs.sSingleKeyResult;
    m_sEntityKeyResult = outputs.sEntityKeyResult;
    m_sTupleResult = outputs.sTupleResult;
    if (bFormatCheck)
        RunFormatStage(m_services, *m_pDocxParser, *m_pCheckResult, m_nReportType);
    if (bFilterCheck)
        CheckErrorWord(*m_pDocxParser, *m_pCheckResult);
    EndStage(&_tCheckTiming::fFormat);
    RunHtmlStage(*m_pDocReviser, *m_pDocxParser, *m_pCheckResult, outputs.vecStandards);
    EndStage(&_tCheckTiming::fMarks);
    return 1;
}

std::string CReportChecker::DocumentPath() const
{
    return LocalToUtf8(m_pDocxParser->m_sPath);
}

std::string CReportChecker::DocumentName() const
{
    return LocalToUtf8(m_pDocxParser->m_sFilename);
}

std::string CReportChecker::GetResult()
{
    CDocxParser* pParser = m_pDocxParser.get();
    std::string sPath = DocumentPath();
    std::string sName = DocumentName();
    const char* sPrefix = pParser->m_sURLPrefix.c_str();
    if (m_nResultFormat == 1)
        return m_pCheckResult->GetResultJson(sPath.c_str(), sName.c_str(), m_nReportType, sPrefix, pParser);
    return std::string("<VESKAR>\n") +
           m_pCheckResult->GetResult(sPath.c_str(), sName.c_str(), m_nReportType, sPrefix, pParser) +
           "</VESKAR>\n";
}

const char* CReportChecker::GetResultE()
{
    m_sResult = GetResult();
    return Keep(m_sResult);
}

const char* CReportChecker::GetResultFile(int nResultFormat)
{
    m_nResultFormat = nResultFormat;
    m_stageClock = CStageClock();
    std::string sFile = m_pDocxParser->OutputPath(nResultFormat == 1 ? "_Check.json" : "_Check.xml");
    std::string sText = GetResult();
    if (!MayReplaceFile(sFile, nResultFormat == 1 ? "\"ChapterStat\"" : "<VESKAR>")) {
        SetLastError("Fail write file " + sFile + ": a file of that name that was not written by this "
                     "library is in the way; it is left as it is.");
        return nullptr;
    }
    if (!WriteFileAtomic(sFile, nResultFormat == 1 ? sText : kXmlDeclaration + sText)) {
        SetLastError("Fail write file " + sFile);
        return nullptr;
    }
    m_sResult = nResultFormat == 1 ? sText : sFile;
    EndStage(&_tCheckTiming::fOutput);
    return Keep(m_sResult);
}

const char* CReportChecker::GetOutput(int nResultType)
{
    switch (nResultType) {
    case 0: return GetResultE();
    case 1: return Keep(m_sKGResult);
    case 6: return Keep(m_sSingleKeyResult);
    case 7: return Keep(m_sTupleResult);
    case 8: return Keep(m_sEntityKeyResult);
    default: return Keep("");
    }
}

int CReportChecker::ReCheckFormat(const char* sCheckXML, int nTemplateID)
{
    auto pResult = std::make_unique<CCheckResult>(m_services.pError2Message);
    if (pResult->Import(sCheckXML) != 1) {
        m_pCheckResult = std::move(pResult);
        SetLastError(std::string("Failed reading file ") + (sCheckXML ? sCheckXML : ""));
        return -1;
    }
    m_pCheckResult = std::move(pResult);
    m_nReportType = m_pCheckResult->ReportType();
    m_pDocxParser = std::make_unique<CDocxParser>();
    std::string sContent;
    GetAnsiFilename((m_pCheckResult->Path() + "/../" + m_pCheckResult->Filename() + ".xml").c_str(), sContent,
                    false);
    m_pDocxParser->LoadDocResult(NormalisePath(sContent).c_str());
    m_pDocxParser->m_sURLPrefix = m_pCheckResult->URLPrefix();
    // The pages are made again from the document so the new findings mark
    // clean pages, not those of the first check.
    m_pDocxParser->ReuildHtml(m_pCheckResult->URLPrefix().c_str());
    m_pCheckResult->Remove("1.1.1");
    m_pCheckResult->Remove("1.1.2");
    m_pCheckResult->Remove("1.1.3");
    if (m_services.pDocFormatChecker)
        RunFormatRecheckStage(m_services, *m_pDocxParser, *m_pCheckResult, nTemplateID);
    RunHtmlStage(*m_pDocReviser, *m_pDocxParser, *m_pCheckResult, {});
    return 1;
}

const char* CReportChecker::ShowHtmlError(const char* sResultFile)
{
    CCheckResult results(m_services.pError2Message);
    if (results.Import(sResultFile) != 1) {
        SetLastError(std::string("Failed reading file ") + (sResultFile ? sResultFile : ""));
        return g_sLastErrorMessage.c_str();
    }
    CDocxParser parser;
    std::string sDocx;
    GetAnsiFilename((results.Path() + "/../" + results.Filename() + ".docx").c_str(), sDocx, false);
    if (parser.ReadDocx(NormalisePath(sDocx)) != 1)
        return g_sLastErrorMessage.c_str();
    parser.ParseStruct(results.ReportType(), nullptr, true);
    RunHtmlStage(*m_pDocReviser, parser, results, {});
    return nullptr;
}

const char* CReportChecker::ReviseF(const char* sResultFile)
{
    return Keep(m_pDocReviser->Revise(sResultFile));
}

const char* CReportChecker::ReviseTrackedF(const char* sResultFile)
{
    return Keep(m_pDocReviser->ReviseTracked(sResultFile));
}

const char* CReportChecker::ExtractKnowledge(int nType)
{
    BeginCheck(nType);
    return Keep(RunKnowledgeStage(m_services.pRUXManager, *m_pDocxParser, nType));
}

const char* CReportChecker::CheckMem(const char* sLine, int nType, int nRuleId)
{
    BeginCheck(nType);
    m_sResult = RunRuleScanStage(m_services.pRUXManager, sLine, nType, nRuleId);
    return m_sResult.c_str();
}

const char* CReportChecker::GetCurTemplateInfo()
{
    return Keep(m_pDocxParser->GetCurTemplateInfo());
}

const char* CReportChecker::LoadCheckResult(const char* sResultFile)
{
    auto pResult = std::make_unique<CCheckResult>(m_services.pError2Message);
    if (pResult->Import(sResultFile) != 1)
        return nullptr;
    m_pCheckResult = std::move(pResult);
    CCheckResult& result = *m_pCheckResult;
    m_nReportType = result.ReportType();
    m_sResult = result.GetResultJson(result.Path().c_str(), result.Filename().c_str(), result.ReportType(),
                                     result.URLPrefix().c_str(), nullptr);
    return Keep(m_sResult);
}
