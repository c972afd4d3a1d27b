// A reader of the small subset of literal syntax the model files use:
// nested dictionaries, quoted one-character keys (with \u, \U, \x and the
// simple escapes) and decimal numbers, with blanks and # comments between.
#include "Segmenter/HmmModelText.h"

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

const int kMaxDepth = 4;

// A value: a number, or a dictionary of one-character keys.
struct _tLiteral {
    bool bDict = false;
    double dNumber = 0.0;
    std::vector<std::pair<uint32_t, std::unique_ptr<_tLiteral>>> vecItems;
};

class CLiteralReader {
public:
    explicit CLiteralReader(const std::string& sText) : m_s(sText) {}

    // The dictionary assigned by the text's first "=".
    bool ReadAssigned(_tLiteral& value)
    {
        while (SkipBlanks() < m_s.size() && m_s[m_n] != '=') {
            if (m_s[m_n] == '\'' || m_s[m_n] == '"' || m_s[m_n] == '{')
                return false;  // only plain statements ("from x import y") come before it
            ++m_n;
        }
        ++m_n;
        return ReadValue(value, 0) && SkipBlanks() == m_s.size();
    }
    size_t Position() const { return m_n; }

private:
    size_t SkipBlanks()
    {
        while (m_n < m_s.size()) {
            char c = m_s[m_n];
            if (c == '#') {
                while (m_n < m_s.size() && m_s[m_n] != '\n')
                    ++m_n;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++m_n;
            } else {
                break;
            }
        }
        return m_n;
    }

    bool Take(char c)
    {
        if (SkipBlanks() < m_s.size() && m_s[m_n] == c) {
            ++m_n;
            return true;
        }
        return false;
    }

    bool ReadValue(_tLiteral& value, int nDepth)
    {
        if (Take('{'))
            return nDepth < kMaxDepth && ReadDictRest(value, nDepth);
        return ReadNumber(value.dNumber);
    }

    bool ReadDictRest(_tLiteral& value, int nDepth)
    {
        value.bDict = true;
        while (!Take('}')) {
            uint32_t nKey = 0;
            auto item = std::make_unique<_tLiteral>();
            if (!ReadKey(nKey) || !Take(':') || !ReadValue(*item, nDepth + 1))
                return false;
            value.vecItems.emplace_back(nKey, std::move(item));
            if (!Take(',')) {
                if (!Take('}'))
                    return false;
                break;
            }
        }
        return true;
    }

    bool ReadNumber(double& dValue)
    {
        SkipBlanks();
        size_t nStart = m_n;
        while (m_n < m_s.size() && std::string("+-.eE0123456789").find(m_s[m_n]) != std::string::npos)
            ++m_n;
        if (m_n == nStart)
            return false;
        std::string sNumber = m_s.substr(nStart, m_n - nStart);
        char* pEnd = nullptr;
        dValue = std::strtod(sNumber.c_str(), &pEnd);
        return *pEnd == '\0';
    }

    // A quoted string of exactly one character, as its code.
    bool ReadKey(uint32_t& nCode)
    {
        SkipBlanks();
        if (m_n >= m_s.size() || (m_s[m_n] != '\'' && m_s[m_n] != '"'))
            return false;
        char cQuote = m_s[m_n++];
        if (!ReadChar(nCode) || m_n >= m_s.size() || m_s[m_n] != cQuote)
            return false;
        ++m_n;
        return true;
    }

    bool ReadHex(size_t nDigits, uint32_t& nCode)
    {
        if (m_s.size() - m_n < nDigits)
            return false;
        nCode = 0;
        for (size_t i = 0; i < nDigits; ++i) {
            char c = m_s[m_n++];
            int nDigit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                       : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (nDigit < 0)
                return false;
            nCode = nCode * 16 + static_cast<uint32_t>(nDigit);
        }
        return nCode <= 0x10FFFF;
    }

    bool ReadChar(uint32_t& nCode)
    {
        if (m_n >= m_s.size())
            return false;
        unsigned char c = static_cast<unsigned char>(m_s[m_n++]);
        if (c == '\\') {
            if (m_n >= m_s.size())
                return false;
            char cEscape = m_s[m_n++];
            switch (cEscape) {
            case 'u': return ReadHex(4, nCode);
            case 'U': return ReadHex(8, nCode);
            case 'x': return ReadHex(2, nCode);
            case '\\': case '\'': case '"': nCode = static_cast<uint32_t>(cEscape); return true;
            default: return false;
            }
        }
        if (c < 0x80) {
            nCode = c;
            return c >= 0x20;
        }
        return ReadUtf8Rest(c, nCode);
    }

    bool ReadUtf8Rest(unsigned char cLead, uint32_t& nCode)
    {
        size_t nMore = cLead >= 0xF0 ? 3 : cLead >= 0xE0 ? 2 : cLead >= 0xC0 ? 1 : 0;
        if (nMore == 0 || cLead > 0xF4 || m_s.size() - m_n < nMore)
            return false;
        nCode = cLead & (0x3F >> nMore);
        for (size_t i = 0; i < nMore; ++i) {
            unsigned char c = static_cast<unsigned char>(m_s[m_n++]);
            if ((c & 0xC0) != 0x80)
                return false;
            nCode = (nCode << 6) | (c & 0x3F);
        }
        return nCode <= 0x10FFFF;
    }

    const std::string& m_s;
    size_t m_n = 0;
};

bool ReadOne(const char* sName, const std::string& sText, _tLiteral& value, std::string& sError)
{
    CLiteralReader reader(sText);
    if (reader.ReadAssigned(value) && value.bDict)
        return true;
    sError = std::string("the ") + sName + " table is not a literal dictionary (stopped at byte " +
             std::to_string(reader.Position()) + ")";
    return false;
}

// A state key: one of the letters B, E, M, S.
bool IsState(uint32_t nKey)
{
    return nKey == 'B' || nKey == 'E' || nKey == 'M' || nKey == 'S';
}

// state -> number
bool ToStateNumbers(const _tLiteral& value, std::map<char, double>& mapOut)
{
    for (const auto& item : value.vecItems) {
        if (!IsState(item.first) || item.second->bDict)
            return false;
        mapOut[static_cast<char>(item.first)] = item.second->dNumber;
    }
    return true;
}

}  // namespace

bool ReadHmmTables(const std::string& sStart, const std::string& sTrans, const std::string& sEmit,
                   _tHmmTables& tables, std::string& sError)
{
    tables = _tHmmTables();
    _tLiteral start, trans, emit;
    if (!ReadOne("start", sStart, start, sError) || !ReadOne("transition", sTrans, trans, sError) ||
        !ReadOne("emission", sEmit, emit, sError))
        return false;
    bool bGood = ToStateNumbers(start, tables.mapStart);
    for (size_t i = 0; bGood && i < trans.vecItems.size(); ++i) {
        const auto& item = trans.vecItems[i];
        bGood = IsState(item.first) && item.second->bDict &&
                ToStateNumbers(*item.second, tables.mapTrans[static_cast<char>(item.first)]);
    }
    for (size_t i = 0; bGood && i < emit.vecItems.size(); ++i) {
        const auto& item = emit.vecItems[i];
        bGood = IsState(item.first) && item.second->bDict;
        std::map<uint32_t, double>& mapRow = tables.mapEmit[static_cast<char>(item.first)];
        for (size_t k = 0; bGood && k < item.second->vecItems.size(); ++k) {
            const auto& cell = item.second->vecItems[k];
            bGood = !cell.second->bDict;
            mapRow[cell.first] = cell.second->dNumber;
        }
    }
    if (!bGood)
        sError = "the model tables do not map the states B, E, M, S to numbers or to characters with numbers";
    return bGood;
}
