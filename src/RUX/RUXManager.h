// The report-type manager: one processor per report type (the type's audit
// rules, which own its extraction rules), created on first use and listed
// in "RUX_Manager.dat", and the rule-editing and listing operations behind
// the exported RUX_ and Audit_ functions.
//
// Processors are never removed while the manager lives, so a pointer from
// GetProcesser stays valid. The map is locked, so checks of one type and
// rule edits of another may run at once; edits of a type must not overlap
// checks of the same type.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CAudit;

class CRUXManager {
public:
    // The rule set that reads the cited text of an inspection-table row
    // (standard, clause, device, building, distance) is kept as this
    // report type, beside the types of documents.
    static constexpr int kArgumentRuleType = 19;

    // sInitDir is the library's init directory; files live in its "Data".
    explicit CRUXManager(const char* sInitDir);
    ~CRUXManager();
    CRUXManager(const CRUXManager&) = delete;
    CRUXManager& operator=(const CRUXManager&) = delete;

    // Reads the manager file and loads every listed type's processor: 1, or
    // -1 with "Failed reading file <path>" (no processors then). A type
    // whose files do not load is kept empty and its message logged.
    int Load();
    // Writes the manager file: 1, or -1 with "Failed writing file <path>".
    int Save();
    // The processor of a type, or null with "Report Type=%d Processor not exists.".
    CAudit* GetProcesser(int nType);
    // The processor, created (and the manager file saved) when new.
    CAudit* GetOrCreateProcesser(int nType);
    // Remembers a report type (creating its processor) and saves when new.
    void AddReportType(int nType);
    std::set<int> ReportTypes() const;
    std::string ManagerFile() const;
    const std::string& DataPath() const { return m_sDataPath; }

    // ---- rule sources ----
    int ImportRUXRules(const char* sFile, bool bOverwrite, int nType);
    int ImportRUXRulesFromMem(const char* sText, bool bOverwrite, int nType);
    // One "<audit>" item added and saved.
    int AddRule(const char* sRule, int nType);

    // ---- extraction rules ----
    std::string GetRUXSysInfo();
    std::string GetRUXRuleListId(int nType);
    std::string GetRUXRuleInfo(int nRuleId, int nType);
    int AddRUXRule(const char* sJson, int nType);
    int EditRUXRule(int nRuleId, const char* sJson, int nType);
    int DelRUXRule(int nRuleId, int nType);

    // ---- audit rules ----
    std::string GetAuditSysInfo(int nType);
    std::string GetAuditRuleListId(int nType);
    std::string GetAuditRuleInfo(int nRuleId, int nType);
    int AddAuditRule(const char* sJson, int nType);
    int EditAuditRule(int nRuleId, const char* sJson, int nType);
    int DelAuditRule(int nRuleId, int nType);
    // The readable export of a type's audit rules.
    std::string ExportAudit(int nType);

    // Messages of the type's last import or edit, one line each.
    std::string GetMessages(int nType);
    // JSON array of {"type","rules","audits"} per report type, ascending.
    std::string GetTypesInfo();

    // Parses the manager file's bytes; false when short or corrupt.
    static bool ParseTypes(const std::string& sData, std::set<int>& setTypes);

private:
    int SaveLocked();

    std::string m_sDataPath;  // init directory + "/Data/"
    mutable std::mutex m_mutex;
    std::map<int, std::unique_ptr<CAudit>> m_mapType2Processor;
};
