// Key generation over extracted values: the key map and its look-up by
// distance, tuples of nearby keys with their skip lists, report dates and
// periods, single keys (sum, count, max), and the second pass over rules
// scoped to a key.
#include <strings.h>

#include <cstdlib>
#include <set>

#include "RUX/AuditValueChecks.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "Segmenter/Segmenter.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"
#include "Utility/NumUtility.h"
#include "Utility/SectionFormat.h"

namespace {

const uint32_t kNoPosition = UINT32_MAX;
const int64_t kDistanceBound = 2048;

int64_t Distance(const _tKeyVal& keyVal, uint32_t nPara, uint32_t nOff)
{
    int64_t a = static_cast<int64_t>(keyVal.para_id) + keyVal.offset;
    int64_t b = static_cast<int64_t>(nPara) + nOff;
    return a > b ? a - b : b - a;
}

// Decimal value of a text, 0 when it holds no leading digits.
long long DecimalValue(const std::string& sText)
{
    return strtoll(sText.c_str(), nullptr, 10);
}

}  // namespace

void CRUXAgent::BuildKeyIdMap()
{
    m_mapKeyId2Keys.clear();
    for (const _tKeyVal& keyVal : m_vecSingleKeyVal)
        m_mapKeyId2Keys[keyVal.key_name_id].push_back(keyVal);
    for (const std::vector<_tKeyVal>& tuple : m_vecTuple)
        for (const _tKeyVal& keyVal : tuple)
            m_mapKeyId2Keys[keyVal.key_name_id].push_back(keyVal);
}

int CRUXAgent::GetKeyValue(int nKey, std::vector<_tKeyVal>& vecOut, uint32_t nPara, uint32_t nOff, int nMode,
                           bool bNearestOnly)
{
    vecOut.clear();
    if (m_mapKeyId2Keys.empty())
        BuildKeyIdMap();
    auto it = m_mapKeyId2Keys.find(nKey);
    if (it == m_mapKeyId2Keys.end())
        return 0;
    int64_t nBest = kDistanceBound;
    for (const _tKeyVal& keyVal : it->second) {
        int64_t nDistance = Distance(keyVal, nPara, nOff);
        if (nOff != kNoPosition) {
            if (nDistance > kDistanceBound - 1)
                continue;
            if (nMode == 0 && keyVal.offset < nOff)
                continue;
            if (nMode == 1 && keyVal.offset > nOff)
                continue;
        }
        if (!bNearestOnly) {
            vecOut.push_back(keyVal);
        } else if (vecOut.empty()) {
            vecOut.push_back(keyVal);
            nBest = nDistance;
        } else if (nDistance < nBest) {
            vecOut[0] = keyVal;
            nBest = nDistance;
        }
    }
    return static_cast<int>(vecOut.size());
}

int CRUXAgent::GetKeyValue(const char* sKeyName, std::vector<_tKeyVal>& vecOut, uint32_t nPara, uint32_t nOff,
                           int nMode, bool bNearestOnly)
{
    vecOut.clear();
    int nKey = sKeyName ? m_pRUX->GetKeyId(sKeyName) : -1;
    if (nKey < 0)
        return 0;
    return GetKeyValue(nKey, vecOut, nPara, nOff, nMode, bNearestOnly);
}

void CRUXAgent::ScanRules()
{
    // The map is rebuilt only when the pass has found new values, so every
    // rule sees all values found so far without a rebuild per rule.
    m_mapKeyId2Keys.clear();
    size_t nSingles = m_vecSingleKeyVal.size(), nTuples = m_vecTuple.size();
    for (unsigned r = 0; r < m_pRUX->GetRuleCount(); ++r) {
        const _tRule& rule = Rule(static_cast<int>(r));
        if (nSingles != m_vecSingleKeyVal.size() || nTuples != m_vecTuple.size()) {
            m_mapKeyId2Keys.clear();
            nSingles = m_vecSingleKeyVal.size();
            nTuples = m_vecTuple.size();
        }
        if (rule.field >= kAttributeFieldBase) {
            std::vector<_tKeyVal> vecValues;
            GetKeyValue(rule.field - kAttributeFieldBase, vecValues);
            for (const _tKeyVal& keyVal : vecValues)
                ScanText(keyVal.key_value.c_str(), keyVal.para_id, 0, rule.field, static_cast<int>(r), keyVal.offset);
        }
        if (rule.action_id == RUX_ACTION_GENERATE_SINGLEKEY)
            GenerateSingleKey(static_cast<int>(r));
    }
    m_mapKeyId2Keys.clear();
}

int CRUXAgent::ExtractDate(const char* sText, std::vector<std::string>& vecDates)
{
    vecDates.clear();
    if (!sText || !*sText)
        return 0;
    const char* sSegmented = PELNOR_ParagraphProcess(sText, 1);
    std::string sCopy = sSegmented ? sSegmented : "";
    std::vector<std::pair<std::string, std::string>> vecTokens;
    size_t i = 0;
    while (i < sCopy.size()) {
        size_t nEnd = sCopy.find(' ', i);
        std::string sToken = sCopy.substr(i, nEnd == std::string::npos ? std::string::npos : nEnd - i);
        size_t nSlash = sToken.rfind('/');
        if (!sToken.empty()) {
            if (nSlash == std::string::npos || nSlash == 0)
                vecTokens.emplace_back(sToken, "");
            else
                vecTokens.emplace_back(sToken.substr(0, nSlash), sToken.substr(nSlash + 1));
        }
        i = nEnd == std::string::npos ? sCopy.size() : nEnd + 1;
    }
    for (size_t k = 0; k < vecTokens.size(); ++k) {
        if (vecTokens[k].second.empty() || vecTokens[k].second[0] != 't')
            continue;
        std::string sDate = vecTokens[k].first;
        // A numeral written apart from its time word ("2019 年") belongs to it.
        if (k > 0 && !vecTokens[k - 1].second.empty() && vecTokens[k - 1].second[0] == 'm')
            sDate = vecTokens[k - 1].first + sDate;
        // A month or day word that follows a year joins it ("2019年" "5月").
        while (k + 1 < vecTokens.size() && !vecTokens[k + 1].second.empty() && vecTokens[k + 1].second[0] == 't' &&
               (vecTokens[k + 1].first.find("月") != std::string::npos ||
                vecTokens[k + 1].first.find("日") != std::string::npos) &&
               sDate.find("年") != std::string::npos && sDate.find("月") == std::string::npos) {
            sDate += vecTokens[++k].first;
        }
        vecDates.push_back(sDate);
    }
    return static_cast<int>(vecDates.size());
}

void CRUXAgent::GenerateTuple()
{
    if (m_vecSingleKeyVal.empty())
        return;
    std::vector<std::string> vecDates;
    std::vector<_tKeyVal> vecSource;
    int nReportDate = m_pRUX->GetKeyId("report_date");
    if (GetKeyValue("report_during_end_data", vecSource) > 0) {
        ExtractDate(vecSource[0].key_value.c_str(), vecDates);
        for (const std::string& sDate : vecDates)
            m_vecEndingDate.emplace_back(nReportDate, sDate, vecSource[0].para_id, vecSource[0].offset,
                                         vecSource[0].org_para_text, vecSource[0].rule_used);
    }
    if (GetKeyValue("report_during_data", vecSource) > 0) {
        ExtractDate(vecSource[0].key_value.c_str(), vecDates);
        for (const std::string& sDate : vecDates)
            m_vecDuringDate.emplace_back(nReportDate, sDate, vecSource[0].para_id, vecSource[0].offset,
                                         vecSource[0].org_para_text, vecSource[0].rule_used);
    }
    SortByParaId(m_vecSingleKeyVal);
    const std::vector<_tRUXIndex>& vecIndex = m_pRUX->GetIndex();
    for (size_t i = 0; i < m_vecSingleKeyVal.size(); ++i) {
        int nKey = m_vecSingleKeyVal[i].key_name_id;
        if (nKey < 0)
            continue;
        int nSlot = m_pRUX->AttributeSlot(nKey);
        if (nSlot < 0 || static_cast<size_t>(nSlot) >= vecIndex.size())
            continue;
        std::set<int> setDone;
        for (const _tRUXIndexData& posting : vecIndex[static_cast<size_t>(nSlot)].pData) {
            std::vector<int> vecSkip = Values(posting.skiplist);
            if (setDone.count(posting.knowledge_index)) {
                setDone.insert(vecSkip.begin(), vecSkip.end());
                continue;
            }
            int nAction = Rule(posting.knowledge_index).action_id;
            if (nAction != RUX_ACTION_GENERATE_TUPLE && nAction != RUX_ACTION_GENERATE_DATE)
                continue;
            if (GenerateOneTuple(i, posting))
                setDone.insert(vecSkip.begin(), vecSkip.end());
        }
    }
}

bool CRUXAgent::GenerateOneTuple(size_t i, const _tRUXIndexData& posting)
{
    int nRule = posting.knowledge_index;
    const _tRule& rule = Rule(nRule);
    const _tKeyVal base = m_vecSingleKeyVal[i];
    std::vector<int> vecArgs = Values(rule.arguments_id);
    std::string sLabel = vecArgs.empty() ? "" : m_pRUX->GetArgument(vecArgs[0], false);
    bool bTupleLabel = strncasecmp(sLabel.c_str(), "tuple", 5) == 0;
    const char* sNo = m_pRUX->GetStr(rule.rule_no_id);
    std::string sRuleNo = sNo ? sNo : "";
    auto labelEntry = [&](const _tKeyVal& first) {
        _tKeyVal label = first;
        label.key_name_id = m_pRUX->m_nTableNameKeyID;
        label.key_value = sLabel + "||rule_no:" + sRuleNo;
        return label;
    };
    std::vector<_tKeyVal> tuple;
    bool bAllSingle = true, bDates = false;
    for (size_t g = 0; g < rule.knowledge.grids.size(); ++g) {
        const _tGrid& grid = rule.knowledge.grids[g];
        if (grid.blocks.size() != 1) {
            SetLastError("Block count must be 1 in " + GridText(nRule, static_cast<int>(g)));
            return false;
        }
        std::vector<int> vecElems = Values(grid.blocks[0].elems);
        if (vecElems.empty())
            return false;
        int nKey = vecElems[0] < 0 ? ~vecElems[0] : vecElems[0];
        std::vector<int> vecRepeats = Values(grid.repeats);
        int nRepeat = vecRepeats.empty() ? 1 : vecRepeats[0];
        bool bNot = grid.blocks[0].is_not != 0;
        std::vector<_tKeyVal> vecFound;
        if (nKey == m_pRUX->m_nDateKeyID) {
            if (m_vecKeyPrefix.empty() || m_vecKeyPrefix[0].para_id != base.para_id)
                return false;
            bDates = true;
            continue;
        }
        GetKeyValue(nKey, vecFound, base.para_id, base.offset, 2, true);
        if ((!bNot && vecFound.empty() && nRepeat > 0) || (bNot && !vecFound.empty()))
            return false;
        if (nRepeat != 1) {
            bAllSingle = false;
            // Repeats look for every value, not just the nearest.
            GetKeyValue(nKey, vecFound, base.para_id, base.offset, 2, false);
            for (size_t k = 0; k < vecFound.size() && static_cast<int>(k) < nRepeat; ++k) {
                std::vector<_tKeyVal> one;
                if (bTupleLabel)
                    one.push_back(labelEntry(tuple.empty() ? vecFound[k] : tuple[0]));
                if (bDates && k < m_vecKeyPrefix.size())
                    one.push_back(m_vecKeyPrefix[k]);
                one.insert(one.end(), tuple.begin(), tuple.end());
                one.push_back(vecFound[k]);
                Tuple2KnowGraph(one, nRule);
                m_vecTuple.push_back(std::move(one));
            }
            continue;
        }
        if (!bNot && !vecFound.empty())
            tuple.push_back(vecFound[0]);
    }
    if (!bAllSingle)
        return true;
    if (rule.action_id == RUX_ACTION_GENERATE_DATE) {
        GenerateDate(tuple, posting);
        return true;
    }
    if (!tuple.empty() && bTupleLabel)
        tuple.insert(tuple.begin(), labelEntry(tuple[0]));
    if (!m_vecTuple.empty() && tuple.size() > 1 && m_vecTuple.back().size() > 1 && IsSameTuple(tuple, m_vecTuple.back()))
        return true;
    Tuple2KnowGraph(tuple, nRule);
    m_vecTuple.push_back(std::move(tuple));
    return true;
}

void CRUXAgent::GenerateDate(const std::vector<_tKeyVal>& tuple, const _tRUXIndexData& posting)
{
    m_vecKeyPrefix.clear();
    const _tRule& rule = Rule(posting.knowledge_index);
    std::vector<int> vecArgs = Values(rule.arguments_id);
    std::string sTarget = vecArgs.empty() ? "" : m_pRUX->GetArgument(vecArgs[0], false);
    if (vecArgs.empty() || vecArgs[0] >= 0) {
        SetLastError(sTarget + " is invalid! ");
        return;
    }
    uint32_t nPara = tuple.empty() ? 0 : tuple[0].para_id;
    if (sTarget == "report_during" || sTarget == "report_during_end") {
        for (_tKeyVal keyVal : sTarget == "report_during" ? m_vecDuringDate : m_vecEndingDate) {
            keyVal.para_id = nPara;
            m_vecKeyPrefix.push_back(keyVal);
        }
        return;
    }
    if (sTarget != "report_date")
        return;
    if (tuple.size() < 3) {
        SetLastError(" Invalid format need [startDate to EndDate].");
        return;
    }
    const std::string& sStart = tuple[0].key_value;
    const std::string& sEnd = tuple[2].key_value;
    long long nStart = DecimalValue(sStart), nEnd = DecimalValue(sEnd);
    if (nStart == 0 || nEnd == 0 || nStart >= nEnd || nEnd - nStart > 1000) {
        SetLastError(sStart + " or " + sEnd + " is invalid this year number");
        return;
    }
    for (long long y = nStart; y < nEnd; ++y) {
        _tKeyVal keyVal = tuple[0];
        keyVal.key_value = std::to_string(y) + "年";
        m_vecKeyPrefix.push_back(keyVal);
    }
    _tKeyVal last = tuple[0];
    last.key_value = sEnd;
    m_vecKeyPrefix.push_back(last);
}

void CRUXAgent::GenerateSingleKey(int nRule)
{
    const _tRule& rule = Rule(nRule);
    if (rule.knowledge.grids.empty() || rule.knowledge.grids[0].blocks.empty())
        return;
    std::vector<int> vecElems = Values(rule.knowledge.grids[0].blocks[0].elems);
    std::vector<int> vecArgs = Values(rule.arguments_id);
    if (vecElems.empty() || vecArgs.size() < 2)
        return;
    int nSource = vecElems[0] < 0 ? ~vecElems[0] : vecElems[0];
    std::string sOperation = m_pRUX->GetArgument(vecArgs[0], false);
    int nTarget = vecArgs[1] < 0 ? ~vecArgs[1] : m_pRUX->GetKeyId(m_pRUX->GetArgument(vecArgs[1], false).c_str());
    std::vector<_tKeyVal> vecValues;
    m_mapKeyId2Keys.clear();
    GetKeyValue(nSource, vecValues);
    long long nResult = 0;
    if (strcasecmp(sOperation.c_str(), "sum") == 0) {
        // Amounts are summed as amounts: "1,200.50" and "60万元" are not 1
        // and 60, or a breakdown could never agree with its total.
        // No amounts, no sum: a 0 would be audited against a total.
        if (vecValues.empty())
            return;
        double dSum = 0;
        for (const _tKeyVal& keyVal : vecValues) {
            double dValue = 0;
            if (DigitAmount(keyVal.key_value, dValue))
                dSum += dValue;
        }
        const char* sNo = m_pRUX->GetStr(rule.rule_no_id);
        uint32_t nPara = vecValues.empty() ? 0 : vecValues[0].para_id;
        uint32_t nOff = vecValues.empty() ? 0 : vecValues[0].offset;
        m_vecSingleKeyVal.emplace_back(nTarget, FormatAmount(dSum), nPara, nOff, "", sNo ? sNo : "");
        return;
    } else if (strcasecmp(sOperation.c_str(), "count") == 0) {
        std::set<std::string> setTexts;
        for (const _tKeyVal& keyVal : vecValues)
            setTexts.insert(keyVal.key_value);
        nResult = static_cast<long long>(setTexts.size());
    } else if (strcasecmp(sOperation.c_str(), "max") == 0) {
        CNumUtility num(true);
        for (const _tKeyVal& keyVal : vecValues) {
            std::string sGbk;
            if (!Utf8ToGbk(keyVal.key_value, sGbk))
                continue;
            _tSection_Info info;
            if (num.ExtractOrder(sGbk.c_str(), info, 0) >= 0 && info.order > nResult)
                nResult = info.order;
        }
        if (nResult <= 0)
            nResult = 1;
    } else {
        return;
    }
    const char* sNo = m_pRUX->GetStr(rule.rule_no_id);
    uint32_t nPara = vecValues.empty() ? 0 : vecValues[0].para_id;
    m_vecSingleKeyVal.emplace_back(nTarget, std::to_string(nResult), nPara, 0, "", sNo ? sNo : "");
}
