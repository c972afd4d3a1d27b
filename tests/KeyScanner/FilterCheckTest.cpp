// End to end: with "FilterCheck" on, checking a document reports its
// wrongly written words as "1.5.2" findings with the right form proposed;
// with it off, it does not.
#include <gtest/gtest.h>

#include <json/json.h>
#include <sstream>
#include <string>

#include "Global/Globals.h"
#include "support/DocxBuilder.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

class FilterCheckTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        VESKAR_Exit();
        ResetSwitches();
        g_sLogPath.clear();
    }

    void Start(const char* sFilterCheck)
    {
        ResetSwitches();
        g_sLogPath = m_logs.Path();
        std::string sConfig = std::string("{\"FormatCheck\": \"off\", \"FilterCheck\": \"") + sFilterCheck + "\"}";
        ASSERT_TRUE(WriteTestFile(m_data.DataFile("RUX-Configure.json"), sConfig));
        ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1) << VESKAR_GetLastErrorMsg();
    }

    // The findings of a checked document with the given code ("" for all),
    // as JSON. Report type 0 has no rule set, so only the keyword scan
    // reports wrongly written words there.
    Json::Value Findings(const std::string& sCode, int nType = 0)
    {
        std::string sDoc = m_docs.File("report.docx");
        std::string sBody = CDocxBuilder::Para("第1章 绪论") + CDocxBuilder::Para("既使条件有限，我们也按装了设备。") +
                            CDocxBuilder::Table({{"说明", "这样既使得成本降低"}});
        EXPECT_TRUE(CDocxBuilder().Body(sBody).Write(sDoc));
        const char* sResult = VESKAR_CheckReportF(sDoc.c_str(), "", "", nType, 1, false, 0);
        EXPECT_NE(sResult, nullptr) << VESKAR_GetLastErrorMsg();
        Json::Value root;
        std::istringstream in(sResult ? sResult : "");
        EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &root, nullptr));
        Json::Value found(Json::arrayValue);
        for (const Json::Value& item : root["Errors"])
            if (sCode.empty() || item["errorno"].asString() == sCode)
                found.append(item);
        return found;
    }

    CTempDataDir m_data;
    CTempDir m_logs;
    CTempDir m_docs;
};

TEST_F(FilterCheckTest, WronglyWrittenWordsBecomeFindings)
{
    Start("on");
    Json::Value found = Findings("1.5.2");
    ASSERT_EQ(found.size(), 2u) << found.toStyledString();
    EXPECT_EQ(found[0]["OrgStr"].asString(), "既使");
    EXPECT_EQ(found[0]["NewStr"].asString(), "即使");
    EXPECT_EQ(found[0]["offset"].asUInt(), 0u);
    EXPECT_EQ(found[0]["field"].asString(), "text");
    EXPECT_EQ(found[0]["revisetype"].asString(), "U");
    EXPECT_EQ(found[1]["OrgStr"].asString(), "按装");
    EXPECT_EQ(found[1]["NewStr"].asString(), "安装");
    EXPECT_EQ(found[1]["offset"].asUInt(), std::string("既使条件有限，我们也").size());
}

// Theses have update rules for the same words: each wrong word is still
// one finding, whichever check proposed it first.
TEST_F(FilterCheckTest, AWordTheRuleSetCorrectsIsOneFinding)
{
    Start("on");
    Json::Value found = Findings("", 6);
    int nWrong = 0;
    for (const Json::Value& item : found)
        nWrong += item["OrgStr"].asString() == "既使" || item["OrgStr"].asString() == "按装";
    EXPECT_EQ(nWrong, 3) << found.toStyledString();
}

TEST_F(FilterCheckTest, NoFindingsWithTheSwitchOff)
{
    Start("off");
    EXPECT_EQ(Findings("1.5.2").size(), 0u);
}

}  // namespace
