// The audit rules of a report type: compilation (not-null lists, the
// "Only One" refusal), the commands and expression rules run over values
// placed in the rule agent, the evaluator's precedence, tolerance and
// error messages, and the audit file's all-or-nothing load.
#include <gtest/gtest.h>

#include <json/json.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "RUX/AuditExpression.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "Utility/FileUtility.h"
#include "AgentFixture.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

// Extraction rules that only name the fields the audit rules use.
const char* const kFieldRules =
    "<item><no>F1</no><rule>{[金额]}{[/m]}s</rule><action>extract</action>"
    "<argument>amount|金额;price|单价</argument></item>\n"
    "<item><no>F2</no><rule>{[总价]}{[/m]}s</rule><action>extract</action>"
    "<argument>contract_fee|总价;contract_feebig|大写</argument></item>\n";

// The shared engine of the agent tests, with an audit processor per test.
class AuditTest : public AgentTest {
protected:
    void SetUp() override
    {
        m_pAudit = std::make_unique<CAudit>(s_pData->DataFile("").c_str(), 80 + s_nType++ % 10);
        ASSERT_EQ(m_pAudit->ImportFromMem((std::string(kFieldRules) + "<audits></audits>").c_str(), true), 1);
    }
    static std::string Json(const std::string& sRule, const std::string& sField = "",
                            const std::string& sArguments = "")
    {
        Json::Value root;
        root["no"] = "A";
        root["name"] = "test";
        root["rule"] = sRule;
        root["field"] = sField;
        root["arguments"] = sArguments;
        root["credit"] = 1;
        Json::StreamWriterBuilder builder;
        builder["emitUTF8"] = true;
        return Json::writeString(builder, root);
    }
    int Key(const char* sName) const { return m_pAudit->GetRUX()->GetKeyId(sName); }
    _tKeyVal Value(const char* sKey, const std::string& sValue, uint32_t nPara, uint32_t nOffset = 0) const
    {
        return _tKeyVal(Key(sKey), sValue, nPara, nOffset, "paragraph " + std::to_string(nPara), "F1");
    }
    // Runs the audit rules over single values.
    std::vector<_tAuditFailure> Run(const std::vector<_tKeyVal>& vecValues)
    {
        CAuditAgent agent(m_pAudit.get());
        agent.GetRUXAgent()->m_vecSingleKeyVal = vecValues;
        agent.CheckAllData();
        return agent.Failures();
    }

    static int s_nType;
    std::unique_ptr<CAudit> m_pAudit;
};
int AuditTest::s_nType = 0;

TEST_F(AuditTest, NotNullWithTwoFieldsAndOneArgument)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_not_null", "amount;price", "12.3").c_str()), 0);
    const std::vector<_tNotNullField>& vecFields = m_pAudit->GetNotNullFields();
    ASSERT_EQ(vecFields.size(), 2u);
    EXPECT_EQ(vecFields[0].code, "12.3");
    EXPECT_EQ(vecFields[1].code, "12.1");
    EXPECT_TRUE(m_pAudit->GetRules()[0].rules.empty());
    std::vector<_tAuditFailure> vecFailures = Run({Value("amount", "5", 1)});
    ASSERT_EQ(vecFailures.size(), 1u);
    EXPECT_EQ(vecFailures[0].code, "12.1");
    EXPECT_EQ(vecFailures[0].new_str, "price");
    EXPECT_EQ(vecFailures[0].para_id, 0xFFFFFFFFu);
}

TEST_F(AuditTest, CommandWithOtherWordsIsRefused)
{
    EXPECT_EQ(m_pAudit->AddItem(Json("audit_unique amount", "amount").c_str()), -1);
    ASSERT_EQ(m_pAudit->GetMessages().size(), 1u);
    EXPECT_NE(m_pAudit->GetMessages()[0].find("Only One RUX audit command is permitted. See audit_unique amount"),
              std::string::npos);
    EXPECT_EQ(m_pAudit->GetRuleOrgs().size(), 0u);
    EXPECT_EQ(m_pAudit->AddItem("{not json"), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Read RUX Infor Error!");
}

TEST_F(AuditTest, UniqueGivesOneFindingAtTheOddValue)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_unique", "amount").c_str()), 0);
    std::vector<_tAuditFailure> vecFailures = Run({Value("amount", "100", 3, 4), Value("amount", "200", 9, 2)});
    ASSERT_EQ(vecFailures.size(), 1u);
    EXPECT_EQ(vecFailures[0].code, "3.1");
    EXPECT_EQ(vecFailures[0].para_id, 9u);
    EXPECT_EQ(vecFailures[0].offset, 2u);
    EXPECT_EQ(vecFailures[0].org_str, "200");
    EXPECT_EQ(vecFailures[0].new_str, "100");
    EXPECT_EQ(vecFailures[0].new_para_id, 3u);
    EXPECT_EQ(vecFailures[0].revise, 'C');
    // The same amount written alike everywhere is fine; so is 100 against 100.00.
    EXPECT_TRUE(Run({Value("amount", "100", 3), Value("amount", "100.00", 9)}).empty());
}

TEST_F(AuditTest, NumberCheckProposesDigitsForChineseNumerals)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_num_check", "amount").c_str()), 0);
    std::vector<_tAuditFailure> vecFailures = Run({Value("amount", "一百二十天", 1), Value("amount", "120天", 2)});
    ASSERT_EQ(vecFailures.size(), 1u);
    EXPECT_EQ(vecFailures[0].code, "1.2.4");
    EXPECT_EQ(vecFailures[0].new_str, "120");
    EXPECT_EQ(vecFailures[0].para_id, 1u);
}

TEST_F(AuditTest, CapitalAmountAgainstDigits)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_num_chinese", "contract_fee").c_str()), 0);
    std::vector<_tAuditFailure> vecFailures = Run({Value("contract_fee", "123,456.78", 4),
                                                   Value("contract_feebig", "壹拾贰万叁仟肆佰伍拾陆元柒角捌分", 4),
                                                   Value("contract_fee", "2000000", 6),
                                                   Value("contract_feebig", "人民币贰佰伍拾万元整", 6)});
    ASSERT_EQ(vecFailures.size(), 1u);
    EXPECT_EQ(vecFailures[0].code, "11.1");
    EXPECT_EQ(vecFailures[0].para_id, 6u);
    EXPECT_EQ(vecFailures[0].org_str, "2000000");
    EXPECT_EQ(vecFailures[0].new_str, "2500000");
}

TEST_F(AuditTest, FalseExpressionGives1000WithTheRuleMessage)
{
    ASSERT_GE(m_pAudit->AddItem(Json("contract_fee = amount + price", "contract_fee", "总价应等于各项之和").c_str()), 0);
    std::vector<_tAuditFailure> vecFailures =
        Run({Value("contract_fee", "300", 5), Value("amount", "100", 5, 10), Value("price", "150", 5, 20)});
    ASSERT_EQ(vecFailures.size(), 1u);
    EXPECT_EQ(vecFailures[0].code, "1000");
    EXPECT_EQ(vecFailures[0].message, "总价应等于各项之和");
    EXPECT_EQ(vecFailures[0].org_str, "300");
    EXPECT_EQ(vecFailures[0].new_str, "250.00");
    EXPECT_TRUE(
        Run({Value("contract_fee", "250", 5), Value("amount", "100", 5, 10), Value("price", "150", 5, 20)}).empty());
}

TEST_F(AuditTest, DateIdentityAndCreditCodeCommands)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_date", "amount").c_str()), 0);
    ASSERT_GE(m_pAudit->AddItem(Json("audit_person_id", "price").c_str()), 0);
    ASSERT_GE(m_pAudit->AddItem(Json("audit_credit_code", "contract_feebig").c_str()), 0);
    std::vector<_tAuditFailure> vecFailures =
        Run({Value("amount", "2023年2月30日", 1), Value("amount", "2024年2月29日", 2),
             Value("price", "110105194912310021", 3), Value("price", "11010519491231002X", 4),
             Value("contract_feebig", "91350100M000100Y42", 5), Value("contract_feebig", "91350100M000100Y43", 6)});
    ASSERT_EQ(vecFailures.size(), 3u);
    EXPECT_EQ(vecFailures[0].code, "99.1");
    EXPECT_EQ(vecFailures[0].para_id, 1u);
    EXPECT_EQ(vecFailures[1].code, "99.2");
    EXPECT_EQ(vecFailures[1].para_id, 3u);
    EXPECT_EQ(vecFailures[2].code, "99.8");
    EXPECT_EQ(vecFailures[2].para_id, 5u);
}

// ---- the evaluator ----

struct _tCase {
    const char* sRule;
    int nExpected;
};

TEST_F(AuditTest, PrecedenceBracketsToleranceAndWords)
{
    const _tCase kCases[] = {
        {"1+2*3=7", 1},          {"(1+2)*3=9", 1},        {"[1+2]*3=9", 1},        {"10-4-3=3", 1},
        {"8/4/2=1", 1},          {"2*3+4*5=26", 1},       {"1=1.005", 1},          {"1=1.01", 0},
        {"1.005>1", 0},          {"1.01>1", 1},           {"2>=2.005", 1},         {"2<=1.995", 1},
        {"1!=1.008", 0},         {"1<2 and 2<3", 1},      {"1>2 or 2<3", 1},       {"1>2 or 2>3", 0},
        {"not 1>2", 1},          {"1+1=2 and not 2=3", 1}, {"integer 3.7=3", 1},   {"\"abc\" substr \"b\"", 1},
        {"\"abc\" not_substr \"b\"", 0}, {"\"b\" in \"a|b\"", 1}, {"\"c\" not_in \"a|b\"", 1}, {"1<2=1", 1},
        // Negative constants: a sign where no operand precedes, else subtraction.
        {"1 > -5", 1},           {"-2+5=3", 1},           {"(-2)*3=-6", 1},       {"3-2=1", 1},
        {"not -1>0", 1},         {"4 - -2 = 6", 1},
    };
    CAuditExpression::_tContext context;
    context.unitText = [this](const audit_rule_unit& unit) { return m_pAudit->GetUnitStr(unit); };
    context.fieldValue = [](int, std::string&) { return false; };
    context.tableSum = [](int, double&) { return false; };
    for (const _tCase& c : kCases) {
        int nIndex = m_pAudit->AddItem(Json(c.sRule).c_str());
        ASSERT_GE(nIndex, 0) << c.sRule;
        CAuditExpression expression;
        EXPECT_EQ(expression.Evaluate(m_pAudit->GetRules()[static_cast<size_t>(nIndex)].rules, c.sRule, context),
                  c.nExpected)
            << c.sRule << ": " << expression.Error();
    }
}

TEST_F(AuditTest, EvaluatorErrorMessages)
{
    struct _tError {
        const char* sRule;
        int nCode;
        std::string sMessage;
    };
    const _tError kErrors[] = {
        {"1+", -4, "Arithmetic computation needs two values @ 1+"},
        {"(1+2", -3, "Left bracket '(' or '[' connot matched @ (1+2"},
        {"1+2)", -1, "Invalid expression at )"},
        {"1 abc", -7, "Cannot get the final result. Invalid expression at 1 abc"},
        {"=1", -6, "Logic computation operand is not enough =1"},
        {"1 and", -6, "Logic computation operand is not enough 1 and"},
        {"sum amount>1", -2, "sum operator must be process table sum"},
        {"amount>1", -5, "Invalid value at amount"},
        {"\"x\"+1", -5, "Invalid value at x"},
    };
    CAuditExpression::_tContext context;
    context.unitText = [this](const audit_rule_unit& unit) { return m_pAudit->GetUnitStr(unit); };
    context.fieldValue = [](int, std::string&) { return false; };
    context.tableSum = [](int, double&) { return false; };
    for (const _tError& e : kErrors) {
        int nIndex = m_pAudit->AddItem(Json(e.sRule).c_str());
        ASSERT_GE(nIndex, 0) << e.sRule;
        CAuditExpression expression;
        EXPECT_EQ(expression.Evaluate(m_pAudit->GetRules()[static_cast<size_t>(nIndex)].rules, e.sRule, context),
                  e.nCode)
            << e.sRule;
        EXPECT_EQ(expression.Error(), e.sMessage) << e.sRule;
    }
}

// ---- the file ----

TEST_F(AuditTest, SavedRulesLoadBackAndCorruptFilesChangeNothing)
{
    ASSERT_GE(m_pAudit->AddItem(Json("audit_unique", "amount").c_str()), 0);
    ASSERT_GE(m_pAudit->AddItem(Json("amount > 0", "amount", "金额须为正").c_str()), 0);
    std::string sExport = m_pAudit->ExportText();
    CAudit reloaded(s_pData->DataFile("").c_str(), m_pAudit->GetType());
    ASSERT_EQ(reloaded.Load(), 1);
    EXPECT_EQ(reloaded.ExportText(), sExport);
    EXPECT_EQ(reloaded.RulesOfField(Key("amount")).size(), 2u);

    std::string sData;
    ASSERT_TRUE(ReadWholeFile(m_pAudit->AuditFile(), sData));
    std::vector<_tAuditRuleOrg> vecOrg;
    for (size_t nLen = 0; nLen < sData.size(); ++nLen)
        EXPECT_FALSE(CAudit::ParseFile(sData.substr(0, nLen), vecOrg)) << nLen;
    std::string sHuge = sData;
    sHuge[4] = '\x7f';  // a rule count far beyond the file
    EXPECT_FALSE(CAudit::ParseFile(sHuge, vecOrg));
    EXPECT_FALSE(CAudit::ParseFile(sData + "x", vecOrg));

    ASSERT_TRUE(WriteTestFile(m_pAudit->AuditFile(), sData.substr(0, sData.size() - 3)));
    EXPECT_EQ(reloaded.Load(), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Failed reading file " + m_pAudit->AuditFile());
    EXPECT_TRUE(reloaded.GetRuleOrgs().empty() || reloaded.GetRuleOrgs().size() == 2u);
}

// A type with audit rules but no extraction rules: the built-in keys
// ("sum") that a rule names resolve the same after a restart as before it.
TEST_F(AuditTest, BuiltInKeysOfASetWithoutExtractionRulesSurviveARestart)
{
    CTempDir dir;
    CAudit audit(dir.Path().c_str(), 3);
    ASSERT_EQ(audit.ImportFromMem("<audits><audit><no>A1</no><rule>audit_not_null</rule>"
                                  "<field>sum;party_a</field></audit></audits>",
                                  true),
              1);
    ASSERT_EQ(audit.GetNotNullFields().size(), 2u);
    EXPECT_GE(audit.GetNotNullFields()[0].id, 0);
    EXPECT_LT(audit.GetNotNullFields()[1].id, 0);
    CAudit reloaded(dir.Path().c_str(), 3);
    ASSERT_EQ(reloaded.Load(), 1);
    EXPECT_EQ(reloaded.ExportText(), audit.ExportText());
    EXPECT_EQ(reloaded.GetRUX()->GetKeyId("sum"), audit.GetRUX()->GetKeyId("sum"));
}

// A rule whose texts are all short takes fewer bytes than the size check
// once assumed (five sized strings and the credit); it must still load.
TEST_F(AuditTest, RuleWithShortTextsLoadsBack)
{
    std::vector<_tAuditRuleOrg> vecOrg(1);
    vecOrg[0].no = "A2";
    vecOrg[0].rule = "x";
    std::string sFile("\x01\0\0\0\x01\0\0\0", 8);
    for (const std::string* p : {&vecOrg[0].no, &vecOrg[0].name, &vecOrg[0].rule, &vecOrg[0].arguments,
                                 &vecOrg[0].field}) {
        uint64_t nLen = p->size();
        sFile.append(reinterpret_cast<const char*>(&nLen), sizeof nLen);
        sFile += *p;
    }
    sFile.append(4, '\0');
    ASSERT_EQ(sFile.size(), 8u + 5 * 8 + 3 + 4);
    std::vector<_tAuditRuleOrg> vecRead;
    ASSERT_TRUE(CAudit::ParseFile(sFile, vecRead));
    ASSERT_EQ(vecRead.size(), 1u);
    EXPECT_EQ(vecRead[0].no, "A2");
    EXPECT_EQ(vecRead[0].rule, "x");
    EXPECT_EQ(vecRead[0].credit, 0);
}

TEST_F(AuditTest, EditAndDeleteOutOfRangeChangeNothing)
{
    ASSERT_EQ(m_pAudit->AddItem(Json("audit_unique", "amount").c_str()), 0);
    std::string sBefore = m_pAudit->ExportText();
    EXPECT_EQ(m_pAudit->DeleteItem(5), -1);
    EXPECT_EQ(m_pAudit->DeleteItem(-1), -1);
    EXPECT_EQ(m_pAudit->EditItem(3, Json("audit_date", "amount").c_str()), -1);
    EXPECT_EQ(m_pAudit->EditItem(0, Json("audit_date amount", "amount").c_str()), -1);
    EXPECT_EQ(m_pAudit->ExportText(), sBefore);
    EXPECT_EQ(m_pAudit->EditItem(0, Json("audit_date", "amount").c_str()), 0);
    EXPECT_EQ(m_pAudit->DeleteItem(0), 1);
    EXPECT_TRUE(m_pAudit->GetRuleOrgs().empty());
}

TEST_F(AuditTest, AuditSectionItemsAndMissingEnd)
{
    std::string sText = std::string(kFieldRules) +
                        "<audits><audit><no>U1</no><rule>audit_unique</rule><field>amount</field></audit>"
                        "<audit><no>U2</no><rule>audit_date amount</rule><field>amount</field></audit>"
                        "<audit><no>U3</no><rule>audit_date</rule></audits>";
    EXPECT_EQ(m_pAudit->ImportFromMem(sText.c_str(), true), 1);
    ASSERT_EQ(m_pAudit->GetRuleOrgs().size(), 1u);
    EXPECT_EQ(m_pAudit->GetRuleOrgs()[0].no, "U1");
    ASSERT_EQ(m_pAudit->GetMessages().size(), 2u);
    EXPECT_EQ(m_pAudit->GetMessages()[1].rfind("Cannot locate </audit>", 0), 0u);
    EXPECT_EQ(m_pAudit->ImportFromMem(kFieldRules, false), -2);
}

}  // namespace
