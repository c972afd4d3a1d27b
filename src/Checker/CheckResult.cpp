// Findings are kept in arrival order and sorted lazily; both outputs and both
// readers sort, drop repeats and rebuild the statistics first.
#include "Checker/CheckResult.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <json/json.h>
#include <memory>
#include <strings.h>

#include "Checker/ResultDocument.h"
#include "Utility/Blanks.h"
#include "Utility/FileUtility.h"
#include "Utility/ID2Message.h"
#include "Utility/Log.h"
#include "Utility/XmlText.h"

namespace {

// Cuts trailing blanks so that at most one of them remains.
void TrimTrailingBlanks(std::string& sText)
{
    size_t nLast = sText.find_last_not_of(kBlankChars);
    size_t nKeep = nLast == std::string::npos ? 1 : nLast + 2;
    if (sText.size() > nKeep)
        sText.resize(nKeep);
}

float CatalogueScore(const CID2Message* pCatalogue, const std::string& sCode, float& fMax)
{
    fMax = 0;
    return pCatalogue ? pCatalogue->GetScore(sCode.c_str(), fMax) : 0;
}

std::string CatalogueText(const CID2Message* pCatalogue, const std::string& sCode)
{
    if (!pCatalogue)
        return "Wrong text id " + sCode;
    return pCatalogue->GetText(sCode.c_str());
}

// Scores are floats; printing them through their shortest decimal form keeps
// 0.3 from appearing as 0.30000001192092896 in JSON.
double JsonFloat(float fValue)
{
    char sBuf[32];
    std::snprintf(sBuf, sizeof sBuf, "%g", static_cast<double>(fValue));
    return std::strtod(sBuf, nullptr);
}

std::string Format(const char* sFormat, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* sFormat, ...)
{
    char sBuf[256];
    va_list args;
    va_start(args, sFormat);
    std::vsnprintf(sBuf, sizeof sBuf, sFormat, args);
    va_end(args);
    return sBuf;
}

bool HasJsonExtension(const std::string& sPath)
{
    size_t nDot = sPath.find_last_of('.');
    return nDot != std::string::npos && strcasecmp(sPath.c_str() + nDot + 1, "json") == 0;
}

}  // namespace

void CCheckResult::AddResult(_tCheckResult& check_result)
{
    TrimTrailingBlanks(check_result.org_str);
    bool bBlank = check_result.org_str.find_first_not_of(kBlankChars) == std::string::npos;
    bool bDrop = (bBlank && check_result.field_id == FIELD_FONT) ||
                 (check_result.revise_type == REVISE_U && !check_result.new_str.empty() &&
                  check_result.new_str == check_result.org_str);
    if (!bDrop) {
        if (check_result.error_msg.empty())
            check_result.error_msg = CatalogueText(m_pCatalogue, check_result.error_id);
        m_vecResult.push_back(check_result);
        m_bSort = false;
    }
    check_result.Reset();
}

void CCheckResult::SortResult()
{
    m_nErrCount = 0;
    if (!m_bSort)
        std::sort(m_vecResult.begin(), m_vecResult.end());
    m_mapErrId2FreqScore.clear();
    m_mapChapID2freq.clear();
    for (size_t i = m_vecResult.size(); i-- > 0;) {
        if (i > 0 && m_vecResult[i] == m_vecResult[i - 1]) {
            m_vecResult.erase(m_vecResult.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++m_mapErrId2FreqScore[m_vecResult[i].error_id].freq;
        if (m_pDocParser) {
            uint32_t nChapter = ResultChapterOf(m_pDocParser, m_vecResult[i].para_id);
            if (nChapter != 0)
                ++m_mapChapID2freq[nChapter];
        }
        ++m_nErrCount;
    }
    m_bSort = true;
}

void CCheckResult::Reset()
{
    m_vecResult.clear();
    m_bSort = false;
}

size_t CCheckResult::Remove(const char* sErrNo)
{
    std::string sCode = sErrNo ? sErrNo : "";
    size_t nBefore = m_vecResult.size();
    m_vecResult.erase(std::remove_if(m_vecResult.begin(), m_vecResult.end(),
                                     [&](const _tCheckResult& r) { return r.error_id == sCode; }),
                      m_vecResult.end());
    return nBefore - m_vecResult.size();
}

void CCheckResult::ComputeScores()
{
    for (auto& item : m_mapErrId2FreqScore) {
        float fMax = 0;
        float fEach = CatalogueScore(m_pCatalogue, item.first, fMax);
        float fScore = static_cast<float>(item.second.freq) * fEach;
        item.second.score = fScore > fMax ? fMax : fScore;
    }
}

float CCheckResult::TotalScore() const
{
    float fSum = 0;
    for (const auto& item : m_mapErrId2FreqScore)
        fSum += item.second.score;
    float fTotal = 100 - fSum;
    return fTotal < 0 ? 0 : fTotal;
}

void CCheckResult::Prepare(const char* sPath, const char* sFilename, int nType, const char* sURLPrefix,
                           CDocxParser* pDocxParser)
{
    m_pDocParser = pDocxParser;
    m_sURLPrefix = sURLPrefix ? sURLPrefix : "";
    m_sPath = sPath ? sPath : "";
    m_sFilename = sFilename ? sFilename : "";
    m_nReportType = nType;
    SortResult();
    ComputeScores();
}

std::string CCheckResult::StatisticsXml() const
{
    std::string sXml = Format("<Statistics>\r\n<TotalCount>%d</TotalCount>\r\n<ErrorTypeCount>%zd</ErrorTypeCount>\r\n",
                              static_cast<int>(m_nErrCount), m_mapErrId2FreqScore.size());
    for (const auto& item : m_mapErrId2FreqScore) {
        float fMax = 0;
        float fEach = CatalogueScore(m_pCatalogue, item.first, fMax);
        sXml += "<record>\r\n<errorno>" + XmlEscape(item.first) + "</errorno>\r\n<errormsg>" +
                XmlEscape(CatalogueText(m_pCatalogue, item.first)) + "</errormsg>\r\n";
        sXml += Format("<count>%d</count>\r\n<each_score>%.2f</each_score>\r\n<max_score>%.2f</max_score>\r\n"
                       "<score>%.2f</score>\r\n</record>\r\n",
                       item.second.freq, static_cast<double>(fEach), static_cast<double>(fMax),
                       static_cast<double>(item.second.score));
    }
    sXml += Format("<TotalScore>%.2lf</TotalScore>\r\n</Statistics>\r\n", static_cast<double>(TotalScore()));
    return sXml;
}

std::string CCheckResult::ChaptersXml() const
{
    std::string sXml = Format("<ChapterStat>\r\n<ChapterCount>%zd</ChapterCount>\r\n", m_mapChapID2freq.size());
    for (const auto& item : m_mapChapID2freq) {
        sXml += Format("<chapter>\r\n<paraId>%08X</paraId>\r\n<text>", item.first);
        sXml += XmlEscape(ResultParagraphText(m_pDocParser, item.first));
        sXml += Format("</text>\r\n<error_count>%d</error_count>\r\n</chapter>\r\n", item.second);
    }
    return sXml + "</ChapterStat>\r\n";
}

void CCheckResult::TemplateKeys(std::string& sOrganization, std::string& sArea, std::string& sArgu) const
{
    if (m_pDocParser) {
        ResultTemplateKeys(m_pDocParser, sOrganization, sArea, sArgu);
        return;
    }
    sOrganization = m_sReadKeys[0];
    sArea = m_sReadKeys[1];
    sArgu = m_sReadKeys[2];
}

const char* CCheckResult::GetResult(const char* sPath, const char* sFilename, int nType, const char* sURLPrefix,
                                    CDocxParser* pDocxParser)
{
    Prepare(sPath, sFilename, nType, sURLPrefix, pDocxParser);
    std::string sOrg, sArea, sArgu;
    TemplateKeys(sOrg, sArea, sArgu);
    std::string sXml = "<CheckResults>\r\n";
    sXml += "<docxPath>" + XmlEscape(m_sPath) + "</docxPath>\r\n<docxFile>" + XmlEscape(m_sFilename) +
            "</docxFile>\r\n" + Format("<reportType>%d</reportType>\r\n", m_nReportType);
    sXml += "<url_prefix>" + XmlEscape(m_sURLPrefix) + "</url_prefix>\r\n";
    sXml += "<template_organization>" + XmlEscape(sOrg) + "</template_organization>\r\n<template_area>" +
            XmlEscape(sArea) + "</template_area>\r\n<template_argu>" + XmlEscape(sArgu) + "</template_argu>\r\n";
    sXml += StatisticsXml() + ChaptersXml() + "<Errors>\r\n";
    for (const auto& record : m_vecResult)
        record.output(sXml);
    sXml += "</Errors>\r\n</CheckResults>\r\n";
    m_sResult.swap(sXml);
    return m_sResult.c_str();
}

const char* CCheckResult::GetResultJson(const char* sPath, const char* sFilename, int nType,
                                        const char* sURLPrefix, CDocxParser* pDocxParser)
{
    Prepare(sPath, sFilename, nType, sURLPrefix, pDocxParser);
    std::string sOrg, sArea, sArgu;
    TemplateKeys(sOrg, sArea, sArgu);
    Json::Value root(Json::objectValue);
    root["docxPath"] = m_sPath;
    root["docxFile"] = m_sFilename;
    root["url_prefix"] = m_sURLPrefix;
    root["reportType"] = m_nReportType;
    root["template_organization"] = sOrg;
    root["template_area"] = sArea;
    root["template_argu"] = sArgu;
    Json::Value errors(Json::arrayValue);
    for (const auto& record : m_vecResult) {
        Json::Value item(Json::objectValue);
        record.outputJson(item);
        errors.append(item);
    }
    root["Errors"] = errors;
    Json::Value stat(Json::objectValue);
    stat["TotalCount"] = m_nErrCount;
    stat["ErrorTypeCount"] = m_nErrCount;
    Json::Value records(Json::arrayValue);
    for (const auto& item : m_mapErrId2FreqScore) {
        float fMax = 0;
        float fEach = CatalogueScore(m_pCatalogue, item.first, fMax);
        Json::Value record(Json::objectValue);
        record["errorno"] = item.first;
        record["count"] = item.second.freq;
        record["errormsg"] = CatalogueText(m_pCatalogue, item.first);
        record["each_score"] = JsonFloat(fEach);
        record["max_score"] = JsonFloat(fMax);
        record["score"] = JsonFloat(item.second.score);
        records.append(record);
    }
    stat["records"] = records;
    stat["TotalScore"] = JsonFloat(TotalScore());
    root["Statistics"] = stat;
    Json::Value chapters(Json::objectValue);
    chapters["ChapterCount"] = static_cast<Json::UInt64>(m_mapChapID2freq.size());
    Json::Value list(Json::arrayValue);
    for (const auto& item : m_mapChapID2freq) {
        Json::Value chapter(Json::objectValue);
        chapter["paraId"] = Format("%08X", item.first);
        chapter["text"] = ResultParagraphText(m_pDocParser, item.first);
        chapter["error_count"] = item.second;
        list.append(chapter);
    }
    chapters["chapter"] = list;
    root["ChapterStat"] = chapters;
    Json::StreamWriterBuilder builder;
    builder["emitUTF8"] = true;  // Chinese text stays readable in the file
    m_sResult = Json::writeString(builder, root);
    return m_sResult.c_str();
}

int CCheckResult::Import(const char* sXMLFile)
{
    std::string sPath = sXMLFile ? sXMLFile : "";
    if (HasJsonExtension(sPath))
        return ImportJsonFile(sPath.c_str());
    std::string sText;
    if (!ReadWholeFile(sPath, sText)) {
        SetLastError("Failed Read file " + sPath);
        return -1;
    }
    if (ImportXmlText(sText) != 1) {
        SetLastError("Not a check result: " + sPath);
        return -1;
    }
    return 1;
}

int CCheckResult::ImportXmlText(const std::string& sXml)
{
    // Any other XML (or text) would otherwise read as a result without a
    // finding, scoring 100.
    if (sXml.find("<CheckResults>") == std::string::npos)
        return -1;
    std::string sValue;
    m_sPath = XmlElementText(sXml, "docxPath", 0, sXml.size(), sValue) ? sValue : "";
    m_sFilename = XmlElementText(sXml, "docxFile", 0, sXml.size(), sValue) ? sValue : "";
    m_sURLPrefix = XmlElementText(sXml, "url_prefix", 0, sXml.size(), sValue) ? sValue : "";
    m_nReportType = XmlElementText(sXml, "reportType", 0, sXml.size(), sValue) ? std::atoi(sValue.c_str()) : 0;
    static const char* const kKeys[] = {"template_organization", "template_area", "template_argu"};
    for (int k = 0; k < 3; ++k)
        m_sReadKeys[k] = XmlElementText(sXml, kKeys[k], 0, sXml.size(), sValue) ? sValue : "";
    m_vecResult.clear();
    for (size_t nPos = sXml.find("<check>"); nPos != std::string::npos; nPos = sXml.find("<check>", nPos + 7)) {
        _tCheckResult record;
        record.input(sXml.c_str() + nPos, false);
        m_vecResult.push_back(record);
    }
    m_bSort = false;
    m_pDocParser = nullptr;
    SortResult();
    return 1;
}

int CCheckResult::ImportJsonFile(const char* sJsonFile)
{
    std::string sPath = sJsonFile ? sJsonFile : "";
    std::string sText;
    if (!ReadWholeFile(sPath, sText)) {
        SetLastError("Failed Read file " + sPath);
        return -1;
    }
    if (ImportJsonText(sText) != 1) {
        SetLastError("Failed Read file " + sPath);
        return -1;
    }
    return 1;
}

int CCheckResult::ImportJsonText(const std::string& sJson)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    if (!reader->parse(sJson.data(), sJson.data() + sJson.size(), &root, nullptr) || !root.isObject() ||
        !root.isMember("Errors"))
        return -1;
    m_sPath = root["docxPath"].isString() ? root["docxPath"].asString() : "";
    m_sFilename = root["docxFile"].isString() ? root["docxFile"].asString() : "";
    m_sURLPrefix = root["url_prefix"].isString() ? root["url_prefix"].asString() : "";
    static const char* const kKeys[] = {"template_organization", "template_area", "template_argu"};
    for (int k = 0; k < 3; ++k)
        m_sReadKeys[k] = root[kKeys[k]].isString() ? root[kKeys[k]].asString() : "";
    const Json::Value& type = root["reportType"];
    m_nReportType = type.isInt() ? type.asInt() : (type.isString() ? std::atoi(type.asCString()) : 0);
    m_vecResult.clear();
    for (const Json::Value& item : root["Errors"]) {
        _tCheckResult record;
        record.inputJson(item);
        m_vecResult.push_back(record);
    }
    m_bSort = false;
    m_pDocParser = nullptr;
    SortResult();
    return 1;
}
