// The rules of one report type edited while documents of another type are
// checked, by threads of their own and by a batch: the checks give exactly
// the findings they give alone, and the edits all land. Run under
// ThreadSanitizer with the concurrency suites.
#include <gtest/gtest.h>

#include <json/json.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

// A contract with a wrong capital amount and a date that does not exist, so
// the type-3 checks have findings to agree on.
const char* const kContract =
    "技术服务合同\n"
    "甲方（委托方）：南京青禾数据科技有限公司\n"
    "乙方（受托方）：杭州远山信息技术有限公司\n"
    "身份证号码：11010519491231002X\n"
    "合同总价为人民币360万元（大写：叁佰伍拾万元整），其中：设计费60万元，实施费280万元，暂列金额20万元。\n"
    "总工期360天，自2023年3月1日至2024年2月24日。\n"
    "签订日期：2023年2月30日\n"
    "甲方：南京青禾数据科技有限公司\n"
    "乙方：杭州远山信息技术有限公司\n";

const int kEditedType = 1;

// Rules whose words are nowhere in the contract, so edits of the other type
// cannot change how the contract reads.
std::string ExtractionRule(int n)
{
    return "{\"no\":\"88." + std::to_string(n) + "\",\"name\":\"勘探资质" + std::to_string(n) +
           "\",\"rule\":\"{[勘探资质]+[/wm]}{[-(/w)]8+[证书]}\",\"action\":\"extract\",\"field\":\"text\","
           "\"argument\":\"survey_cert|勘探资质\",\"credit\":0}";
}

std::string AuditRule(int n)
{
    return "{\"no\":\"B" + std::to_string(n) + "\",\"name\":\"勘探资质必填\",\"rule\":\"audit_not_null\","
           "\"arguments\":\"\",\"field\":\"survey_cert\",\"credit\":0}";
}

// Every kind of rule change, on kEditedType, for as long as bRun holds;
// each change must succeed. nRound counts the rounds done.
void EditRules(const std::atomic<bool>& bRun, std::atomic<int>& nRound, std::string& sFailure)
{
    auto fail = [&](const std::string& sWhat) {
        if (sFailure.empty())
            sFailure = sWhat + ": " + VESKAR_GetLastErrorMsg();
    };
    const std::string sSource = "<item>\n<no>1</no><name>勘探单位</name><rule>{[勘探单位]+[/wm]}{[-(/w)]12+[公司]}</rule>"
                                "<action>extract</action><field>text</field><argument>survey_unit|勘探单位</argument>\n"
                                "</item>\n<audits>\n<audit><no>B0</no><name>x</name><rule>audit_not_null</rule>"
                                "<field>survey_unit</field></audit>\n</audits>\n";
    do {
        if (VESKAR_ImportRUXRulesFromMem(sSource.c_str(), true, kEditedType) != 1)
            fail("import");
        int nRule = RUX_AddRule(ExtractionRule(nRound).c_str(), kEditedType);
        if (nRule < 0 || RUX_EditRule(nRule, ExtractionRule(nRound + 1000).c_str(), kEditedType) != nRule)
            fail("extraction rule add or edit");
        int nAudit = Audit_AddRule(AuditRule(nRound).c_str(), kEditedType);
        if (nAudit < 0 || Audit_EditRule(nAudit, AuditRule(nRound + 1000).c_str(), kEditedType) != nAudit)
            fail("audit rule add or edit");
        if (VESKAR_AddAuditRule("<audit><no>B9</no><name>y</name><rule>audit_unique</rule>"
                                "<field>survey_unit</field></audit>", kEditedType) < 0)
            fail("audit item add");
        if (Audit_DelRule(nAudit, kEditedType) != 1 || RUX_DelRule(nRule, kEditedType) != 1)
            fail("delete");
        Audit_GetRuleListId(kEditedType);
        VESKAR_GetReportTypes();
        ++nRound;
    } while (bRun);
}

class RuleEditWhileChecking : public CLibraryTest {
protected:
    void SetUp() override
    {
        CLibraryTest::SetUp();
        m_sExpected = Findings(VESKAR_CheckReportM(kContract, "", "", VESKAR_REPORT_CONTRACT, 1, false, 0));
        ASSERT_NE(m_sExpected.find("99.1:2023年2月30日;"), std::string::npos) << m_sExpected;
    }
    std::string m_sExpected;
};

TEST_F(RuleEditWhileChecking, ThreadsCheckingAnotherTypeSeeTheSameFindings)
{
    const int kThreads = 2;
    const int kChecks = 4;
    std::atomic<int> nRounds {0};
    std::atomic<int> nRunning {kThreads};
    std::atomic<bool> bRun {true};
    std::mutex mutex;
    std::vector<std::string> vecWrong;
    std::vector<std::thread> checkers;
    for (int t = 0; t < kThreads; ++t) {
        checkers.emplace_back([&] {
            int nHandle = VESKAR_NewInstance();
            // Checks go on until several rounds of edits ran beside them.
            for (int i = 0; i < kChecks || nRounds < 3; ++i) {
                std::string sGot =
                    Findings(VESKAR_CheckReportM(kContract, "", "", VESKAR_REPORT_CONTRACT, 1, false, nHandle));
                if (sGot != m_sExpected) {
                    std::lock_guard<std::mutex> lock(mutex);
                    vecWrong.push_back(sGot);
                }
            }
            VESKAR_DeleteInstance(nHandle);
            if (--nRunning == 0)
                bRun = false;
        });
    }
    std::string sFailure;
    EditRules(bRun, nRounds, sFailure);
    for (std::thread& checker : checkers)
        checker.join();
    EXPECT_TRUE(vecWrong.empty()) << (vecWrong.empty() ? "" : vecWrong.front()) << "\nexpected " << m_sExpected;
    EXPECT_EQ(sFailure, "");
    EXPECT_GT(nRounds, 0);
    // The edits landed: the import's rule is back at the front, adds were deleted.
    EXPECT_NE(std::string(RUX_GetRuleListId(kEditedType)).find("勘探单位"), std::string::npos);
    EXPECT_EQ(Findings(VESKAR_CheckReportM(kContract, "", "", VESKAR_REPORT_CONTRACT, 1, false, 0)), m_sExpected);
}

struct _tBatchSeen {
    std::mutex mutex;
    std::vector<std::string> vecFindings;
};

void RecordBatch(void* pHost, const char* /*sFile*/, size_t, size_t, const char* sResult, const char* sError)
{
    auto* pSeen = static_cast<_tBatchSeen*>(pHost);
    std::lock_guard<std::mutex> lock(pSeen->mutex);
    pSeen->vecFindings.push_back(sResult ? Findings(sResult) : std::string("failed: ") + (sError ? sError : ""));
}

TEST_F(RuleEditWhileChecking, BatchOfAnotherTypeSeesTheSameFindings)
{
    const int kFiles = 12;
    for (int i = 0; i < kFiles; ++i)
        ASSERT_TRUE(WriteFileAtomic(m_docs.File("contract" + std::to_string(i) + ".txt"), kContract));
    _tBatchSeen seen;
    std::atomic<bool> bRun {true};
    std::thread batch([&] {
        VESKAR_CheckReportDirEx(m_docs.Path().c_str(), "", VESKAR_REPORT_CONTRACT, 1, 2, RecordBatch, &seen);
        bRun = false;
    });
    std::string sFailure;
    std::atomic<int> nRounds {0};
    EditRules(bRun, nRounds, sFailure);
    batch.join();
    EXPECT_EQ(sFailure, "");
    ASSERT_EQ(seen.vecFindings.size(), static_cast<size_t>(kFiles));
    for (const std::string& sGot : seen.vecFindings)
        EXPECT_EQ(sGot, m_sExpected);
}

}  // namespace
