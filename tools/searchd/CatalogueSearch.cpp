// Rows are stepped through to the end so the total is exact; only the rows
// of the asked window are read into documents.
#include "CatalogueSearch.h"

#include <sqlite3.h>

#include <algorithm>

#include "SearchQuery.h"
#include "SearchSql.h"
#include "SqlStatement.h"

namespace {

// Query shapes are few; the bound only stops a stream of odd [and] queries
// from growing the cache without end.
const size_t kMaxStatements = 256;

const char* const kStandardFields[] = {"Safety_Tiaowenhao", "Safety_Tiaowen", "safety_date", "Memo", "Replaced_By"};
const char* const kClauseFields[] = {"file_name", "Safety_Tiaowenhao", "section_no", "row_name",
                                     "col_name",  "value",             "unit"};

template <size_t N>
SearchDocument ReadDocument(const CSqlStatement& statement, const char* const (&fields)[N])
{
    SearchDocument document;
    document.reserve(N);
    for (size_t i = 0; i < N; ++i)
        document.emplace_back(fields[i], statement.Text(static_cast<int>(i)));
    return document;
}

}  // namespace

CCatalogueSearch::CCatalogueSearch() = default;

CCatalogueSearch::~CCatalogueSearch()
{
    Close();
}

void CCatalogueSearch::Close()
{
    m_mapStatements.clear();
    sqlite3_close_v2(m_pDb);
    m_pDb = nullptr;
}

bool CCatalogueSearch::Open(const std::string& sDatabase, std::string& sError)
{
    Close();  // an object opened again lets go of its first catalogue
    int nFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(sDatabase.c_str(), &m_pDb, nFlags, nullptr) != SQLITE_OK) {
        sError = "cannot open the catalogue " + sDatabase + ": " + (m_pDb ? sqlite3_errmsg(m_pDb) : "out of memory");
        return false;
    }
    sqlite3_busy_timeout(m_pDb, 2000);
    // A file that is no catalogue fails here, not on the first query.
    return Statement("SELECT count(*) FROM standards, clause_values LIMIT 0", sError) != nullptr;
}

CSqlStatement* CCatalogueSearch::Statement(const std::string& sSql, std::string& sError)
{
    auto it = m_mapStatements.find(sSql);
    if (it != m_mapStatements.end()) {
        it->second->Reset();
        return it->second.get();
    }
    if (m_mapStatements.size() >= kMaxStatements)
        m_mapStatements.clear();
    auto pStatement = std::make_unique<CSqlStatement>(m_pDb, sSql);
    if (!pStatement->Ok()) {
        sError = "catalogue: " + pStatement->Error();
        return nullptr;
    }
    return m_mapStatements.emplace(sSql, std::move(pStatement)).first->second.get();
}

bool CCatalogueSearch::Search(const CSearchQuery& query, int nStart, int nCount, _tSearchResult& result,
                              std::string& sError)
{
    _tSearchSql sql;
    if (!CSearchSql::Build(query, sql, sError))
        return false;
    CSqlStatement* pStatement = Statement(sql.sSql, sError);
    if (!pStatement)
        return false;
    for (size_t i = 0; i < sql.vecParams.size(); ++i)
        pStatement->BindText(static_cast<int>(i + 1), sql.vecParams[i]);
    size_t nFirst = nStart > 0 ? static_cast<size_t>(nStart) : 0;
    size_t nWanted = nCount < 0 ? kMaxDocuments : std::min<size_t>(static_cast<size_t>(nCount), kMaxDocuments);
    result = _tSearchResult();
    bool bStandards = sql.eTable == ESearchTable::Standards;
    for (; pStatement->Step(); ++result.nTotal) {
        if (result.nTotal >= nFirst && result.vecDocuments.size() < nWanted)
            result.vecDocuments.push_back(bStandards ? ReadDocument(*pStatement, kStandardFields)
                                                     : ReadDocument(*pStatement, kClauseFields));
    }
    sError = pStatement->Error().empty() ? "" : "catalogue: " + pStatement->Error();
    pStatement->Reset();  // ends the read, so an import can write
    return sError.empty();
}

std::string CCatalogueSearch::Answer(const std::string& sQuery, int nStart, int nCount)
{
    CSearchQuery query;
    _tSearchResult result;
    std::string sError;
    if (!query.Parse(sQuery, sError) || !Search(query, nStart, nCount, result, sError))
        return CSearchAnswer::Refusal(sError);
    return CSearchAnswer::Write(result);
}
