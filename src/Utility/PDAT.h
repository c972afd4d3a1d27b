// The string dictionary: a static double-array trie mapping byte strings to
// dense word ids (0, 1, 2, ... in the order distinct words were first added),
// with exact and longest-prefix lookups, segmentation and scanning. Built
// once, then read-only; the const lookups may run on several threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Utility/ByteStream.h"
#include "Utility/CharTable.h"
#include "Utility/CharUnit.h"
#include "Utility/TrieBuilder.h"

struct _tArrayView;

// A word and its counter in term-frequency mode (-1 marks a filter word).
struct _stTermFreq {
    std::string word;
    int32_t freq = 1;
};

// Two counters of one word, ordered by their total, highest first.
struct _stSameTermFreq : _stTermFreq {
    int32_t freq2 = 0;
    int32_t total_freq = 0;
    bool operator<(const _stSameTermFreq& other) const { return total_freq > other.total_freq; }
};

// One scan hit: word id, byte offset, byte length and a weight.
struct _stTermPosition {
    int32_t nHandle = -1;
    int32_t iStartPos = -1;
    int32_t nWordLen = -1;
    double weight = 0.0;
};

class CPDAT {
public:
    explicit CPDAT(int nMode = PDAT_MODE_GBK);
    virtual ~CPDAT();
    CPDAT(const CPDAT&) = delete;
    CPDAT& operator=(const CPDAT&) = delete;

    // ---- building ----
    // Discards the build tree, the array and all counts.
    void AddWordInit();
    // The word's id (new or existing); -1 when nothing was added (an empty
    // key, or a dictionary already completed).
    int AddWord(const char* sWord, bool bTermFreq = false);
    // As above, giving a new word the id nId instead of the next one.
    int AddWord(const char* sWord, int nId, bool bTermFreq);
    // Adds in term-frequency mode and marks the word as never counted.
    int AddFilterWord(const char* sWord);
    // Id of a word in the build tree, -1 when absent (build time only).
    int FindWord(const char* sWord) const;
    // Lays out the double array and frees the build tree; returns 1.
    int AddWordComplete();

    // ---- files ----
    // 1 on success; 0 when the file is missing, short or corrupt (the
    // dictionary is then unchanged and the last-error text says why).
    virtual int Load(const char* sFilename);
    virtual int Save(const char* sFilename) const;
    bool LoadFromBuffer(const std::string& sData);
    std::string SaveToBuffer() const;
    // The file's bytes from a source that holds nSize of them, or to a sink.
    bool ReadFrom(const ByteSource& source, uint64_t nSize);
    bool WriteTo(const ByteSink& sink) const;
    // Builds from a text word list (one entry per line, "[a b]" for entries
    // with spaces, "_" for a space) and writes the cleaned list beside it as
    // path + "_export.txt". Entries pFilter knows are left out. Returns the
    // word count, 0 when a file cannot be read or written.
    virtual int Import(const char* sFilename, const CPDAT* pFilter = nullptr);
    // The same from text in memory; the cleaned list goes to pExport.
    int ImportFromText(const std::string& sText, const CPDAT* pFilter, std::string* pExport,
                       bool bProgress = false);
    // Every word, one per line, in state order. 1, or 0 when not written.
    int Export(const char* sFilename) const;
    std::string ExportToText() const;

    // ---- lookups ----
    // Id of the exact word, -1 if absent. A leading byte-order mark and one
    // pair of enclosing double quotes are ignored; any run of white space
    // matches one space.
    virtual int Find(const char* sText) const;
    virtual int Find(const char* sText, unsigned int nLength) const;
    int Find(const std::string& sText) const { return Find(sText.data(), static_cast<unsigned>(sText.size())); }
    // Id of the one-character word of a code, -1 if absent or out of range.
    int Find(int nCharCode) const;
    // Byte length of the longest word that is a prefix of sText (0 if none);
    // *pHandle gets its id or -1, *pSpansSpace whether it crossed white space.
    virtual int GetMaxWord(const char* sText, int* pHandle, bool* pSpansSpace) const;
    int GetMaxWord(const char* sText, int nLength, int nMaxLen, int& nHandle, bool& bSpansSpace) const;
    // Appends the id and byte end of every word that is a prefix of sText
    // and ends after nMinimum bytes; returns how many were appended.
    int GetWords(const char* sText, int nLength, std::vector<int>& vecIds, std::vector<int>& vecEnds,
                 int nMinimum = 0) const;
    // The unit at nPos of a text of nLen bytes and its length, as lookups read it.
    int GetCharCode(const char* sText, int nPos, int nLen, int& nUnitLen) const
    {
        return ReadCharUnit(m_nMode, reinterpret_cast<const unsigned char*>(sText), nPos, nLen, nUnitLen);
    }

    // ---- segmentation and scanning ----
    // Forward maximum matching: tokens joined by sSep (each followed by it).
    // With nMaxLen >= 1 no word longer than nMaxLen bytes is matched. The
    // result stays valid until the next call on this object.
    const char* MMSegment(const char* sText, int nMaxLen = 0, const char* sSep = " ");
    // The same into caller buffers: the token text into sOut, the word ids
    // into vecIds (with -1 for other tokens only when bAllIds). Returns the
    // number of ids written.
    int MMSegment(const char* sText, std::vector<int>& vecIds, std::string& sOut, bool bAllIds,
                  int nMaxLen = 0, const char* sSep = " ") const;
    // The words found by a scan, one "word\tid\n" line each; the result stays
    // valid until the next call. *pSpansSpace: some hit crossed white space.
    const char* MMScan(const char* sText, bool* pSpansSpace);
    // Appends one hit per word found. Mode 0 keeps hits that do not cut into
    // a run of Latin letters or digits; 1 does the same with overlapping hits
    // over Chinese characters, lower-case letters and digits only; 2 keeps
    // every longest match.
    void MMScanPosition(const char* sText, std::vector<_stTermPosition>& vecHits, int nMode = 0) const;
    // Segments a whole file, tokens separated by tabs; thousands of bytes
    // per second, 0.0 on failure.
    double FileSegment(const char* sInPath, const char* sOutPath);

    // ---- term frequencies ----
    // Counts the words (counters reset first; filter words stay uncounted);
    // returns the number of distinct words.
    int WordFreq(const std::vector<std::string>& vecWords);
    void ResetFreq();
    // The counted words, highest counter first (ties in id order).
    std::vector<_stTermFreq> GetTopWordVector() const;
    // "word/count#" for the first n of that order (-1: all).
    const char* GetTopWords(int n);
    const std::vector<_stTermFreq>& GetTermFreqs() const { return m_vecTermFreq; }

    // ---- accessors ----
    unsigned int GetItemCount() const { return m_nItemCount; }
    virtual int GetLowerBound() const { return m_nLowerBound; }
    int GetMode() const { return m_nMode; }
    int GetCharsetSize() const { return m_charsetSize; }
    bool IsEmpty() const { return m_nItemCount == 0; }
    void SetEmpty();

    // Slots for derived dictionaries.
    virtual int AddTrie(const char* sText);
    virtual void GetPos(char* sText, int n);

private:
    int AddKey(const char* sWord, int nNewId, bool bTermFreq, bool bFilter);
    bool MakeKey(const char* sWord, std::string& sStored, std::vector<int32_t>& vecKey) const;
    _tArrayView View() const;
    int Step(int nCur, int nCode) const;
    bool IsWordEnd(int nState) const;
    bool IsLeaf(int nState) const;
    int LongestMatch(const unsigned char* pText, int nLen, int nStart, int nMaxLen, bool bScanUnits,
                     int& nHandle, bool& bSpansSpace) const;
    bool IsValidString(const unsigned char* pText, int nLen, int nStart, int nWordLen, int nPrevUnitLen) const;
    void SetTermFreq(int nId, const std::string& sWord, int32_t nFreq);
    std::string RebuildWord(int nState, const std::vector<int32_t>& vecIdToCode) const;

    std::unique_ptr<CTrieBuilder> m_word_trie;  // present only while building
    std::vector<state> m_pData;                 // the double array
    int32_t m_nLength = 0;                      // allocated states
    int32_t m_nLowerBound = 0;                  // highest state index in use
    uint32_t m_nItemCount = 0;                  // distinct words; the next id
    std::string m_sResult;
    CCharTable m_charset;                       // code -> charset id, -1 unused
    int32_t m_charsetSize = 0;
    std::vector<_stTermFreq> m_vecTermFreq;     // per word id
    int32_t m_nMode;
    std::string m_sTopWords;
    bool m_bWordAddCompleted = false;
    std::vector<int32_t> m_vecKey;              // scratch key while adding
};
