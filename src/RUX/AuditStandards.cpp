// The evaluator's side of the checks of cited standards: the values of the
// current tuple or table row they read, the search services they share for
// the whole check, and the failures they hand back.
#include <algorithm>

#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/StandardArgumentCheck.h"
#include "RUX/StandardCitationCheck.h"
#include "RUX/StandardSearch.h"

namespace {

// The length of the text at nStart whose characters other than blanks are
// those of sCompact, 0 when it is not there.
size_t MatchIgnoringBlanks(const std::string& sText, size_t nStart, const std::string& sCompact)
{
    size_t i = nStart, j = 0;
    while (i < sText.size() && j < sCompact.size()) {
        if (sText[i] == sCompact[j]) {
            ++i;
            ++j;
        } else if (sText[i] == ' ' && i > nStart) {
            ++i;
        } else {
            return 0;
        }
    }
    return j == sCompact.size() ? i - nStart : 0;
}

}  // namespace

// The rule engine joins the words of a value with a blank between Latin
// words and digits ("GB 50045 - 95"); a finding proposes to replace the
// text as the document writes it ("GB 50045-95"), the nearest place at or
// after the value's offset, else before it.
_tKeyVal CAuditAgent::AsWritten(const _tKeyVal& kv) const
{
    std::string sText = ParagraphText(kv.para_id, kv.org_para_text);
    std::string sCompact;
    for (char c : kv.key_value)
        if (c != ' ')
            sCompact += c;
    if (sCompact.empty() || sCompact == kv.key_value)
        return kv;
    size_t nFrom = std::min<size_t>(kv.offset, sText.size());
    for (size_t nPass = 0; nPass < 2; ++nPass)
        for (size_t i = nPass ? 0 : nFrom; i < (nPass ? nFrom : sText.size()); ++i) {
            size_t nLen = MatchIgnoringBlanks(sText, i, sCompact);
            if (nLen > 0) {
                _tKeyVal written = kv;
                written.key_value = sText.substr(i, nLen);
                written.offset = static_cast<uint32_t>(i);
                return written;
            }
        }
    return kv;
}

const _tKeyVal* CAuditAgent::TupleValue(const char* sKey) const
{
    if (!m_pCurTuple)
        return nullptr;
    int nKey = m_pAudit->GetRUX()->GetKeyId(sKey);
    int nIndex = nKey < 0 ? -1 : CRUXAgent::GetKeyIndex(*m_pCurTuple, nKey);
    return nIndex < 0 ? nullptr : &(*m_pCurTuple)[static_cast<size_t>(nIndex)];
}

CStandardSearch& CAuditAgent::StandardSearch()
{
    if (!m_pStandardSearch) {
        std::string sDir = m_standardServices.sDataDir;
        if (sDir.empty())
            sDir = m_pAudit->GetRUX()->GetPath();
        m_pStandardSearch = std::make_unique<CStandardSearch>(sDir);
    }
    return *m_pStandardSearch;
}

void CAuditAgent::CheckStandardId(const _tKeyVal& kv)
{
    m_vecStandards.push_back(kv);
    CStandardCitationCheck check(StandardSearch(), m_standardServices.pSimilar,
                                 [this](_tAuditFailure failure, const _tKeyVal& place) { Add(failure, place); });
    const _tKeyVal* pNumber = TupleValue("Safety_Tiaowenhao");
    _tKeyVal number = pNumber ? AsWritten(*pNumber) : _tKeyVal();
    check.Check(kv, pNumber ? &number : nullptr, TupleValue("Safety_Date"));
}

void CAuditAgent::CheckStandardNumber(const _tKeyVal& kv)
{
    CStandardCitationCheck check(StandardSearch(), m_standardServices.pSimilar,
                                 [this](_tAuditFailure failure, const _tKeyVal& place) { Add(failure, place); });
    check.CheckNumber(AsWritten(kv));
}

void CAuditAgent::CheckStandardArgument()
{
    CStandardArgumentCheck::_tRow row;
    row.pStandard = TupleValue("safety_standard");
    row.pRealVal = TupleValue("safety_realval");
    row.pIsValid = TupleValue("safety_IsValid");
    row.pReqVal = TupleValue("safety_reqval");
    std::vector<_tKeyVal> vecLevel, vecRecycle;
    m_pRUXAgent->GetKeyValue("safety_level", vecLevel);
    m_pRUXAgent->GetKeyValue("safety_recycle", vecRecycle);
    CStandardArgumentCheck check(StandardSearch(), m_standardServices.pArgumentRUX,
                                 [this](_tAuditFailure failure, const _tKeyVal& place) { Add(failure, place); });
    check.Check(row, vecLevel.empty() ? "" : vecLevel[0].key_value, vecRecycle.empty() ? "" : vecRecycle[0].key_value);
}
