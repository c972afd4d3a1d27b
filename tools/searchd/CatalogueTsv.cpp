// Each line is split at tabs and its fields trimmed; empty lines and lines
// starting with "#" are skipped. Trailing empty columns may be left out.
#include "CatalogueTsv.h"

#include <sstream>

#include "CatalogueKeys.h"

namespace {

const char* const kStandardColumns[] = {"number", "title", "date", "status", "replaced_by"};
const char* const kClauseColumns[] = {"standard", "clause", "row_name", "col_name", "value", "unit"};

std::vector<std::string> SplitTabs(const std::string& sLine)
{
    std::vector<std::string> vecFields;
    size_t nStart = 0;
    for (;;) {
        size_t nTab = sLine.find('\t', nStart);
        vecFields.push_back(CCatalogueKeys::Trimmed(sLine.substr(nStart, nTab - nStart)));
        if (nTab == std::string::npos)
            break;
        nStart = nTab + 1;
    }
    while (vecFields.size() > 1 && vecFields.back().empty())
        vecFields.pop_back();
    return vecFields;
}

// The header names the first nRequired columns at least, in order.
template <size_t N>
bool HeaderIs(const std::vector<std::string>& vecFields, const char* const (&columns)[N], size_t nRequired)
{
    if (vecFields.size() > N || vecFields.size() < nRequired)
        return false;
    for (size_t i = 0; i < vecFields.size(); ++i) {
        if (vecFields[i] != columns[i])
            return false;
    }
    return true;
}

bool IsDate(const std::string& s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (s[i] < '0' || s[i] > '9')
            return false;
    }
    return true;
}

}  // namespace

int CCatalogueTsv::StatusCode(const std::string& sStatus)
{
    static const std::pair<const char*, int> kWords[] = {
        {"", kStatusUnknown},           {"0", kStatusUnknown},     {"current", kStatusCurrent},
        {"1", kStatusCurrent},          {"现行", kStatusCurrent},  {"replaced", kStatusReplaced},
        {"2", kStatusReplaced},         {"被代替", kStatusReplaced}, {"withdrawn", kStatusWithdrawn},
        {"3", kStatusWithdrawn},        {"废止", kStatusWithdrawn}};
    for (const auto& word : kWords) {
        if (sStatus == word.first)
            return word.second;
    }
    return -1;
}

bool CCatalogueTsv::Parse(const std::string& sText, std::string& sError)
{
    std::istringstream in(sText);
    std::string sLine;
    int nLine = 0;
    while (std::getline(in, sLine)) {
        ++nLine;
        if (nLine == 1 && sLine.compare(0, 3, "\xEF\xBB\xBF") == 0)
            sLine.erase(0, 3);
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        if (CCatalogueKeys::Trimmed(sLine).empty() || sLine[0] == '#')
            continue;
        std::vector<std::string> vecFields = SplitTabs(sLine);
        bool bOk = !m_bHeader ? ParseHeader(vecFields, sError)
                   : m_bStandards ? ParseStandard(vecFields, sError)
                                  : ParseClauseValue(vecFields, sError);
        if (!bOk) {
            sError = "line " + std::to_string(nLine) + ": " + sError;
            m_vecStandards.clear();
            m_vecClauseValues.clear();
            return false;
        }
    }
    if (!m_bHeader)
        sError = "no header line (\"number<TAB>title...\" or \"standard<TAB>clause...\")";
    return m_bHeader;
}

bool CCatalogueTsv::ParseHeader(const std::vector<std::string>& vecFields, std::string& sError)
{
    m_bStandards = HeaderIs(vecFields, kStandardColumns, 2);
    if (!m_bStandards && !HeaderIs(vecFields, kClauseColumns, 5)) {
        sError = "the header must name the columns number, title, date, status, replaced_by or standard, clause, "
                 "row_name, col_name, value, unit";
        return false;
    }
    m_bHeader = true;
    return true;
}

bool CCatalogueTsv::ParseStandard(const std::vector<std::string>& vecFields, std::string& sError)
{
    if (vecFields.size() < 2 || vecFields.size() > 5 || vecFields[0].empty() || vecFields[1].empty()) {
        sError = "a standard needs its number and title, and at most date, status and replaced_by after them";
        return false;
    }
    _tStandardRecord record;
    record.sNumber = vecFields[0];
    record.sTitle = vecFields[1];
    record.sDate = vecFields.size() > 2 ? vecFields[2] : "";
    record.nMemo = StatusCode(vecFields.size() > 3 ? vecFields[3] : "");
    record.sReplacedBy = vecFields.size() > 4 ? vecFields[4] : "";
    if (!record.sDate.empty() && !IsDate(record.sDate)) {
        sError = "date \"" + record.sDate + "\" is not YYYY-MM-DD";
        return false;
    }
    if (record.nMemo < 0) {
        sError = "status \"" + vecFields[3] + "\" is not current, replaced or withdrawn";
        return false;
    }
    m_vecStandards.push_back(record);
    return true;
}

bool CCatalogueTsv::ParseClauseValue(const std::vector<std::string>& vecFields, std::string& sError)
{
    if (vecFields.size() < 5 || vecFields.size() > 6 || vecFields[0].empty() || vecFields[1].empty() ||
        vecFields[4].empty()) {
        sError = "a clause value needs standard, clause, row_name, col_name and value, and at most a unit";
        return false;
    }
    _tClauseValueRecord record{vecFields[0], vecFields[1], vecFields[2], vecFields[3], vecFields[4],
                               vecFields.size() > 5 ? vecFields[5] : ""};
    m_vecClauseValues.push_back(record);
    return true;
}
