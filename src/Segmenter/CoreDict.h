// The segmenter's core dictionary: words with their frequency and
// part-of-speech tag, compiled at build time from a "word freq tag" list
// into three files of a folder: CoreDict.pdat (word -> id), CoreDict.wordlist
// (id -> word) and CoreDict.attr (frequencies and tags by id). Read-only
// once loaded, so any number of threads may look words up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Utility/PDAT.h"
#include "Utility/WordList.h"

class CCoreDict {
public:
    CCoreDict();
    CCoreDict(const CCoreDict&) = delete;
    CCoreDict& operator=(const CCoreDict&) = delete;

    // Builds from lines of "word freq tag" (a missing tag reads as "x";
    // lines without a whole-number frequency are skipped; a word listed
    // twice keeps its last line). Returns the number of words.
    int BuildFromText(const std::string& sText);
    // Writes the three files into sDir; false with sError when one fails.
    bool Save(const std::string& sDir, std::string& sError) const;
    // Reads the three files of sDir; false with sError when one is missing,
    // corrupt or does not match the others (the dictionary is then empty).
    bool Load(const std::string& sDir, std::string& sError);

    // Id of a word, -1 when absent.
    int Find(const char* sWord, size_t nLen) const;
    // The ids and byte ends of every word that starts sText (appended).
    void PrefixWords(const char* sText, int nLen, std::vector<int>& vecIds, std::vector<int>& vecEnds) const
    {
        m_dict.GetWords(sText, nLen, vecIds, vecEnds);
    }

    // Word properties by id; ids outside the dictionary give 0, an empty
    // tag and an empty word.
    int Freq(int nId) const { return IsId(nId) ? m_vecFreq[static_cast<size_t>(nId)] : 0; }
    float LogProb(int nId) const { return IsId(nId) ? m_vecLogProb[static_cast<size_t>(nId)] : m_fUnknownLogProb; }
    const std::string& Tag(int nId) const;
    const char* Word(int nId) const { return IsId(nId) ? m_words.GetWord(nId) : ""; }
    // The log probability of a piece that is no word (a frequency of one).
    float UnknownLogProb() const { return m_fUnknownLogProb; }
    size_t Count() const { return m_vecFreq.size(); }

private:
    bool IsId(int nId) const { return nId >= 0 && static_cast<size_t>(nId) < m_vecFreq.size(); }
    int TagIndex(const std::string& sTag);
    void ComputeLogProbs();
    std::string SaveAttributes() const;
    bool LoadAttributes(const std::string& sData);
    void Clear();

    CPDAT m_dict;
    CWordList m_words;
    std::vector<int32_t> m_vecFreq;      // by id
    std::vector<uint8_t> m_vecTag;       // by id, index into m_vecTagNames
    std::vector<std::string> m_vecTagNames;
    std::vector<float> m_vecLogProb;     // by id: log(freq / total)
    float m_fUnknownLogProb = 0.0f;
};
