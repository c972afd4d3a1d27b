// The standards catalogue on disk: a SQLite database with the standards
// (number, title, date, status, replacing number), a trigram full-text
// index of their titles, and the value tables of their clauses. This class
// creates the database and adds sources to it; CCatalogueSearch reads it.
#pragma once

#include <string>

#include "CatalogueTsv.h"

struct sqlite3;

class CStandardCatalogue {
public:
    CStandardCatalogue() = default;
    ~CStandardCatalogue();
    CStandardCatalogue(const CStandardCatalogue&) = delete;
    CStandardCatalogue& operator=(const CStandardCatalogue&) = delete;

    // Opens (creating when missing) the database and its tables.
    bool Open(const std::string& sFile, std::string& sError);
    // Adds or replaces the records of a text source in one transaction;
    // the number of records, -1 with sError when nothing was added.
    int ImportText(const std::string& sText, std::string& sError);
    int ImportFile(const std::string& sFile, std::string& sError);
    // Every "*.tsv" of a folder, in name order; the number of records, -1
    // with sError at the first source that fails.
    int ImportFolder(const std::string& sDir, std::string& sError);
    // Numbers of standards and clause values held.
    int CountStandards();
    int CountClauseValues();

private:
    bool Execute(const char* sSql, std::string& sError);
    bool AddStandard(const _tStandardRecord& record, std::string& sError);
    bool AddClauseValue(const _tClauseValueRecord& record, std::string& sError);
    int Count(const char* sSql);

    sqlite3* m_pDb = nullptr;
};
