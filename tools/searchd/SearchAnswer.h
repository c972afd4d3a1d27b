// The answer text of the search service:
//   <Total-Number>T</Total-Number><Return-Number>R</Return-Number>
//   <Document><NAME>VALUE</NAME>...</Document>   (R times)
// on one line, values escaped as HTML text; a refused query answers no
// documents and says why in an <Error> element after the numbers.
#pragma once

#include <string>
#include <utility>
#include <vector>

using SearchDocument = std::vector<std::pair<std::string, std::string>>;

struct _tSearchResult {
    size_t nTotal = 0;  // every hit
    std::vector<SearchDocument> vecDocuments;  // the hits asked for
};

class CSearchAnswer {
public:
    static std::string Write(const _tSearchResult& result);
    static std::string Refusal(const std::string& sWhy);
};
