// The schema keeps a folded key beside every number and clause so lookups
// are exact on keys; the title index is an external-content FTS5 table
// kept in step by triggers, so an update of a standard updates its index.
#include "StandardCatalogue.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CatalogueKeys.h"
#include "SqlStatement.h"

namespace {

const char* const kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS standards(
  id INTEGER PRIMARY KEY,
  number TEXT NOT NULL,
  number_key TEXT NOT NULL UNIQUE,
  code_key TEXT NOT NULL,
  year INTEGER NOT NULL,
  title TEXT NOT NULL,
  date TEXT NOT NULL,
  memo INTEGER NOT NULL,
  replaced_by TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS standards_code ON standards(code_key);
CREATE VIRTUAL TABLE IF NOT EXISTS standards_title USING fts5(
  title, content='standards', content_rowid='id', tokenize='trigram');
CREATE TRIGGER IF NOT EXISTS standards_ai AFTER INSERT ON standards BEGIN
  INSERT INTO standards_title(rowid, title) VALUES (new.id, new.title);
END;
CREATE TRIGGER IF NOT EXISTS standards_ad AFTER DELETE ON standards BEGIN
  INSERT INTO standards_title(standards_title, rowid, title) VALUES ('delete', old.id, old.title);
END;
CREATE TRIGGER IF NOT EXISTS standards_au AFTER UPDATE ON standards BEGIN
  INSERT INTO standards_title(standards_title, rowid, title) VALUES ('delete', old.id, old.title);
  INSERT INTO standards_title(rowid, title) VALUES (new.id, new.title);
END;
CREATE TABLE IF NOT EXISTS clause_values(
  id INTEGER PRIMARY KEY,
  standard TEXT NOT NULL,
  standard_key TEXT NOT NULL,
  section_no TEXT NOT NULL,
  section_key TEXT NOT NULL,
  row_name TEXT NOT NULL,
  col_name TEXT NOT NULL,
  value TEXT NOT NULL,
  unit TEXT NOT NULL,
  UNIQUE(standard_key, section_key, row_name, col_name));
CREATE INDEX IF NOT EXISTS clause_values_section ON clause_values(section_key);
)SQL";

const char* const kAddStandard = R"SQL(
INSERT INTO standards(number, number_key, code_key, year, title, date, memo, replaced_by)
VALUES (?, ?, ?, ?, ?, ?, ?, ?)
ON CONFLICT(number_key) DO UPDATE SET number = excluded.number, title = excluded.title,
  date = excluded.date, memo = excluded.memo, replaced_by = excluded.replaced_by)SQL";

const char* const kAddClauseValue = R"SQL(
INSERT INTO clause_values(standard, standard_key, section_no, section_key, row_name, col_name, value, unit)
VALUES (?, ?, ?, ?, ?, ?, ?, ?)
ON CONFLICT(standard_key, section_key, row_name, col_name) DO UPDATE SET standard = excluded.standard,
  section_no = excluded.section_no, value = excluded.value, unit = excluded.unit)SQL";

}  // namespace

CStandardCatalogue::~CStandardCatalogue()
{
    sqlite3_close_v2(m_pDb);
}

bool CStandardCatalogue::Open(const std::string& sFile, std::string& sError)
{
    sqlite3_close_v2(m_pDb);  // an object opened again lets go of its first catalogue
    m_pDb = nullptr;
    if (sqlite3_open_v2(sFile.c_str(), &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sError = "cannot open " + sFile + ": " + (m_pDb ? sqlite3_errmsg(m_pDb) : "out of memory");
        return false;
    }
    sqlite3_busy_timeout(m_pDb, 5000);
    return Execute(kSchema, sError);
}

bool CStandardCatalogue::Execute(const char* sSql, std::string& sError)
{
    char* sMessage = nullptr;
    if (sqlite3_exec(m_pDb, sSql, nullptr, nullptr, &sMessage) == SQLITE_OK)
        return true;
    sError = sMessage ? sMessage : sqlite3_errmsg(m_pDb);
    sqlite3_free(sMessage);
    return false;
}

int CStandardCatalogue::ImportFile(const std::string& sFile, std::string& sError)
{
    std::ifstream in(sFile, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        sError = "cannot read " + sFile;
        return -1;
    }
    std::string sText = text.str();
    int nCount = ImportText(sText, sError);
    if (nCount < 0)
        sError = sFile + ": " + sError;
    return nCount;
}

int CStandardCatalogue::ImportFolder(const std::string& sDir, std::string& sError)
{
    std::vector<std::string> vecFiles;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sDir, ec)) {
        if (entry.path().extension() == ".tsv")
            vecFiles.push_back(entry.path().string());
    }
    if (ec) {
        sError = "cannot read the folder " + sDir + ": " + ec.message();
        return -1;
    }
    std::sort(vecFiles.begin(), vecFiles.end());
    int nTotal = 0;
    for (const auto& sFile : vecFiles) {
        int nCount = ImportFile(sFile, sError);
        if (nCount < 0)
            return -1;
        nTotal += nCount;
    }
    return nTotal;
}

int CStandardCatalogue::ImportText(const std::string& sText, std::string& sError)
{
    CCatalogueTsv source;
    if (!source.Parse(sText, sError) || !Execute("BEGIN IMMEDIATE", sError))
        return -1;
    bool bOk = true;
    for (const auto& record : source.Standards())
        bOk = bOk && AddStandard(record, sError);
    for (const auto& record : source.ClauseValues())
        bOk = bOk && AddClauseValue(record, sError);
    std::string sIgnored;
    if (!bOk || !Execute("COMMIT", sError)) {
        Execute("ROLLBACK", sIgnored);
        return -1;
    }
    return static_cast<int>(source.Standards().size() + source.ClauseValues().size());
}

bool CStandardCatalogue::AddStandard(const _tStandardRecord& record, std::string& sError)
{
    CSqlStatement statement(m_pDb, kAddStandard);
    std::string sKey = CCatalogueKeys::NumberKey(record.sNumber);
    statement.Bind({record.sNumber, sKey, CCatalogueKeys::CodeKey(sKey)});
    statement.BindInt(4, CCatalogueKeys::Year(sKey));
    statement.BindText(5, record.sTitle);
    statement.BindText(6, record.sDate);
    statement.BindInt(7, record.nMemo);
    statement.BindText(8, record.sReplacedBy);
    return statement.Run(sError);
}

bool CStandardCatalogue::AddClauseValue(const _tClauseValueRecord& record, std::string& sError)
{
    CSqlStatement statement(m_pDb, kAddClauseValue);
    statement.Bind({record.sStandard, CCatalogueKeys::NumberKey(record.sStandard), record.sClause,
                    CCatalogueKeys::SectionKey(record.sClause), record.sRowName, record.sColName, record.sValue,
                    record.sUnit});
    return statement.Run(sError);
}

int CStandardCatalogue::Count(const char* sSql)
{
    if (!m_pDb)
        return -1;
    CSqlStatement statement(m_pDb, sSql);
    return statement.Step() ? statement.Int(0) : -1;
}

int CStandardCatalogue::CountStandards()
{
    return Count("SELECT count(*) FROM standards");
}

int CStandardCatalogue::CountClauseValues()
{
    return Count("SELECT count(*) FROM clause_values");
}
