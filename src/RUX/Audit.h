// The audit rules of one report type (CAudit): rules over the values the
// type's extraction rules pull out of a document. It owns the type's
// extraction rule set, reads the "<audits>" section of a rule source and
// the JSON form of one rule, compiles each rule into units (commands,
// fields, operators, relations, logic words, constants), keeps the
// not-null fields and an index from field to rules, and stores the rules
// in "RUX_<type>.audit" beside the extraction rules.
//
// File "RUX_<type>.audit" (native little-endian, written atomically):
//   u32 format version (1)
//   u32 rule count N
//   N times: five u64-sized strings no, name, rule, arguments, field, and
//            an i32 credit
// Only the rules as written are stored: they are compiled again on load
// against the extraction set's attribute names, so a changed extraction
// set never leaves stale field ids behind. A load checks every size against
// the file and replaces nothing unless the whole file reads.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RUX/AuditRecords.h"
#include "RUX/StaticStr.h"

class CRUX;

// A field that must have a value, with the code reported when it has none.
struct _tNotNullField {
    int id = -1;  // attribute id, -1 when the extraction rules do not know it
    std::string name;
    std::string code;
};

class CAudit {
public:
    // sDataPath: folder of the type's files; nType: the report type.
    CAudit(const char* sDataPath, int nType);
    ~CAudit();
    CAudit(const CAudit&) = delete;
    CAudit& operator=(const CAudit&) = delete;

    // ---- files ----
    // Loads the extraction rules (when their file exists), then the audit
    // rules (when theirs exists): 1; -1 with the failing file's message.
    int Load();
    // Writes the audit file: 1, or -1 with "Failed writing file <path>".
    int Save();
    // The readable export "RUX_<type>.audit.txt": 1, or -1.
    int Export();
    std::string AuditFile() const;
    std::string ExportFile() const;
    // The export text itself.
    std::string ExportText() const;

    // ---- sources ----
    // Extraction "<item>" records first (their failure is returned), then
    // the "<audits>" section: -2 without one; else the save result.
    int ImportFromMem(const char* sText, bool bOverwrite);
    // The same from a file (UTF-8 or GBK): -1 when unreadable.
    int Import(const char* sFile, bool bOverwrite);
    // One "<audit>" item's text (with or without the tags), compiled,
    // added and saved: the new index, or -1 when it does not compile.
    int AddRule(const char* sText);

    // ---- editing (JSON form) ----
    const char* GetListId();
    // The JSON form of rule i; "" for a bad index.
    const char* GetItem(int nIndex);
    // The new index, or -1 ("Read RUX Infor Error!" or a compile error).
    int AddItem(const char* sJson);
    // nIndex, or -1 for a bad index or a rule that does not compile.
    int EditItem(int nIndex, const char* sJson);
    // 1, or -1 for a bad index (nothing changes).
    int DeleteItem(int nIndex);
    const char* GetSysInfo();
    // Messages of the last import or edit, one per refused rule.
    const std::vector<std::string>& GetMessages() const { return m_vecMessages; }

    // ---- names ----
    // Command id of a name (case ignored), -1 when unknown.
    static int GetCmdID(const char* sName);
    static const char* GetCmdStr(int nId);
    // Printed form of a unit ("+", ">=", "and", a field's or constant's text).
    std::string GetUnitStr(const audit_rule_unit& unit) const;
    // Field name of an attribute id ("" when unknown).
    std::string FieldName(int nId) const;

    // ---- compiled form, for the evaluator ----
    CRUX* GetRUX() const { return m_pRUX.get(); }
    int GetType() const { return m_nType; }
    const std::vector<_tAuditRule>& GetRules() const { return m_vecRules; }
    const std::vector<_tAuditRuleOrg>& GetRuleOrgs() const { return m_vecOrg; }
    // Rule ids indexed under an attribute id (empty for none).
    const std::vector<int>& RulesOfField(int nFieldId) const;
    const std::vector<_tNotNullField>& GetNotNullFields() const { return m_vecNotNull; }
    const char* GetStr(uint32_t nId) const { return m_pStaticStr->GetString(static_cast<int>(nId)); }
    // Compiles every rule again (after the extraction rules changed).
    void Recompile();

    // Reads one "<audit>" item; false when it has no "rule".
    static bool ReadAuditItem(const std::string& sItem, _tAuditRuleOrg& org);
    // Reads the JSON form; false with "Read RUX Infor Error!".
    static bool ParseJson(const char* sJson, _tAuditRuleOrg& org);
    static std::string Org2Json(const _tAuditRuleOrg& org);
    // Parses the audit file's bytes; false when short or corrupt.
    static bool ParseFile(const std::string& sData, std::vector<_tAuditRuleOrg>& vecOrg);

private:
    // Compiles one rule: 1, or -1 with the message (rule refused).
    int Org2Audit(const _tAuditRuleOrg& org, _tAuditRule& rule, std::string& sError);
    // Splits the rule text into units.
    void ParseRule(const std::string& sText, std::vector<audit_rule_unit>& vecUnits);
    int WordUnit(const std::string& sWord, audit_rule_unit& unit);
    std::vector<int> FieldIds(const std::string& sFields) const;
    void AddCompiled(const _tAuditRuleOrg& org, _tAuditRule& rule);
    void ClearCompiled();
    // Compiles and appends; false (with a message) when it is refused.
    bool AppendRule(const _tAuditRuleOrg& org);
    void Report(const _tAuditRuleOrg& org, const std::string& sMessage);

    std::unique_ptr<CRUX> m_pRUX;
    std::string m_sPath;
    int m_nType;
    std::vector<_tAuditRule> m_vecRules;
    std::vector<std::vector<int>> m_pIndex;  // per attribute id
    std::unique_ptr<CStaticStr> m_pStaticStr;
    std::vector<_tNotNullField> m_vecNotNull;
    bool m_bDirty = false;
    std::vector<_tAuditRuleOrg> m_vecOrg;
    std::string m_sResult;
    std::vector<std::string> m_vecMessages;
};
