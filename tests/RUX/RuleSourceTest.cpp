// Reading rule sources and JSON rules into a rule set: every tag, the
// action and scope tables, validation, duplicates, messages, and the
// editing operations with their renumbering.
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "Utility/PDAT.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

std::string Item(const std::string& sNo, const std::string& sRule, const std::string& sAction = "insert",
                 const std::string& sMore = "")
{
    return "<item><no>" + sNo + "</no><rule>" + sRule + "</rule><action>" + sAction + "</action>" + sMore +
           "</item>\n";
}

Json::Value ParseJson(const char* sText)
{
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::string s = sText ? sText : "";
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(s.data(), s.data() + s.size(), &root, &sErrors)) << s;
    return root;
}

class RuleSourceTest : public ::testing::Test {
protected:
    void SetUp() override { m_pSet = std::make_unique<CRUX>(m_dir.Path().c_str(), 3); }
    int Import(const std::string& sText, bool bOverwrite = true)
    {
        return m_pSet->ImportRuleFromMem(sText.c_str(), bOverwrite);
    }
    const _tRuleOrg& Rule(size_t i) const { return m_pSet->GetRuleOrgs().at(i); }

    CSwitchGuard m_quiet {g_bLog, false};
    CSwitchGuard m_noCountries {g_bCountryDetect, false};
    CTempDir m_dir;
    std::unique_ptr<CRUX> m_pSet;
};

TEST_F(RuleSourceTest, EveryTagIsReadAndNormalised)
{
    std::string sSource =
        "notes outside records are ignored\n"
        "<item>\n<no> 5.1 </no>\n<name>注册 资本 </name>\n<credit>12abc</credit>\n"
        "<rule>{ [ 注册资本 ] + [ /m ] } s</rule>\n<action> Extract </action>\n<field> Title1 </field>\n"
        "<argument>capital|注册资本:{万元}; 5:{年} ;\r\n</argument>\n<kgset>capital:a,k;org:e</kgset>\n</item>\n"
        "<item><no>7</no><rule>{[A]}</rule><name>unterminated name</item>";
    ASSERT_EQ(Import(sSource), 1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 2u);
    const _tRuleOrg& r = Rule(0);
    EXPECT_EQ(r.no, " 5.1 ");  // the number is kept as written
    EXPECT_EQ(r.name, "注册资本");
    EXPECT_EQ(r.credit, 12);
    EXPECT_EQ(r.rule.text, "{[注册资本]+[/m ]}s");  // blanks beside Latin letters stay
    EXPECT_EQ(r.action_id, 3);
    EXPECT_EQ(r.sField, "title1");  // scope names print as the table writes them
    EXPECT_EQ(r.arguments, (std::vector<std::string>{"capital|注册资本:{万元}", "5:{年}"}));
    EXPECT_EQ(r.vecKeyname, std::vector<std::string>{"capital|注册资本"});  // as stored
    EXPECT_EQ(r.frequency, 1);
    // A missing closing tag takes the rest of the record.
    EXPECT_EQ(Rule(1).name, "unterminated name");
    EXPECT_EQ(Rule(1).action_id, 0);
    EXPECT_EQ(Rule(1).credit, 0);
}

TEST_F(RuleSourceTest, ActionAndScopeTables)
{
    EXPECT_EQ(m_pSet->GetActionId("GENERATE_DATE", true), 16);
    EXPECT_EQ(m_pSet->GetActionId("nosuch", true), -1);
    EXPECT_STREQ(m_pSet->GetActionStr(9), "between_extract");
    EXPECT_EQ(m_pSet->GetFieldId("rowcolhead"), 4);
    EXPECT_EQ(m_pSet->GetFieldId(""), 0);
    EXPECT_EQ(m_pSet->GetFieldId("capital"), -1);

    Json::Value info = ParseJson(m_pSet->GetSysInfo());
    ASSERT_EQ(info["actions"].size(), 17u);
    ASSERT_EQ(info["fields"].size(), 11u);
    EXPECT_EQ(info["actions"][14].asString(), "generate_tuple");
    EXPECT_EQ(info["fields"][4].asString(), "RowColHead");
}

TEST_F(RuleSourceTest, CustomActionsArePooledAndSurviveAReload)
{
    ASSERT_EQ(Import(Item("1", "{[A]}", "MarkRisk") + Item("2", "{[B]}", "MarkRisk") + Item("3", "{[C]}", "audit")),
              1);
    int nId = Rule(0).action_id;
    EXPECT_GE(nId, 17);
    EXPECT_EQ(Rule(1).action_id, nId);
    EXPECT_NE(Rule(2).action_id, nId);
    EXPECT_STREQ(m_pSet->GetActionStr(nId), "MarkRisk");
    CRUX reloaded(m_dir.Path().c_str(), 3);
    ASSERT_EQ(reloaded.Load(), 1);
    EXPECT_STREQ(reloaded.GetActionStr(reloaded.GetRuleOrgs()[2].action_id), "audit");
    EXPECT_EQ(reloaded.GetActionId("MarkRisk"), nId);
}

TEST_F(RuleSourceTest, RecordWithoutEndStopsReading)
{
    ASSERT_EQ(Import(Item("1", "{[A]}") + "<item><no>2</no><rule>{[B]}</rule>" + Item("3", "{[C]}")), 1);
    // The unterminated record swallows the next one up to its end tag.
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 2u);
    ASSERT_EQ(Import(Item("1", "{[A]}") + "<item><no>2</no><rule>{[B]}</rule>"), 1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 1u);
    ASSERT_EQ(m_pSet->GetMessages().size(), 1u);
    EXPECT_EQ(m_pSet->GetMessages()[0], "Cannot locate </item><item><no>2</no><rule>{[B]}</rule>");
}

TEST_F(RuleSourceTest, PatternErrorsKeepTheRuleWithTheGridsBeforeThem)
{
    ASSERT_EQ(Import(Item("1", "[A]") + Item("2", "{[B]}+{[C]")), 1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 2u);
    EXPECT_TRUE(Rule(0).rule.vecGrids.empty());
    EXPECT_EQ(Rule(1).rule.vecGrids.size(), 1u);
    ASSERT_EQ(m_pSet->GetMessages().size(), 2u);
    EXPECT_EQ(m_pSet->GetMessages()[0], "rule 1: [处应该为区格的起始符合'{'");
    EXPECT_EQ(m_pSet->GetMessages()[1], "rule 2: {[B]}+{[C]后面缺乏区格的结束符合'}'");
}

TEST_F(RuleSourceTest, DuplicatesAreRefusedByPatternAndScope)
{
    ASSERT_EQ(Import(Item("1", "{[A]+[B]}") + Item("2", "{ [A] + [B] }") + Item("3", "{[A]+[B]}", "insert",
                                                                                 "<field>title</field>") +
                     Item("4", "{[A]+[B]}", "delete", "<field>TEXT</field>")),
              1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 2u);
    EXPECT_EQ(Rule(1).no, "3");
    ASSERT_EQ(m_pSet->GetMessages().size(), 2u);
    EXPECT_EQ(m_pSet->GetMessages()[0], "rule 2: RuleNo2:{[A]+[B]} is already exists and cannot be added, see Rule1");
    EXPECT_EQ(g_sLastErrorMessage, "RuleNo4:{[A]+[B]} is already exists and cannot be added, see Rule1");
    // Appending checks against the stored rules too.
    ASSERT_EQ(Import(Item("5", "{[A]+[B]}") + Item("6", "{[C]}"), false), 1);
    EXPECT_EQ(m_pSet->GetRuleOrgs().size(), 3u);
}

TEST_F(RuleSourceTest, CountryAndSingleKeyValidation)
{
    ASSERT_EQ(Import(Item("1", "{[中国]}", "country_extract")), 1);
    EXPECT_TRUE(m_pSet->GetRuleOrgs().empty());
    EXPECT_EQ(g_sLastErrorMessage, "RUX-Configure.json must set CountryDetect on before execute country_extract ");
    g_bCountryDetect = true;
    ASSERT_EQ(Import(Item("1", "{[中国]}", "country_extract")), 1);
    EXPECT_EQ(m_pSet->GetRuleOrgs().size(), 1u);

    const std::string sArgs2 = "<argument>total;合计</argument>";
    ASSERT_EQ(Import(Item("a", "{[amount]}", "generate_singlekey", sArgs2) +
                     Item("b", "{[amount;sum]}", "generate_singlekey", sArgs2) +
                     Item("c", "{[amount]+[sum]}", "generate_singlekey", sArgs2) +
                     Item("d", "{[amount]}+{[sum]}", "generate_singlekey", sArgs2) +
                     Item("e", "{[price]}", "generate_singlekey", "<argument>total</argument>")),
              1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 1u);
    EXPECT_EQ(Rule(0).no, "a");
    EXPECT_EQ(m_pSet->GetMessages().size(), 4u);
    EXPECT_EQ(g_sLastErrorMessage, "SingleKeyVal rule only include one key, and argument number must be 2.");
}

TEST_F(RuleSourceTest, JsonFormOfOneRule)
{
    ASSERT_EQ(Import(Item("1", "{[A]}")), 1);
    int nIndex = m_pSet->AddItem(
        R"({"no":"2.1","name":"report date","rule":"{[/t]}s","action":"extract","field":"header",)"
        R"("argument":"report_date|报告日期:{yyyy-mm-dd}","kgset":"report_date:a,k","credit":3})");
    ASSERT_EQ(nIndex, 1);
    Json::Value rule = ParseJson(m_pSet->GetItem(1));
    EXPECT_EQ(rule["no"].asString(), "2.1");
    EXPECT_EQ(rule["name"].asString(), "report date");
    EXPECT_EQ(rule["rule"].asString(), "{[/t]}s");
    EXPECT_EQ(rule["action"].asString(), "extract");
    EXPECT_EQ(rule["field"].asString(), "header");
    EXPECT_EQ(rule["argument"].asString(), "report_date|报告日期:{yyyy-mm-dd};");
    EXPECT_EQ(rule["kgset"].asString(), "report_date|报告日期:attribute,keyword,");
    EXPECT_EQ(rule["keyname"].asString(), "report_date|报告日期");
    EXPECT_EQ(rule["credit"].asInt(), 3);
    EXPECT_FALSE(ParseJson(m_pSet->GetItem(0)).isMember("keyname"));
    EXPECT_STREQ(m_pSet->GetItem(2), "");
    EXPECT_STREQ(m_pSet->GetItem(-1), "");

    Json::Value list = ParseJson(m_pSet->GetRuleListId());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]["no"].asString(), "2.1");
    EXPECT_EQ(list[1]["name"].asString(), "report date");
}

// A display name holding a colon but no format is printed into the knowledge
// set whole; reading that print back must give the same rule again.
TEST_F(RuleSourceTest, JsonFormReadsBackWithColonInDisplayName)
{
    ASSERT_EQ(Import(Item("1", "{[A]}")), 1);
    int nIndex = m_pSet->AddItem(R"({"no":"2","rule":"{[/t]}s","action":"extract",)"
                                 R"("argument":"report_date|报告日期:yyyy};5:{年}","kgset":"report_date:a,k"})");
    ASSERT_EQ(nIndex, 1);
    std::string sPrinted = m_pSet->GetItem(nIndex);
    EXPECT_EQ(ParseJson(sPrinted.c_str())["kgset"].asString(), "report_date|报告日期:yyyy}:attribute,keyword,");
    ASSERT_EQ(m_pSet->EditItem(nIndex, sPrinted.c_str()), nIndex);
    EXPECT_EQ(m_pSet->GetItem(nIndex), sPrinted);
    EXPECT_EQ(m_pSet->AddItem(sPrinted.c_str()), nIndex);
}

TEST_F(RuleSourceTest, JsonFailuresAndDuplicates)
{
    ASSERT_EQ(Import(Item("1", "{[A]}")), 1);
    EXPECT_EQ(m_pSet->AddItem("{not json"), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Read RUX Infor Error!");
    EXPECT_EQ(m_pSet->AddItem(R"({"no":{"x":1},"rule":"{[B]}"})"), -1);
    EXPECT_EQ(m_pSet->AddItem(nullptr), -1);
    EXPECT_EQ(m_pSet->AddItem(R"({"no":"2","rule":"[B]"})"), -1);
    EXPECT_EQ(m_pSet->AddItem(R"({"no":"3","rule":"{[A]}","field":"text"})"), 0);
    EXPECT_EQ(g_sLastErrorMessage, "RuleNo3:{[A]} is already exists and cannot be added, see Rule1");
    EXPECT_EQ(m_pSet->AddItem(R"({"no":"4","rule":"{[x]}","action":"generate_singlekey","argument":"a"})"), -1);
    EXPECT_EQ(m_pSet->GetRuleOrgs().size(), 1u);
    // Numbers given as numbers are read as their text.
    EXPECT_EQ(m_pSet->AddItem(R"({"no":5,"rule":"{[C]}","credit":"7"})"), 1);
    EXPECT_EQ(Rule(1).no, "5");
    EXPECT_EQ(Rule(1).credit, 7);
}

TEST_F(RuleSourceTest, EditingAndDeletingRenumberAndResave)
{
    ASSERT_EQ(Import(Item("r0", "{[A]}") + Item("r1", "{[B]}") + Item("r2", "{[C]}")), 1);
    EXPECT_EQ(m_pSet->EditItem(3, R"({"no":"x","rule":"{[D]}"})"), -1);
    EXPECT_EQ(m_pSet->EditItem(1, R"({"no":"r1b","rule":"{[B]+[D]}"})"), 1);
    EXPECT_EQ(Rule(1).no, "r1b");
    EXPECT_EQ(m_pSet->EditItem(1, "[]"), -1);
    EXPECT_EQ(Rule(1).no, "r1b");

    EXPECT_EQ(m_pSet->DeleteItem(5), -1);
    EXPECT_EQ(m_pSet->DeleteItem(0), 1);
    ASSERT_EQ(m_pSet->GetRuleOrgs().size(), 2u);
    EXPECT_EQ(Rule(0).no, "r1b");
    EXPECT_EQ(Rule(1).no, "r2");
    CRUX reloaded(m_dir.Path().c_str(), 3);
    ASSERT_EQ(reloaded.Load(), 1);
    ASSERT_EQ(reloaded.GetRuleCount(), 2u);
    EXPECT_EQ(reloaded.GetRuleOrgs()[0].rule.text, "{[B]+[D]}");
    // The index follows the renumbering.
    int nSlot = reloaded.WordSlot(reloaded.GetDict()->Find("C"));
    ASSERT_EQ(reloaded.GetIndex()[static_cast<size_t>(nSlot)].df, 1);
    EXPECT_EQ(reloaded.GetIndex()[static_cast<size_t>(nSlot)].pData[0].knowledge_index, 1);
}

TEST_F(RuleSourceTest, GbkRuleFilesAreRead)
{
    // "<item><no>1</no><rule>{[公司]}</rule></item>" in GBK.
    std::string sGbk = "<item><no>1</no><rule>{[\xb9\xab\xcb\xbe]}</rule></item>";
    ASSERT_TRUE(WriteTestFile(m_dir.File("gbk.rux"), sGbk));
    ASSERT_EQ(m_pSet->ImportRule(m_dir.File("gbk.rux").c_str(), true), 1);
    EXPECT_EQ(Rule(0).rule.text, "{[公司]}");
    EXPECT_EQ(m_pSet->ImportRule(m_dir.File("missing.rux").c_str(), true), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Failed read file " + m_dir.File("missing.rux"));
}

}  // namespace
