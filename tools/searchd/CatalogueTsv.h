// The text form of catalogue sources: tab-separated lines, "#" comments,
// and a header line whose column names say what the file holds, either
//   number  title  date  status  replaced_by             (standards)
//   standard  clause  row_name  col_name  value  unit   (clause values)
#pragma once

#include <string>
#include <vector>

// Memo codes of a standard's status.
enum EStandardStatus { kStatusUnknown = 0, kStatusCurrent = 1, kStatusReplaced = 2, kStatusWithdrawn = 3 };

struct _tStandardRecord {
    std::string sNumber;  // as written, "GB 50016-2014"
    std::string sTitle;
    std::string sDate;  // "YYYY-MM-DD" or empty when not known
    int nMemo = kStatusUnknown;
    std::string sReplacedBy;  // the number that replaced it, or empty
};

struct _tClauseValueRecord {
    std::string sStandard;  // the standard's number
    std::string sClause;
    std::string sRowName;
    std::string sColName;
    std::string sValue;
    std::string sUnit;
};

class CCatalogueTsv {
public:
    // Reads a whole source; false with sError naming the first bad line
    // (nothing is kept then).
    bool Parse(const std::string& sText, std::string& sError);

    bool IsStandards() const { return m_bStandards; }
    const std::vector<_tStandardRecord>& Standards() const { return m_vecStandards; }
    const std::vector<_tClauseValueRecord>& ClauseValues() const { return m_vecClauseValues; }

    // A status word (current/replaced/withdrawn, 现行/被代替/废止, or its
    // code 0-3) as its code; -1 when unknown. Empty is code 0.
    static int StatusCode(const std::string& sStatus);

private:
    bool ParseHeader(const std::vector<std::string>& vecFields, std::string& sError);
    bool ParseStandard(const std::vector<std::string>& vecFields, std::string& sError);
    bool ParseClauseValue(const std::vector<std::string>& vecFields, std::string& sError);

    bool m_bHeader = false;
    bool m_bStandards = false;
    std::vector<_tStandardRecord> m_vecStandards;
    std::vector<_tClauseValueRecord> m_vecClauseValues;
};
