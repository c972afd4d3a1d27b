// The text lists of the keyword scanner: wrongly written words with their
// right forms, correct phrases that contain such a word, and keywords in
// weighted classes. One format serves the shipped lists and user lists:
//
//   # comment                 lines starting with '#' and blank lines are skipped
//   既使-->即使                a wrongly written word, then its right form
//   既使得-->既使得            a correct phrase that holds a wrong one: written as its
//                             own right form, it is never reported (the longest match wins)
//   @class 广告极限用语 2       the keywords below belong to this class; their weight
//                             defaults to the class's (1 when not given)
//   最佳                       a keyword of the current class ("关键词" before any @class)
//   国家级<TAB>3               a keyword with its own weight
//
// Text is UTF-8 (a leading byte-order mark is skipped). Words may not hold
// '$' or "##", which end the scanner's answers; class names may not hold
// white space or "()$#". Weights are numbers above 0 and at most 1000.
#pragma once

#include <string>
#include <vector>

struct _tKeyEntry {
    enum EType { KEY_GUARD, KEY_ERROR_WORD, KEY_KEYWORD };
    EType type = KEY_KEYWORD;
    std::string sWord;    // the text as written
    std::string sRight;   // wrongly written words: the right form
    std::string sClass;   // keywords: the class name
    double weight = 1.0;  // keywords: the weight of one occurrence
};

struct _tKeyClass {
    std::string sName;
    double weight = 1.0;  // default weight of the class's keywords
};

class CKeywordList {
public:
    static const char* const kDefaultClass;

    // Reads list text and appends its entries. False on the first bad line,
    // with sError = "<source>:<line>: why"; the list is then unchanged.
    bool Parse(const std::string& sText, const std::string& sSource, std::string& sError);
    // Appends another list's entries and classes (a class named again keeps
    // its first default weight; every entry carries its own weight).
    void Append(const CKeywordList& other);
    // Adds, for every keyword whose pinyin initials are known, those
    // initials as a keyword of the same class and weight. The number added.
    int AddPinyinInitials();
    // The list in its text form; parsing it gives the same entries.
    std::string ToText() const;

    const std::vector<_tKeyEntry>& Entries() const { return m_vecEntry; }
    const std::vector<_tKeyClass>& Classes() const { return m_vecClass; }

private:
    const _tKeyClass* FindClass(const std::string& sName) const;
    void AddClass(const _tKeyClass& keyClass);

    std::vector<_tKeyEntry> m_vecEntry;
    std::vector<_tKeyClass> m_vecClass;
};
