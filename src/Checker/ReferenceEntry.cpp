// Reading and judging one reference entry.
#include "Checker/ReferenceEntry.h"

#include <algorithm>

#include "Checker/CheckRecord.h"
#include "Checker/FullWidthTable.h"

namespace {

const char* const kNoType = " lack of referece document type ";
const char* const kIncomplete = " referece information is incomplete ";
const char* const kJournalIncomplete = " journal information is incomplete ";
const char* const kVolumnLack = " volumn number, issue number or page number is lack in journal paper ";
const char* const kYearInvalid = " public year is invalid ";
const char* const kDateInvalid = " public date is invalid ";
const char* const kVolumeLack = " volume number, issue number or page number is lack in journal paper ";

// The journal data after the type mark, without the closing full stop and
// without an access date in brackets at its end.
std::string_view JournalInfo(std::string_view sText)
{
    while (true) {
        sText = CReferenceText::TrimView(sText);
        while (!sText.empty() && (sText.front() == '.' || sText.front() == '/'))
            sText = CReferenceText::TrimView(sText.substr(1));
        while (!sText.empty() && sText.back() == '.')
            sText = CReferenceText::TrimView(sText.substr(0, sText.size() - 1));
        if (sText.empty() || sText.back() != ']')
            return sText;
        size_t nOpen = sText.rfind('[');
        if (nOpen == std::string_view::npos)
            return sText;
        sText = sText.substr(0, nOpen);
    }
}

bool StartsWithDigit(std::string_view sPiece)
{
    sPiece = CReferenceText::TrimView(sPiece);
    return !sPiece.empty() && sPiece[0] >= '0' && sPiece[0] <= '9';
}

}  // namespace

void CReferenceEntry::Reset()
{
    const int nToday = m_nToday;
    *this = CReferenceEntry(nToday);
}

bool CReferenceEntry::Fail(const char* sCode, int nReviseType, int nFieldId, std::string sOrgStr,
                           const char* sNewStr)
{
    m_sCode = sCode;
    m_nReviseType = nReviseType;
    m_nFieldId = nFieldId;
    m_sOrgStr = std::move(sOrgStr);
    m_sNewStr = sNewStr;
    return false;
}

bool CReferenceEntry::Check(std::string_view sText, size_t nNumLen)
{
    Reset();
    std::string sHalf;
    if (CFullWidthTable::ToHalfWidth(sText, sHalf)) {
        m_sCode = "14.9";
        m_nReviseType = REVISE_U;
        m_nFieldId = FIELD_TEXT;
        m_sOrgStr = std::string(sText);
        m_sNewStr = sHalf;
        return false;
    }
    // Web addresses and DOIs go first: their dots and digits are no fields.
    const std::string sClean = CReferenceText::StripLinks(sText.substr(std::min(nNumLen, sText.size())));
    const _tTypeMark mark = CReferenceText::FindTypeMark(sClean);
    if (mark.nType == REF_NONE)
        return Fail("14.1", REVISE_U, FIELD_FONTSIZE, "", kNoType);
    m_nType = mark.nType;
    const std::string_view sEntry(sClean);
    const size_t nStart = CReferenceText::SkipLabel(sEntry, 0);
    m_bChinese = nStart < sEntry.size() && static_cast<unsigned char>(sEntry[nStart]) >= 0x80;
    const std::vector<std::string_view> vecParts = CReferenceText::SplitParts(sEntry.substr(nStart));
    m_nParts = vecParts.size();
    // A list numbered in order may begin an entry with its title when it
    // has no author; a list of names before the title in the same part
    // ("王明, 李红, 题名[J]") means the full stop after the authors is missing.
    const std::string_view sFirst = vecParts.empty() ? std::string_view() : vecParts[0];
    const size_t nFirstEnd = static_cast<size_t>(sFirst.data() - sEntry.data()) + sFirst.size();
    const bool bRunTogether = mark.nOpen < nFirstEnd && sFirst.find(',') != std::string_view::npos;
    if (m_nParts <= 2 || bRunTogether)
        return Fail("14.2", REVISE_I, FIELD_FONTSIZE, "", kIncomplete);
    ReadAuthorYear(vecParts[0]);
    const std::string_view sAfterMark = sEntry.substr(mark.nClose + 1);
    m_bAnalytic = sAfterMark.find("//") != std::string_view::npos;
    if (!ReadByType(vecParts, sAfterMark))
        return false;
    return CheckYearAndDate() && CheckPages();
}

bool CReferenceEntry::ReadByType(const std::vector<std::string_view>& vecParts, std::string_view sAfterMark)
{
    switch (m_nType) {
    case REF_JOURNAL: {
        // The journal data is all that follows the mark, so an abbreviated
        // title ("J. Comput. Sci.") keeps its dots; with the mark at the
        // very end it is the third part.
        std::string_view sInfo = JournalInfo(sAfterMark);
        return ReadJournal(sInfo.empty() ? vecParts[2] : sInfo);
    }
    case REF_PATENT:
    case REF_ELECTRONIC:
        ReadDates(vecParts.back());
        if (m_date.Value() == 0)
            ReadPublication(vecParts);
        return true;
    case REF_NEWSPAPER:
        ReadDates(vecParts.back());
        if (m_date.Value() == 0)
            return Fail("14.8", REVISE_I, FIELD_FONTSIZE, "", kYearInvalid);
        return true;
    default:
        // Books, proceedings, theses, reports, standards, archives and
        // others all end in "place: publisher, year[: pages]".
        ReadPublication(vecParts);
        if (m_nYear == 0 && m_nAuthorYear > 0) {
            m_nYear = m_nAuthorYear;
            m_sYearText = m_sAuthorYear;
        }
        return true;
    }
}

bool CReferenceEntry::ReadJournal(std::string_view sInfo)
{
    const std::vector<std::string_view> vecPieces = CReferenceText::SplitPieces(sInfo, ",");
    const size_t nPieces = vecPieces.size();
    const std::string_view sLast = nPieces ? vecPieces.back() : std::string_view();
    const bool bYearPiece = nPieces >= 3 && StartsWithDigit(vecPieces[nPieces - 2]);
    // "刊名. 2007, 2029(1)": a year run into the title leaves no issue-only form.
    const bool bTitleEndsInNumber = nPieces >= 2 && !vecPieces[nPieces - 2].empty() &&
                                    vecPieces[nPieces - 2].back() >= '0' && vecPieces[nPieces - 2].back() <= '9';
    if (!bYearPiece && m_nAuthorYear > 0 && nPieces >= 2) {
        // Author-year lists give the year after the authors: "刊名, 卷(期): 页码".
        m_nYear = m_nAuthorYear;
        m_sYearText = m_sAuthorYear;
        ReadVolumeIssuePages(sLast, true);
    } else if (!bYearPiece && !bTitleEndsInNumber && nPieces >= 2 && CReferenceText::LeadingDigits(sLast) == 4 &&
        sLast.find('(') != std::string_view::npos) {
        // "刊名, 2019(3): 12-15": year and issue, no volume.
        m_bNoVolume = true;
        m_sYearText = std::string(CReferenceText::TrimView(sLast.substr(0, sLast.find('('))));
        ReadVolumeIssuePages(sLast, false);
    } else if (nPieces < 3) {
        return Fail("14.3", REVISE_I, FIELD_FONTSIZE, "", kJournalIncomplete);
    } else {
        const std::string_view sYear = vecPieces[nPieces - 2];
        m_sYearText = std::string(sYear);
        size_t nPos = 0;
        m_nYear = std::max(0, CReferenceText::ReadInt(sYear, nPos));
        ReadVolumeIssuePages(sLast, true);
    }
    const bool bVolumeBad = !m_bNoVolume && (m_nVolume < 1 || m_nVolume > 10000);
    const bool bIssueBad = m_bIssue && (m_nIssue < 1 || m_nIssue > 10000);
    if (bVolumeBad || bIssueBad)
        return Fail("14.5", REVISE_I, FIELD_FONTSIZE, "", kVolumnLack);
    return true;
}

void CReferenceEntry::ReadAuthorYear(std::string_view sAuthors)
{
    // "DOWLER L, 1995" or "张志奇 2021a": the last word of the author part
    // is a year of four digits, possibly with a letter after it.
    size_t nStart = sAuthors.find_last_of(", ");
    std::string_view sWord = nStart == std::string_view::npos ? sAuthors : sAuthors.substr(nStart + 1);
    if (CReferenceText::LeadingDigits(sWord) != 4 || sWord.size() > 5 || sAuthors.size() == sWord.size())
        return;
    if (sWord.size() == 5 && !((sWord[4] >= 'a' && sWord[4] <= 'z')))
        return;
    size_t nPos = 0;
    m_nAuthorYear = CReferenceText::ReadInt(sWord, nPos);
    m_sAuthorYear = std::string(sWord);
}

void CReferenceEntry::ReadVolumeIssuePages(std::string_view sPiece, bool bVolume)
{
    size_t nPos = 0;
    const int nFirst = std::max(0, CReferenceText::ReadInt(sPiece, nPos));
    if (bVolume)
        m_nVolume = nFirst;
    else
        m_nYear = nFirst;
    size_t nOpen = sPiece.find('(', nPos);
    size_t nColon = sPiece.find(':', nPos);
    if (nOpen != std::string_view::npos && (nColon == std::string_view::npos || nOpen < nColon)) {
        m_bIssue = true;
        // "(S1)", "(Suppl 2)": the number inside counts.
        size_t nDigit = sPiece.find_first_of("0123456789)", nOpen + 1);
        if (nDigit != std::string_view::npos && sPiece[nDigit] != ')')
            m_nIssue = std::max(0, CReferenceText::ReadInt(sPiece, nDigit));
        size_t nClose = sPiece.find(')', nOpen);
        nColon = sPiece.find(':', nClose == std::string_view::npos ? nOpen : nClose);
    }
    if (nColon != std::string_view::npos)
        CReferenceText::ReadPages(sPiece.substr(nColon + 1), m_nStartPage, m_nEndPage);
}

void CReferenceEntry::ReadPublication(const std::vector<std::string_view>& vecParts)
{
    const size_t nParts = vecParts.size();
    _tYearPages found;
    if (nParts >= 2 && CReferenceText::IsPageRange(vecParts.back())) {
        // "出版社, 2010. 12-15": the pages stand in a part of their own.
        found = CReferenceText::ReadYearPages(vecParts[nParts - 2]);
        CReferenceText::ReadPages(vecParts.back(), found.nStartPage, found.nEndPage);
    } else {
        found = CReferenceText::ReadYearPages(vecParts.back());
    }
    m_nYear = found.nYear;
    m_sYearText = found.sYearText;
    m_nStartPage = found.nStartPage;
    m_nEndPage = found.nEndPage;
}

void CReferenceEntry::ReadDates(std::string_view sPart)
{
    // The first date is the entry's ("2006-12-13", the update of a page);
    // an access date after it must be a real day as well.
    size_t nPos = 0;
    CReferenceDate date;
    bool bFirst = true;
    while (date.Find(sPart, nPos)) {
        if (bFirst)
            m_date = date;
        bFirst = false;
        if (!date.IsValid(m_nToday))
            m_bDatesValid = false;
    }
}

bool CReferenceEntry::CheckYearAndDate()
{
    if (m_date.Value() == 0) {
        const long long nYearDay = static_cast<long long>(m_nYear) * 10000;
        if (m_nYear < 1800 || nYearDay > m_nToday)
            return Fail("14.4", REVISE_U, FIELD_TEXT, m_sYearText, kYearInvalid);
        return true;
    }
    if (m_date.Value() > 0 && !m_bDatesValid)
        return Fail("14.7", REVISE_I, FIELD_FONTSIZE, "", kDateInvalid);
    return true;
}

bool CReferenceEntry::CheckPages()
{
    if (m_nStartPage > m_nEndPage)
        return Fail("14.6", REVISE_I, FIELD_FONTSIZE, "", kVolumeLack);
    // Journal papers and papers inside proceedings need their pages; whole
    // proceedings, like books, need none.
    const bool bNeedPages = m_nType == REF_JOURNAL || (m_nType == REF_CONFERENCE && m_bAnalytic);
    if (bNeedPages && (m_nStartPage < 1 || m_nEndPage <= 0))
        return Fail("14.6", REVISE_I, FIELD_FONTSIZE, "", kVolumeLack);
    return true;
}
