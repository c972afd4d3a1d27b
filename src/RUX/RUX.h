// One rule set: the parsed rules analysts edit, their compiled form over
// shared pools and dictionaries, and the inverted index from every pattern
// word (or attribute) to the places it occurs. Every change compiles and
// saves at once; the set's files are "RUX_<id>.rule" and companions.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RUX/IntArray.h"
#include "RUX/RUXRecords.h"
#include "RUX/StaticStr.h"

class CPDAT;
class CWordList;

class CRUX {
public:
    // sPath: folder of the set's files; null means the engine's data path.
    CRUX(const char* sPath, int nId);
    ~CRUX();
    CRUX(const CRUX&) = delete;
    CRUX& operator=(const CRUX&) = delete;

    // ---- files ----
    // Loads path/RUX_<id>.rule and companions: 1; -1 unreadable; -2 no rules
    // or a bad dictionary; -3 bad word list; -4 corrupt rule file.
    int Load();
    int Load(const char* sFile);
    // Saves to path/RUX_<id>.rule, its dictionaries and the export file:
    // 1; -1 main file, -2 dictionary, -3 word list not written.
    int Save();
    int Save(const char* sFile);
    // Writes the readable export: 1, or -1.
    int Export();
    int Export(const char* sFile);
    // The export text itself.
    std::string ExportText() const;
    std::string RuleFile() const;
    std::string ExportFile() const;
    std::string UserDictFile() const;

    // ---- rule sources and editing ----
    // Reads "<item>" records from a file (-1 when unreadable) or text, then
    // compiles and saves; the save result. Without overwrite the records
    // are appended to the stored rules.
    int ImportRule(const char* sFile, bool bOverwrite);
    int ImportRuleFromMem(const char* sText, bool bOverwrite);
    // The new index; the stored index of a duplicate; negative on failure.
    int AddItem(const char* sJson);
    // nIndex; -1 for a bad index; negative on failure.
    int EditItem(int nIndex, const char* sJson);
    // 1; -1 for a bad index. Later rules move down by one.
    int DeleteItem(int nIndex);
    // JSON texts, valid until the next call returning a string.
    const char* GetItem(int nIndex);
    const char* GetRuleListId();
    const char* GetSysInfo();
    // Messages of the last import, add or edit, one per rejected or
    // reported record, in UTF-8 ("rule <no>: <message>").
    const std::vector<std::string>& GetMessages() const { return m_vecMessages; }

    // ---- names and pools ----
    const char* GetActionStr(int nId) const;
    // Table id; unknown names are pooled as custom actions (-1 when strict).
    int GetActionId(const char* sName, bool bStrict = false);
    std::string GetFieldStr(int nId) const;
    // Scope id of a name, 0 for "", -1 for an attribute reference.
    int GetFieldId(const char* sName) const;
    // Pool entry i: a negative entry is an attribute name (plus "|" and the
    // display name when bFull and they differ), else the pooled string.
    std::string GetArgument(int i, bool bFull) const;
    const char* GetStr(int i) const;
    int GetKeyId(const char* sName) const;
    bool GetAttibuteName(int nId, std::string& sName, std::string& sShowName) const;
    // Canonical pattern text of compiled rule i.
    std::string GetKnowledgeStr(int nRuleIndex) const;
    // The export form of parsed rule i.
    std::string RuleOrg2XML(int nIndex) const;
    // JSON form of a parsed rule.
    std::string RuleOrg2Json(const _tRuleOrg& rule) const;
    // Reads a JSON rule: 1, or -1 ("Read RUX Infor Error!" or a pattern error).
    int ParseJsonRule(const char* sJson, _tRuleOrg& rule);
    // Reads the tags of one record (the text between "<item>" and
    // "</item>"); the pattern parse result, with sError set on -1.
    int ReadItem(const std::string& sRecord, _tRuleOrg& rule, std::string& sError);

    // ---- compiled form, for matching ----
    int GetId() const { return m_nRUX_ID; }
    const std::string& GetPath() const { return m_sPath; }
    unsigned int GetRuleCount() const { return m_nRuleCount; }
    const std::vector<_tRule>& GetRules() const { return m_pRules; }
    const std::vector<_tRUXIndex>& GetIndex() const { return m_pIndex; }
    unsigned int GetIndexItemCount() const { return m_nIndexItemCount; }
    const std::vector<_tRuleOrg>& GetRuleOrgs() const { return m_vecRule; }
    const CIntArray& GetIntArray() const { return *m_pIntArray; }
    const CStaticStr& GetStaticStr() const { return *m_pStaticStr; }
    const CPDAT* GetDict() const { return m_pDict.get(); }
    const CWordList* GetWordList() const { return m_pWordList.get(); }
    const CPDAT* GetAttributeDict() const { return m_pAttributeDict.get(); }
    // Index slot of a word id, or of an attribute id.
    int WordSlot(int nWordId) const { return nWordId; }
    int AttributeSlot(int nAttributeId) const;
    // True when a and b differ, a has no more grids, both share the action
    // and a's element ids are a subsequence of b's.
    bool IsPartOfRule(int a, int b) const;

    int m_nDateKeyID = -1;
    int m_nTableNameKeyID = -1;
    int m_nSumKeyID = -1;
    int m_nCountKeyID = -1;
    int m_nMaxKeyID = -1;

private:

    void Report(const std::string& sRuleNo, const std::string& sMessage);
    bool ValidateRule(const _tRuleOrg& rule);
    int FindDuplicate(const _tRuleOrg& rule) const;
    std::string CanonicalField(const std::string& sField) const;
    int CompileAndSave();

    // compile (RUXCompile.cpp)
    void Org2Knowledge();
    void StartAttributes();
    void FinishAttributes();
    void CompileRule(const _tRuleOrg& org, _tRule& rule, const CStaticStr& oldPool);
    void CompileGrids(const _tRuleOrg& org, _tRule& rule);
    void CompileArguments(const _tRuleOrg& org, _tRule& rule);
    int AddAttribute(const std::string& sText);
    int CustomActionId(const std::string& sName);
    void WriteUserDict();
    void HandWordsToSegmenter(bool bPrint) const;
    _tKnowledgeOrg KnowledgeOrg(const _tRule& rule) const;
    void Knowledge2Org();
    void Rule2Org(const _tRule& rule, _tRuleOrg& org) const;
    std::string AttributeText(int nId) const;
    void FindDefaultKeys();

    // index (RUXIndex.cpp)
    void Indexing();
    void ComputeSkipList(std::vector<_tRUXIndexData>& vecPostings,
                         std::vector<std::vector<int>>& vecSkips) const;
    std::vector<int> ElementSequence(int nRule) const;

    std::unique_ptr<CIntArray> m_pIntArray;
    std::unique_ptr<CStaticStr> m_pStaticStr;
    bool m_bIsModified = false;
    std::vector<_tRuleOrg> m_vecRule;
    bool m_bOverwrite = false;
    std::string m_sResult;
    unsigned int m_nIndexItemCount = 0;
    std::array<std::string, RUX_ACTION_COUNT> m_sActionStr;
    std::array<std::string, RUX_FIELD_COUNT> m_sFieldStr;
    std::string m_sPath;
    int m_nCurActionId = 0;
    std::unique_ptr<CPDAT> m_pDict;
    std::unique_ptr<CWordList> m_pWordList;
    std::vector<_tRUXIndex> m_pIndex;
    std::vector<_tRule> m_pRules;
    unsigned int m_nRuleCount = 0;
    std::unique_ptr<CPDAT> m_pAttributeDict;
    std::unique_ptr<CWordList> m_pAttributeWordList;
    std::unique_ptr<CWordList> m_pAttriNameWordList;
    int m_nRUX_ID;

    std::map<std::string, int> m_mapCustomAction;  // pooled custom action names
    std::vector<std::string> m_vecMessages;
    std::vector<std::vector<int>> m_vecSequences;  // per rule, while indexing
};
