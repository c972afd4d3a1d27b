// Reads the search service's answer text: the number of hits, the number
// of documents returned, then each document between "<Document>" and
// "</Document>" as its named values in order.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One answer document: (name, value) pairs in the order the answer gives them.
using _tSearchDocument = std::vector<std::pair<std::string, std::string>>;

class CSearchResultParser {
public:
    // Reads sAnswer into vecDocuments (values turned from HTML into plain
    // text); the answer's Return-Number. With 0 or less nothing is read. A
    // document without its closing tag ends the reading.
    static int GetSearchResult(const std::string& sAnswer, std::vector<_tSearchDocument>& vecDocuments);
    // The answer's Total-Number, -1 when it has none.
    static int TotalNumber(const std::string& sAnswer);
    // The value of a name in a document, case ignored; "" when absent.
    static std::string Field(const _tSearchDocument& document, const std::string& sName);

private:
    static int Number(const std::string& sAnswer, const char* sName);
    static void ReadDocument(const std::string& sBody, _tSearchDocument& document);
};
