// The index file of the template store ("docTemplate.index"): the template
// array, the inverted index over report type, organisation and argument or
// area, its posting store and the (unused) string pool, in native byte
// order. Reading checks every count, range and id against the file and
// refuses a short or corrupt file as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Docx/TemplateRecords.h"

class CTemplateIndex {
public:
    static constexpr int kTypeTerms = 20;  // report types 0..19

    // Term numbers: report type t; organisation id; argument or area id.
    static size_t TypeTerm(int nType) { return static_cast<size_t>(nType); }
    static size_t OrgTerm(int nId) { return kTypeTerms + static_cast<size_t>(nId); }
    size_t ArguAreaTerm(int nId) const { return kTypeTerms + m_nWords + static_cast<size_t>(nId); }

    // Builds the index of vecTemplates over a dictionary of nWords words.
    void Build(const std::vector<_tTemplate>& vecTemplates, size_t nWords);
    // The file text of vecTemplates and this index.
    std::string Write(const std::vector<_tTemplate>& vecTemplates) const;
    // Reads a file text. nWords: the dictionary's word count; nDataSize: the
    // size of docTemplate.dat (every text must lie inside it). False, with
    // both outputs empty, when anything does not fit.
    bool Read(const std::string& sFile, size_t nWords, uint64_t nDataSize, std::vector<_tTemplate>& vecTemplates);

    // Template indexes under a term, ascending; empty for a term out of range.
    std::vector<int> Postings(size_t nTerm) const;
    size_t TermCount() const { return m_vecTerms.size(); }
    size_t WordCount() const { return m_nWords; }
    void Clear();

private:
    size_t m_nWords = 0;
    std::vector<_tFormatInvertList> m_vecTerms;
    std::vector<int32_t> m_vecPostings;
};
