// Start-up, shutdown, switches, instances and logs of the library frame,
// driven through the exported C interface on private copies of the data folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Global/Globals.h"
#include "API/SharedServices.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSwitches();
        g_sLogPath = m_logDir.Path();
    }
    void TearDown() override
    {
        VESKAR_Exit();
        ResetSwitches();
        g_sLogPath.clear();
    }
    void WriteConfig(const std::string& sJson) { WriteTestFile(m_data.DataFile("RUX-Configure.json"), sJson); }
    std::string TodayLog(const char* sExt) const { return m_logDir.File(FormatLocalTime("%Y%m%d") + sExt); }

    CTempDataDir m_data;
    CTempDir m_logDir;
};

TEST_F(FrameTest, StartsOnBuiltDataWithInstanceZero)
{
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(VESKAR_NewInstance(), 1);  // start-up made instance 0
    const char* sInfo = VESKAR_GetInfo();
    ASSERT_NE(sInfo, nullptr);
    EXPECT_NE(std::string(sInfo).find("\"font_sizes\":16"), std::string::npos) << sInfo;
    VESKAR_Exit();
    EXPECT_EQ(VESKAR_NewInstance(), -1);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "Not Init, no operation!");
    EXPECT_EQ(VESKAR_GetInfo(), nullptr);
}

TEST_F(FrameTest, StartUpFailuresHaveTheirCodes)
{
    CTempDir empty;
    EXPECT_EQ(VESKAR_Init(empty.Path().c_str()), VESKAR_INIT_NO_RULE_ENGINE);
    EXPECT_EQ(std::string(VESKAR_GetLastErrorMsg()), "Error Init RUX from " + empty.Path());

    std::remove(m_data.DataFile("Error/ErrorMessage.dat").c_str());
    EXPECT_EQ(VESKAR_Init(m_data.Path().c_str()), VESKAR_INIT_NO_CATALOGUE);
    EXPECT_EQ(VESKAR_NewInstance(), -1);

    CTempDataDir noFonts;
    std::remove(noFonts.DataFile("Font/FontSize.dat").c_str());
    EXPECT_EQ(VESKAR_Init(noFonts.Path().c_str()), VESKAR_INIT_NO_FONT_SIZES);
    WriteTestFile(noFonts.DataFile("Font/FontSize.dat"), "header only\n");
    EXPECT_EQ(VESKAR_Init(noFonts.Path().c_str()), VESKAR_INIT_NO_FONT_SIZES);
}

TEST_F(FrameTest, FormatCheckOffNeedsNoFontSizes)
{
    WriteConfig(R"({"FormatCheck": "OFF"})");
    std::remove(m_data.DataFile("Font/FontSize.dat").c_str());
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1) << VESKAR_GetLastErrorMsg();
    EXPECT_FALSE(g_bFormatCheck);
    EXPECT_EQ(g_pDocFormatChecker, nullptr);
    EXPECT_EQ(g_pNum2FontSize, nullptr);
}

TEST_F(FrameTest, SwitchesAreReadWithoutRegardToCase)
{
    WriteConfig(R"({"PunctionCheck": "Off", "OCR": "ON", "FilterCheck": "on", "SpellCheck": "oN",
                    "SpellCheckIP": "127.0.0.1:9000", "CountryDetect": "maybe"})");
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_FALSE(g_bPunctionCheck);
    EXPECT_TRUE(g_bFormatCheck);
    EXPECT_TRUE(g_bOCR);
    EXPECT_TRUE(g_bFilteringCheck);
    EXPECT_TRUE(g_bSpellingCheck);
    EXPECT_EQ(g_sSpellingHostIP, "127.0.0.1:9000");
    EXPECT_FALSE(g_bCountryDetect);
}

TEST_F(FrameTest, SpellCheckWithoutAddressAndMissingConfigUseDefaults)
{
    WriteConfig(R"({"SpellCheck": "on"})");
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_TRUE(g_bSpellingCheck);
    EXPECT_EQ(g_sSpellingHostIP, "");

    std::remove(m_data.DataFile("RUX-Configure.json").c_str());
    ResetSwitches();
    g_bOCR = true;  // a missing file leaves the switches as they are
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_TRUE(g_bPunctionCheck);
    EXPECT_TRUE(g_bFormatCheck);
    EXPECT_TRUE(g_bOCR);
    EXPECT_FALSE(g_bFilteringCheck);
}

TEST_F(FrameTest, BrokenConfigIsLoggedAndStartUpGoesOn)
{
    WriteConfig("{ not json");
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    std::string sErrors = ReadTestFile(TodayLog(".err"));
    EXPECT_NE(sErrors.find("\tFailed reading file " + m_data.DataFile("RUX-Configure.json") + "\n"),
              std::string::npos)
        << sErrors;
}

TEST_F(FrameTest, InitDirectoryIsResolvedFromTheArgument)
{
    std::string sCurrent = GetCurrentDir();
    EXPECT_EQ(VESKAR_Init("./no-such-folder"), -1);
    EXPECT_EQ(std::string(VESKAR_GetLastErrorMsg()), "Error Init RUX from " + sCurrent + "/./no-such-folder");
    ASSERT_EQ(VESKAR_Init(""), 1) << VESKAR_GetLastErrorMsg();  // tests run in the build folder
    EXPECT_EQ(g_sInitDir, sCurrent);
}

TEST_F(FrameTest, InstancesAreDeletedOnceAndLookedUpSafely)
{
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    int nHandle = VESKAR_NewInstance();
    ASSERT_EQ(nHandle, 1);
    EXPECT_EQ(VESKAR_DeleteInstance(nHandle), 1);
    EXPECT_EQ(VESKAR_DeleteInstance(nHandle), 1);
    EXPECT_EQ(VESKAR_NewInstance(), 2);  // slots are never reused
    EXPECT_EQ(VESKAR_DeleteInstance(-1), 0);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "DC_DeleteInstance  argument(handle -1) is invalid!");
    EXPECT_EQ(VESKAR_DeleteInstance(3), 0);
}

TEST_F(FrameTest, LogOffWritesNoLogFiles)
{
    WriteTestFile(m_data.DataFile("Configure.xml"), "<Configure><Log> OFF </Log></Configure>");
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_FALSE(g_bLog);
    VESKAR_DeleteInstance(-5);
    EXPECT_FALSE(FileExists(TodayLog(".err")));
    EXPECT_FALSE(FileExists(TodayLog(".log")));
}

TEST_F(FrameTest, LogOnWritesTimedLinesAndKnowledgeLog)
{
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    VESKAR_DeleteInstance(-2);
    std::string sErrors = ReadTestFile(TodayLog(".err"));
    ASSERT_FALSE(sErrors.empty());
    EXPECT_EQ(sErrors[0], '[');
    EXPECT_EQ(sErrors.substr(20, 2), "]\t");  // "[YYYY-MM-DD HH:MM:SS]\t"
    WriteKG("公司\t名称");
    VESKAR_Exit();
    std::string sKnow = ReadTestFile(m_data.DataFile("KnowGraph.txt"));
    EXPECT_NE(sKnow.find("]\t公司\t名称\n"), std::string::npos);
    WriteKG("after exit");  // closed: nothing written, no crash
    EXPECT_EQ(ReadTestFile(m_data.DataFile("KnowGraph.txt")), sKnow);
}

TEST_F(FrameTest, CatalogueImportSavesTheLoadedCatalogue)
{
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    std::string sText = m_data.File("catalogue.txt");
    WriteTestFile(sText, "ErrId\tErrorMsg\tEachScore\tMaxScore\n1.1.1\t字体错误\t1.5\t3\n9.9\t新增\n");
    EXPECT_EQ(VESKAR_ImportErrorMsg(sText.c_str()), 2);
    EXPECT_EQ(VESKAR_ImportErrorMsg(m_data.File("missing.txt").c_str()), -1);
    VESKAR_Exit();
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    std::string sJson = Audit_GetErrorInfo();
    EXPECT_NE(sJson.find(R"({"each_score":1.5,"id":"1.1.1","max_score":3.0,"msg":"字体错误"})"), std::string::npos)
        << sJson;
    EXPECT_NE(sJson.find(R"("id":"9.9")"), std::string::npos);
    EXPECT_EQ(sJson.find(R"("id":"1.1.2")"), std::string::npos);
}

TEST_F(FrameTest, CatalogueExportsFailCleanlyBeforeStartUp)
{
    EXPECT_EQ(Audit_GetErrorInfo(), nullptr);
    EXPECT_EQ(VESKAR_ImportErrorMsg("x.txt"), 0);
    EXPECT_EQ(VESKAR_ExportErrorMsg("x.txt"), 0);
}

TEST_F(FrameTest, ASecondStartReplacesTheFirst)
{
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    VESKAR_NewInstance();
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_EQ(VESKAR_NewInstance(), 1);
}

}  // namespace
