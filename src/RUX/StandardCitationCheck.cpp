// The service finds standards by a name contained in their titles, so an
// answer may hold other standards too ("高层民用建筑设计防火规范" contains
// "建筑设计防火规范"): the newest edition is chosen among the documents that
// carry the cited name itself when there are such.
#include "RUX/StandardCitationCheck.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "RUX/StandardSearch.h"
#include "Utility/Log.h"

namespace {

const char kNameQuery[] = "[field] Safety_Tiaowen [whole] ";
const char kNumberQuery[] = "[field] Safety_Tiaowenhao [whole] ";
// The dashes reports write between a number and its year.
const char* const kDashes[] = {"-", "\xE2\x80\x94", "\xE2\x80\x93", "\xEF\xBC\x8D"};  // - — – －
const char kMemoWithdrawn[] = "3";
const char kMemoReplaced[] = "2";

std::string FormatDate(int nDate)
{
    char sBuf[32];
    std::snprintf(sBuf, sizeof(sBuf), "%04d-%02d-%02d", nDate / 10000, nDate / 100 % 100, nDate % 100);
    return sBuf;
}

}  // namespace

int CStandardCitationCheck::DateNumber(const std::string& sDate)
{
    int vecParts[3] = {0, 0, 0};
    int nParts = 0;
    for (size_t i = 0; i < sDate.size() && nParts < 3;) {
        if (sDate[i] < '0' || sDate[i] > '9') {
            ++i;
            continue;
        }
        long n = 0;
        while (i < sDate.size() && sDate[i] >= '0' && sDate[i] <= '9' && n < 100000)
            n = n * 10 + (sDate[i++] - '0');
        vecParts[nParts++] = static_cast<int>(n);
    }
    if (vecParts[0] < 1000 || vecParts[0] > 9999 || vecParts[1] > 12 || vecParts[2] > 31)
        return 0;
    return vecParts[0] * 10000 + vecParts[1] * 100 + vecParts[2];
}

int CStandardCitationCheck::Check(const _tKeyVal& kvName, const _tKeyVal* pNumber, const _tKeyVal* pDate)
{
    if (!pNumber || pNumber->key_value.empty())
        return RESULT_NOTHING;
    if (CStandardNumber::IsExcluded(pNumber->key_value))
        return RESULT_EXCLUDED;
    if (!m_search.ReadAddresses(CStandardSearch::SERVICE_TIAOWEN))
        return RESULT_NOTHING;
    int nFollowing = -1;
    std::string sName = CStandardNumber::TiaowenStandard(kvName.key_value, nFollowing);
    std::vector<_tSearchDocument> vecDocs;
    int nResult = FindDocuments(kvName, sName, vecDocs);
    if (nResult != RESULT_DONE)
        return nResult;
    _tLatest latest;
    const _tSearchDocument* pCited = FindCited(vecDocs, sName, pNumber->key_value, latest);
    if (pCited)
        CheckEdition(*pCited, sName, *pNumber, pDate);
    else
        ReportNewerNumber(latest, sName, *pNumber);
    return RESULT_DONE;
}

std::string CStandardCitationCheck::WithoutYear(const std::string& sNumber)
{
    size_t nEnd = sNumber.find_last_not_of(' ');
    if (nEnd == std::string::npos)
        return "";
    size_t nYear = nEnd + 1;
    while (nYear > 0 && sNumber[nYear - 1] >= '0' && sNumber[nYear - 1] <= '9')
        --nYear;
    size_t nYearLen = nEnd + 1 - nYear;
    if (nYear == 0 || (nYearLen != 2 && nYearLen != 4))
        return "";
    std::string sHead = sNumber.substr(0, sNumber.find_last_not_of(' ', nYear - 1) + 1);
    for (const char* sDash : kDashes) {
        size_t nLen = std::strlen(sDash);
        if (sHead.size() > nLen && sHead.compare(sHead.size() - nLen, nLen, sDash) == 0) {
            size_t nCodeEnd = sHead.find_last_not_of(' ', sHead.size() - nLen - 1);
            return nCodeEnd == std::string::npos ? "" : sHead.substr(0, nCodeEnd + 1);
        }
    }
    return "";
}

int CStandardCitationCheck::CheckNumber(const _tKeyVal& kvNumber)
{
    std::string sCode = WithoutYear(kvNumber.key_value);
    if (sCode.empty())
        return RESULT_NOTHING;
    if (CStandardNumber::IsExcluded(kvNumber.key_value))
        return RESULT_EXCLUDED;
    if (!m_search.ReadAddresses(CStandardSearch::SERVICE_TIAOWEN))
        return RESULT_NOTHING;
    std::vector<_tSearchDocument> vecDocs;
    int nFound = m_search.Query(CStandardSearch::SERVICE_TIAOWEN, kNumberQuery + sCode, 0, 20, vecDocs);
    if (nFound == CStandardSearch::kNoAnswer)
        return RESULT_EXCLUDED;
    if (nFound <= 0 || vecDocs.empty()) {
        WriteKG(kvNumber.key_value + " not exists in our big data.");
        return RESULT_NOT_FOUND;
    }
    _tLatest latest;
    const _tSearchDocument* pCited = FindCited(vecDocs, "", kvNumber.key_value, latest);
    const _tSearchDocument* pNamed = pCited ? pCited : latest.pDocument;
    if (!pNamed)
        return RESULT_NOTHING;
    std::string sName = CSearchResultParser::Field(*pNamed, "Safety_Tiaowen");
    if (pCited)
        CheckEdition(*pCited, sName, kvNumber, nullptr);
    else
        ReportNewerNumber(latest, sName, kvNumber);
    return RESULT_DONE;
}

// By the name as normalised, then as written.
int CStandardCitationCheck::FindDocuments(const _tKeyVal& kvName, const std::string& sName,
                                          std::vector<_tSearchDocument>& vecDocs)
{
    int nFound = m_search.Query(CStandardSearch::SERVICE_TIAOWEN, kNameQuery + sName, 0, 10, vecDocs);
    if (nFound == CStandardSearch::kNoAnswer)
        return RESULT_EXCLUDED;
    if (nFound > 0 && !vecDocs.empty())
        return RESULT_DONE;
    nFound = m_search.Query(CStandardSearch::SERVICE_TIAOWEN, kNameQuery + kvName.key_value, 0, 10, vecDocs);
    if (nFound == CStandardSearch::kNoAnswer)
        return RESULT_NO_SECOND_ANSWER;
    if (nFound > 0 && !vecDocs.empty())
        return RESULT_DONE;
    WriteKG(kvName.key_value + " not exists in our big data.");
    return RESULT_NOT_FOUND;
}

const _tSearchDocument* CStandardCitationCheck::FindCited(const std::vector<_tSearchDocument>& vecDocs,
                                                          const std::string& sName, const std::string& sCited,
                                                          _tLatest& latest) const
{
    _tTiaowenHao cited;
    CStandardNumber::TiaowenHaoStandard(sCited, cited);
    bool bSameTitle = false;
    for (const _tSearchDocument& document : vecDocs)
        bSameTitle = bSameTitle || (!sName.empty() && CSearchResultParser::Field(document, "Safety_Tiaowen") == sName);
    for (const _tSearchDocument& document : vecDocs) {
        std::string sFound = CSearchResultParser::Field(document, "Safety_Tiaowenhao");
        _tTiaowenHao found;
        CStandardNumber::TiaowenHaoStandard(sFound, found);
        if (strcasecmp(sFound.c_str(), sCited.c_str()) == 0 ||
            CStandardNumber::IsSameTiaowenHao(cited, found, m_pSimilar))
            return &document;
        if (bSameTitle && CSearchResultParser::Field(document, "Safety_Tiaowen") != sName)
            continue;
        if (!latest.pDocument || found.year >= latest.number.year) {
            latest.pDocument = &document;
            latest.number = found;
        }
    }
    latest.nCitedYear = cited.year;
    return nullptr;
}

void CStandardCitationCheck::CheckEdition(const _tSearchDocument& document, const std::string& sName,
                                          const _tKeyVal& kvNumber, const _tKeyVal* pDate)
{
    std::string sMemo = CSearchResultParser::Field(document, "Memo");
    _tAuditFailure failure;
    if (sMemo == kMemoWithdrawn) {
        failure.code = "2.2";
        failure.org_str = kvNumber.key_value;
        failure.revise = 'D';
        m_sink(failure, kvNumber);
        return;
    }
    // An older edition of a standard that has a successor: its number is
    // out of date even though the service knows it.
    std::string sSuccessor = CSearchResultParser::Field(document, "Replaced_By");
    if (sMemo == kMemoReplaced && !sSuccessor.empty()) {
        failure.code = "2.8";
        failure.org_str = kvNumber.key_value;
        failure.new_str = sSuccessor;
        m_sink(failure, kvNumber);
        return;
    }
    if (pDate && !pDate->key_value.empty())
        CheckDate(document, sName, *pDate);
}

void CStandardCitationCheck::CheckDate(const _tSearchDocument& document, const std::string& sName,
                                       const _tKeyVal& kvDate)
{
    int nCited = DateNumber(kvDate.key_value);
    int nFound = DateNumber(CSearchResultParser::Field(document, "safety_date"));
    if (nCited == 0 || nFound == 0)
        return;
    // A date written without its month (or day) is compared as far as it goes.
    int nScale = (nCited % 100 == 0 || nFound % 100 == 0) ? 100 : 1;
    nScale = (nCited / 100 % 100 == 0 || nFound / 100 % 100 == 0) ? 10000 : nScale;
    if (nCited / nScale == nFound / nScale)
        return;
    if (nCited < nFound) {
        _tAuditFailure failure;
        failure.code = "2.1";
        failure.org_str = kvDate.key_value;
        failure.new_str = FormatDate(nFound);
        m_sink(failure, kvDate);
    } else {
        WriteKG(sName + " maybe have new time is " + kvDate.key_value);
    }
}

void CStandardCitationCheck::ReportNewerNumber(const _tLatest& latest, const std::string& sName,
                                               const _tKeyVal& kvNumber)
{
    if (!latest.pDocument)
        return;
    // The proposal is the number as the catalogue writes it ("GB/T 13861-2022"),
    // which the folded form (no "/T", no blank) is not.
    std::string sNewest = CSearchResultParser::Field(*latest.pDocument, "Safety_Tiaowenhao");
    if (latest.number.year >= latest.nCitedYear) {
        _tAuditFailure failure;
        failure.code = "2.8";
        failure.org_str = kvNumber.key_value;
        failure.new_str = sNewest;
        m_sink(failure, kvNumber);
    } else {
        WriteKG(sName + " should have a new id " + sNewest);
    }
}
