// The XML and JSON forms of one finding.
#include "Checker/CheckRecord.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <json/json.h>

#include "Utility/XmlText.h"

namespace {

const char* const kFieldNames[] = {"font", "fontSize", "text", "level", "line_space", "content"};
const char kReviseLetters[] = "IUDCM";

std::string Hex8(uint32_t nValue)
{
    char sBuf[16];
    std::snprintf(sBuf, sizeof sBuf, "%08X", nValue);
    return sBuf;
}

// The value of "name":"value" within [0, nLimit) of a compact JSON record.
bool JsonItem(const std::string& sRecord, const std::string& sName, size_t nLimit, std::string& sOut)
{
    size_t nPos = sRecord.find("\"" + sName + "\":");
    if (nPos == std::string::npos || nPos >= nLimit)
        return false;
    size_t nOpen = sRecord.find('"', nPos + sName.size() + 3);
    if (nOpen == std::string::npos)
        return false;
    size_t nClose = sRecord.find('"', nOpen + 1);
    if (nClose == std::string::npos)
        return false;
    sOut = sRecord.substr(nOpen + 1, nClose - nOpen - 1);
    return true;
}

// A member as text, whether it was written as a string or a number.
std::string MemberText(const Json::Value& record, const char* sName)
{
    const Json::Value& value = record[sName];
    if (value.isString())
        return value.asString();
    if (value.isIntegral())
        return value.isUInt64() ? std::to_string(value.asUInt64()) : std::to_string(value.asInt64());
    return std::string();
}

}  // namespace

void _tCheckResult::Reset()
{
    page_num = 0;
    para_id = 0;
    offset = 0;
    new_para_id = 0;
    field_id = FIELD_TEXT;
    revise_type = REVISE_U;
    new_str.clear();
    org_str.clear();
    error_msg.clear();
}

bool _tCheckResult::operator<(const _tCheckResult& other) const
{
    if (para_id != other.para_id)
        return para_id < other.para_id;
    return offset < other.offset;
}

bool _tCheckResult::operator==(const _tCheckResult& other) const
{
    if (para_id != other.para_id || field_id != other.field_id || offset != other.offset ||
        error_id != other.error_id)
        return false;
    if (!org_str.empty())
        return org_str == other.org_str;
    return new_str == other.new_str;
}

const char* _tCheckResult::FieldName(int nFieldId)
{
    return (nFieldId >= 0 && nFieldId <= FIELD_CONTENT) ? kFieldNames[nFieldId] : "";
}

char _tCheckResult::ReviseLetter(int nReviseType)
{
    return (nReviseType >= 0 && nReviseType <= REVISE_M) ? kReviseLetters[nReviseType] : '?';
}

int _tCheckResult::FieldFromName(const std::string& sName, int nDefault)
{
    if (sName.empty())
        return nDefault;
    switch (sName[0]) {
    case 'c': return FIELD_CONTENT;
    case 'f': return sName.size() > 4 ? FIELD_FONTSIZE : FIELD_FONT;
    case 'l': return (sName.size() > 1 && sName[1] == 'e') ? FIELD_LEVEL : FIELD_LINE_SPACE;
    case 't': return FIELD_TEXT;
    default: return nDefault;
    }
}

int _tCheckResult::ReviseFromLetter(const std::string& sLetter, int nDefault)
{
    const char* pFound = sLetter.empty() ? nullptr : std::strchr(kReviseLetters, sLetter[0]);
    return pFound ? static_cast<int>(pFound - kReviseLetters) : nDefault;
}

void _tCheckResult::output(std::string& sResult) const
{
    char sBuf[128];
    std::snprintf(sBuf, sizeof sBuf, "<check>\r\n<paraId>%08X</paraId>\r\n<page_num>%d</page_num>\r\n", para_id,
                  page_num);
    sResult += sBuf;
    if (revise_type == REVISE_C && new_para_id != 0)
        sResult += "<new_paraId>" + Hex8(new_para_id) + "</new_paraId>\r\n";
    sResult += "<errorno>" + XmlEscape(error_id) + "</errorno>\r\n<errormsg>" + XmlEscape(error_msg) +
               "</errormsg>\r\n<field>" + FieldName(field_id) + "</field>\r\n<text>" + XmlEscape(text);
    std::snprintf(sBuf, sizeof sBuf, "</text>\r\n<revisetype>%c</revisetype>\r\n<offset>%d</offset>\r\n",
                  ReviseLetter(revise_type), static_cast<int>(offset));
    sResult += sBuf;
    sResult += "<OrgStr>" + XmlEscape(org_str) + "</OrgStr>\r\n<NewStr>" + XmlEscape(new_str) +
               "</NewStr>\r\n</check>\r\n";
}

void _tCheckResult::outputJson(Json::Value& result) const
{
    result["paraId"] = Hex8(para_id);
    result["page_num"] = page_num;
    result["new_paraId"] = (revise_type == REVISE_C && new_para_id != 0) ? Hex8(new_para_id) : std::string();
    result["errorno"] = error_id;
    result["errormsg"] = error_msg;
    result["field"] = FieldName(field_id);
    result["text"] = text;
    result["revisetype"] = std::string(1, ReviseLetter(revise_type));
    result["offset"] = offset;
    result["OrgStr"] = org_str;
    result["NewStr"] = new_str;
}

void _tCheckResult::input(const char* sLine, bool bJson)
{
    // Only the record itself is copied: a result file holds thousands.
    const char* pEnd = sLine ? std::strstr(sLine, bJson ? "}" : "</check>") : nullptr;
    std::string sRecord = !sLine ? "" : (pEnd ? std::string(sLine, pEnd) : std::string(sLine));
    size_t nLimit = sRecord.size();
    auto item = [&](const char* sName) {
        std::string sValue;
        if (bJson)
            JsonItem(sRecord, sName, nLimit, sValue);
        else
            XmlElementText(sRecord, sName, 0, nLimit, sValue);
        return sValue;
    };
    para_id = static_cast<uint32_t>(std::strtoul(item("paraId").c_str(), nullptr, 16));
    page_num = std::atoi(item("page_num").c_str());
    offset = static_cast<uint32_t>(std::strtoul(item("offset").c_str(), nullptr, 10));
    new_para_id = static_cast<uint32_t>(std::strtoul(item("new_paraId").c_str(), nullptr, 16));
    error_id = item("errorno");
    error_msg = item("errormsg");
    org_str = item("OrgStr");
    new_str = item("NewStr");
    text.clear();
    field_id = FieldFromName(item("field"), field_id);
    revise_type = ReviseFromLetter(item("revisetype"), revise_type);
}

void _tCheckResult::inputJson(const Json::Value& record)
{
    if (!record.isObject())
        return;
    para_id = static_cast<uint32_t>(std::strtoul(MemberText(record, "paraId").c_str(), nullptr, 16));
    page_num = std::atoi(MemberText(record, "page_num").c_str());
    offset = static_cast<uint32_t>(std::strtoul(MemberText(record, "offset").c_str(), nullptr, 10));
    new_para_id = static_cast<uint32_t>(std::strtoul(MemberText(record, "new_paraId").c_str(), nullptr, 16));
    error_id = MemberText(record, "errorno");
    error_msg = MemberText(record, "errormsg");
    org_str = MemberText(record, "OrgStr");
    new_str = MemberText(record, "NewStr");
    text.clear();
    field_id = FieldFromName(MemberText(record, "field"), field_id);
    revise_type = ReviseFromLetter(MemberText(record, "revisetype"), revise_type);
}
