// The check of one cited standard ("audit_standard_id"): its name is looked
// up in the standards service, and the edition cited (number and date)
// is compared with the editions the service knows. A withdrawn standard,
// an older edition's number or an older date becomes a failure; what the
// service cannot settle goes to the knowledge log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Docx/KeyVal.h"
#include "RUX/AuditRecords.h"
#include "RUX/StandardNumber.h"
#include "SearchClient/SearchResultParser.h"

class CQueryExpand;
class CStandardSearch;

// Hands a failure up with the value it is reported at.
using StandardFailureSink = std::function<void(_tAuditFailure, const _tKeyVal&)>;

class CStandardCitationCheck {
public:
    // Results of Check.
    enum { RESULT_DONE = 1, RESULT_NOTHING = -2, RESULT_EXCLUDED = -3, RESULT_NO_SECOND_ANSWER = -4,
           RESULT_NOT_FOUND = 26 };

    CStandardCitationCheck(CStandardSearch& search, const CQueryExpand* pSimilar, StandardFailureSink sink)
        : m_search(search), m_pSimilar(pSimilar), m_sink(std::move(sink))
    {
    }

    // kvName: the cited name; pNumber, pDate: the number and date cited
    // with it (null when the citation has none).
    int Check(const _tKeyVal& kvName, const _tKeyVal* pNumber, const _tKeyVal* pDate);
    // A number cited without a name ("GB 50016-2006"): compared with the
    // editions of its code. A number without a year names the current
    // edition and is not looked up (RESULT_NOTHING).
    int CheckNumber(const _tKeyVal& kvNumber);
    // The number as written without its year ("GB 50016" of
    // "GB 50016—2014"); "" when it ends in no year.
    static std::string WithoutYear(const std::string& sNumber);

    // A date's year, month and day as yyyymmdd (month and day 0 when not
    // written); 0 when the text holds no year.
    static int DateNumber(const std::string& sDate);

private:
    // The edition with the highest year among the answer's documents.
    struct _tLatest {
        const _tSearchDocument* pDocument = nullptr;
        _tTiaowenHao number;
        int nCitedYear = 0;
    };

    int FindDocuments(const _tKeyVal& kvName, const std::string& sName, std::vector<_tSearchDocument>& vecDocs);
    const _tSearchDocument* FindCited(const std::vector<_tSearchDocument>& vecDocs, const std::string& sName,
                                      const std::string& sCited, _tLatest& latest) const;
    void CheckEdition(const _tSearchDocument& document, const std::string& sName, const _tKeyVal& kvNumber,
                      const _tKeyVal* pDate);
    void CheckDate(const _tSearchDocument& document, const std::string& sName, const _tKeyVal& kvDate);
    void ReportNewerNumber(const _tLatest& latest, const std::string& sName, const _tKeyVal& kvNumber);

    CStandardSearch& m_search;
    const CQueryExpand* m_pSimilar;
    StandardFailureSink m_sink;
};
