// The reverse of a dictionary: word id -> text, stored in a ".wordlist" file
// beside the ".pdat" of the same dictionary. Built once, then read-only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CPDAT;

// A word added while building: its id and the offset of its text.
struct word_elem {
    int32_t handle;
    int32_t nWordIndex;
};

class CWordList {
public:
    // bEncript: the text block is stored scrambled in the file. pDict (not
    // owned) gives the ids of AddWord(text).
    explicit CWordList(bool bEncript = false, const CPDAT* pDict = nullptr);
    virtual ~CWordList();
    CWordList(const CWordList&) = delete;
    CWordList& operator=(const CWordList&) = delete;

    // Empties the list for a new build.
    void AddWordInit();
    // Stores the text under the id and returns the id; a negative id only
    // logs the text (-1). Nothing is added once the list is complete.
    int AddWord(const char* sText, int nId);
    // The id comes from the dictionary (a leading byte-order mark skipped).
    int AddWord(const char* sText);
    // Builds the id -> text table; the later text wins for an id added
    // twice. A second call does nothing.
    void AddWordComplete();

    // The text of an id; empty for an id outside 0..bound-1. An id inside
    // that range that was never added reads as the first word added.
    const char* GetWord(int nId) const;
    unsigned int GetItemCount() const { return m_nSize; }
    int GetBound() const { return m_nBound; }
    void SetDict(const CPDAT* pDict) { m_pDict = pDict; }

    // 1 on success; 0 when the file is missing, short or corrupt (the list
    // is then unchanged and the last-error text says why).
    virtual int Load(const char* sFilename);
    virtual int Save(const char* sFilename) const;
    bool LoadFromBuffer(const std::string& sData);
    std::string SaveToBuffer() const;

    // Builds from a text word list read the way CPDAT::Import reads it, each
    // entry under its id in pDict (unknown entries are only logged), and
    // writes the cleaned list to path + "_wordlist_export.txt". Returns the
    // number of entries, 0 when a file cannot be read or written.
    int Import(const char* sFilename, const CPDAT* pDict);
    int ImportFromText(const std::string& sText, const CPDAT* pDict, std::string* pExport,
                       bool bProgress = false);
    // Builds from words in memory, each under its id in pDict.
    int Import(const std::vector<std::string>& vecWords, const CPDAT* pDict);
    // Writes the words of ids 0..count-1 of pDict, one per line, leaving out
    // the ids of the Chinese words longer than two bytes listed in the
    // filter file (first token of each line). 1, or 0 when not written.
    int Export(const char* sFilename, const CPDAT* pDict, const char* sFilterFile = nullptr) const;

private:
    std::vector<int32_t> BuildOffsets() const;

    unsigned int m_nSize = 0;             // entries added
    int32_t m_nBound = 0;                 // highest id + 1
    std::vector<int32_t> m_pData;         // id -> text offset, m_nBound + 1 entries
    std::string m_pWordListBuf;           // every text followed by a NUL
    std::vector<word_elem> m_vecPair;     // build time
    const CPDAT* m_pDict;
    bool m_bEncript;
    bool m_bAddCompleted = false;
};
