// One checker instance: owns the document being checked, its findings and
// the strings it returns. The checking pipeline is added to it later.
#pragma once

class CReportChecker {
public:
    CReportChecker() = default;
    CReportChecker(const CReportChecker&) = delete;
    CReportChecker& operator=(const CReportChecker&) = delete;
    ~CReportChecker() = default;
};
