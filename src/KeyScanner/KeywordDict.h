// The keyword scanner's compiled dictionary: every word of the lists in one
// double-array dictionary (GB18030 text), each id knowing whether it is a
// wrongly written word, a guarded correct phrase or a keyword of a class.
// Built once, then read-only: scans may run on several threads at once.
#pragma once

#include <string>
#include <vector>

#include "Utility/PDAT.h"

class CKeywordList;

class CKeywordDict {
public:
    static const char* const kErrorWordClass;  // "错别字"

    // Compiles the list; for a word listed twice the later entry wins.
    explicit CKeywordDict(const CKeywordList& list);
    CKeywordDict(const CKeywordDict&) = delete;
    CKeywordDict& operator=(const CKeywordDict&) = delete;

    // Scans a text (UTF-8, or GBK when bUtf8 is false; the answer is in
    // the same encoding). nMode 1: wrongly written words, answered as
    // "(Check 错别字)right-->written##...$" in text order, one item per
    // occurrence; 2: keywords, one "(Check <class> <score>)word##...$" per
    // class found, each word once, the score the sum of the weights of all
    // occurrences; 3: both, wrongly written words first. At each position
    // the longest listed word wins, and words that would cut into a run of
    // Latin letters or digits are not matched. "" when nothing is found.
    std::string Scan(const std::string& sText, int nMode, bool bUtf8) const;

    size_t ErrorWordCount() const { return m_nErrorWords; }
    size_t KeywordCount() const { return m_nKeywords; }
    size_t GuardCount() const { return m_nGuards; }
    size_t ClassCount() const { return m_vecClass.size(); }

private:
    struct _tCompiled {
        int type = 0;          // _tKeyEntry::EType
        std::string sRight;    // wrongly written words: right form, UTF-8
        std::string sRightGbk; // the same in the dictionaries' text
        int nClass = -1;       // keywords: index into m_vecClass
        double weight = 0.0;
    };
    const _tCompiled* EntryOf(const _stTermPosition& hit) const;
    std::string ClassSections(const std::vector<_stTermPosition>& vecHits, const std::string& sText,
                              bool bUtf8) const;

    CPDAT m_dict {PDAT_MODE_GBK};
    std::vector<_tCompiled> m_vecEntry;  // by word id
    std::vector<std::string> m_vecClass;
    size_t m_nErrorWords = 0;
    size_t m_nKeywords = 0;
    size_t m_nGuards = 0;
};
