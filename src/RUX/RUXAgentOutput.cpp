// What becomes of a hit: hit records, single key values, tuples, tables and
// knowledge-graph records; removal of repeated and overlapping values; and
// the files and strings the results are written to.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/XmlText.h"

namespace {

std::string Hex8(uint32_t nValue)
{
    char sBuf[16];
    snprintf(sBuf, sizeof(sBuf), "%08X", nValue);
    return sBuf;
}

std::string JsonText(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

const char* const kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Flag bytes of a knowledge-graph setting.
enum { kKGAttribute = 1, kKGShowName, kKGHead, kKGTail, kKGRelation, kKGKeyword, kKGEntity };

}  // namespace

std::string CRUXAgent::KeyAttribute(int nKey) const
{
    std::string sName, sShow;
    if (nKey < 0 || !m_pRUX->GetAttibuteName(nKey, sName, sShow))
        return "";
    return sName;
}

std::string CRUXAgent::KeyShowName(int nKey) const
{
    std::string sName, sShow;
    if (nKey < 0 || !m_pRUX->GetAttibuteName(nKey, sName, sShow))
        return "";
    return sShow;
}

// Key values of selected values nFrom .. nFrom + nCount - 1, value k with
// the key of argument k.
std::vector<_tKeyVal> CRUXAgent::HitToKeyVals(const _tRUX_Result& hit, size_t nFrom, size_t nCount,
                                              bool bTable) const
{
    std::vector<int> vecArgs;
    if (hit.rule_index >= 0 && static_cast<unsigned>(hit.rule_index) < m_pRUX->GetRuleCount())
        vecArgs = Values(Rule(hit.rule_index).arguments_id);
    std::vector<_tKeyVal> vecOut;
    for (size_t k = 0; k < nCount && nFrom + k < hit.vecSelected.size(); ++k) {
        size_t s = nFrom + k;
        int nKey = (k < vecArgs.size() && vecArgs[k] < 0) ? ~vecArgs[k] : -1;
        uint32_t nPara = s < hit.vecSelectedParaId.size() ? hit.vecSelectedParaId[s] : hit.para_id;
        uint32_t nOff = s < hit.vecSelectedOffset.size() ? hit.vecSelectedOffset[s] : hit.offset;
        vecOut.emplace_back(nKey, hit.vecSelected[s], nPara, nOff, bTable ? hit.vecSelected[s] : hit.org_para_text,
                            hit.rule_no);
    }
    return vecOut;
}

int CRUXAgent::AddResult(_tRUX_Result& hit)
{
    if (!m_vecRUXResult.empty()) {
        const _tRUX_Result& last = m_vecRUXResult.back();
        if (last.para_id == hit.para_id && last.rule_no == hit.rule_no && last.offset == hit.offset &&
            ((last.vecSelected.empty() && hit.vecSelected.empty()) ||
             (!last.vecSelected.empty() && !hit.vecSelected.empty() && last.vecSelected[0] == hit.vecSelected[0])))
            return -1;
    }
    if (!hit.action.empty() && hit.action[0] == 'u' && !hit.arguments.empty() && hit.vecSelected.size() == 1 &&
        hit.vecSelected[0] == hit.arguments[0])
        return -2;
    hit.org_para_text = m_scan.text_stand;
    // Stored hits are looked up by rule number and paragraph, so a document
    // with thousands of hits does not compare each new one with all of them.
    std::string sHitKey = hit.rule_no + '\0' + std::to_string(hit.para_id);
    std::vector<size_t>& vecSame = m_mapHitsByRulePara[sHitKey];
    for (size_t nOld : vecSame) {
        const _tRUX_Result& old = m_vecRUXResult[nOld];
        if (old.vecSelected.size() == hit.vecSelected.size() && !hit.vecSelected.empty() &&
            old.vecSelected[0] == hit.vecSelected[0] && !old.vecSelectedOffset.empty() &&
            !hit.vecSelectedOffset.empty() && old.vecSelectedOffset[0] == hit.vecSelectedOffset[0])
            return -3;
    }
    vecSame.push_back(m_vecRUXResult.size());
    m_vecRUXResult.push_back(hit);
    size_t nArgs = hit.arguments.size();
    if (hit.action == "tableextract" && hit.vecSelected.size() > nArgs && nArgs > 0) {
        std::vector<std::vector<_tKeyVal>> table;
        for (size_t s = 0; s < hit.vecSelected.size(); s += nArgs) {
            table.push_back(HitToKeyVals(hit, s, nArgs, true));
            Tuple2KnowGraph(table.back(), hit.rule_index);
        }
        m_vecTable.push_back(std::move(table));
    } else if (hit.vecSelected.size() != 1) {
        std::vector<_tKeyVal> tuple = HitToKeyVals(hit, 0, hit.vecSelected.size(), false);
        Tuple2KnowGraph(tuple, hit.rule_index);
        m_vecTuple.push_back(std::move(tuple));
    } else {
        _tKeyVal keyVal = HitToKeyVals(hit, 0, 1, false)[0];
        m_vecSingleKeyVal.push_back(keyVal);
        if (hit.rule_index >= 0 && static_cast<unsigned>(hit.rule_index) < m_pRUX->GetRuleCount()) {
            const _tRule& rule = Rule(hit.rule_index);
            if (!rule.pField2KG.empty() && rule.pField2KG[0].type[kKGEntity] && !keyVal.key_value.empty())
                m_vecKeyValNamedEntity.push_back(keyVal);
        }
    }
    return static_cast<int>(m_vecRUXResult.size());
}

int CRUXAgent::FindEntityHead(const std::string& sField, const std::string& sValue) const
{
    int nFound = -1, nCount = 0;
    for (size_t i = 0; i < m_vecEntityVal.size(); ++i) {
        const _tEntityAttrVal& rec = m_vecEntityVal[i];
        std::string sAttr = rec.attribute.substr(0, rec.attribute.find('|'));
        if ((EqualNoCase(rec.attribute, sField) || EqualNoCase(sAttr, sField)) && EqualNoCase(rec.val, sValue)) {
            nFound = static_cast<int>(i);
            ++nCount;
        }
    }
    return nCount == 1 ? nFound : -1;
}

void CRUXAgent::Tuple2KnowGraph(const std::vector<_tKeyVal>& tuple, int nRule)
{
    if (nRule < 0 || static_cast<unsigned>(nRule) >= m_pRUX->GetRuleCount())
        return;
    const _tRule& rule = Rule(nRule);
    std::string sEntity, sKeys;
    bool bSource = false;
    uint32_t nSourcePara = 0;
    for (int nKey : Values(rule.keys_id)) {
        int nAttr = nKey < 0 ? ~nKey : nKey;
        std::string sValue = GetValueFromTupleByKeyId(tuple, nAttr);
        std::string sSep = sEntity.empty() ? "" : ";";
        sEntity += sSep + sValue;
        sKeys += sSep + KeyAttribute(nAttr);
        int nIndex = GetKeyIndex(tuple, nAttr);
        if (!bSource && !sValue.empty() && nIndex >= 0) {
            bSource = true;
            nSourcePara = tuple[static_cast<size_t>(nIndex)].para_id;
        }
    }
    if (!sEntity.empty()) {
        if (!sKeys.empty())
            m_vecEntityVal.push_back({sEntity, "entity_name", sKeys});
        std::string sSource = bSource ? DocParagraphText(nSourcePara) : "";
        if (!sSource.empty())
            m_vecEntityVal.push_back({sEntity, "datasrc", sSource});
    }
    _tHeadRelTail relation;
    _tEntityAttrVal showName;
    bool bShowName = false;
    for (const _tFieldID2KG& kg : rule.pField2KG) {
        int nAttr = kg.field_name_id;
        std::string sField = KeyAttribute(nAttr), sShow = KeyShowName(nAttr);
        std::string sFull = sField + "|" + sShow;
        int nIndex = GetKeyIndex(tuple, nAttr);
        std::string sValue = nIndex >= 0 ? tuple[static_cast<size_t>(nIndex)].key_value : "";
        if (kg.type[kKGEntity] && !sValue.empty())
            m_vecKeyValNamedEntity.push_back(tuple[static_cast<size_t>(nIndex)]);
        if (kg.type[kKGHead] && relation.head.empty()) {
            int nHead = FindEntityHead(sField, sValue);
            if (nHead >= 0)
                relation.head = m_vecEntityVal[static_cast<size_t>(nHead)].entity;
        }
        if (kg.type[kKGTail] && relation.tail.empty()) {
            int nTail = FindEntityHead(sField, sValue);
            if (nTail >= 0)
                relation.tail = m_vecEntityVal[static_cast<size_t>(nTail)].entity;
        }
        if (kg.type[kKGAttribute] || kg.type[kKGKeyword]) {
            _tEntityAttrVal rec{sEntity, sFull, sValue};
            if (!rec.empty())
                m_vecEntityVal.push_back(rec);
        }
        if (kg.type[kKGRelation]) {
            if (!sEntity.empty())
                m_vecHeadRelTail.push_back({sEntity, sFull, sValue});
            else
                relation.relation += sFull;
        }
        if (kg.type[kKGShowName] && !bShowName) {
            bShowName = true;
            showName = {sEntity, "show_name", sValue};
        }
    }
    if (bShowName && !showName.empty())
        m_vecEntityVal.push_back(showName);
    if (!relation.empty())
        m_vecHeadRelTail.push_back(relation);
}

void CRUXAgent::SortByParaId(std::vector<_tKeyVal>& vecKeyVal)
{
    std::stable_sort(vecKeyVal.begin(), vecKeyVal.end(), [](const _tKeyVal& a, const _tKeyVal& b) {
        if (a.para_id != b.para_id)
            return a.para_id < b.para_id;
        if (a.offset != b.offset)
            return a.offset < b.offset;
        return a.key_value.size() < b.key_value.size();
    });
}

void CRUXAgent::KeyValConflictRemove()
{
    SortByParaId(m_vecSingleKeyVal);
    size_t a = 0;
    while (a + 1 < m_vecSingleKeyVal.size()) {
        const _tKeyVal& x = m_vecSingleKeyVal[a];
        const _tKeyVal& y = m_vecSingleKeyVal[a + 1];
        uint64_t nEndX = static_cast<uint64_t>(x.offset) + x.key_value.size();
        uint64_t nEndY = static_cast<uint64_t>(y.offset) + y.key_value.size();
        // Only a value lying inside its neighbour goes: one that merely
        // overlaps it carries text of its own.
        if (x.para_id == y.para_id && x.key_name_id == y.key_name_id && x.offset <= y.offset && nEndX > y.offset &&
            nEndX >= nEndY)
            m_vecSingleKeyVal.erase(m_vecSingleKeyVal.begin() + static_cast<std::ptrdiff_t>(a + 1));
        else
            ++a;
    }
}

bool CRUXAgent::IsSameTuple(const std::vector<_tKeyVal>& a, const std::vector<_tKeyVal>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].key_name_id != b[i].key_name_id || a[i].key_value != b[i].key_value)
            return false;
    return true;
}

int CRUXAgent::GetKeyIndex(const std::vector<_tKeyVal>& tuple, int nKey, int nStart)
{
    for (size_t i = static_cast<size_t>(std::max(nStart, 0)); i < tuple.size(); ++i)
        if (tuple[i].key_name_id == nKey)
            return static_cast<int>(i);
    return -1;
}

std::string CRUXAgent::GetValueFromTupleByKeyId(const std::vector<_tKeyVal>& tuple, int nKey, int nStart)
{
    int i = GetKeyIndex(tuple, nKey, nStart);
    return i < 0 ? "" : tuple[static_cast<size_t>(i)].key_value;
}

// ------------------------------------------------------------- writing

void CRUXAgent::WriteText(const std::string& sFile, const std::string& sText)
{
    if (!WriteFileAtomic(sFile, sText))
        SetLastError("Failed writing file " + sFile);
}

const char* CRUXAgent::GetResult(const char* sPrefix)
{
    std::string sOut;
    for (const _tRUX_Result& hit : m_vecRUXResult) {
        sOut += "<RUX_Result>\n";
        sOut += "\t<rule_index>" + std::to_string(hit.rule_index) + "</rule_index>\n<rule_no>" + XmlEscape(hit.rule_no) +
                "</rule_no>\n";
        sOut += "\t<action>" + XmlEscape(hit.action) + "</action>\n";
        sOut += "\t<credit>" + std::to_string(hit.credit) + "</credit>\n\t<frequency>" + std::to_string(hit.frequency) +
                "</frequency>\n\t<para_id>" + Hex8(hit.para_id) + "</para_id>\n\t<offset>" +
                std::to_string(hit.offset) + "</offset>\n";
        sOut += "\t<selected>\n";
        for (size_t i = 0; i < hit.vecSelected.size(); ++i) {
            uint32_t nPara = i < hit.vecSelectedParaId.size() ? hit.vecSelectedParaId[i] : hit.para_id;
            uint32_t nOff = i < hit.vecSelectedOffset.size() ? hit.vecSelectedOffset[i] : 0;
            sOut += "\t\t<item><para_id>" + Hex8(nPara) + "</para_id><offset>" + std::to_string(nOff) +
                    "</offset><value>" + XmlEscape(hit.vecSelected[i]) + "</value></item>\n";
        }
        sOut += "\t</selected>\n\t<arguments>\n";
        for (const std::string& sArg : hit.arguments)
            sOut += "\t\t<item>" + XmlEscape(sArg) + "</item>\n";
        sOut += "\t</arguments>\n\t<org_para_text>" + XmlEscape(hit.org_para_text) + "\t</org_para_text>\n</RUX_Result>\n";
    }
    if (sPrefix && *sPrefix && !sOut.empty())
        WriteText(std::string(sPrefix) + "_RUX_result.xml", sOut + "\n");
    m_sHitList = sOut;
    return m_pBuffer->AddBuffer(sOut.c_str());
}

std::string CRUXAgent::KeyVal_WriteXML(const _tKeyVal& keyVal) const
{
    std::string sOut = "<KeyVal>\n\t<para_id>" + Hex8(keyVal.para_id) + "</para_id>\n<key_name>";
    sOut += "<id>" + std::to_string(keyVal.key_name_id) + "</id><attribute>" + XmlEscape(KeyAttribute(keyVal.key_name_id)) +
            "</attribute><name>" + XmlEscape(KeyShowName(keyVal.key_name_id)) + "</name>";
    sOut += "</key_name>\n<key_value>" + XmlEscape(keyVal.key_value) + "</key_value>\n";
    sOut += "<offset>" + std::to_string(keyVal.offset) + "</offset>";
    sOut += "<org_para_text>" + XmlEscape(keyVal.org_para_text) + "</org_para_text>\n";
    sOut += "<rule_used>" + XmlEscape(keyVal.rule_used) + "</rule_used>\n</KeyVal>\n";
    return sOut;
}

size_t CRUXAgent::KeyVal_ReadXML(const std::string& sText, size_t nFrom, _tKeyVal& keyVal) const
{
    size_t nStart = sText.find("<KeyVal>", nFrom);
    if (nStart == std::string::npos)
        return std::string::npos;
    size_t nEnd = sText.find("</KeyVal>", nStart);
    if (nEnd == std::string::npos)
        return std::string::npos;
    std::string sRecord = sText.substr(nStart, nEnd - nStart);
    auto tag = [&sRecord](const char* sTag) {
        std::string sOpen = std::string("<") + sTag + ">", sClose = std::string("</") + sTag + ">";
        size_t a = sRecord.find(sOpen);
        if (a == std::string::npos)
            return std::string();
        a += sOpen.size();
        size_t b = sRecord.find(sClose, a);
        return XmlUnescape(sRecord.substr(a, b == std::string::npos ? std::string::npos : b - a));
    };
    keyVal = _tKeyVal();
    keyVal.para_id = static_cast<uint32_t>(strtoul(tag("para_id").c_str(), nullptr, 16));
    std::string sAttr = tag("attribute");
    keyVal.key_name_id = sAttr.empty() ? -1 : m_pRUX->GetKeyId(sAttr.c_str());
    keyVal.key_value = tag("key_value");
    keyVal.offset = static_cast<uint32_t>(strtoul(tag("offset").c_str(), nullptr, 10));
    keyVal.org_para_text = tag("org_para_text");
    keyVal.rule_used = tag("rule_used");
    return nEnd + 9;
}

Json::Value CRUXAgent::KeyVal_WriteJson(const _tKeyVal& keyVal) const
{
    Json::Value item(Json::objectValue);
    item["para_id"] = Hex8(keyVal.para_id);
    item["id"] = keyVal.key_name_id;
    item["attribute"] = KeyAttribute(keyVal.key_name_id);
    item["name"] = KeyShowName(keyVal.key_name_id);
    item["key_value"] = keyVal.key_value;
    item["offset"] = keyVal.offset;
    item["org_para_text"] = keyVal.org_para_text;
    item["rule_used"] = keyVal.rule_used;
    return item;
}

Json::Value CRUXAgent::KeyValArray(std::vector<_tKeyVal> vecKeyVal) const
{
    SortByParaId(vecKeyVal);
    Json::Value root(Json::objectValue);
    root["KeyVals"] = Json::Value(Json::arrayValue);
    for (const _tKeyVal& keyVal : vecKeyVal)
        root["KeyVals"].append(KeyVal_WriteJson(keyVal));
    return root;
}

Json::Value CRUXAgent::TupleJson() const
{
    Json::Value array(Json::arrayValue);
    for (size_t i = 0; i < m_vecTuple.size(); ++i) {
        Json::Value item(Json::objectValue);
        item["Index"] = static_cast<Json::UInt64>(i + 1);
        item["Tuple"] = Json::Value(Json::arrayValue);
        for (const _tKeyVal& keyVal : m_vecTuple[i])
            item["Tuple"].append(KeyVal_WriteJson(keyVal));
        array.append(item);
    }
    return array;
}

Json::Value CRUXAgent::TableJson() const
{
    Json::Value array(Json::arrayValue);
    for (size_t t = 0; t < m_vecTable.size(); ++t) {
        Json::Value table(Json::objectValue);
        table["Index"] = static_cast<Json::UInt64>(t + 1);
        table["rows"] = Json::Value(Json::arrayValue);
        for (size_t r = 0; r < m_vecTable[t].size(); ++r) {
            Json::Value row(Json::objectValue);
            row["RowIndex"] = static_cast<Json::UInt64>(r + 1);
            row["Cols"] = Json::Value(Json::arrayValue);
            for (const _tKeyVal& keyVal : m_vecTable[t][r])
                row["Cols"].append(KeyVal_WriteJson(keyVal));
            table["rows"].append(row);
        }
        array.append(table);
    }
    Json::Value root(Json::objectValue);
    root["Tables"] = array;
    return root;
}

Json::Value CRUXAgent::ArgumentJson() const
{
    Json::Value array(Json::arrayValue);
    for (const _tTableArgument& arg : m_vecTableArguments) {
        Json::Value item(Json::objectValue);
        item["file_name"] = arg.file_name;
        item["section_no"] = arg.section_no;
        item["section_name"] = arg.section_name;
        item["row_name"] = arg.row_name;
        item["col_name"] = arg.col_name;
        item["value"] = arg.value;
        array.append(item);
    }
    return array;
}

Json::Value CRUXAgent::KGJson() const
{
    Json::Value root(Json::objectValue);
    root["entity_attribute"] = Json::Value(Json::arrayValue);
    root["relation"] = Json::Value(Json::arrayValue);
    for (const _tEntityAttrVal& rec : m_vecEntityVal) {
        Json::Value item(Json::objectValue);
        item["entity"] = rec.entity;
        item["attribute"] = rec.attribute;
        item["val"] = rec.val;
        root["entity_attribute"].append(item);
    }
    for (const _tHeadRelTail& rec : m_vecHeadRelTail) {
        Json::Value item(Json::objectValue);
        item["head"] = rec.head;
        item["relation"] = rec.relation;
        item["tail"] = rec.tail;
        root["relation"].append(item);
    }
    return root;
}

std::string CRUXAgent::TupleText() const
{
    std::string sOut;
    bool bFirst = true;
    uint32_t nLastPara = 0;
    for (const std::vector<_tKeyVal>& tuple : m_vecTuple) {
        if (tuple.empty())
            continue;
        if (bFirst || tuple[0].para_id != nLastPara) {
            char sHead[32];
            snprintf(sHead, sizeof(sHead), "\r\n\r\nOffset:%08X\n", tuple[0].para_id);
            sOut += sHead + std::string("Original Text is: ") + DocParagraphText(tuple[0].para_id) + " \r\n";
        }
        bFirst = false;
        nLastPara = tuple[0].para_id;
        for (const _tKeyVal& keyVal : tuple)
            sOut += "[" + KeyShowName(keyVal.key_name_id) + "]:" + keyVal.key_value + "\t";
        sOut += "\n";
    }
    return sOut;
}

void CRUXAgent::WriteOutputs(const std::string& sBase, bool bJson)
{
    Json::Value single = KeyValArray(m_vecSingleKeyVal);
    Json::Value entity = KeyValArray(m_vecKeyValNamedEntity);
    Json::Value tuples = TupleJson();
    Json::Value tables = TableJson();
    Json::Value arguments = ArgumentJson();
    m_sKeyValResult = JsonText(single);
    m_sEntityKeyValResult = JsonText(entity);
    m_sTupleResult = JsonText(tuples);
    m_sKGResult = JsonText(KGJson());
    if (m_bDebug) {
        m_jsonDebug["SingleKey_result"] = single;
        m_jsonDebug["NamedEntity_result"] = entity;
        m_jsonDebug["tuple_result"] = tuples;
        m_jsonDebug["table_result"] = tables;
        m_jsonDebug["argument_result"] = arguments;
    }
    if (sBase.empty())
        return;
    if (bJson) {
        if (!m_vecSingleKeyVal.empty())
            WriteText(sBase + "_keyVal.json", m_sKeyValResult);
        WriteText(sBase + "_entity.json", m_sEntityKeyValResult);
        WriteText(sBase + "_tuple.json", m_sTupleResult);
        WriteText(sBase + "_table.json", JsonText(tables));
        WriteText(sBase + "_argument.json", JsonText(arguments));
    } else {
        WriteXmlFiles(sBase);
    }
    if (!m_vecTuple.empty())
        WriteText(sBase + "_tuple.txt", TupleText());
    WriteText(sBase + "_kg.json", m_sKGResult);
}

void CRUXAgent::WriteXmlFiles(const std::string& sBase)
{
    std::vector<_tKeyVal> vecSorted = m_vecSingleKeyVal;
    SortByParaId(vecSorted);
    std::string sKeyVals = std::string(kXmlDeclaration) + "<KeyVals>\n";
    for (const _tKeyVal& keyVal : vecSorted)
        sKeyVals += KeyVal_WriteXML(keyVal) + "\n";
    WriteText(sBase + "_keyVal.xml", sKeyVals + "</KeyVals>\n");
    std::string sTuples = std::string(kXmlDeclaration) + "<Tuples>\n";
    for (size_t i = 0; i < m_vecTuple.size(); ++i) {
        sTuples += "<Tuple>\n<Index>" + std::to_string(i + 1) + "</Index>\n";
        for (const _tKeyVal& keyVal : m_vecTuple[i])
            sTuples += KeyVal_WriteXML(keyVal);
        sTuples += "</Tuple>\n";
    }
    WriteText(sBase + "_tuple.xml", sTuples + "</Tuples>\n");
    std::string sTables = std::string(kXmlDeclaration) + "<Tables>\n";
    for (size_t t = 0; t < m_vecTable.size(); ++t) {
        sTables += "<Table>\n<Index>" + std::to_string(t + 1) + "</Index>\n";
        for (size_t r = 0; r < m_vecTable[t].size(); ++r) {
            sTables += "<Row><RowIndex>" + std::to_string(r + 1) + "</RowIndex>\n";
            for (const _tKeyVal& keyVal : m_vecTable[t][r])
                sTables += KeyVal_WriteXML(keyVal) + "\n";
            sTables += "</Row>\n";
        }
        sTables += "</Table>\n";
    }
    WriteText(sBase + "_table.xml", sTables + "</Tables>\n");
    std::string sArgs = "<arguments>\n";
    for (const _tTableArgument& arg : m_vecTableArguments)
        sArgs += "<RECORD>\r\n<file_name>" + XmlEscape(arg.file_name) + "</file_name>\r\n<section_no>" +
                 XmlEscape(arg.section_no) + "</section_no>\r\n<section_name>" + XmlEscape(arg.section_name) +
                 "</section_name>\r\n<row_name>" + XmlEscape(arg.row_name) + "</row_name>\r\n<col_name>" +
                 XmlEscape(arg.col_name) + "</col_name>\r\n<value>" + XmlEscape(arg.value) + "</value>\r\n</RECORD>\r\n";
    WriteText(sBase + "_argument.xml", sArgs + "</arguments>\n");
}

std::string CRUXAgent::GetKnowledgeJsonStr() const
{
    Json::Value root(Json::objectValue);
    if (!m_vecSingleKeyVal.empty())
        root["SingleKey_result"] = KeyValArray(m_vecSingleKeyVal);
    if (!m_vecKeyValNamedEntity.empty())
        root["NamedEntity_result"] = KeyValArray(m_vecKeyValNamedEntity);
    if (!m_vecTuple.empty())
        root["Tuples"] = TupleJson();
    if (!m_vecTable.empty())
        root["Tables"] = TableJson()["Tables"];
    return JsonText(root);
}
