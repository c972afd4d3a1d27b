// Checking documents through the C interface: result files and texts,
// failures, follow-up calls and the template exports.
#include <gtest/gtest.h>

#include <json/json.h>

#include <cstdio>
#include <string>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

using CheckExports = CLibraryTest;

bool EndsWith(const std::string& sText, const std::string& sTail)
{
    return sText.size() >= sTail.size() && sText.compare(sText.size() - sTail.size(), sTail.size(), sTail) == 0;
}

TEST_F(CheckExports, XmlResultFileLiesBesideTheDocument)
{
    std::string sDoc = WriteSampleDocx("论文 一.docx");
    const char* sResult = VESKAR_CheckReportF(sDoc.c_str(), "http://host/", "", 6, 0, false, 0);
    ASSERT_NE(sResult, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(std::string(sResult), m_docs.File("论文 一_Check.xml"));
    std::string sXml = ReadTestFile(sResult);
    EXPECT_EQ(sXml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<VESKAR>\n<CheckResults>", 0), 0u);
    EXPECT_TRUE(EndsWith(sXml, "</CheckResults>\r\n</VESKAR>\n"));
    EXPECT_NE(sXml.find("<docxFile>论文 一</docxFile>"), std::string::npos);
    EXPECT_NE(sXml.find("<url_prefix>http://host/</url_prefix>"), std::string::npos);
    EXPECT_NE(sXml.find("<reportType>6</reportType>"), std::string::npos);
    // The knowledge of type 6's default rules (none found in this sample).
    EXPECT_STREQ(VESKAR_GetResult(1, 0), "{\"entity_attribute\":[],\"relation\":[]}");
    std::string sAgain = VESKAR_GetResult(0, 0);
    EXPECT_EQ(sXml.substr(sXml.find("<VESKAR>")), sAgain);
}

TEST_F(CheckExports, JsonResultIsReturnedAndWrittenWithoutDeclaration)
{
    std::string sDoc = WriteSampleDocx("report.docx");
    const char* sResult = VESKAR_CheckReportF(sDoc.c_str(), "", "", 1, 1, false, 0);
    ASSERT_NE(sResult, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(sResult[0], '{');
    std::string sFile = m_docs.File("report_Check.json");
    EXPECT_EQ(ReadTestFile(sFile), sResult);
    EXPECT_FALSE(FileExists(m_docs.File("report_Check.xml")));
    EXPECT_NE(VESKAR_LoadCheckResult(sFile.c_str(), 0), nullptr);
}

// The stage times of one check: every stage present, the parts within the
// total, and a second check starting its own times rather than adding on.
TEST_F(CheckExports, StageTimesOfTheLastCheck)
{
    std::string sDoc = WriteSampleDocx("timed.docx");
    ASSERT_NE(VESKAR_CheckReportF(sDoc.c_str(), "", "", 3, 0, false, 0), nullptr) << VESKAR_GetLastErrorMsg();
    Json::Value first;
    ASSERT_TRUE(Json::Reader().parse(VESKAR_GetCheckTiming(0), first));
    double fParts = 0;
    for (const char* sStage : {"parse", "rule_scan", "audit", "format", "marks", "output"}) {
        ASSERT_TRUE(first[sStage].isDouble()) << sStage;
        EXPECT_GE(first[sStage].asDouble(), 0) << sStage;
        fParts += first[sStage].asDouble();
    }
    EXPECT_GT(first["parse"].asDouble(), 0);
    EXPECT_LE(fParts, first["total"].asDouble() * 1.0001);
    EXPECT_GT(first["total"].asDouble(), 0);

    ASSERT_NE(VESKAR_CheckReportM("甲方：南京青禾数据科技有限公司\n", "", "", 3, 1, false, 0), nullptr);
    Json::Value second;
    ASSERT_TRUE(Json::Reader().parse(VESKAR_GetCheckTiming(0), second));
    EXPECT_EQ(second["output"].asDouble(), 0);  // a text in memory writes no result file
    EXPECT_GE(second["total"].asDouble(), second["parse"].asDouble());
    EXPECT_EQ(VESKAR_GetCheckTiming(12345), nullptr);
}

TEST_F(CheckExports, TextInMemoryGivesTextAndNoFile)
{
    const char* sResult = VESKAR_CheckReportM("第一章 绪论\n正文。", "", "", 6, 0, false, 0);
    ASSERT_NE(sResult, nullptr);
    EXPECT_EQ(std::string(sResult).rfind("<VESKAR>\n<CheckResults>", 0), 0u);
    const char* sJson = VESKAR_CheckReportM("正文。", "", "", 6, 1, false, 0);
    ASSERT_NE(sJson, nullptr);
    EXPECT_EQ(sJson[0], '{');
}

TEST_F(CheckExports, FailuresAreClear)
{
    EXPECT_EQ(VESKAR_CheckReportF(m_docs.File("missing.docx").c_str(), "", "", 6, 0, false, 0), nullptr);
    EXPECT_EQ(std::string(VESKAR_GetLastErrorMsg()).rfind("Cannot open file ", 0), 0u) << VESKAR_GetLastErrorMsg();
    WriteTestFile(m_docs.File("empty.docx"), "");
    EXPECT_EQ(VESKAR_CheckReportF(m_docs.File("empty.docx").c_str(), "", "", 6, 0, false, 0), nullptr);
    EXPECT_FALSE(FileExists(m_docs.File("empty_Check.xml")));
    EXPECT_EQ(VESKAR_CheckReportF(m_docs.File("x.docx").c_str(), "", "", 6, 0, false, 9), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "VESKAR not init!");
    EXPECT_EQ(VESKAR_GetResult(0, -1), nullptr);
    EXPECT_EQ(VESKAR_LoadDocResult("x", 42), 0u);
}

TEST_F(CheckExports, FilesOfTheUsersOwnAreNeverOverwritten)
{
    std::string sDoc = WriteSampleDocx("paper.docx");
    WriteTestFile(m_docs.File("paper.xml"), "<my><own>data</own></my>");
    EXPECT_EQ(VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 0, false, 0), nullptr);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("is in the way"), std::string::npos)
        << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(ReadTestFile(m_docs.File("paper.xml")), "<my><own>data</own></my>");

    std::string sOther = WriteSampleDocx("other.docx");
    WriteTestFile(m_docs.File("other_Check.xml"), "hand-written review notes");
    EXPECT_EQ(VESKAR_CheckReportF(sOther.c_str(), "", "", 6, 0, false, 0), nullptr);
    EXPECT_EQ(ReadTestFile(m_docs.File("other_Check.xml")), "hand-written review notes");
    // Outputs of an earlier check are replaced as usual.
    std::remove(m_docs.File("other_Check.xml").c_str());
    ASSERT_NE(VESKAR_CheckReportF(sOther.c_str(), "", "", 6, 0, false, 0), nullptr);
    ASSERT_NE(VESKAR_CheckReportF(sOther.c_str(), "", "", 6, 0, false, 0), nullptr);
}

TEST_F(CheckExports, SavedResultsAreShownAndRechecked)
{
    std::string sDoc = WriteSampleDocx("thesis.docx");
    ASSERT_NE(VESKAR_CheckReportF(sDoc.c_str(), "", "", 6, 0, false, 0), nullptr);
    std::string sResult = m_docs.File("thesis_Check.xml");
    std::string sXml = ReadTestFile(sResult);
    std::string sFindings = "<check>\r\n<paraId>00000001</paraId>\r\n<errorno>1.1.1</errorno>\r\n</check>\r\n"
                            "<check>\r\n<paraId>00000002</paraId>\r\n<errorno>99.3</errorno>\r\n"
                            "<OrgStr>,</OrgStr>\r\n</check>\r\n";
    sXml.insert(sXml.find("</Errors>"), sFindings);
    WriteTestFile(sResult, sXml);

    EXPECT_EQ(VESKAR_ShowHtmlError(sResult.c_str(), 0), nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_NE(VESKAR_ShowHtmlError(m_docs.File("none.xml").c_str(), 0), nullptr);

    const char* sRecheck = VESKAR_ReCheckFormat(sResult.c_str(), 1, 0, 0);
    ASSERT_NE(sRecheck, nullptr);
    std::string sAfter = ReadTestFile(sRecheck);
    EXPECT_EQ(sAfter.find("<errorno>1.1.1</errorno>\r\n<errormsg>"), std::string::npos);
    EXPECT_NE(sAfter.find("<errorno>99.3</errorno>"), std::string::npos);
}

TEST_F(CheckExports, KnowledgeExtractionMakesNewInstances)
{
    // The contract rules (type 3) name the party.
    const char* sKnowledge = VESKAR_ExtractKnowledge("甲方：某某公司", 3);
    ASSERT_NE(sKnowledge, nullptr);
    EXPECT_NE(std::string(sKnowledge).find("\"attribute\":\"party_a\""), std::string::npos) << sKnowledge;
    EXPECT_NE(VESKAR_ExtractKnowledge("乙方", 3), nullptr);
    EXPECT_EQ(VESKAR_NewInstance(), 3);  // 0 from start-up, 1 and 2 from the two extractions
    EXPECT_NE(VESKAR_GetCurTemplateInfo(0), nullptr);
    EXPECT_NE(RUX_ScanTextMem("测试", -1, 3, 0), nullptr);
}

TEST_F(CheckExports, TemplateExportsNeedTheFormatChecker)
{
    // The data folder holds a default template per report type.
    EXPECT_EQ(VESKAR_GetTemplateCount(), 6u);
    EXPECT_NE(std::string(VESKAR_GetTemplateList(6, "*")).find("\"ArguCount\":1"), std::string::npos);
    EXPECT_GE(VESKAR_FindTemplate(6, "", "", ""), 0);
    EXPECT_EQ(VESKAR_GetTemplate(6), nullptr);
    VESKAR_Exit();
    WriteTestFile(m_data.DataFile("RUX-Configure.json"), R"({"FormatCheck": "off"})");
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1);
    EXPECT_EQ(VESKAR_GetTemplate(1), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "g_pDocFormatChecker not init!");
    EXPECT_EQ(VESKAR_ImportTemplate("t.docx", 6, "", "", ""), 0);
}

}  // namespace
