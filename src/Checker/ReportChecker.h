// One checker instance: imports a document, runs every check on it in a
// fixed order into its findings, and hands out the result as XML or JSON
// text or as a result file beside the document. It serves the follow-up
// calls on the same document too. One thread uses an instance at a time.
#pragma once

#include <memory>
#include <string>

#include "Checker/CheckServices.h"
#include "Checker/CheckTiming.h"

class CBufferManager;
class CCheckResult;
class CDocReviser;
class CDocxParser;

class CReportChecker {
public:
    // The services stay the caller's; they must outlive the instance.
    explicit CReportChecker(const _tCheckServices& services = {});
    CReportChecker(const CReportChecker&) = delete;
    CReportChecker& operator=(const CReportChecker&) = delete;
    ~CReportChecker();

    // Imports (forwarded to the document parser).
    int ImportFile(const char* sFilename, const char* sURLPrefix, int nType, int nResultFormat);
    int ImportMemory(const char* sText, int nType, int nResultFormat);
    const char* ImportDocx(const char* sDocxFilename, const char* sURLPrefix, int nType, int nResultFormat);
    size_t LoadDocResult(const char* sResultXMLFilename);

    // Runs every check of report type nType on the imported document; 1.
    int Check(int nType, int nResultFormat, const char* sOrganization, bool bDebug);
    // Writes "<name>_Check.xml" (or ".json") beside the document: for XML
    // the file's path, for JSON the text; null when it cannot be written.
    const char* GetResultFile(int nResultFormat);
    // The result text in the current format.
    std::string GetResult();
    // The same, kept in the instance's buffers.
    const char* GetResultE();
    // An output of the last check: 0 result, 1 knowledge, 6 single keys,
    // 7 tuples, 8 entities; "" for any other type.
    const char* GetOutput(int nResultType);

    // Re-checks the format of a saved result against a template: 1, or -1
    // with "Failed reading file <name>".
    int ReCheckFormat(const char* sCheckXML, int nTemplateID);
    // Marks the findings of a saved result in its document's HTML pages:
    // null on success, else the last-error text.
    const char* ShowHtmlError(const char* sResultFile);
    // Writes the revised copy of a saved result's document beside its
    // unpacked folder: the path, "" on failure (kept in the buffers).
    const char* ReviseF(const char* sResultFile);
    // The same copy with tracked changes and comments instead.
    const char* ReviseTrackedF(const char* sResultFile);
    // Knowledge of the imported text as JSON, kept in the buffers.
    const char* ExtractKnowledge(int nType);
    // One text scanned with one rule; valid until the next call.
    const char* CheckMem(const char* sLine, int nType, int nRuleId);
    const char* GetCurTemplateInfo();

    // Reads a saved result into the findings; its JSON form, or null.
    const char* LoadCheckResult(const char* sResultFile);

    // The stage times of the last import, check and result file.
    const _tCheckTiming& Timing() const { return m_timing; }

    int ResultFormat() const { return m_nResultFormat; }
    void SetResultFormat(int nResultFormat) { m_nResultFormat = nResultFormat; }
    CCheckResult& Results() { return *m_pCheckResult; }
    CDocxParser& Parser() { return *m_pDocxParser; }
    // Keeps a copy of a returned string for as long as the buffers promise.
    const char* Keep(const std::string& sText);

private:
    void BeginCheck(int nType);
    // Starts the times of a new import, or of a check of the imported document.
    void StartTiming(bool bImport);
    // Adds the time since the last stage to a stage and updates the total.
    void EndStage(double _tCheckTiming::*pStage);
    std::string DocumentPath() const;
    std::string DocumentName() const;

    _tCheckServices m_services;
    std::unique_ptr<CBufferManager> m_pBufManager;
    std::unique_ptr<CDocxParser> m_pDocxParser;
    std::unique_ptr<CCheckResult> m_pCheckResult;
    std::unique_ptr<CDocReviser> m_pDocReviser;
    std::string m_sResult;
    std::string m_sKGResult;
    std::string m_sSingleKeyResult;
    std::string m_sEntityKeyResult;
    std::string m_sTupleResult;
    int m_nReportType = -1;
    int m_nResultFormat = 0;  // 0 XML, 1 JSON
    _tCheckTiming m_timing;
    CStageClock m_stageClock;  // since the end of the last stage
};
