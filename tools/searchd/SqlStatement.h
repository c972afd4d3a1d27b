// A prepared SQLite statement that finalises itself; texts are bound by
// copy, columns read as strings or integers. Reset() makes it ready for
// another run with new values, so callers may keep it.
#pragma once

#include <initializer_list>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class CSqlStatement {
public:
    CSqlStatement(sqlite3* pDb, const std::string& sSql);
    ~CSqlStatement();
    CSqlStatement(const CSqlStatement&) = delete;
    CSqlStatement& operator=(const CSqlStatement&) = delete;

    bool Ok() const { return m_pStatement != nullptr; }
    const std::string& Error() const { return m_sError; }

    // Binds texts to parameters 1, 2, ... in order.
    void Bind(std::initializer_list<std::string> values);
    void BindText(int nIndex, const std::string& sValue);
    void BindInt(int nIndex, int nValue);
    // The next row: true while there is one; false at the end or on an
    // error (Error() then says which).
    bool Step();
    // Runs a statement that returns no rows.
    bool Run(std::string& sError);
    void Reset();

    std::string Text(int nColumn) const;
    int Int(int nColumn) const;

private:
    sqlite3* m_pDb;
    sqlite3_stmt* m_pStatement = nullptr;
    std::string m_sError;
};
