// Result printing shared by "check", "recheck" and "show".
#include "ResultSummary.h"

#include <cstdio>
#include <json/json.h>
#include <sstream>

namespace {

std::string Text(const Json::Value& value)
{
    if (value.isString())
        return value.asString();
    if (value.isNumeric())
        return value.toStyledString().substr(0, value.toStyledString().find('\n'));
    return std::string();
}

// Long paragraph texts are cut at a character boundary for the terminal.
std::string Clip(const std::string& sText, size_t nMaxBytes)
{
    if (sText.size() <= nMaxBytes)
        return sText;
    size_t nCut = nMaxBytes;
    while (nCut > 0 && (static_cast<unsigned char>(sText[nCut]) & 0xC0) == 0x80)
        --nCut;
    return sText.substr(0, nCut) + "…";
}

void PrintStatistics(const Json::Value& stat)
{
    unsigned nCount = stat["TotalCount"].asUInt();
    std::printf("score:     %.2f / 100  (%u finding%s)\n", stat["TotalScore"].asDouble(), nCount, nCount == 1 ? "" : "s");
    if (stat["records"].empty())
        return;
    std::printf("\nfindings per code:\n  %-8s %6s %9s  %s\n", "code", "count", "deducted", "message");
    for (const auto& record : stat["records"])
        std::printf("  %-8s %6d %9.2f  %s\n", record["errorno"].asCString(), record["count"].asInt(),
                    record["score"].asDouble(), record["errormsg"].asCString());
}

void PrintFinding(const Json::Value& finding)
{
    std::printf("  %s  p.%-3s %-7s %s\n", finding["paraId"].asCString(), Text(finding["page_num"]).c_str(),
                finding["errorno"].asCString(), finding["errormsg"].asCString());
    std::string sOrg = finding["OrgStr"].asString();
    std::string sNew = finding["NewStr"].asString();
    if (!sOrg.empty() || !sNew.empty())
        std::printf("            %s: \"%s\" -> \"%s\"\n", finding["field"].asCString(), Clip(sOrg, 120).c_str(),
                    Clip(sNew, 120).c_str());
}

}  // namespace

bool ParseResultJson(const char* sJson, Json::Value& result)
{
    if (!sJson)
        return false;
    std::istringstream in(sJson);
    return Json::parseFromStream(Json::CharReaderBuilder(), in, &result, nullptr) && result.isObject();
}

std::string JsonResultFile(const Json::Value& result)
{
    std::string sWork = result["docxPath"].asString();
    size_t nSlash = sWork.find_last_of('/');
    std::string sFolder = nSlash == std::string::npos ? "." : sWork.substr(0, nSlash);
    return sFolder + "/" + result["docxFile"].asString() + "_Check.json";
}

bool IsCheckResult(const Json::Value& result)
{
    return result.isObject() && result["Statistics"].isObject() && result["Statistics"].isMember("TotalScore");
}

void PrintResultSummary(const Json::Value& result, const std::string& sResultFile, const std::string& sDocument)
{
    std::string sShown = sDocument;
    if (sShown.empty()) {
        // The result names the document's working folder; its files lie beside it.
        std::string sFolder = result["docxPath"].asString();
        size_t nSlash = sFolder.find_last_of('/');
        sFolder = nSlash == std::string::npos ? "." : sFolder.substr(0, nSlash);
        sShown = sFolder + "/" + result["docxFile"].asString();
    }
    std::printf("document:  %s  (report type %s)\n", sShown.c_str(), Text(result["reportType"]).c_str());
    PrintStatistics(result["Statistics"]);
    const Json::Value& errors = result["Errors"];
    if (!errors.empty()) {
        std::printf("\nfindings (paragraph, page, code, message):\n");
        for (const auto& finding : errors)
            PrintFinding(finding);
    }
    if (!sResultFile.empty())
        std::printf("\nresult file: %s\n", sResultFile.c_str());
}
