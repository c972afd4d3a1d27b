// The rule set's tables of names, reading of rule sources and JSON rules,
// validation, duplicates, and the editing operations.
#include "RUX/RUX.h"

#include <json/json.h>
#include <strings.h>

#include <cstdio>

#include "Global/Globals.h"
#include "RUX/RUXEngine.h"
#include "RUX/RUXGrammer.h"
#include "Utility/Blanks.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

const char* const kActionNames[RUX_ACTION_COUNT] = {
    "insert", "update", "delete", "extract", "convert", "tableextract", "sectionextract",
    "paragraphextract", "title_extract", "between_extract", "unit_extract", "email_extract",
    "country_extract", "format_extract", "generate_tuple", "generate_singlekey", "generate_date"};
const char* const kFieldNames[RUX_FIELD_COUNT] = {
    "text", "SingleRow", "RowHead", "ColHead", "RowColHead", "header", "footer",
    "title", "title1", "title2", "title3"};

// The text between <tag> and the next </tag> (the rest when it is missing,
// empty when the opening tag is missing).
std::string GetTagText(const std::string& sRecord, const char* sTag)
{
    std::string sOpen = std::string("<") + sTag + ">";
    size_t nStart = sRecord.find(sOpen);
    if (nStart == std::string::npos)
        return "";
    nStart += sOpen.size();
    size_t nEnd = sRecord.find(std::string("</") + sTag + ">", nStart);
    if (nEnd == std::string::npos)
        return sRecord.substr(nStart);
    return sRecord.substr(nStart, nEnd - nStart);
}

// Leading decimal digits (an optional sign first); 0 when there are none.
int LeadingInt(const std::string& sText)
{
    size_t i = 0;
    while (i < sText.size() && (sText[i] == ' ' || sText[i] == '\t' || sText[i] == '\r' || sText[i] == '\n'))
        ++i;
    bool bNegative = i < sText.size() && sText[i] == '-';
    if (i < sText.size() && (sText[i] == '-' || sText[i] == '+'))
        ++i;
    long long nValue = 0;
    for (; i < sText.size() && sText[i] >= '0' && sText[i] <= '9'; ++i)
        if (nValue < 1000000000LL)
            nValue = nValue * 10 + (sText[i] - '0');
    if (nValue > 1000000000LL)
        nValue = 1000000000LL;
    return static_cast<int>(bNegative ? -nValue : nValue);
}

std::string JoinArguments(const std::vector<std::string>& vecArgs)
{
    std::string sOut;
    for (const std::string& sArg : vecArgs)
        sOut += sArg + ";";
    return sOut;
}

std::string JoinComma(const std::vector<std::string>& vecItems)
{
    std::string sOut;
    for (size_t i = 0; i < vecItems.size(); ++i)
        sOut += (i ? "," : "") + vecItems[i];
    return sOut;
}

std::string WriteJson(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

// A JSON member as text: strings as they are, numbers printed; false for
// other kinds.
bool MemberText(const Json::Value& root, const char* sName, std::string& sOut)
{
    sOut.clear();
    if (!root.isMember(sName) || root[sName].isNull())
        return true;
    const Json::Value& value = root[sName];
    if (value.isString()) {
        sOut = value.asString();
        return true;
    }
    if (value.isIntegral() || value.isDouble() || value.isBool()) {
        sOut = value.asString();
        return true;
    }
    return false;
}

}  // namespace

CRUX::CRUX(const char* sPath, int nId)
    : m_pIntArray(std::make_unique<CIntArray>()),
      m_pStaticStr(std::make_unique<CStaticStr>()),
      m_sPath(sPath ? sPath : RUX_GetDataPath()),
      m_nRUX_ID(nId)
{
    for (int i = 0; i < RUX_ACTION_COUNT; ++i)
        m_sActionStr[i] = kActionNames[i];
    for (int i = 0; i < RUX_FIELD_COUNT; ++i)
        m_sFieldStr[i] = kFieldNames[i];
}

CRUX::~CRUX() = default;

std::string CRUX::RuleFile() const
{
    return JoinPath(m_sPath, "RUX_" + std::to_string(m_nRUX_ID) + ".rule");
}

std::string CRUX::ExportFile() const
{
    return JoinPath(m_sPath, "RUX_" + std::to_string(m_nRUX_ID) + ".export.txt");
}

std::string CRUX::UserDictFile() const
{
    return JoinPath(m_sPath, "rux_userdict.txt");
}

void CRUX::Report(const std::string& sRuleNo, const std::string& sMessage)
{
    SetLastError(sMessage);
    std::string sText = MessageToUtf8(sMessage);
    m_vecMessages.push_back(sRuleNo.empty() ? sText : "rule " + sRuleNo + ": " + sText);
}

// ---- names ----

const char* CRUX::GetActionStr(int nId) const
{
    if (nId >= 0 && nId < RUX_ACTION_COUNT)
        return m_sActionStr[static_cast<size_t>(nId)].c_str();
    const char* sName = nId >= kCustomActionBase ? m_pStaticStr->GetString(nId - kCustomActionBase) : nullptr;
    return sName ? sName : "";
}

int CRUX::GetActionId(const char* sName, bool bStrict)
{
    std::string s = sName ? sName : "";
    if (s.empty())
        return bStrict ? -1 : RUX_ACTION_INSERT;
    for (int i = 0; i < RUX_ACTION_COUNT; ++i)
        if (!strcasecmp(s.c_str(), kActionNames[i]))
            return i;
    if (bStrict)
        return -1;
    return CustomActionId(s);
}

int CRUX::CustomActionId(const std::string& sName)
{
    auto it = m_mapCustomAction.find(sName);
    if (it != m_mapCustomAction.end())
        return it->second;
    int nId = kCustomActionBase + m_pStaticStr->AddString(sName);
    m_mapCustomAction[sName] = nId;
    return nId;
}

std::string CRUX::GetFieldStr(int nId) const
{
    if (nId >= 0 && nId < RUX_FIELD_COUNT)
        return m_sFieldStr[static_cast<size_t>(nId)];
    if (nId >= kAttributeFieldBase)
        return AttributeText(nId - kAttributeFieldBase);
    return "";
}

int CRUX::GetFieldId(const char* sName) const
{
    if (!sName || !*sName)
        return 0;
    for (int i = 0; i < RUX_FIELD_COUNT; ++i)
        if (!strcasecmp(sName, kFieldNames[i]))
            return i;
    return -1;
}

std::string CRUX::CanonicalField(const std::string& sField) const
{
    int nId = GetFieldId(sField.c_str());
    if (nId >= 0)
        return m_sFieldStr[static_cast<size_t>(nId)];
    std::string sAttribute, sShowName, sFormat;
    ExtractAttribute(sField, sAttribute, sShowName, sFormat);
    return sAttribute;
}

// ---- reading rules ----

int CRUX::ReadItem(const std::string& sRecord, _tRuleOrg& rule, std::string& sError)
{
    rule = _tRuleOrg();
    rule.no = GetTagText(sRecord, "no");
    rule.credit = LeadingInt(GetTagText(sRecord, "credit"));
    rule.action_id = GetActionId(Trim(TextStandard(GetTagText(sRecord, "action"))).c_str(), false);
    rule.name = TextStandard(GetTagText(sRecord, "name"));
    rule.sField = Trim(TextStandard(GetTagText(sRecord, "field")));
    rule.arguments = SplitString(TextStandard(GetTagText(sRecord, "argument")), ";");
    ParseKGSet(TextStandard(GetTagText(sRecord, "kgset")), rule.vecField2KG, rule.vecKeyname);
    return ParseKnowledge(TextStandard(GetTagText(sRecord, "rule")), rule.rule, sError);
}

bool CRUX::ValidateRule(const _tRuleOrg& rule)
{
    if (rule.action_id == RUX_ACTION_COUNTRY_EXTRACT && !g_bCountryDetect) {
        Report(rule.no, "RUX-Configure.json must set CountryDetect on before execute country_extract ");
        return false;
    }
    if (rule.action_id == RUX_ACTION_GENERATE_SINGLEKEY) {
        const auto& grids = rule.rule.vecGrids;
        bool bOneKey = grids.size() == 1 && grids[0].vecBlocks.size() == 1 &&
                       grids[0].vecBlocks[0].vecElems.size() == 1;
        if (!bOneKey || rule.arguments.size() != 2) {
            Report(rule.no, "SingleKeyVal rule only include one key, and argument number must be 2.");
            return false;
        }
    }
    return true;
}

int CRUX::FindDuplicate(const _tRuleOrg& rule) const
{
    std::string sField = CanonicalField(rule.sField);
    for (size_t i = 0; i < m_vecRule.size(); ++i)
        if (m_vecRule[i].rule.text == rule.rule.text && CanonicalField(m_vecRule[i].sField) == sField)
            return static_cast<int>(i);
    return -1;
}

int CRUX::ImportRule(const char* sFile, bool bOverwrite)
{
    m_vecMessages.clear();
    std::string sName;
    GetAnsiFilename(sFile ? sFile : "", sName, false);
    std::string sText;
    if (!sFile || !ReadWholeFile(sName, sText)) {
        Report("", std::string("Failed read file ") + (sFile ? sFile : ""));
        return -1;
    }
    // Rule sources written in the local GBK encoding are read as well.
    std::string sUtf8;
    if (!IsValidUtf8(sText) && GbkToUtf8(sText, sUtf8))
        sText = sUtf8;
    m_bOverwrite = bOverwrite;
    return ImportRuleFromMem(sText.c_str(), bOverwrite);
}

int CRUX::ImportRuleFromMem(const char* sText, bool bOverwrite)
{
    if (!sText)
        sText = "";
    m_vecMessages.clear();
    if (bOverwrite) {
        m_vecRule.clear();
    } else if (!m_bIsModified) {
        Knowledge2Org();
    }
    const std::string sAll(sText);
    size_t nPos = 0;
    while ((nPos = sAll.find("<item>", nPos)) != std::string::npos) {
        size_t nEnd = sAll.find("</item>", nPos);
        if (nEnd == std::string::npos) {
            Report("", "Cannot locate </item>" + sAll.substr(nPos));
            break;
        }
        std::string sRecord = sAll.substr(nPos + 6, nEnd - nPos - 6);
        nPos = nEnd + 7;
        _tRuleOrg rule;
        std::string sError;
        if (ReadItem(sRecord, rule, sError) < 0)
            Report(rule.no, sError);  // kept with the grids read before the error
        if (!ValidateRule(rule))
            continue;
        int nSame = FindDuplicate(rule);
        if (nSame >= 0) {
            Report(rule.no, "RuleNo" + rule.no + ":" + rule.rule.text + " is already exists and cannot be added, see Rule" +
                                m_vecRule[static_cast<size_t>(nSame)].no);
            continue;
        }
        m_vecRule.push_back(std::move(rule));
    }
    return CompileAndSave();
}

int CRUX::CompileAndSave()
{
    m_bIsModified = true;
    Org2Knowledge();
    return Save();
}

// ---- JSON rules ----

int CRUX::ParseJsonRule(const char* sJson, _tRuleOrg& rule)
{
    rule = _tRuleOrg();
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::string sText = sJson ? sJson : "";
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string no, name, pattern, action, field, argument, kgset, credit;
    if (!reader->parse(sText.data(), sText.data() + sText.size(), &root, &sErrors) || !root.isObject() ||
        !MemberText(root, "no", no) || !MemberText(root, "name", name) || !MemberText(root, "rule", pattern) ||
        !MemberText(root, "action", action) || !MemberText(root, "field", field) ||
        !MemberText(root, "argument", argument) || !MemberText(root, "kgset", kgset) ||
        !MemberText(root, "credit", credit)) {
        Report("", "Read RUX Infor Error!");
        return -1;
    }
    rule.no = no;
    rule.name = TextStandard(name);
    rule.credit = LeadingInt(credit);
    rule.action_id = GetActionId(Trim(TextStandard(action)).c_str(), false);
    rule.sField = Trim(TextStandard(field));
    rule.arguments = SplitString(TextStandard(argument), ";");
    ParseKGSet(TextStandard(kgset), rule.vecField2KG, rule.vecKeyname);
    std::string sError;
    if (ParseKnowledge(TextStandard(pattern), rule.rule, sError) < 0) {
        Report(rule.no, sError);
        return -1;
    }
    return 1;
}

std::string CRUX::RuleOrg2Json(const _tRuleOrg& rule) const
{
    Json::Value root(Json::objectValue);
    root["no"] = rule.no;
    root["name"] = rule.name;
    root["rule"] = rule.rule.text;
    root["action"] = GetActionStr(rule.action_id);
    root["field"] = rule.sField;
    root["argument"] = JoinArguments(rule.arguments);
    std::string sKGSet = GetKGSetStr(rule.vecField2KG);
    root["kgset"] = sKGSet;
    root["credit"] = rule.credit;
    if (!sKGSet.empty())
        root["keyname"] = JoinComma(rule.vecKeyname);
    return WriteJson(root);
}

// ---- editing ----

int CRUX::AddItem(const char* sJson)
{
    m_vecMessages.clear();
    _tRuleOrg rule;
    int nResult = ParseJsonRule(sJson, rule);
    if (nResult < 0)
        return nResult;
    if (!ValidateRule(rule))
        return -1;
    int nSame = FindDuplicate(rule);
    if (nSame >= 0) {
        Report(rule.no, "RuleNo" + rule.no + ":" + rule.rule.text + " is already exists and cannot be added, see Rule" +
                            m_vecRule[static_cast<size_t>(nSame)].no);
        return nSame;
    }
    m_vecRule.push_back(std::move(rule));
    int nIndex = static_cast<int>(m_vecRule.size()) - 1;
    nResult = CompileAndSave();
    return nResult < 0 ? nResult : nIndex;
}

int CRUX::EditItem(int nIndex, const char* sJson)
{
    m_vecMessages.clear();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecRule.size())
        return -1;
    _tRuleOrg rule;
    int nResult = ParseJsonRule(sJson, rule);
    if (nResult < 0)
        return nResult;
    if (!ValidateRule(rule))
        return -1;
    m_vecRule[static_cast<size_t>(nIndex)] = std::move(rule);
    nResult = CompileAndSave();
    return nResult < 0 ? nResult : nIndex;
}

int CRUX::DeleteItem(int nIndex)
{
    m_vecMessages.clear();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecRule.size())
        return -1;
    m_vecRule.erase(m_vecRule.begin() + nIndex);
    int nResult = CompileAndSave();
    return nResult < 0 ? nResult : 1;
}

const char* CRUX::GetItem(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_vecRule.size())
        m_sResult.clear();
    else
        m_sResult = RuleOrg2Json(m_vecRule[static_cast<size_t>(nIndex)]);
    return m_sResult.c_str();
}

const char* CRUX::GetRuleListId()
{
    Json::Value list(Json::arrayValue);
    for (const _tRuleOrg& rule : m_vecRule) {
        Json::Value item(Json::objectValue);
        item["no"] = rule.no;
        item["name"] = rule.name;
        list.append(item);
    }
    m_sResult = WriteJson(list);
    return m_sResult.c_str();
}

const char* CRUX::GetSysInfo()
{
    Json::Value info(Json::objectValue);
    Json::Value actions(Json::arrayValue), fields(Json::arrayValue);
    for (const std::string& sName : m_sActionStr)
        actions.append(sName);
    for (const std::string& sName : m_sFieldStr)
        fields.append(sName);
    info["actions"] = actions;
    info["fields"] = fields;
    m_sResult = WriteJson(info);
    return m_sResult.c_str();
}
