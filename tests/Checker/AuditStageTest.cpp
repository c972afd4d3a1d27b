// End to end: a contract text checked as a report type whose rules were
// imported through the exported functions; the capital amount that
// disagrees with the digits and the impossible signing date each give
// exactly their finding, and the same contract without them gives none.
#include <gtest/gtest.h>

#include <json/json.h>

#include <string>

#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

const char* const kRules =
    "<item><no>C1</no><rule>{[总价]}{[：;:]}{[/m]}s</rule><action>extract</action>"
    "<argument>contract_fee|合同总价</argument></item>\n"
    "<item><no>C2</no><rule>{[大写]}{[：;:]}{[-(/wj;/wd;/wf)]10}s</rule><action>extract</action>"
    "<argument>contract_feebig|大写金额</argument></item>\n"
    "<item><no>C3</no><rule>{[签订日期]}{[：;:]}{[/t;/m]3}s</rule><action>extract</action>"
    "<argument>sign_date|签订日期</argument></item>\n"
    "<audits>"
    "<audit><no>A1</no><name>金额大小写一致</name><rule>audit_num_chinese</rule>"
    "<field>contract_fee;contract_feebig</field></audit>\n"
    "<audit><no>A2</no><name>签订日期有效</name><rule>audit_date</rule><field>sign_date</field></audit>\n"
    "</audits>\n";

class AuditStageTest : public CLibraryTest {
protected:
    // Codes of the findings of a JSON result, in order, ";"-joined.
    static std::string Codes(const char* sJson)
    {
        Json::Value root;
        if (!sJson || !Json::Reader().parse(sJson, root))
            return "unreadable";
        std::string sCodes;
        for (const Json::Value& check : root["Errors"])
            sCodes += check["errorno"].asString() + ";";
        return sCodes;
    }
};

TEST_F(AuditStageTest, ContractFaultsGiveTheirFindings)
{
    ASSERT_EQ(VESKAR_ImportRUXRulesFromMem(kRules, true, 9), 1) << VESKAR_GetRuleMessages(9);
    const char* sFaulty = VESKAR_CheckReportM(
        "总价：120000元，大写：壹拾伍万元整。\n签订日期：2023年2月30日\n", "", "", 9, 1, false, 0);
    ASSERT_NE(sFaulty, nullptr);
    std::string sCodes = Codes(sFaulty);
    EXPECT_EQ(sCodes, "11.1;99.1;") << sFaulty;
    const char* sClean = VESKAR_CheckReportM(
        "总价：150000元，大写：壹拾伍万元整。\n签订日期：2023年2月28日\n", "", "", 9, 1, false, 0);
    EXPECT_EQ(Codes(sClean), "") << sClean;
}

TEST_F(AuditStageTest, RuleExportsWorkThroughTheManager)
{
    ASSERT_EQ(VESKAR_ImportRUXRulesFromMem(kRules, true, 9), 1);
    EXPECT_EQ(std::string(Audit_GetRuleListId(9)),
              "[{\"name\":\"金额大小写一致\",\"no\":\"A1\"},{\"name\":\"签订日期有效\",\"no\":\"A2\"}]");
    EXPECT_EQ(Audit_AddRule("{\"no\":\"A3\",\"rule\":\"audit_unique\",\"field\":\"contract_fee\"}", 9), 2);
    EXPECT_EQ(Audit_DelRule(7, 9), -1);
    EXPECT_EQ(Audit_EditRule(0, "{\"rule\":\"audit_unique contract_fee\"}", 9), -1);
    EXPECT_EQ(VESKAR_AddAuditRule("<audit><no>A4</no><rule>audit_date</rule><field>sign_date</field></audit>", 9), 3);
    EXPECT_NE(std::string(Audit_GetRuleInfo(3, 9)).find("\"no\":\"A4\""), std::string::npos);
    EXPECT_NE(std::string(VESKAR_GetReportTypes()).find("{\"audits\":4,\"rules\":3,\"type\":9}"), std::string::npos)
        << VESKAR_GetReportTypes();
    EXPECT_EQ(std::string(RUX_GetRuleListId(12)), "[]");
}

}  // namespace
