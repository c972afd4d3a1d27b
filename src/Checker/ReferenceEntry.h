// One entry of a reference list, read and judged: its type mark, its parts,
// its year or date, its journal numbers and pages. The first problem found
// is the entry's one finding; the document side (CReferenceCheck) turns it
// into a check record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Checker/ReferenceDate.h"
#include "Checker/ReferenceText.h"

class CReferenceEntry {
public:
    // nToday (YYYYMMDD) bounds the years; tests pass a fixed day.
    explicit CReferenceEntry(int nToday = CReferenceDate::Today()) : m_nToday(nToday) {}

    // Reads sText (UTF-8; its first nNumLen bytes are the list number the
    // word processor draws). True when the entry passes; otherwise Code()
    // and the texts below say what is wrong.
    bool Check(std::string_view sText, size_t nNumLen = 0);

    // "14.1" ... "14.9", empty when the entry passed.
    const std::string& Code() const { return m_sCode; }
    int ReviseType() const { return m_nReviseType; }
    int FieldId() const { return m_nFieldId; }
    const std::string& OrgStr() const { return m_sOrgStr; }
    const std::string& NewStr() const { return m_sNewStr; }

    // What was read (REF_* type; 0 where nothing was).
    int Type() const { return m_nType; }
    bool IsChinese() const { return m_bChinese; }
    size_t PartCount() const { return m_nParts; }
    int Year() const { return m_nYear; }
    int Volume() const { return m_nVolume; }
    int Issue() const { return m_nIssue; }
    int StartPage() const { return m_nStartPage; }
    int EndPage() const { return m_nEndPage; }
    int Date() const { return m_date.Value(); }

private:
    void Reset();
    bool Fail(const char* sCode, int nReviseType, int nFieldId, std::string sOrgStr, const char* sNewStr);
    // Reads the fields of the entry's type; false when that gave a finding.
    bool ReadByType(const std::vector<std::string_view>& vecParts, std::string_view sAfterMark);
    bool ReadJournal(std::string_view sInfo);
    // The year after the authors in author-year lists.
    void ReadAuthorYear(std::string_view sAuthors);
    void ReadVolumeIssuePages(std::string_view sPiece, bool bVolume);
    void ReadPublication(const std::vector<std::string_view>& vecParts);
    void ReadDates(std::string_view sPart);
    bool CheckYearAndDate();
    bool CheckPages();

    int m_nToday;
    std::string m_sCode;
    int m_nReviseType = 0;
    int m_nFieldId = 0;
    std::string m_sOrgStr;
    std::string m_sNewStr;

    int m_nType = 0;
    bool m_bChinese = false;
    bool m_bAnalytic = false;  // "[C]//": a paper inside proceedings
    size_t m_nParts = 0;
    int m_nYear = 0;
    std::string m_sYearText;
    int m_nVolume = 0;
    int m_nIssue = 0;
    bool m_bIssue = false;
    bool m_bNoVolume = false;  // "刊名, 2019(3): 12-15": the journal counts issues only
    int m_nStartPage = 0;
    int m_nEndPage = 0;
    int m_nAuthorYear = 0;
    std::string m_sAuthorYear;
    CReferenceDate m_date;
    bool m_bDatesValid = true;
};
