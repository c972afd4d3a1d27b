// The stand-alone rule engine through its exported functions: start and
// stop, instances by handle, imports, UTF-8 error texts, and the rule-set
// functions the veskar tool uses.
#include <gtest/gtest.h>

#include <string>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

const char* const kRules =
    "<item><no>1</no><name>公司</name><rule>{[公司;集团]+[/nt]}s</rule><action>extract</action>"
    "<argument>company|公司名称</argument></item>\n"
    "<item><no>2</no><rule>{[注册资本]+[/m]}s</rule><action>extract</action><argument>capital</argument></item>\n"
    "<item><no>3</no><rule>{[注册资本]+[/m]}s</rule></item>\n"
    "<item><no>4</no><rule>[报告]</rule></item>\n";

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteTestFile(m_data.File("rules.rux"), kRules)); }
    void TearDown() override { RUX_Exit(); }
    std::string SetFile(int nSet, const char* sSuffix) const
    {
        return m_data.DataFile("RUX_" + std::to_string(nSet) + sSuffix);
    }

    CSwitchGuard m_quiet {g_bLog, false};
    CTempDataDir m_data;
};

TEST_F(EngineTest, InstancesNeedAStartedEngine)
{
    EXPECT_EQ(RUX_NewInstance(1), -1);
    EXPECT_STREQ(RUX_GetLastErrorMsg(), "Not Init, no operation!");
    EXPECT_EQ(RUX_ImportRule(m_data.File("rules.rux").c_str(), true, 0), -1);
    EXPECT_STREQ(RUX_GetLastErrorMsg(), "GetRUXWorker  argument(handle 0) is invalid!");
    CTempDir empty;
    EXPECT_EQ(RUX_Init(empty.Path().c_str(), nullptr), -1);
    EXPECT_EQ(std::string(RUX_GetLastErrorMsg()), "Error Init TARSIM from " + empty.Path());
    EXPECT_EQ(RUXSet_List(1), nullptr);
}

TEST_F(EngineTest, ImportThroughAnInstanceAndReloadInAnother)
{
    ASSERT_EQ(RUX_Init(m_data.Path().c_str(), "unused"), 1);
    int nHandle = RUX_NewInstance(6);
    ASSERT_EQ(nHandle, 1);  // instance 0 is made by the start
    EXPECT_EQ(RUX_ImportRule(m_data.File("rules.rux").c_str(), true, nHandle), 1);
    EXPECT_TRUE(FileExists(SetFile(6, ".rule")));
    EXPECT_TRUE(FileExists(m_data.DataFile("rux_userdict.txt")));
    std::string sMessages = RUX_GetRuleMessages(nHandle);
    EXPECT_NE(sMessages.find("rule 3: RuleNo3:{[注册资本]+[/m]}s is already exists and cannot be added, see Rule2\n"),
              std::string::npos);
    EXPECT_NE(sMessages.find("rule 4: [处应该为区格的起始符合'{'\n"), std::string::npos);
    EXPECT_EQ(RUX_GetRuleMessages(9), nullptr);

    // The grammar messages are GBK inside and UTF-8 at the interface.
    EXPECT_EQ(RUX_ImportRule(m_data.File("rules.rux").c_str(), true, nHandle), 1);
    g_sLastErrorMessage = "{[x]\xba\xf3\xc3\xe6";
    EXPECT_STREQ(RUX_GetLastErrorMsg(), "{[x]后面");

    int nOther = RUX_NewInstance(6);
    std::string sList = RUXSet_List(6);
    EXPECT_EQ(sList, R"([{"name":"公司","no":"1"},{"name":"","no":"2"},{"name":"","no":"4"}])");
    EXPECT_EQ(RUX_DeleteInstance(nOther), 1);
    EXPECT_EQ(RUX_DeleteInstance(nOther), 0);
    EXPECT_EQ(std::string(RUX_GetLastErrorMsg()),
              "DC_DeleteInstance  argument(handle " + std::to_string(nOther) + ") is invalid!");
    EXPECT_EQ(RUX_ImportRule(m_data.File("rules.rux").c_str(), true, nOther), -1);
    RUX_Exit();
    EXPECT_EQ(RUX_ImportRule(m_data.File("rules.rux").c_str(), true, nHandle), -1);
}

TEST_F(EngineTest, RuleSetsByNumber)
{
    ASSERT_EQ(RUX_Init(m_data.Path().c_str(), nullptr), 1);
    EXPECT_STREQ(RUXSet_List(8), "[]");  // a set never saved is empty
    EXPECT_EQ(RUXSet_Import(m_data.File("rules.rux").c_str(), true, 8), 1);
    EXPECT_NE(std::string(RUXSet_Messages()).find("is already exists"), std::string::npos);
    EXPECT_EQ(RUXSet_Add(R"({"no":"5","rule":"{[GB 50016]}","action":"insert"})", 8), 3);
    EXPECT_EQ(RUXSet_Add(R"({"no":"6","rule":"{[GB 50016]}"})", 8), 3);
    EXPECT_NE(std::string(RUXSet_Messages()).find("RuleNo6:{[GB 50016]} is already exists"), std::string::npos);
    EXPECT_EQ(RUXSet_Edit(0, R"({"no":"1b","rule":"{[有限公司]}"})", 8), 0);
    EXPECT_EQ(RUXSet_Edit(7, R"({"no":"x","rule":"{[y]}"})", 8), -1);
    EXPECT_EQ(RUXSet_Delete(1, 8), 1);
    EXPECT_EQ(RUXSet_Delete(3, 8), -1);
    std::string sShow = RUXSet_Show(0, 8);
    EXPECT_NE(sShow.find(R"("no":"1b")"), std::string::npos);
    EXPECT_STREQ(RUXSet_Show(3, 8), "");
    std::string sList = RUXSet_List(8);
    EXPECT_EQ(sList, R"([{"name":"","no":"1b"},{"name":"","no":"4"},{"name":"","no":"5"}])");
    const char* sPath = RUXSet_Export(8, nullptr);
    ASSERT_NE(sPath, nullptr);
    EXPECT_EQ(std::string(sPath), SetFile(8, ".export.txt"));
    std::string sOut = m_data.File("out.txt");
    ASSERT_NE(RUXSet_Export(8, sOut.c_str()), nullptr);
    EXPECT_EQ(ReadTestFile(sOut), ReadTestFile(SetFile(8, ".export.txt")));

    // Deleting every rule leaves a set that opens empty.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(RUXSet_Delete(0, 8), 1);
    EXPECT_STREQ(RUXSet_List(8), "[]");
    // A corrupt set is an error, not an empty set.
    WriteTestFile(SetFile(8, ".rule"), std::string(7, '\x01'));
    EXPECT_EQ(RUXSet_List(8), nullptr);
    EXPECT_EQ(RUXSet_Add(R"({"no":"7","rule":"{[z]}"})", 8), -1);
    EXPECT_NE(std::string(RUX_GetLastErrorMsg()).find("Corrupt rule set file"), std::string::npos);
}

}  // namespace
