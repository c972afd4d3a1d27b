// The format checker with its template store. The store is one for the
// process: checks look templates up side by side (shared lock), imports,
// edits and deletions take turns and exclude lookups while they change it.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

class CCheckResult;
class CDocFormat;
class CDocModel;
class CDocxParser;
class CDocxTemplate;
class CNum2FontSize;

// How a check compares paragraphs; read once where the format stage begins.
struct _tFormatCheckOptions {
    const CNum2FontSize* pFontSizes = nullptr;  // names sizes in findings; decimal without
    bool bBodyFormat = true;                    // compare body text too ("BodyFormatCheck")
};

class CDocFormatCheck {
public:
    explicit CDocFormatCheck(const char* sInitDir);
    ~CDocFormatCheck();
    const std::string& InitDir() const { return m_sInitDir; }

    // Template store operations; ids, counts or texts as the exports return.
    int EditTemplate(int nTemplateID, const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                     const char* sArgument);
    int ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg, const char* sArea,
                       const char* sArgument);
    int FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgument) const;
    int DeleteTemplate(int nTemplateID);
    const char* GetTemplate(int nTemplateID);
    size_t GetTemplateCount() const;
    const char* GetTemplateList(int nDocType, const char* sOrganization);
    // Writes the store's human-readable dump; 1, or -1.
    int ExportTemplates();
    // The template folder (<init dir>/Data/data/template).
    std::string TemplatePath() const;

    // For the comparison passes: the template that fits (type, organisation,
    // area, argument), not exact, with the "*" and fallbacks of the store.
    // Null when the store is empty or nothing fits; *pIndex (when given)
    // gets the template index or -1. The object stays valid while held,
    // whatever imports and deletions run meanwhile.
    std::shared_ptr<const CDocFormat> FindFormat(int nType, const char* sOrg, const char* sArea,
                                                 const char* sArgument, int* pIndex = nullptr) const;
    // The template of one index; null when out of range.
    std::shared_ptr<const CDocFormat> GetFormat(int nTemplateID) const;

    // ---- Checking ------------------------------------------------------------
    // Everything a check works on lives in the call, so checks on several
    // threads share only the templates, which they read.
    // The whole check: 1 with a template, 2 for report type 3 (no template
    // comparison), -2 when no template fits (the structural findings stay).
    int Check(CDocxParser& parser, CCheckResult& result, int nReportType,
              const _tFormatCheckOptions& options = {}) const;
    // The format pass against template nTemplateIndex, then the findings are
    // sorted: 1, or -2 when there is no such template.
    int ReCheck(CDocxParser& parser, CCheckResult& result, int nTemplateIndex,
                const _tFormatCheckOptions& options = {}) const;
    // The format pass against a loaded template; 1.
    static int CheckWithFormat(CDocxParser& parser, CCheckResult& result, const CDocFormat& format,
                               const _tFormatCheckOptions& options = {});
    // The table of contents matches the headings.
    static bool IsContentUpdated(const CDocModel& model);

private:
    std::string m_sInitDir;
    std::string m_sResult;
    std::unique_ptr<CDocxTemplate> m_pDocTemplate;
    // Readers pass the gate before sharing the store; a writer holds it while
    // it waits, so a steady stream of lookups cannot starve a change.
    mutable std::mutex m_mutexGate;
    mutable std::shared_mutex m_mutexStore;
    class CReadLock;
    class CWriteLock;
};
