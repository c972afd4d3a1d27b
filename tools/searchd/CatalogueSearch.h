// Answers queries from the standards catalogue on one read-only SQLite
// connection, keeping the statements it has prepared. One per thread.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "SearchAnswer.h"

struct sqlite3;
class CSqlStatement;
class CSearchQuery;

class CCatalogueSearch {
public:
    // At most this many documents go into one answer, whatever the count.
    static constexpr size_t kMaxDocuments = 10000;

    CCatalogueSearch();
    ~CCatalogueSearch();
    CCatalogueSearch(const CCatalogueSearch&) = delete;
    CCatalogueSearch& operator=(const CCatalogueSearch&) = delete;

    bool Open(const std::string& sDatabase, std::string& sError);
    // Every hit is counted; documents nStart.. nStart+nCount are kept (a
    // negative count: all). False with sError for a query the catalogue
    // cannot answer.
    bool Search(const CSearchQuery& query, int nStart, int nCount, _tSearchResult& result, std::string& sError);
    // The answer text of a query in the query language, a refusal included.
    std::string Answer(const std::string& sQuery, int nStart, int nCount);

private:
    void Close();
    CSqlStatement* Statement(const std::string& sSql, std::string& sError);

    sqlite3* m_pDb = nullptr;
    std::map<std::string, std::unique_ptr<CSqlStatement>> m_mapStatements;
};
