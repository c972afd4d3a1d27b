// Titles are matched through the trigram index when the text has three
// characters or more (the index cannot see shorter ones), else by a scan;
// numbers and clause numbers are matched on their folded keys, a number
// without its year matching every edition.
#include "SearchSql.h"

#include "CatalogueKeys.h"

namespace {

const char* const kStandardsSelect =
    "SELECT s.number, s.title, s.date, s.memo, s.replaced_by FROM standards s WHERE ";
const char* const kStandardsOrder = " ORDER BY s.title = ? DESC, s.code_key, s.year DESC, s.number_key";
const char* const kClausesSelect =
    "SELECT ifnull(s.title, ''), c.standard, c.section_no, c.row_name, c.col_name, c.value, c.unit "
    "FROM clause_values c LEFT JOIN standards s ON s.number_key = c.standard_key WHERE ";
const char* const kClausesOrder = " ORDER BY c.standard_key, c.section_key, c.id";

bool IsClauseField(const std::string& sField)
{
    return sField == "file_name" || sField == "section_no" || sField == "row_name" || sField == "col_name";
}

size_t CodePoints(const std::string& s)
{
    size_t n = 0;
    for (char c : s)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::vector<std::string> Words(const _tQueryTerm& term)
{
    if (term.eMode == EMatchMode::Whole)
        return term.sValue.empty() ? std::vector<std::string>() : std::vector<std::string>{term.sValue};
    std::vector<std::string> vecWords;
    size_t nStart = 0;
    while ((nStart = term.sValue.find_first_not_of(" \t", nStart)) != std::string::npos) {
        size_t nEnd = term.sValue.find_first_of(" \t", nStart);
        vecWords.push_back(term.sValue.substr(nStart, nEnd - nStart));
        nStart = nEnd;
    }
    return vecWords;
}

// sColumn holds every word of the term (a term without words, nothing).
std::string Contains(const std::string& sColumn, const _tQueryTerm& term, bool bIndexed, _tSearchSql& sql)
{
    std::string sCondition = Words(term).empty() ? "(0" : "(1";
    for (const auto& sWord : Words(term)) {
        if (bIndexed && CodePoints(sWord) >= 3) {
            std::string sPhrase = "\"";
            for (char c : sWord)
                sPhrase += c == '"' ? std::string("\"\"") : std::string(1, c);
            sCondition += " AND s.id IN (SELECT rowid FROM standards_title WHERE standards_title MATCH ?)";
            sql.vecParams.push_back(sPhrase + "\"");
        } else {
            sCondition += " AND instr(" + sColumn + ", ?) > 0";
            sql.vecParams.push_back(sWord);
        }
    }
    return sCondition + ")";
}

// A number: whole, its key or (without a year) its code; and, in its key.
std::string NumberIs(const std::string& sKeyColumn, const _tQueryTerm& term, _tSearchSql& sql)
{
    std::string sKey = CCatalogueKeys::NumberKey(term.sValue);
    sql.vecParams.push_back(sKey);
    if (term.eMode == EMatchMode::And)
        return "instr(" + sKeyColumn + ", ?) > 0";
    sql.vecParams.push_back(sKey);
    return "(" + sKeyColumn + " = ? OR s.code_key = ?)";
}

bool Condition(const _tQueryTerm& term, bool bClauses, _tSearchSql& sql, std::string& sCondition)
{
    const std::string& f = term.sField;
    if (f == "safety_tiaowen" && !bClauses)
        sCondition = Contains("s.title", term, true, sql);
    else if (f == "safety_tiaowenhao")
        sCondition = NumberIs(bClauses ? "c.standard_key" : "s.number_key", term, sql);
    else if (f == "file_name") {
        sCondition = "(" + Contains("ifnull(s.title, '')", term, false, sql) + " OR ";
        sCondition += NumberIs("c.standard_key", term, sql) + ")";
    } else if (f == "section_no") {
        sql.vecParams.push_back(CCatalogueKeys::SectionKey(term.sValue));
        sCondition = term.eMode == EMatchMode::Whole ? "c.section_key = ?" : "instr(c.section_key, ?) > 0";
    } else if (f == "row_name" || f == "col_name")
        sCondition = Contains("c." + f, term, false, sql);
    else
        return false;
    return true;
}

}  // namespace

bool CSearchSql::Build(const CSearchQuery& query, _tSearchSql& sql, std::string& sError)
{
    bool bClauses = false;
    for (const auto& term : query.Terms())
        bClauses = bClauses || IsClauseField(term.sField);
    sql = _tSearchSql();
    sql.eTable = bClauses ? ESearchTable::ClauseValues : ESearchTable::Standards;
    sql.sSql = bClauses ? kClausesSelect : kStandardsSelect;
    for (size_t i = 0; i < query.Terms().size(); ++i) {
        std::string sCondition;
        if (!Condition(query.Terms()[i], bClauses, sql, sCondition)) {
            sError = "unknown field \"" + query.Terms()[i].sField + "\" (Safety_Tiaowen, Safety_Tiaowenhao, " +
                     "file_name, section_no, row_name, col_name)";
            return false;
        }
        sql.sSql += (i ? " AND " : "") + sCondition;
    }
    if (query.Terms().empty())
        sql.sSql += "0";
    sql.sSql += bClauses ? kClausesOrder : kStandardsOrder;
    if (!bClauses)
        sql.vecParams.push_back(query.ValueOf("safety_tiaowen"));
    return true;
}
