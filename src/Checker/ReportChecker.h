// One checker instance: owns the document being checked, its findings and
// the strings it returns. One thread uses an instance at a time.
#pragma once

#include <memory>
#include <string>

class CBufferManager;
class CCheckResult;

class CReportChecker {
public:
    CReportChecker();
    CReportChecker(const CReportChecker&) = delete;
    CReportChecker& operator=(const CReportChecker&) = delete;
    ~CReportChecker();

    // Reads a saved result into the instance's findings; its JSON form
    // (owned by the instance's buffers), or null when it cannot be read.
    const char* LoadCheckResult(const char* sResultFile);

    CCheckResult& Results() { return *m_pCheckResult; }
    // Keeps a copy of a returned string for as long as the buffers promise.
    const char* Keep(const std::string& sText);

private:
    std::unique_ptr<CBufferManager> m_pBufManager;
    std::unique_ptr<CCheckResult> m_pCheckResult;
    std::string m_sResult;
    int m_nReportType = -1;
    int m_nResultFormat = 0;
};
