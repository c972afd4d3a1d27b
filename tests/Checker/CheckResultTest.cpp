// Accepting, ordering and de-duplicating findings, the score, and the XML
// and JSON result forms read back into the same findings.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Checker/CheckResult.h"
#include "Global/Globals.h"
#include "Utility/ID2Message.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

class CheckResultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_catalogue.ImportFromBuffer("h\n1.1.1\t字体错误\t0.5\t8\n2.1\t过期\t2\t5\n99.3\t标点\t0.1\t3\n");
    }

    void Add(uint32_t nPara, uint32_t nOffset, const char* sCode, const char* sOrg, const char* sNew = "",
             int nField = FIELD_TEXT)
    {
        _tCheckResult record;
        record.para_id = nPara;
        record.offset = nOffset;
        record.error_id = sCode;
        record.org_str = sOrg;
        record.new_str = sNew;
        record.field_id = nField;
        record.text = "段落<正文>&";
        m_result.AddResult(record);
    }

    CSwitchGuard m_quiet {g_bLog, false};
    CID2Message m_catalogue;
    CCheckResult m_result {&m_catalogue};
    CTempDir m_dir;
};

TEST_F(CheckResultTest, AcceptsOrDropsFindings)
{
    _tCheckResult record;
    record.error_id = "1.1.1";
    record.text = "kept";
    record.org_str = "宋体 \t\r\n";
    record.field_id = FIELD_FONT;
    m_result.AddResult(record);
    ASSERT_EQ(m_result.Results().size(), 1u);
    EXPECT_EQ(m_result.Results()[0].org_str, "宋体 ");  // one trailing blank stays
    EXPECT_EQ(m_result.Results()[0].error_msg, "字体错误");
    EXPECT_EQ(record.error_id, "1.1.1");  // the caller's record keeps code and text
    EXPECT_EQ(record.text, "kept");
    EXPECT_TRUE(record.org_str.empty());

    Add(1, 0, "1.1.1", " \n", "", FIELD_FONT);   // blank original, field font: dropped
    Add(1, 0, "1.1.1", "", "黑体", FIELD_TEXT);   // blank original, field text: kept
    Add(2, 0, "99.3", "，", "，");                 // nothing to change: dropped
    Add(3, 0, "7.7", "x", "y");                    // unknown code: message names it
    ASSERT_EQ(m_result.Results().size(), 3u);
    EXPECT_EQ(m_result.Results()[2].error_msg, "Wrong text id 7.7");
}

TEST_F(CheckResultTest, RepeatsCountOnceAndScoresAreCapped)
{
    Add(5, 3, "2.1", "GB 1-2000", "GB 1-2010");
    Add(5, 3, "2.1", "GB 1-2000", "other");  // same place, code and original: a repeat
    for (uint32_t i = 0; i < 4; ++i)
        Add(6 + i, 0, "2.1", "GB 2-1999");
    Add(1, 9, "99.3", ",");
    m_result.GetResult("/docs", "thesis", 1, "", nullptr);
    EXPECT_EQ(m_result.ErrCount(), 6u);
    EXPECT_EQ(m_result.Statistics().at("2.1").freq, 5);
    EXPECT_FLOAT_EQ(m_result.Statistics().at("2.1").score, 5);  // 5 x 2 capped at 5
    EXPECT_FLOAT_EQ(m_result.TotalScore(), 100 - 5 - 0.1f);
    EXPECT_EQ(m_result.Results().front().para_id, 1u);  // sorted by paragraph
    EXPECT_EQ(m_result.Remove("2.1"), 5u);
}

TEST_F(CheckResultTest, TotalScoreNeverGoesBelowZero)
{
    m_catalogue.ImportFromBuffer("h\n9\tbig\t60\t60\n8\tbig\t60\t60\n");
    Add(1, 0, "9", "a");
    Add(2, 0, "8", "b");
    std::string sXml = m_result.GetResult("", "", 0, "", nullptr);
    EXPECT_NE(sXml.find("<TotalScore>0.00</TotalScore>"), std::string::npos);
}

TEST_F(CheckResultTest, EmptyResultForms)
{
    std::string sXml = m_result.GetResult("/d", "f", 2, "http://x/", nullptr);
    EXPECT_EQ(sXml,
              "<CheckResults>\r\n<docxPath>/d</docxPath>\r\n<docxFile>f</docxFile>\r\n<reportType>2</reportType>\r\n"
              "<url_prefix>http://x/</url_prefix>\r\n<template_organization></template_organization>\r\n"
              "<template_area></template_area>\r\n<template_argu></template_argu>\r\n<Statistics>\r\n"
              "<TotalCount>0</TotalCount>\r\n<ErrorTypeCount>0</ErrorTypeCount>\r\n<TotalScore>100.00</TotalScore>\r\n"
              "</Statistics>\r\n<ChapterStat>\r\n<ChapterCount>0</ChapterCount>\r\n</ChapterStat>\r\n<Errors>\r\n"
              "</Errors>\r\n</CheckResults>\r\n");
    std::string sJson = m_result.GetResultJson("/d", "f", 2, "", nullptr);
    EXPECT_NE(sJson.find("\"Errors\" : []"), std::string::npos) << sJson;
    EXPECT_NE(sJson.find("\"records\" : []"), std::string::npos);
    EXPECT_NE(sJson.find("\"TotalScore\" : 100"), std::string::npos);
}

TEST_F(CheckResultTest, OneFindingInXml)
{
    _tCheckResult record;
    record.para_id = 0x1A2B;
    record.page_num = 3;
    record.error_id = "1.1.1";
    record.error_msg = "m";
    record.field_id = FIELD_LINE_SPACE;
    record.revise_type = REVISE_C;
    record.new_para_id = 0xFF;
    record.offset = 12;
    record.org_str = "a<b";
    record.new_str = "c&d";
    std::string sXml;
    record.output(sXml);
    EXPECT_EQ(sXml,
              "<check>\r\n<paraId>00001A2B</paraId>\r\n<page_num>3</page_num>\r\n<new_paraId>000000FF</new_paraId>\r\n"
              "<errorno>1.1.1</errorno>\r\n<errormsg>m</errormsg>\r\n<field>line_space</field>\r\n<text></text>\r\n"
              "<revisetype>C</revisetype>\r\n<offset>12</offset>\r\n<OrgStr>a&lt;b</OrgStr>\r\n"
              "<NewStr>c&amp;d</NewStr>\r\n</check>\r\n");
    _tCheckResult back;
    back.input(sXml.c_str(), false);
    EXPECT_TRUE(back == record);
    EXPECT_EQ(back.new_str, "c&d");
    EXPECT_EQ(back.field_id, FIELD_LINE_SPACE);
    EXPECT_EQ(back.revise_type, REVISE_C);
    EXPECT_EQ(back.new_para_id, 0xFFu);
}

TEST_F(CheckResultTest, FieldAndLetterDecoding)
{
    EXPECT_EQ(_tCheckResult::FieldFromName("fontSize", 2), FIELD_FONTSIZE);
    EXPECT_EQ(_tCheckResult::FieldFromName("font", 2), FIELD_FONT);
    EXPECT_EQ(_tCheckResult::FieldFromName("level", 2), FIELD_LEVEL);
    EXPECT_EQ(_tCheckResult::FieldFromName("line_space", 2), FIELD_LINE_SPACE);
    EXPECT_EQ(_tCheckResult::FieldFromName("content", 2), FIELD_CONTENT);
    EXPECT_EQ(_tCheckResult::FieldFromName("zzz", 4), 4);
    EXPECT_EQ(_tCheckResult::ReviseFromLetter("M", 1), REVISE_M);
    EXPECT_EQ(_tCheckResult::ReviseFromLetter("Q", 1), 1);
}

TEST_F(CheckResultTest, XmlAndJsonResultsReadBackToTheSameFindings)
{
    Add(0x10, 4, "99.3", "“引号<>&\"'", "\"");
    Add(0x10, 1, "1.1.1", "宋体", "黑体", FIELD_FONT);
    Add(0x20, 0, "2.1", "GB/T 7714-2005", "GB/T 7714-2015");
    std::string sXmlFile = m_dir.File("r_Check.xml");
    WriteTestFile(sXmlFile, std::string("<?xml version=\"1.0\"?>\n<VESKAR>\n") +
                                m_result.GetResult("/a&b", "论文", 3, "", nullptr) + "</VESKAR>\n");
    std::string sJsonFile = m_dir.File("r_Check.JSON");
    WriteTestFile(sJsonFile, m_result.GetResultJson("/a&b", "论文", 3, "", nullptr));

    for (const std::string& sFile : {sXmlFile, sJsonFile}) {
        CCheckResult back(&m_catalogue);
        ASSERT_EQ(back.Import(sFile.c_str()), 1) << sFile;
        EXPECT_EQ(back.Path(), "/a&b");
        EXPECT_EQ(back.Filename(), "论文");
        EXPECT_EQ(back.ReportType(), 3);
        ASSERT_EQ(back.Results().size(), 3u) << sFile;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(back.Results()[i] == m_result.Results()[i]) << sFile << " #" << i;
            EXPECT_EQ(back.Results()[i].error_msg, m_result.Results()[i].error_msg);
            EXPECT_EQ(back.Results()[i].revise_type, m_result.Results()[i].revise_type);
            EXPECT_TRUE(back.Results()[i].text.empty());
        }
        // Written again, the findings are the same (texts are not read back).
        CCheckResult again(&m_catalogue);
        WriteTestFile(m_dir.File("again.xml"), back.GetResult("/a&b", "论文", 3, "", nullptr));
        ASSERT_EQ(again.Import(m_dir.File("again.xml").c_str()), 1);
        EXPECT_EQ(std::string(again.GetResult("/a&b", "论文", 3, "", nullptr)),
                  std::string(back.GetResult("/a&b", "论文", 3, "", nullptr)));
    }
}

TEST_F(CheckResultTest, SavedResultKeepsItsTemplateKeys)
{
    // Shown again without its document, a result keeps the template it was
    // checked against.
    std::string sXml = m_result.GetResult("/a", "r", 7, "", nullptr);
    const std::string kEmpty = "<template_organization></template_organization>";
    ASSERT_NE(sXml.find(kEmpty), std::string::npos);
    sXml.replace(sXml.find(kEmpty), kEmpty.size(), "<template_organization>某大学</template_organization>");
    WriteTestFile(m_dir.File("k_Check.xml"), sXml);
    CCheckResult back(&m_catalogue);
    ASSERT_EQ(back.Import(m_dir.File("k_Check.xml").c_str()), 1);
    EXPECT_NE(std::string(back.GetResult("/a", "r", 7, "", nullptr)).find("<template_organization>某大学<"),
              std::string::npos);
    WriteTestFile(m_dir.File("k_Check.json"), back.GetResultJson("/a", "r", 7, "", nullptr));
    CCheckResult json(&m_catalogue);
    ASSERT_EQ(json.Import(m_dir.File("k_Check.json").c_str()), 1);
    EXPECT_NE(std::string(json.GetResultJson("/a", "r", 7, "", nullptr)).find("某大学"), std::string::npos);
}

TEST_F(CheckResultTest, CompactAllStringJsonAndBadFiles)
{
    std::string sCompact =
        R"({"docxPath":"C:\\docs","docxFile":"a","reportType":"4","Errors":[{"paraId":"0000000A","page_num":"2",)"
        R"("errorno":"99.3","errormsg":"m","field":"text","revisetype":"D","offset":"7","OrgStr":"x","NewStr":""}]})";
    WriteTestFile(m_dir.File("c.json"), sCompact);
    CCheckResult back(&m_catalogue);
    ASSERT_EQ(back.Import(m_dir.File("c.json").c_str()), 1);
    EXPECT_EQ(back.Path(), "C:\\docs");
    EXPECT_EQ(back.ReportType(), 4);
    ASSERT_EQ(back.Results().size(), 1u);
    EXPECT_EQ(back.Results()[0].para_id, 10u);
    EXPECT_EQ(back.Results()[0].offset, 7u);
    EXPECT_EQ(back.Results()[0].revise_type, REVISE_D);

    WriteTestFile(m_dir.File("none.json"), R"({"docxPath":"x"})");
    EXPECT_EQ(back.Import(m_dir.File("none.json").c_str()), -1);
    EXPECT_EQ(back.Import(m_dir.File("missing.xml").c_str()), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Failed Read file " + m_dir.File("missing.xml"));
    WriteTestFile(m_dir.File("cut.xml"), "<CheckResults><Errors><check><paraId>0A</paraId><errorno>1.1");
    EXPECT_EQ(back.Import(m_dir.File("cut.xml").c_str()), 1);  // a cut file reads what is there
    ASSERT_EQ(back.Results().size(), 1u);
    EXPECT_EQ(back.Results()[0].error_id, "");

    // Another file handed over by mistake is refused, not read as a result
    // without findings.
    WriteTestFile(m_dir.File("other.xml"), "<?xml version=\"1.0\"?><w:document/>");
    EXPECT_EQ(back.Import(m_dir.File("other.xml").c_str()), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Not a check result: " + m_dir.File("other.xml"));
}

}  // namespace
