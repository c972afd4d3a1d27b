// The segmenter's user dictionary: words that must come back whole with
// their own tag. Kept as a word -> tag table that changes freely, and
// compiled into a lookup dictionary when the segmenter next needs it; the
// caller serialises changes and compiling against lookups.
//
// Text form (import and save), one entry per line:
//   word            tag "n"
//   word tag
//   word freq tag   (a jieba user dictionary line; the frequency is ignored)
//   [a b] tag       a word holding spaces, in brackets
// White space inside a word counts as one space; a tag may be written with
// its leading "/".
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Utility/PDAT.h"

class CUserDict {
public:
    CUserDict();
    CUserDict(const CUserDict&) = delete;
    CUserDict& operator=(const CUserDict&) = delete;

    // The word and tag of one line; false when the line holds no word.
    static bool ParseLine(const std::string& sLine, std::string& sWord, std::string& sTag);

    // Adds a word or gives it a new tag. False for a word that cannot be
    // one (empty, over 1024 bytes, spaces together with "]") or a tag with
    // more than 32 bytes.
    bool Add(const std::string& sWord, const std::string& sTag);
    // Adds every entry of a text; returns how many were taken.
    int AddFromText(const std::string& sText);
    void Clear() { m_mapWords.clear(); }
    size_t Size() const { return m_mapWords.size(); }
    // The text form, sorted by word.
    std::string ToText() const;

    // Rebuilds the lookup dictionary from the table.
    void Compile();
    bool IsCompiledEmpty() const { return m_dict.IsEmpty(); }
    // Byte length of the longest compiled word starting sText (0 if none),
    // with its id; runs of white space in the text match one space.
    int Longest(const char* sText, int nLen, int& nId) const;
    // The ids and byte ends of every compiled word starting sText, as
    // written (appended, shortest first).
    void Prefixes(const char* sText, int nLen, std::vector<int>& vecIds, std::vector<int>& vecEnds) const
    {
        m_dict.GetWords(sText, nLen, vecIds, vecEnds);
    }
    // Tag of a compiled id; "n" for an id outside the dictionary.
    const std::string& Tag(int nId) const;

private:
    std::map<std::string, std::string> m_mapWords;  // normalised word -> tag
    CPDAT m_dict;
    std::vector<std::string> m_vecTags;             // by compiled id
};
