// The findings of one check (CCheckResult): accepting, ordering and
// de-duplicating them, per-code statistics and the score, errors per
// chapter, and the XML and JSON result forms with their readers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Checker/CheckRecord.h"

class CDocxParser;
class CID2Message;

struct _tFreqScore {
    int freq = 0;      // occurrences of a code
    float score = 0;   // points deducted for it
};

class CCheckResult {
public:
    // The catalogue gives each code its text and score; without one, texts
    // say "Wrong text id <code>" and nothing is scored. Not owned.
    explicit CCheckResult(const CID2Message* pCatalogue = nullptr) : m_pCatalogue(pCatalogue) {}

    // Accepts one finding (or drops it when there is nothing to report) and
    // resets the caller's record for the next one.
    void AddResult(_tCheckResult& check_result);
    // Sorts, removes repeated findings and rebuilds the statistics.
    void SortResult();
    void Reset();
    // Deletes every finding with that code; how many.
    size_t Remove(const char* sErrNo);

    // The result as XML / JSON text, valid until the next output.
    const char* GetResult(const char* sPath, const char* sFilename, int nType, const char* sURLPrefix,
                          CDocxParser* pDocxParser);
    const char* GetResultJson(const char* sPath, const char* sFilename, int nType, const char* sURLPrefix,
                              CDocxParser* pDocxParser);
    // Reads a saved result: JSON when the extension is "json" (any case),
    // else XML. 1, or -1 with "Failed Read file <path>" (or "Not a check
    // result: <path>" for an XML file without "<CheckResults>").
    int Import(const char* sXMLFile);
    int ImportJsonFile(const char* sJsonFile);
    int ImportXmlText(const std::string& sXml);
    int ImportJsonText(const std::string& sJson);

    // 100 minus the capped deductions of every code, never below 0.
    float TotalScore() const;

    const std::vector<_tCheckResult>& Results() const { return m_vecResult; }
    // The page on which finding nIndex was marked (the order stays as it is).
    void SetPageNum(size_t nIndex, int nPage)
    {
        if (nIndex < m_vecResult.size())
            m_vecResult[nIndex].page_num = nPage;
    }
    const std::map<std::string, _tFreqScore>& Statistics() const { return m_mapErrId2FreqScore; }
    const std::map<uint32_t, int>& ChapterCounts() const { return m_mapChapID2freq; }
    unsigned ErrCount() const { return m_nErrCount; }
    const std::string& Path() const { return m_sPath; }
    const std::string& Filename() const { return m_sFilename; }
    const std::string& URLPrefix() const { return m_sURLPrefix; }
    int ReportType() const { return m_nReportType; }
    int m_nResultFormat = 0;  // kept for the caller

private:
    void Prepare(const char* sPath, const char* sFilename, int nType, const char* sURLPrefix,
                 CDocxParser* pDocxParser);
    void ComputeScores();
    std::string StatisticsXml() const;
    std::string ChaptersXml() const;
    // The document's template keys; those of the result read back when no
    // document is at hand, so a saved result shows them again.
    void TemplateKeys(std::string& sOrganization, std::string& sArea, std::string& sArgu) const;

    std::string m_sPath;
    std::string m_sFilename;
    std::string m_sURLPrefix;
    std::string m_sReadKeys[3];  // template organisation, area, argument of an imported result
    int m_nReportType = 0;
    std::vector<_tCheckResult> m_vecResult;
    std::string m_sResult;
    std::map<std::string, _tFreqScore> m_mapErrId2FreqScore;
    std::map<uint32_t, int> m_mapChapID2freq;
    CDocxParser* m_pDocParser = nullptr;  // not owned
    const CID2Message* m_pCatalogue = nullptr;  // not owned
    unsigned m_nErrCount = 0;
    bool m_bSort = false;
};
