// A one-to-many relation between word ids (a word and its synonyms, or its
// variants), stored in a ".map" file. Built once, then read-only.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CPDAT;
class CWordList;

// The inclusive range of one source id's entries; -1, -1 when it has none.
struct index_t {
    int32_t start;
    int32_t end;
};

// A pair added while building.
struct idmaps_elem {
    int32_t handle2;
    int32_t handle1;
};

class CIDMaps {
public:
    CIDMaps();
    virtual ~CIDMaps();
    CIDMaps(const CIDMaps&) = delete;
    CIDMaps& operator=(const CIDMaps&) = delete;

    // Empties the relation for a new build.
    void MapInit();
    // Adds id1 -> id2; ignored when id1 < 0 or id2 < -1.
    void MapAdd(int id1, int id2);
    // Sorts and groups the pairs (duplicates dropped); prints
    // "Build map success!".
    void MapComplete();

    // The mapped ids of an id, ascending, and their count; null and 0 when
    // none or the id is out of range. Valid until the map changes.
    const int32_t* GetMaps(int nId, int* pCount) const;
    // The smallest mapped id, -1 when none.
    int GetMapID(int nId) const;
    // The ids related to nId: with one mapped id, that id and the others of
    // its own group; else the others of nId's group. Returns the size of the
    // last group looked at.
    int GetSimMaps(int nId, std::vector<int>& vecIds) const;

    int GetSize() const { return m_nSize; }
    int GetBound() const { return m_nBound; }

    // 1 on success; 0 when the file is missing, short or corrupt (the map is
    // then unchanged and the last-error text says why).
    virtual int Load(const char* sFilename);
    virtual int Save(const char* sFilename) const;
    bool LoadFromBuffer(const std::string& sData);
    std::string SaveToBuffer() const;

    // Lines of tab-separated words, the last one the source word: every
    // other word maps from it (an unknown one as -1). Returns the pair count.
    int Import(const char* sFilename, const CPDAT* pDict);
    int ImportFromText(const std::string& sText, const CPDAT* pDict, bool bProgress = false);
    // Lines of words split at ", \t\r\n" ("[a b]" and "_" as in word lists):
    // the first word of pSourceDict maps to each following word of
    // pTargetDict. The cleaned lines are written to path + "_map_export.txt".
    int Import(const char* sFilename, const CPDAT* pSourceDict, const CPDAT* pTargetDict);
    int ImportOne2MulFromText(const std::string& sText, const CPDAT* pSourceDict, const CPDAT* pTargetDict,
                              std::string* pExport);
    // The same with one dictionary, without the cleaned copy.
    int ImportOne2Mul(const char* sFilename, const CPDAT* pDict);
    // Lines of similar words: every known word of a line maps to every other
    // one, in both directions.
    int ImportSim(const char* sFilename, const CPDAT* pDict);
    int ImportSimFromText(const std::string& sText, const CPDAT* pDict);

    // A readable dump; bSkipEmpty leaves out ids without entries. Texts come
    // from the word lists when given. 1, or 0 when not written.
    int Export(const char* sFilename, const CWordList* pWords1, const CWordList* pWords2, bool bSkipEmpty) const;
    std::string ExportToText(const CWordList* pWords1, const CWordList* pWords2, bool bSkipEmpty) const;
    // Every pair as the two texts.
    void Export(std::vector<std::pair<std::string, std::string>>& vecPairs, const CWordList* pWords1,
                const CWordList* pWords2) const;

private:
    int32_t m_nSize = 0;                 // pairs added; length of m_pData
    std::vector<int32_t> m_pData;        // mapped ids grouped by source id, -1 in unused slots
    int32_t m_nBound = 0;                // highest source id + 1
    std::vector<index_t> m_pIndex;       // per source id
    std::vector<idmaps_elem> m_vecBiWord;  // build time
};
