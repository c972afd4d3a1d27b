// The audit commands and expression rules run on one extracted value.
#include <cmath>
#include <map>

#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "RUX/AuditExpression.h"
#include "RUX/AuditValueChecks.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RUXGrammer.h"
#include "Utility/Log.h"

namespace {

// Two values agree when their texts do, or when both are the same number.
bool SameValue(const std::string& a, const std::string& b)
{
    std::string sa = TextStandard(a), sb = TextStandard(b);
    if (sa == sb)
        return true;
    double da = 0, db = 0;
    return CAuditExpression::ToNumber(sa, da) && CAuditExpression::ToNumber(sb, db) &&
           sa.find_first_not_of("0123456789.,+-") == std::string::npos &&
           sb.find_first_not_of("0123456789.,+-") == std::string::npos && std::fabs(da - db) < 0.009;
}

// The reference among the values: the one written most often, the first
// of those on a tie.
size_t ReferenceIndex(const std::vector<_tKeyVal>& vecValues)
{
    size_t nBest = 0, nBestCount = 0;
    for (size_t i = 0; i < vecValues.size(); ++i) {
        size_t nCount = 0;
        for (const _tKeyVal& other : vecValues)
            nCount += SameValue(vecValues[i].key_value, other.key_value) ? 1 : 0;
        if (nCount > nBestCount) {
            nBest = i;
            nBestCount = nCount;
        }
    }
    return nBest;
}

// Each place once: a value found both alone and in a tuple counts once.
void RemoveRepeats(std::vector<_tKeyVal>& vecValues)
{
    std::vector<_tKeyVal> vecOut;
    for (const _tKeyVal& kv : vecValues) {
        bool bSeen = false;
        for (const _tKeyVal& seen : vecOut)
            bSeen = bSeen || (seen.para_id == kv.para_id && seen.offset == kv.offset && seen.key_value == kv.key_value);
        if (!bSeen)
            vecOut.push_back(kv);
    }
    vecValues.swap(vecOut);
}

}  // namespace

void CAuditAgent::RunCommand(int nRule, int nCommand, const _tKeyVal& kv, int nMode)
{
    _tAuditFailure failure;
    switch (nCommand) {
    case AUDIT_CMD_UNIQUE:
        CheckUnique(kv, nRule);
        return;
    case AUDIT_CMD_UNIQUE_TUPLE:
        if (nMode >= 2)
            CheckUniqueTuple(kv, nRule);
        return;
    case AUDIT_CMD_NUM_CHECK: {
        if (kv.key_value.empty() || (kv.key_value[0] >= '0' && kv.key_value[0] <= '9'))
            return;
        long long n = LeadingChineseNumber(kv.key_value);
        if (n >= 1) {
            failure.code = "1.2.4";
            failure.new_str = std::to_string(n);
            Add(failure, kv);
        }
        return;
    }
    case AUDIT_CMD_NUM_CHINESE:
        CheckNumChinese(kv, nRule);
        return;
    case AUDIT_CMD_DATE:
        if (!IsValidDate(kv.key_value, CurrentYear())) {
            failure.code = "99.1";
            Add(failure, kv);
        }
        return;
    case AUDIT_CMD_PERSON_ID:
        if (!IsValidPersonId(kv.key_value, CurrentYear())) {
            failure.code = "99.2";
            Add(failure, kv);
        }
        return;
    case AUDIT_CMD_CREDIT_CODE:
        if (!IsValidCreditCode(kv.key_value)) {
            failure.code = "99.8";
            Add(failure, kv);
        }
        return;
    case AUDIT_CMD_STANDARD_ID:
        // The number and date cited with a name are the other values of its
        // tuple; a value found alone is a number cited without a name.
        if (nMode >= 2)
            CheckStandardId(kv);
        else
            CheckStandardNumber(kv);
        return;
    case AUDIT_CMD_STANDARD_ARGUMENT:
        if (nMode >= 2 && m_setTupleRulesDone.insert(nRule * 2 + 1).second)
            CheckStandardArgument();
        return;
    default:
        return;  // audit_not_null works from its list
    }
}

void CAuditAgent::CheckUnique(const _tKeyVal& kv, int nRule)
{
    if (!m_setUniqueDone.insert(kv.key_name_id).second)
        return;
    std::vector<_tKeyVal> vecValues;
    m_pRUXAgent->GetKeyValue(kv.key_name_id, vecValues);
    m_nCurRule = nRule;
    ReportDifferentValues(vecValues);
}

void CAuditAgent::CheckUniqueTuple(const _tKeyVal& kv, int nRule)
{
    if (!m_pCurTuple || !m_setTupleRulesDone.insert(nRule * 2 + 1).second)
        return;
    std::vector<_tKeyVal> vecValues;
    for (const _tKeyVal& value : *m_pCurTuple)
        if (value.key_name_id == kv.key_name_id)
            vecValues.push_back(value);
    ReportDifferentValues(vecValues);
}

// Every value that differs from the reference value of its field is a "3.1"
// failure proposing the reference.
void CAuditAgent::ReportDifferentValues(std::vector<_tKeyVal>& vecValues)
{
    RemoveRepeats(vecValues);
    if (vecValues.size() < 2)
        return;
    const _tKeyVal reference = vecValues[ReferenceIndex(vecValues)];
    for (const _tKeyVal& value : vecValues) {
        if (SameValue(value.key_value, reference.key_value))
            continue;
        _tAuditFailure failure;
        failure.code = "3.1";
        failure.revise = 'C';
        failure.new_para_id = reference.para_id;
        failure.new_str = reference.key_value;
        Add(failure, value);
    }
}

// The rule's fields name the digit amount and then the capital amount;
// without them, "contract_fee" and "contract_feebig".
void CAuditAgent::CheckNumChinese(const _tKeyVal& kv, int nRule)
{
    const _tAuditRule& rule = m_pAudit->GetRules()[static_cast<size_t>(nRule)];
    CRUX* pRUX = m_pAudit->GetRUX();
    int nDigits = rule.fields_id.size() >= 2 ? rule.fields_id[0] : pRUX->GetKeyId("contract_fee");
    int nCapitals = rule.fields_id.size() >= 2 ? rule.fields_id[1] : pRUX->GetKeyId("contract_feebig");
    if (nDigits < 0 || nCapitals < 0 || kv.key_name_id != nDigits)
        return;
    double dDigits = 0;
    if (!DigitAmount(kv.key_value, dDigits))
        return;
    std::vector<_tKeyVal> vecCapitals;
    m_pRUXAgent->GetKeyValue(nCapitals, vecCapitals);
    // A paragraph may state several amounts, each with its capitals: the
    // digits are compared with the capital amount written nearest to them.
    const _tKeyVal* pNearest = nullptr;
    double dNearest = 0;
    uint32_t nBestDistance = UINT32_MAX;
    for (const _tKeyVal& capital : vecCapitals) {
        double dCapital = 0;
        if (capital.para_id != kv.para_id || !CapitalAmount(capital.key_value, dCapital))
            continue;
        uint32_t nDistance = capital.offset > kv.offset ? capital.offset - kv.offset : kv.offset - capital.offset;
        if (nDistance < nBestDistance) {
            pNearest = &capital;
            dNearest = dCapital;
            nBestDistance = nDistance;
        }
    }
    if (!pNearest || std::fabs(dNearest - dDigits) < 0.009)
        return;
    _tAuditFailure failure;
    failure.code = "11.1";
    failure.org_str = kv.key_value;
    failure.new_str = FormatAmount(dNearest);
    Add(failure, kv);
}

bool CAuditAgent::FieldValue(int nField, const _tKeyVal& kv, int nMode, std::string& sValue)
{
    const _tAuditRule& rule = m_pAudit->GetRules()[static_cast<size_t>(m_nCurRule)];
    bool bTupleScope = rule.fields_id.size() == 1 && rule.fields_id[0] == kAuditTupleField;
    _tKeyVal found;
    if (nField == kv.key_name_id) {
        found = kv;
    } else if (bTupleScope || nMode >= 2) {
        if (!m_pCurTuple)
            return false;
        int nIndex = CRUXAgent::GetKeyIndex(*m_pCurTuple, nField);
        if (nIndex < 0)
            return false;
        found = (*m_pCurTuple)[static_cast<size_t>(nIndex)];
    } else {
        std::vector<_tKeyVal> vecValues;
        if (m_pRUXAgent->GetKeyValue(nField, vecValues, kv.para_id, kv.offset, 2, true) <= 0)
            return false;
        found = vecValues[0];
    }
    sValue = found.key_value;
    if (!m_bCurKeyValSet) {
        m_curKeyVal = found;
        m_bCurKeyValSet = true;
    }
    return true;
}

bool CAuditAgent::TableSum(int nField, int nMode, double& dSum) const
{
    if (nMode != 3 || !m_pCurTable)
        return false;
    dSum = 0;
    for (const std::vector<_tKeyVal>& row : *m_pCurTable)
        for (const _tKeyVal& value : row) {
            double d = 0;
            if (value.key_name_id == nField && CAuditExpression::ToNumber(value.key_value, d))
                dSum += d;
        }
    return true;
}

void CAuditAgent::CheckLogicExpression(const _tKeyVal& kv, int nMode, int nRule)
{
    const _tAuditRule& rule = m_pAudit->GetRules()[static_cast<size_t>(nRule)];
    const _tAuditRuleOrg& org = m_pAudit->GetRuleOrgs()[static_cast<size_t>(nRule)];
    // A rule over a tuple's values runs once per tuple or row.
    if (nMode >= 2 && !m_setTupleRulesDone.insert(nRule * 2).second)
        return;
    m_bCurKeyValSet = false;
    CAuditExpression::_tContext context;
    context.unitText = [this](const audit_rule_unit& unit) { return m_pAudit->GetUnitStr(unit); };
    context.fieldValue = [&](int nField, std::string& sValue) { return FieldValue(nField, kv, nMode, sValue); };
    context.tableSum = [&](int nField, double& dSum) { return TableSum(nField, nMode, dSum); };
    CAuditExpression expression;
    int nResult = expression.Evaluate(rule.rules, org.rule, context);
    if (nResult < 0) {
        WriteError("audit rule " + org.no + ": " + expression.Error());
        return;
    }
    if (nResult != 0)
        return;
    const _tKeyVal& place = m_bCurKeyValSet ? m_curKeyVal : kv;
    _tAuditFailure failure;
    failure.code = "1000";
    failure.message = org.arguments.empty() ? org.name : org.arguments;
    failure.new_str = expression.Expected();
    if (nMode == 3)
        failure.text = place.org_para_text;
    Add(failure, place);
}
