// The checker instance. The checking pipeline runs here once the document
// model and the checks exist; saved results can be read already.
#include "Checker/ReportChecker.h"

#include "Checker/CheckResult.h"
#include "Utility/BufferManager.h"

CReportChecker::CReportChecker()
    : m_pBufManager(std::make_unique<CBufferManager>()), m_pCheckResult(std::make_unique<CCheckResult>())
{
}

CReportChecker::~CReportChecker() = default;

const char* CReportChecker::Keep(const std::string& sText)
{
    return m_pBufManager->AddBuffer(sText.c_str());
}

const char* CReportChecker::LoadCheckResult(const char* sResultFile)
{
    auto pResult = std::make_unique<CCheckResult>();
    if (pResult->Import(sResultFile) != 1)
        return nullptr;
    m_pCheckResult = std::move(pResult);
    CCheckResult& result = *m_pCheckResult;
    m_nReportType = result.ReportType();
    m_nResultFormat = 1;
    m_sResult = result.GetResultJson(result.Path().c_str(), result.Filename().c_str(), result.ReportType(),
                                     result.URLPrefix().c_str(), nullptr);
    return Keep(m_sResult);
}
