// The audit rule set: tables of names, reading of "<audit>" items and JSON
// rules, compilation into units, the not-null list, the index, importing
// and editing.
#include "RUX/Audit.h"

#include <json/json.h>
#include <strings.h>

#include <cstring>

#include "RUX/RUX.h"
#include "RUX/RUXGrammer.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

const char* const kCommandNames[AUDIT_CMD_COUNT] = {
    "audit_not_null", "audit_unique", "audit_num_check", "audit_num_chinese", "audit_unique_tuple",
    "audit_standard_id", "audit_standard_argument", "audit_date", "audit_person_id", "audit_credit_code"};
const char* const kScopeNames[] = {"same_tuple", "same_col", "same_para", "same_section"};

struct _tNamedValue {
    const char* sName;
    int nValue;
};
const _tNamedValue kLogicWords[] = {{"and", AUDIT_LOGIC_AND}, {"or", AUDIT_LOGIC_OR}, {"not", AUDIT_LOGIC_NOT}};
const _tNamedValue kWordOperators[] = {{"in", AUDIT_OP_IN},         {"not_in", AUDIT_OP_NOT_IN},
                                       {"substr", AUDIT_OP_SUBSTR}, {"not_substr", AUDIT_OP_NOT_SUBSTR},
                                       {"sum", AUDIT_OP_SUM},       {"integer", AUDIT_OP_INTEGER}};
const char* const kOperatorSigns[] = {"", "+", "-", "*", "/", "(", ")", "[", "]"};
const char* const kRelationSigns[] = {"=", ">", "<", ">=", "<=", "!="};

const char* const kSeparators = "+-*/()><!=[] \t;";

int FindName(const _tNamedValue* pTable, size_t nCount, const std::string& sWord)
{
    for (size_t i = 0; i < nCount; ++i)
        if (!strcasecmp(pTable[i].sName, sWord.c_str()))
            return pTable[i].nValue;
    return -1;
}

std::string TagText(const std::string& sItem, const char* sTag)
{
    std::string sOpen = std::string("<") + sTag + ">";
    size_t nStart = sItem.find(sOpen);
    if (nStart == std::string::npos)
        return "";
    nStart += sOpen.size();
    size_t nEnd = sItem.find(std::string("</") + sTag + ">", nStart);
    return nEnd == std::string::npos ? sItem.substr(nStart) : sItem.substr(nStart, nEnd - nStart);
}

std::string Trim(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

int LeadingInt(const std::string& s)
{
    std::string t = Trim(s);
    long long n = 0;
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9' && n < 1000000000LL; ++i)
        n = n * 10 + (t[i] - '0');
    return static_cast<int>(!t.empty() && t[0] == '-' ? -n : n);
}

std::string WriteJson(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

bool JsonText(const Json::Value& root, const char* sName, std::string& sOut)
{
    sOut.clear();
    if (!root.isMember(sName) || root[sName].isNull())
        return true;
    const Json::Value& v = root[sName];
    if (!v.isString() && !v.isNumeric() && !v.isBool())
        return false;
    sOut = v.asString();
    return true;
}

}  // namespace

CAudit::CAudit(const char* sDataPath, int nType)
    : m_pRUX(std::make_unique<CRUX>(sDataPath, nType)),
      m_sPath(m_pRUX->GetPath()),
      m_nType(nType),
      m_pStaticStr(std::make_unique<CStaticStr>())
{
}

CAudit::~CAudit() = default;

std::string CAudit::AuditFile() const
{
    return JoinPath(m_sPath, "RUX_" + std::to_string(m_nType) + ".audit");
}

std::string CAudit::ExportFile() const
{
    return JoinPath(m_sPath, "RUX_" + std::to_string(m_nType) + ".audit.txt");
}

void CAudit::Report(const _tAuditRuleOrg& org, const std::string& sMessage)
{
    SetLastError(sMessage);
    m_vecMessages.push_back(org.no.empty() ? sMessage : "audit " + org.no + ": " + sMessage);
}

// ---- names ----

int CAudit::GetCmdID(const char* sName)
{
    if (!sName)
        return -1;
    for (int i = 0; i < AUDIT_CMD_COUNT; ++i)
        if (!strcasecmp(sName, kCommandNames[i]))
            return i;
    return -1;
}

const char* CAudit::GetCmdStr(int nId)
{
    return nId >= 0 && nId < AUDIT_CMD_COUNT ? kCommandNames[nId] : "";
}

std::string CAudit::FieldName(int nId) const
{
    std::string sName, sShowName;
    if (nId >= kAuditTupleField && nId < kAuditTupleField + 4)
        return kScopeNames[nId - kAuditTupleField];
    return m_pRUX->GetAttibuteName(nId, sName, sShowName) ? sName : "";
}

std::string CAudit::GetUnitStr(const audit_rule_unit& unit) const
{
    switch (unit.type) {
    case AUDIT_UNIT_COMMAND: return GetCmdStr(unit.val);
    case AUDIT_UNIT_FIELD: return FieldName(unit.val);
    case AUDIT_UNIT_OPERATOR:
        if (unit.val >= AUDIT_OP_ADD && unit.val <= AUDIT_OP_RBRACKET)
            return kOperatorSigns[unit.val];
        for (const _tNamedValue& op : kWordOperators)
            if (op.nValue == unit.val)
                return op.sName;
        return "";
    case AUDIT_UNIT_RELATION:
        return unit.val >= AUDIT_REL_EQ && unit.val <= AUDIT_REL_NE ? kRelationSigns[unit.val - AUDIT_REL_EQ] : "";
    case AUDIT_UNIT_LOGIC:
        for (const _tNamedValue& w : kLogicWords)
            if (w.nValue == unit.val)
                return w.sName;
        return "";
    case AUDIT_UNIT_CONSTANT: {
        const char* s = m_pStaticStr->GetString(unit.val);
        return s ? s : "";
    }
    default: return "";
    }
}

// ---- compiling ----

int CAudit::WordUnit(const std::string& sWord, audit_rule_unit& unit)
{
    int n = FindName(kLogicWords, sizeof(kLogicWords) / sizeof(kLogicWords[0]), sWord);
    if (n >= 0) {
        unit = {AUDIT_UNIT_LOGIC, n};
        return 1;
    }
    n = FindName(kWordOperators, sizeof(kWordOperators) / sizeof(kWordOperators[0]), sWord);
    if (n >= 0) {
        unit = {AUDIT_UNIT_OPERATOR, n};
        return 1;
    }
    n = m_pRUX->GetKeyId(sWord.c_str());
    if (n >= 0) {
        unit = {AUDIT_UNIT_FIELD, n};
        return 1;
    }
    n = GetCmdID(sWord.c_str());
    if (n >= 0) {
        unit = {AUDIT_UNIT_COMMAND, n};
        return 1;
    }
    std::string sText = sWord;
    if (sText.size() >= 2 && sText.front() == '"' && sText.back() == '"')
        sText = sText.substr(1, sText.size() - 2);
    unit = {AUDIT_UNIT_CONSTANT, m_pStaticStr->AddString(sText)};
    return 1;
}

void CAudit::ParseRule(const std::string& sText, std::vector<audit_rule_unit>& vecUnits)
{
    vecUnits.clear();
    std::string sWord;
    auto flush = [&] {
        if (sWord.empty())
            return;
        audit_rule_unit unit;
        WordUnit(sWord, unit);
        vecUnits.push_back(unit);
        sWord.clear();
    };
    for (size_t i = 0; i < sText.size(); ++i) {
        char ch = sText[i];
        // A quoted constant keeps its separators.
        if (ch == '"' && sWord.empty()) {
            size_t nEnd = sText.find('"', i + 1);
            if (nEnd != std::string::npos) {
                sWord = sText.substr(i, nEnd - i + 1);
                flush();
                i = nEnd;
                continue;
            }
        }
        if (!std::strchr(kSeparators, ch) || ch == '\0') {
            sWord += ch;
            continue;
        }
        flush();
        // "-" before a digit where no operand precedes (start, operator,
        // relation, logic word, opening bracket) is the sign of a constant:
        // "x > -5" compares with minus five instead of failing.
        if (ch == '-' && i + 1 < sText.size() && sText[i + 1] >= '0' && sText[i + 1] <= '9') {
            bool bOperandBefore = !vecUnits.empty() &&
                                  (vecUnits.back().type == AUDIT_UNIT_FIELD || vecUnits.back().type == AUDIT_UNIT_CONSTANT ||
                                   (vecUnits.back().type == AUDIT_UNIT_OPERATOR &&
                                    (vecUnits.back().val == AUDIT_OP_RPAREN || vecUnits.back().val == AUDIT_OP_RBRACKET)));
            if (!bOperandBefore) {
                sWord = "-";
                continue;
            }
        }
        switch (ch) {
        case '+': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_ADD}); break;
        case '-': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_SUB}); break;
        case '*': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_MUL}); break;
        case '/': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_DIV}); break;
        case '(': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_LPAREN}); break;
        case ')': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_RPAREN}); break;
        case '[': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_LBRACKET}); break;
        case ']': vecUnits.push_back({AUDIT_UNIT_OPERATOR, AUDIT_OP_RBRACKET}); break;
        case '>': vecUnits.push_back({AUDIT_UNIT_RELATION, AUDIT_REL_GT}); break;
        case '<': vecUnits.push_back({AUDIT_UNIT_RELATION, AUDIT_REL_LT}); break;
        case '!':
            if (i + 1 < sText.size() && sText[i + 1] == '=') {
                vecUnits.push_back({AUDIT_UNIT_RELATION, AUDIT_REL_NE});
                ++i;
            } else {
                vecUnits.push_back({AUDIT_UNIT_LOGIC, AUDIT_LOGIC_NOT});
            }
            break;
        case '=': {
            audit_rule_unit* pLast = vecUnits.empty() ? nullptr : &vecUnits.back();
            bool bJoin = pLast && pLast->type == AUDIT_UNIT_RELATION && i > 0 &&
                         (sText[i - 1] == '>' || sText[i - 1] == '<');
            if (bJoin)
                pLast->val = pLast->val == AUDIT_REL_GT ? AUDIT_REL_GE : AUDIT_REL_LE;
            else
                vecUnits.push_back({AUDIT_UNIT_RELATION, AUDIT_REL_EQ});
            break;
        }
        default: break;  // blank, tab and ";" separate only
        }
    }
    flush();
}

std::vector<int> CAudit::FieldIds(const std::string& sFields) const
{
    std::vector<int> vecIds;
    for (const std::string& sPiece : SplitString(sFields, ";,， \t")) {
        std::string sName = Trim(sPiece);
        int nScope = -1;
        for (int i = 0; i < 4; ++i)
            if (!strcasecmp(sName.c_str(), kScopeNames[i]))
                nScope = kAuditTupleField + i;
        vecIds.push_back(nScope != -1 ? nScope : m_pRUX->GetKeyId(sName.c_str()));
    }
    return vecIds;
}

int CAudit::Org2Audit(const _tAuditRuleOrg& org, _tAuditRule& rule, std::string& sError)
{
    rule = _tAuditRule();
    rule.no_id = static_cast<uint32_t>(m_pStaticStr->AddString(org.no));
    rule.name_id = static_cast<uint32_t>(m_pStaticStr->AddString(org.name));
    rule.credit = org.credit;
    ParseRule(org.rule, rule.rules);
    bool bCommand = false;
    for (const audit_rule_unit& unit : rule.rules)
        bCommand = bCommand || unit.type == AUDIT_UNIT_COMMAND;
    if (bCommand && rule.rules.size() != 1) {
        sError = "Only One RUX audit command is permitted. See " + org.rule;
        return -1;
    }
    if (rule.rules.empty()) {
        sError = "Empty audit rule. See " + org.no;
        return -1;
    }
    rule.fields_id = FieldIds(org.field);
    for (const std::string& sArg : SplitString(org.arguments, ";"))
        rule.arguments_id.push_back(m_pStaticStr->AddString(sArg));
    rule.rules_count = static_cast<uint32_t>(rule.rules.size());
    return 1;
}

void CAudit::AddCompiled(const _tAuditRuleOrg& org, _tAuditRule& rule)
{
    int nRule = static_cast<int>(m_vecRules.size());
    bool bNotNull = rule.rules.size() == 1 && rule.rules[0].type == AUDIT_UNIT_COMMAND &&
                    rule.rules[0].val == AUDIT_CMD_NOT_NULL;
    if (bNotNull) {
        std::vector<std::string> vecNames = SplitString(org.field, ";,， \t");
        std::vector<std::string> vecCodes = SplitString(org.arguments, ";");
        for (size_t i = 0; i < vecNames.size() && i < rule.fields_id.size(); ++i) {
            std::string sCode = i < vecCodes.size() ? Trim(vecCodes[i]) : "";
            m_vecNotNull.push_back({rule.fields_id[i], Trim(vecNames[i]), sCode.empty() ? "12.1" : sCode});
        }
        rule.rules.clear();
        rule.rules_count = 0;
    }
    // A rule is indexed under its fields; a rule scoped by a scope word (or
    // without fields) under the fields its expression names.
    std::vector<int> vecIndexed;
    for (int nId : rule.fields_id)
        if (nId >= 0)
            vecIndexed.push_back(nId);
    if (vecIndexed.empty())
        for (const audit_rule_unit& unit : rule.rules)
            if (unit.type == AUDIT_UNIT_FIELD && unit.val >= 0)
                vecIndexed.push_back(unit.val);
    if (!rule.rules.empty()) {
        for (int nId : vecIndexed) {
            if (static_cast<size_t>(nId) >= m_pIndex.size())
                m_pIndex.resize(static_cast<size_t>(nId) + 1);
            std::vector<int>& vecSlot = m_pIndex[static_cast<size_t>(nId)];
            if (vecSlot.empty() || vecSlot.back() != nRule)
                vecSlot.push_back(nRule);
        }
    }
    m_vecRules.push_back(std::move(rule));
}

bool CAudit::AppendRule(const _tAuditRuleOrg& org)
{
    _tAuditRule rule;
    std::string sError;
    if (Org2Audit(org, rule, sError) < 0) {
        Report(org, sError);
        WriteError(sError);
        return false;
    }
    m_vecOrg.push_back(org);
    AddCompiled(org, rule);
    m_bDirty = true;
    return true;
}

void CAudit::ClearCompiled()
{
    m_vecRules.clear();
    m_pIndex.clear();
    m_vecNotNull.clear();
    m_pStaticStr->Clear();
}

void CAudit::Recompile()
{
    ClearCompiled();
    for (const _tAuditRuleOrg& org : m_vecOrg) {
        _tAuditRule rule;
        std::string sError;
        if (Org2Audit(org, rule, sError) < 0) {
            // Kept as written but never run, so indexes stay in step.
            Report(org, sError);
            WriteError(sError);
            rule = _tAuditRule();
        }
        AddCompiled(org, rule);
    }
}

const std::vector<int>& CAudit::RulesOfField(int nFieldId) const
{
    static const std::vector<int> kNone;
    if (nFieldId < 0 || static_cast<size_t>(nFieldId) >= m_pIndex.size())
        return kNone;
    return m_pIndex[static_cast<size_t>(nFieldId)];
}

// ---- sources ----

bool CAudit::ReadAuditItem(const std::string& sItem, _tAuditRuleOrg& org)
{
    org = _tAuditRuleOrg();
    org.no = Trim(TextStandard(TagText(sItem, "no")));
    org.credit = LeadingInt(TagText(sItem, "credit"));
    org.name = TextStandard(TagText(sItem, "name"));
    org.rule = Trim(TextStandard(TagText(sItem, "rule")));
    org.field = Trim(TextStandard(TagText(sItem, "field")));
    org.arguments = Trim(TextStandard(TagText(sItem, "argument")));
    return !org.rule.empty();
}

int CAudit::ImportFromMem(const char* sText, bool bOverwrite)
{
    std::string sAll = sText ? sText : "";
    m_vecMessages.clear();
    // An audit-only text leaves the extraction rules as they are.
    if (sAll.find("<item>") != std::string::npos || bOverwrite) {
        int nResult = m_pRUX->ImportRuleFromMem(sAll.c_str(), bOverwrite);
        if (nResult < 0)
            return nResult;
    }
    size_t nPos = sAll.find("<audits>");
    if (nPos == std::string::npos) {
        Recompile();
        return -2;
    }
    if (bOverwrite)
        m_vecOrg.clear();
    Recompile();
    while ((nPos = sAll.find("<audit>", nPos)) != std::string::npos) {
        size_t nEnd = sAll.find("</audit>", nPos);
        if (nEnd == std::string::npos) {
            std::string sError = "Cannot locate </audit>" + sAll.substr(nPos);
            SetLastError(sError);
            m_vecMessages.push_back(sError);
            break;
        }
        _tAuditRuleOrg org;
        if (ReadAuditItem(sAll.substr(nPos + 7, nEnd - nPos - 7), org))
            AppendRule(org);
        else
            Report(org, "Audit rule without <rule>");
        nPos = nEnd + 8;
    }
    return Save();
}

int CAudit::Import(const char* sFile, bool bOverwrite)
{
    std::string sName, sText;
    GetAnsiFilename(sFile ? sFile : "", sName, false);
    if (!sFile || !ReadWholeFile(sName, sText)) {
        SetLastError(std::string("Failed read file ") + (sFile ? sFile : ""));
        return -1;
    }
    std::string sUtf8;
    if (!IsValidUtf8(sText) && GbkToUtf8(sText, sUtf8))
        sText = sUtf8;
    return ImportFromMem(sText.c_str(), bOverwrite);
}

int CAudit::AddRule(const char* sText)
{
    m_vecMessages.clear();
    std::string sItem = sText ? sText : "";
    size_t nOpen = sItem.find("<audit>");
    if (nOpen != std::string::npos) {
        size_t nEnd = sItem.find("</audit>", nOpen);
        sItem = sItem.substr(nOpen + 7, nEnd == std::string::npos ? std::string::npos : nEnd - nOpen - 7);
    }
    _tAuditRuleOrg org;
    if (!ReadAuditItem(sItem, org)) {
        Report(org, "Audit rule without <rule>");
        return -1;
    }
    if (!AppendRule(org))
        return -1;
    int nIndex = static_cast<int>(m_vecOrg.size()) - 1;
    return Save() == 1 ? nIndex : -1;
}

// ---- JSON and editing ----

bool CAudit::ParseJson(const char* sJson, _tAuditRuleOrg& org)
{
    org = _tAuditRuleOrg();
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string sErrors, sText = sJson ? sJson : "", sCredit;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(sText.data(), sText.data() + sText.size(), &root, &sErrors) || !root.isObject() ||
        !JsonText(root, "no", org.no) || !JsonText(root, "name", org.name) || !JsonText(root, "rule", org.rule) ||
        !JsonText(root, "arguments", org.arguments) || !JsonText(root, "field", org.field) ||
        !JsonText(root, "credit", sCredit)) {
        SetLastError("Read RUX Infor Error!");
        return false;
    }
    org.no = Trim(TextStandard(org.no));
    org.name = TextStandard(org.name);
    org.rule = Trim(TextStandard(org.rule));
    org.arguments = Trim(TextStandard(org.arguments));
    org.field = Trim(TextStandard(org.field));
    org.credit = LeadingInt(sCredit);
    return true;
}

std::string CAudit::Org2Json(const _tAuditRuleOrg& org)
{
    Json::Value root(Json::objectValue);
    root["no"] = org.no;
    root["name"] = org.name;
    root["rule"] = org.rule;
    root["arguments"] = org.arguments;
    root["field"] = org.field;
    root["credit"] = org.credit;
    return WriteJson(root);
}

const char* CAudit::GetListId()
{
    Json::Value list(Json::arrayValue);
    for (const _tAuditRuleOrg& org : m_vecOrg) {
        Json::Value item(Json::objectValue);
        item["no"] = org.no;
        item["name"] = org.name;
        list.append(item);
    }
    m_sResult = WriteJson(list);
    return m_sResult.c_str();
}

const char* CAudit::GetItem(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecOrg.size())
        m_sResult.clear();
    else
        m_sResult = Org2Json(m_vecOrg[static_cast<size_t>(nIndex)]);
    return m_sResult.c_str();
}

int CAudit::AddItem(const char* sJson)
{
    m_vecMessages.clear();
    _tAuditRuleOrg org;
    if (!ParseJson(sJson, org)) {
        m_vecMessages.push_back("Read RUX Infor Error!");
        return -1;
    }
    if (!AppendRule(org))
        return -1;
    int nIndex = static_cast<int>(m_vecOrg.size()) - 1;
    return Save() == 1 ? nIndex : -1;
}

int CAudit::EditItem(int nIndex, const char* sJson)
{
    m_vecMessages.clear();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecOrg.size())
        return -1;
    _tAuditRuleOrg org;
    if (!ParseJson(sJson, org)) {
        m_vecMessages.push_back("Read RUX Infor Error!");
        return -1;
    }
    // Compiled on a scratch copy first, so a refused edit changes nothing.
    _tAuditRule probe;
    std::string sError;
    if (Org2Audit(org, probe, sError) < 0) {
        Report(org, sError);
        Recompile();
        return -1;
    }
    m_vecOrg[static_cast<size_t>(nIndex)] = org;
    Recompile();
    m_bDirty = true;
    return Save() == 1 ? nIndex : -1;
}

int CAudit::DeleteItem(int nIndex)
{
    m_vecMessages.clear();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecOrg.size())
        return -1;
    m_vecOrg.erase(m_vecOrg.begin() + nIndex);
    Recompile();
    m_bDirty = true;
    return Save() == 1 ? 1 : -1;
}

const char* CAudit::GetSysInfo()
{
    Json::Value info(Json::objectValue);
    Json::Value commands(Json::arrayValue), scopes(Json::arrayValue), operators(Json::arrayValue),
        relations(Json::arrayValue), logic(Json::arrayValue);
    for (const char* s : kCommandNames)
        commands.append(s);
    for (const char* s : kScopeNames)
        scopes.append(s);
    for (size_t i = 1; i < sizeof(kOperatorSigns) / sizeof(kOperatorSigns[0]); ++i)
        operators.append(kOperatorSigns[i]);
    for (const _tNamedValue& op : kWordOperators)
        operators.append(op.sName);
    for (const char* s : kRelationSigns)
        relations.append(s);
    for (const _tNamedValue& w : kLogicWords)
        logic.append(w.sName);
    info["commands"] = commands;
    info["scopes"] = scopes;
    info["operators"] = operators;
    info["relations"] = relations;
    info["logic"] = logic;
    info["rule_count"] = static_cast<Json::UInt64>(m_vecOrg.size());
    m_sResult = WriteJson(info);
    return m_sResult.c_str();
}
