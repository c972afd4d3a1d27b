// End to end with the shipped contract rules (report type 3): a hand-made
// contract checks clean, and each fault written into it gives exactly its
// own finding — a capital amount that disagrees with the digits, items that
// do not add up to the total, a party named two ways, an invalid identity
// number, a signing date that does not exist. The same fault in a GBK text
// file gives the same finding.
#include <gtest/gtest.h>

#include <json/json.h>

#include <string>

#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

const char* const kContract =
    "技术服务合同\n"
    "甲方（委托方）：南京青禾数据科技有限公司\n"
    "统一社会信用代码：91320000710929340E\n"
    "联系电话：025-86835555\n"
    "乙方（受托方）：杭州远山信息技术有限公司\n"
    "法定代表人：王明，身份证号码：11010519491231002X\n"
    "开户银行：中国工商银行杭州分行，账号：6222 0202 0000 1234 567\n"
    "合同总价为人民币360万元（大写：叁佰陆拾万元整），其中：设计费60万元，实施费280万元，暂列金额20万元。\n"
    "总工期360天，自2023年3月1日至2024年2月24日。\n"
    "签订日期：2023年2月10日\n"
    "甲方：南京青禾数据科技有限公司\n"
    "乙方：杭州远山信息技术有限公司\n";

std::string Replace(std::string s, const std::string& sFrom, const std::string& sTo)
{
    size_t n = s.rfind(sFrom);
    if (n != std::string::npos)
        s.replace(n, sFrom.size(), sTo);
    return s;
}

class ContractAuditTest : public CLibraryTest {
protected:
    std::string Check(const std::string& sText)
    {
        return Findings(VESKAR_CheckReportM(sText.c_str(), "", "", 3, 1, false, 0));
    }
};

TEST_F(ContractAuditTest, CleanContractHasNoFinding)
{
    EXPECT_EQ(Check(kContract), "");
}

TEST_F(ContractAuditTest, EachFaultGivesExactlyItsFinding)
{
    struct {
        const char* from;
        const char* to;
        const char* expected;
    } cases[] = {
        {"叁佰陆拾万元整", "叁佰伍拾万元整", "11.1:360万元;"},
        {"暂列金额20万元", "暂列金额30万元", "1000:3700000;"},
        {"乙方：杭州远山信息技术有限公司", "乙方：杭州远山信息科技有限公司", "3.1:杭州远山信息科技有限公司;"},
        {"11010519491231002X", "110105194912310021", "99.2:110105194912310021;"},
        {"2023年2月10日", "2023年2月30日", "99.1:2023年2月30日;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(Replace(kContract, c.from, c.to)), c.expected) << c.from << " -> " << c.to;
}

TEST_F(ContractAuditTest, DurationInDaysIsTaken)
{
    // The construction period stated twice, differently.
    std::string sText = std::string(kContract) + "本项目总工期300天。\n";
    EXPECT_EQ(Check(sText), "3.1:300天;");
}

TEST_F(ContractAuditTest, GbkTextFileGivesTheSameFinding)
{
    std::string sFaulty = Replace(kContract, "叁佰陆拾万元整", "叁佰伍拾万元整");
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk(sFaulty, sGbk));
    std::string sUtf8File = m_docs.File("utf8.txt"), sGbkFile = m_docs.File("gbk.txt");
    ASSERT_TRUE(WriteTestFile(sUtf8File, sFaulty));
    ASSERT_TRUE(WriteTestFile(sGbkFile, sGbk));
    std::string sUtf8Result = Findings(VESKAR_CheckReportF(sUtf8File.c_str(), "", "", 3, 1, false, 0));
    EXPECT_EQ(Findings(VESKAR_CheckReportF(sGbkFile.c_str(), "", "", 3, 1, false, 0)), sUtf8Result);
    EXPECT_EQ(sUtf8Result, "11.1:360万元;");
}

}  // namespace
