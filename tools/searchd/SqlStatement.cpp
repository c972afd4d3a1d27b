// Thin ownership and error keeping around sqlite3_stmt.
#include "SqlStatement.h"

#include <sqlite3.h>

CSqlStatement::CSqlStatement(sqlite3* pDb, const std::string& sSql) : m_pDb(pDb)
{
    if (sqlite3_prepare_v3(pDb, sSql.c_str(), static_cast<int>(sSql.size()), SQLITE_PREPARE_PERSISTENT,
                           &m_pStatement, nullptr) != SQLITE_OK) {
        m_sError = sqlite3_errmsg(pDb);
        sqlite3_finalize(m_pStatement);
        m_pStatement = nullptr;
    }
}

CSqlStatement::~CSqlStatement()
{
    sqlite3_finalize(m_pStatement);
}

void CSqlStatement::Bind(std::initializer_list<std::string> values)
{
    int nIndex = 1;
    for (const auto& sValue : values)
        BindText(nIndex++, sValue);
}

void CSqlStatement::BindText(int nIndex, const std::string& sValue)
{
    if (m_pStatement)
        sqlite3_bind_text(m_pStatement, nIndex, sValue.data(), static_cast<int>(sValue.size()), SQLITE_TRANSIENT);
}

void CSqlStatement::BindInt(int nIndex, int nValue)
{
    if (m_pStatement)
        sqlite3_bind_int(m_pStatement, nIndex, nValue);
}

bool CSqlStatement::Step()
{
    if (!m_pStatement)
        return false;
    int nResult = sqlite3_step(m_pStatement);
    if (nResult == SQLITE_ROW)
        return true;
    if (nResult != SQLITE_DONE)
        m_sError = sqlite3_errmsg(m_pDb);
    return false;
}

bool CSqlStatement::Run(std::string& sError)
{
    if (!m_pStatement) {
        sError = m_sError;
        return false;
    }
    m_sError.clear();
    Step();
    if (m_sError.empty())
        return true;
    sError = m_sError;
    return false;
}

void CSqlStatement::Reset()
{
    if (!m_pStatement)
        return;
    sqlite3_reset(m_pStatement);
    sqlite3_clear_bindings(m_pStatement);
    m_sError.clear();
}

std::string CSqlStatement::Text(int nColumn) const
{
    const unsigned char* p = sqlite3_column_text(m_pStatement, nColumn);
    int nBytes = sqlite3_column_bytes(m_pStatement, nColumn);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(nBytes)) : std::string();
}

int CSqlStatement::Int(int nColumn) const
{
    return sqlite3_column_int(m_pStatement, nColumn);
}
