// Where a check spends its time: `veskar check` stage by stage (parse, rule
// scan, audit, format check, HTML marks, result file) with the default rule
// sets, on the largest thesis of the corpus (type 7) and on a generated
// contract of about 200 paragraphs (type 3). Prints the median of each stage
// over the runs and the audit stage's share of the whole check.
//
// usage: CheckStagesBench [RUNS] [THESIS.docx]
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "Utility/FileUtility.h"
#include "veskar.h"

namespace {

const char* const kStages[] = {"parse", "rule_scan", "audit", "format", "marks", "output", "total"};

// The clause with each "#" replaced by the next number.
std::string FillNumbers(const char* sClause, std::initializer_list<int> numbers)
{
    std::string sOut;
    auto it = numbers.begin();
    for (const char* p = sClause; *p; ++p) {
        if (*p == '#' && it != numbers.end())
            sOut += std::to_string(*it++);
        else
            sOut += *p;
    }
    return sOut;
}

// Clauses a real service contract is made of; repeated with the numbers
// changed they make a long contract whose parties, amounts, dates and
// identity numbers every default contract rule looks at.
std::string LongContract(int nParagraphs)
{
    std::string sText =
        "技术服务合同\n"
        "甲方（委托方）：南京青禾数据科技有限公司\n"
        "统一社会信用代码：91320000710929340E\n"
        "乙方（受托方）：杭州远山信息技术有限公司\n"
        "法定代表人：王明，身份证号码：11010519491231002X\n"
        "合同总价为人民币360万元（大写：叁佰陆拾万元整），其中：设计费60万元，实施费280万元，暂列金额20万元。\n";
    static const char* const kClauses[] = {
        "第#条 乙方应于2023年3月#日前完成第#阶段的需求调研，并向甲方提交调研报告。",
        "第#条 甲方应在收到乙方发票后#个工作日内支付第#期款项，逾期按日万分之五支付违约金。",
        "第#条 本阶段服务费为人民币#万元，乙方开具增值税专用发票，税率为百分之#。",
        "第#条 双方联系人：甲方张华，联系电话：025-8683#；乙方李强，联系电话：0571-8765#。",
        "第#条 乙方派驻现场的技术人员不少于#人，驻场期限为#个月，期间不得擅自更换。",
        "第#条 因乙方原因导致工期延误的，每延误一天，乙方应向甲方支付合同总价千分之#的违约金，累计不超过#%。",
        "第#条 任何一方对本合同内容负有保密义务，保密期限自合同签订之日起#年，违约方应赔偿#万元。",
        "第#条 本合同未尽事宜，由甲乙双方协商解决；协商不成的，提交南京仲裁委员会仲裁，仲裁费#元由败诉方承担#%。",
    };
    for (int i = 0; i < nParagraphs; ++i)
        sText += FillNumbers(kClauses[i % 8], {i + 1, 1 + i % 28, 1 + i % 9}) + "\n";
    sText +=
        "总工期360天，自2023年3月1日至2024年2月24日。\n"
        "签订日期：2023年2月10日\n"
        "甲方：南京青禾数据科技有限公司\n"
        "乙方：杭州远山信息技术有限公司\n";
    return sText;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool Measure(const std::string& sName, const std::string& sFile, int nType, int nRuns)
{
    std::map<std::string, std::vector<double>> mapTimes;
    for (int i = 0; i < nRuns; ++i) {
        if (!VESKAR_CheckReportF(sFile.c_str(), "", "", nType, 0, false, 0)) {
            std::fprintf(stderr, "cannot check %s: %s\n", sFile.c_str(), VESKAR_GetLastErrorMsg());
            return false;
        }
        Json::Value timing;
        const char* sJson = VESKAR_GetCheckTiming(0);
        if (!sJson || !Json::Reader().parse(sJson, timing))
            return false;
        for (const char* sStage : kStages)
            mapTimes[sStage].push_back(timing[sStage].asDouble());
    }
    double fTotal = Median(mapTimes["total"]);
    std::printf("%s (type %d, median of %d runs, ms):\n", sName.c_str(), nType, nRuns);
    for (const char* sStage : kStages) {
        double fMs = Median(mapTimes[sStage]);
        std::printf("  %-10s %9.2f  %5.1f%%\n", sStage, fMs, fTotal > 0 ? 100 * fMs / fTotal : 0.0);
    }
    double fAudit = Median(mapTimes["audit"]);
    double fScanAudit = Median(mapTimes["rule_scan"]) + fAudit;
    std::printf("  audit stage %.1f%% of the check (target under 10%%); rule scan + audit %.1f%%\n\n",
                fTotal > 0 ? 100 * fAudit / fTotal : 0.0, fTotal > 0 ? 100 * fScanAudit / fTotal : 0.0);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int nRuns = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    std::string sThesis = argc > 2 ? argv[2]
                                   : std::string(VESKAR_BENCH_CORPUS_DIR) +
                                         "/szu-laiweijian/朱方平-毕设论文-20170517.docx";
    char sTemplate[] = "/tmp/veskar-stages-XXXXXX";
    if (!mkdtemp(sTemplate))
        return 1;
    const std::string sDir = sTemplate;
    if (VESKAR_Init(VESKAR_BENCH_INIT_DIR) != 1) {
        std::fprintf(stderr, "cannot start on %s: %s\n", VESKAR_BENCH_INIT_DIR, VESKAR_GetLastErrorMsg());
        return 1;
    }
    std::string sData;
    bool bOk = ReadWholeFile(sThesis, sData) && WriteFileAtomic(sDir + "/thesis.docx", sData) &&
               WriteFileAtomic(sDir + "/contract.txt", LongContract(200));
    if (!bOk)
        std::fprintf(stderr, "cannot copy %s or write the contract into %s\n", sThesis.c_str(), sDir.c_str());
    else
        bOk = Measure("thesis " + sThesis, sDir + "/thesis.docx", 7, nRuns) &&
              Measure("contract of 200 clauses", sDir + "/contract.txt", 3, nRuns);
    VESKAR_Exit();
    std::error_code error;
    std::filesystem::remove_all(sDir, error);
    return bOk ? 0 : 1;
}
