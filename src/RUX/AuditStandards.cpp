// The evaluator's side of the checks of cited standards: the values of the
// current tuple or table row they read, the search services they share for
// the whole check, and the failures they hand back.
#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/StandardArgumentCheck.h"
#include "RUX/StandardCitationCheck.h"
#include "RUX/StandardSearch.h"

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
    check.Check(kv, TupleValue("Safety_Tiaowenhao"), TupleValue("Safety_Date"));
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
