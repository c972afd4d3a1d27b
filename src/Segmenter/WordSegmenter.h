// The word segmenter and tagger of one data folder: the core dictionary,
// unknown-word model and English word list compiled at build time
// (Data/Segmenter/), and the user dictionary saved beside them
// (Data/Segmenter/UserDict.txt). Any number of
// threads may segment at once; user-word changes take an exclusive lock and
// are compiled when the next segmentation starts.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "Segmenter/CoreDict.h"
#include "Segmenter/EnglishWords.h"
#include "Segmenter/HmmModel.h"
#include "Segmenter/UserDict.h"

class CWordSegmenter {
public:
    CWordSegmenter() = default;
    CWordSegmenter(const CWordSegmenter&) = delete;
    CWordSegmenter& operator=(const CWordSegmenter&) = delete;

    // Loads <sDataDir>/Segmenter: the core dictionary, the unknown-word
    // model, the English words and
    // the saved user dictionary when there is one. False with sError.
    bool Load(const std::string& sDataDir, std::string& sError);

    // The tokens of a UTF-8 text as "word/tag" (or "word") separated by
    // single spaces, into sOut (replaced).
    void Segment(const char* sText, size_t nLen, bool bTagged, std::string& sOut);

    // User words. Import adds the entries of a user dictionary text (after
    // dropping every user word when bOverwrite) and returns how many it took.
    int ImportUserDict(const std::string& sText, bool bOverwrite);
    bool AddUserWord(const std::string& sWord, const std::string& sTag);
    size_t UserWordCount() const;
    // Writes the user dictionary in its text form to UserDictPath().
    bool SaveUserDict(std::string& sError) const;
    const std::string& UserDictPath() const { return m_sUserDictPath; }

    // The services of the spelling pass, all on the core dictionary: a
    // word's id (-1 when absent); the frequency of two words written
    // together as one core word (0 when they make none, or an id is
    // unknown); whether a word is English.
    int GetWordID(const char* sWord, size_t nLen) const { return m_core.Find(sWord, nLen); }
    int GetPairFreq(int nId1, int nId2) const;
    bool IsEnglishWord(const char* sWord, size_t nLen) const { return m_english.Contains(sWord, nLen); }

private:
    std::shared_lock<std::shared_mutex> ReadLock() const;
    std::unique_lock<std::shared_mutex> WriteLock() const;
    void CompileUserWords();

    CCoreDict m_core;
    CHmmModel m_hmm;
    CEnglishWords m_english;
    CUserDict m_user;
    std::string m_sUserDictPath;
    mutable std::shared_mutex m_mutex;  // user words against segmentation
    // Held by a writer while it waits for m_mutex and passed through by
    // readers first, so a stream of segmentations cannot starve a change.
    mutable std::mutex m_gate;
    std::atomic<bool> m_bUserDirty{false};
};
