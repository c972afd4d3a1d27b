// The English word list of the spelling pass: every word of a plain list
// (one per line), kept in lower case in a dictionary file English.pdat.
// Read-only once loaded.
#pragma once

#include <string>

#include "Utility/PDAT.h"

class CEnglishWords {
public:
    CEnglishWords();
    CEnglishWords(const CEnglishWords&) = delete;
    CEnglishWords& operator=(const CEnglishWords&) = delete;

    // Builds from the lines of a list; returns the number of distinct words.
    int BuildFromText(const std::string& sText);
    bool Save(const std::string& sDir, std::string& sError) const;
    bool Load(const std::string& sDir, std::string& sError);

    // True when the word, with its ASCII letters in lower case, is listed
    // ("Paris", "PARIS" and "paris" alike).
    bool Contains(const char* sWord, size_t nLen) const;
    size_t Count() const { return m_dict.GetItemCount(); }

private:
    CPDAT m_dict;
};
