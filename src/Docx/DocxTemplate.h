// The template store: every format template of the process, keyed by report
// type, organisation, area and argument, kept in the template folder
// (<data>/data/template/). Template texts are appended to docTemplate.dat;
// the dictionary of key texts, its word list and the index say where each
// lies. Every change is written before the operation returns; the data file
// only grows until a compaction drops superseded texts.
//
// Not thread-safe by itself: the owner serialises changes and lets
// lookups share (see CDocFormatCheck).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Docx/DocFormat.h"
#include "Docx/TemplateIndex.h"
#include "Docx/TemplateRecords.h"

class CPDAT;
class CWordList;

class CDocxTemplate {
public:
    // sDataPath: the template folder. Loads what is there.
    explicit CDocxTemplate(const std::string& sDataPath);
    ~CDocxTemplate();
    CDocxTemplate(const CDocxTemplate&) = delete;
    CDocxTemplate& operator=(const CDocxTemplate&) = delete;

    // 1; -1 the dictionary, -2 the word list, -3 the data or index file
    // could not be read (the store is then empty).
    int Load();
    // When dirty: index and write dictionary, word list and index (each
    // atomically). 1; -1 / -2 / -3 as for Load; 0 when nothing was dirty.
    int Save();
    // Compacts the data file when it holds superseded texts, then Save.
    int RebuildAll();

    // Learns from a sample and stores it: the template index, -1 when
    // nothing could be learnt or stored.
    int ImportTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu, const char* sDocxPath);
    // Stores a template text learnt already (see Learn); same result.
    int ImportTemplateText(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                           const std::string& sText);
    // Learns the template text of a sample into sText; 1, or -1.
    int Learn(int nType, const char* sOrg, const char* sArea, const char* sArgu, const char* sDocxPath,
              std::string& sText) const;
    // Replaces template nIndex (keys and, when sText is not empty, text).
    // The index, or -1 when it is out of range.
    int EditTemplate(int nIndex, int nType, const char* sOrg, const char* sArea, const char* sArgu,
                     const char* sDocxPath);
    int EditTemplateText(int nIndex, int nType, const char* sOrg, const char* sArea, const char* sArgu,
                         const std::string& sText);
    // The index, -1 when out of range or already deleted. Later templates
    // move down by one.
    int DeleteTemplate(int nIndex);

    // Template index or -1. Not exact: unknown or empty texts fall back to
    // the "*" templates (see the .cpp).
    int FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu, bool bExact) const;
    // As above (not exact), loading the chosen template into format; with
    // nothing found template 0 is loaded and -1 returned; an empty store
    // loads nothing.
    int FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgu, CDocFormat& format) const;
    // The parsed template of an index, shared; null when out of range.
    std::shared_ptr<const CDocFormat> GetFormat(int nIndex) const;

    // JSON text of one template; empty when out of range.
    const char* GetTemplate(int nIndex);
    // Loads the template and returns its text; empty when out of range.
    const char* GetTemplate(int nIndex, CDocFormat& format);
    // JSON listing the arguments and areas of (type, organisation).
    const char* GetTemplateList(int nType, const char* sOrg);
    size_t GetCount() const { return m_pTemplateList.size(); }
    // The keys and text of one template, null when out of range.
    const _tTemplateOrg* GetRecord(int nIndex) const;
    // Writes docTemplate_export.txt: 1, or -1.
    int Export();

    const std::string& DataPath() const { return m_sDataPath; }
    static constexpr const char* kWildcard = "*";

private:
    std::string PathOf(const char* sName) const;
    // The editable list from the array (deleted slots skipped).
    void Data2Org();
    // The array, dictionary and word list from the editable list.
    void Org2Data();
    void Indexing();
    void ClearAll();
    // Appends a text to docTemplate.dat; false when it cannot be written.
    bool AppendText(const std::string& sText, _tTemplateMetaData& meta);
    bool CompactDataFile();
    void ParseFormats();
    // Id of a key text for a lookup: -1 for an empty or unknown text.
    int KeyId(const char* sText) const;
    // Templates under the organisation choice and the type (ascending).
    std::vector<int> Candidates(int nType, int nOrgId) const;
    int FirstMatch(const std::vector<int>& vecCandidates, const std::vector<int>& vecAreaIds,
                   const std::vector<int>& vecArguIds) const;

    std::vector<_tTemplateOrg> m_vecTemplateOrg;
    std::vector<_tTemplate> m_pTemplateList;
    std::vector<std::shared_ptr<const CDocFormat>> m_vecFormats;  // parallel to m_pTemplateList
    std::map<int, std::string> m_mapLevelId2Type;
    std::map<std::string, int> m_mapType2LevelId;
    CTemplateIndex m_index;
    std::unique_ptr<CPDAT> m_pDict;
    std::unique_ptr<CWordList> m_pWordList;
    std::string m_sDataPath;
    bool m_bDirty = false;
    bool m_bFileDirty = false;
    std::string m_sResult;
};
