// The document and content files: their layout, and the round trip
// write -> reload -> write that must give the same bytes.
#include <gtest/gtest.h>

#include <json/reader.h>
#include <sys/stat.h>

#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"

using B = CDocxBuilder;

namespace {

std::string RichBody()
{
    std::string sPicture = "<w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r>";
    return "<w:p>" + B::Run("第一行 &amp; 标题") + "<w:r><w:instrText>PAGEREF _Toc1</w:instrText></w:r></w:p>" +
           "<w:p>" + B::Run("第二行") + "<w:r><w:instrText>PAGEREF _Toc2</w:instrText></w:r></w:p>" +
           OpeningHeading() + B::Para("二级 \"标题\"", "<w:outlineLvl w:val=\"1\"/><w:spacing w:line=\"400\" w:lineRule=\"exact\"/>") +
           "<w:p>" + B::Run("面积m") + B::Run("2", "<w:vertAlign w:val=\"superscript\"/>") + "</w:p>" +
           "<w:p>" + sPicture + "</w:p>" + B::Para("图1 结构") + B::Table({{"表1 数据"}, {"a<b", "c"}}) +
           B::Table({{"无标题", "x"}}) + B::Para("E = mc2 (1)");
}

CDocxBuilder RichDocument()
{
    CDocxBuilder builder;
    builder.Body(RichBody())
        .Header(1, B::Para("页眉 <1>"))
        .Footer(1, B::Para("页脚"))
        .Relationships("<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/"
                       "officeDocument/2006/relationships/image\" Target=\"media/a&amp;b.png\"/>");
    return builder;
}

}  // namespace

TEST(ContentFiles, XmlLayout)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, RichDocument(), dir, "rich.docx"), 1);
    EXPECT_EQ(parser.m_sResult, dir.File("rich.xml"));
    std::string sXml = ReadTestFile(dir.File("rich.xml"));
    EXPECT_EQ(sXml.compare(0, 57, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"), 0);
    EXPECT_NE(sXml.find("<docxFile>rich</docxFile>\r\n<format>docx</format>\r\n"), std::string::npos);
    EXPECT_NE(sXml.find("</Headers><Footers>\r\n"), std::string::npos);
    EXPECT_NE(sXml.find("<ContentCount>2</ContentCount>"), std::string::npos);
    EXPECT_NE(sXml.find("<TableCount>2</TableCount>"), std::string::npos);
    EXPECT_NE(sXml.find("<FigureCount>1</FigureCount>"), std::string::npos);
    EXPECT_NE(sXml.find("<formular_index>10 </formular_index>"), std::string::npos);
    // Texts are escaped, the superscript pseudo-tag included.
    EXPECT_NE(sXml.find("<text>面积m&lt;superscript&gt;2&lt;/superscript&gt;</text>"), std::string::npos);
    EXPECT_NE(sXml.find("<text>第一行 &amp;amp; 标题 .</text>"), std::string::npos);
    // Placeholders: " Table" / " Figure " after the id; the caption's text, or none.
    EXPECT_NE(sXml.find("<paraId>00000000 Figure </paraId>"), std::string::npos);
    EXPECT_NE(sXml.find("<paraId>00000001 Table</paraId>\r\n<font></font>\r\n<fontSize>0</fontSize>\r\n"
                        "<line_space>0</line_space>\r\n<numPtr>-1</numPtr>\r\n<level>-100</level>\r\n"
                        "<text></text>"),
              std::string::npos);
    EXPECT_NE(sXml.find("<figureFile>media/a&amp;amp;b.png</figureFile>"), std::string::npos);
    std::string sContent = ReadTestFile(dir.File("rich_Content.xml"));
    EXPECT_NE(sContent.find("<DocStruCount>2</DocStruCount>"), std::string::npos);
    size_t nLines = 0, nCrLf = 0;
    for (size_t i = 0; i < sXml.size(); ++i) {
        nLines += sXml[i] == '\n';
        nCrLf += sXml[i] == '\n' && i > 0 && sXml[i - 1] == '\r';
    }
    EXPECT_EQ(nLines, nCrLf);
}

TEST(ContentFiles, RoundTripGivesTheSameBytes)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, RichDocument(), dir, "rich.docx"), 1);
    std::string sDoc = ReadTestFile(dir.File("rich.xml"));
    std::string sContent = ReadTestFile(dir.File("rich_Content.xml"));

    CDocxParser reloaded;
    ASSERT_EQ(reloaded.ImportFile(dir.File("rich.xml").c_str(), "", 0, 0), 1);
    EXPECT_EQ(reloaded.Model().Paragraphs().size(), parser.Model().Paragraphs().size());
    EXPECT_EQ(reloaded.Model().DocStruct(), parser.Model().DocStruct());
    EXPECT_EQ(reloaded.Model().Paragraphs()[4].text, "面积m<superscript>2</superscript>");
    for (size_t i = 0; i < parser.Model().Paragraphs().size(); ++i)
        EXPECT_EQ(reloaded.Model().Paragraphs()[i].line_rule, parser.Model().Paragraphs()[i].line_rule) << i;
    EXPECT_EQ(reloaded.Model().Paragraphs()[3].line_rule, LineRule::EXACT);
    EXPECT_EQ(reloaded.GetLevel(reloaded.Model().Tables()[0].rows[1][0][0].id), DocLevel::TABLE_COL);
    EXPECT_STREQ(reloaded.GetText(reloaded.Model().Tables()[0].rows[1][0][0].id), "a<b");
    ASSERT_NE(reloaded.GetXMLFile(0), nullptr);
    EXPECT_EQ(ReadTestFile(dir.File("rich.xml")), sDoc);
    EXPECT_EQ(ReadTestFile(dir.File("rich_Content.xml")), sContent);
}

TEST(ContentFiles, JsonForms)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder = RichDocument();
    ASSERT_EQ(ParseBuilt(parser, builder, dir, "rich.docx", 0, 1), 1);
    EXPECT_EQ(parser.m_sResult, dir.File("rich.json"));
    Json::Value root, content;
    Json::CharReaderBuilder reader;
    std::string sErrors;
    std::istringstream docIn(ReadTestFile(dir.File("rich.json")));
    ASSERT_TRUE(Json::parseFromStream(reader, docIn, &root, &sErrors)) << sErrors;
    std::istringstream contentIn(ReadTestFile(dir.File("rich_Content.json")));
    ASSERT_TRUE(Json::parseFromStream(reader, contentIn, &content, &sErrors)) << sErrors;
    EXPECT_EQ(root["ParaCount"].asUInt(), parser.Model().Paragraphs().size());
    EXPECT_EQ(root["Paras"][4]["text"].asString(), "面积m<superscript>2</superscript>");
    EXPECT_EQ(root["Tables"]["TableCount"].asUInt(), 2u);
    EXPECT_TRUE(root["Tables"]["Tables"][1]["tableCaption"].isNull());
    EXPECT_EQ(root["Tables"]["Tables"][0]["Rows"][1]["Cols"][0]["Paras"][0]["text"].asString(), "a<b");
    EXPECT_EQ(root["Figures"]["Figures"][0]["figureFile"].asString(), "media/a&amp;b.png");
    // A placeholder without caption has no "text"; one with a caption has the caption's.
    const Json::Value& paras = root["Paras"];
    for (const Json::Value& para : paras) {
        int nLevel = para["level"].asInt();
        if (nLevel == DocLevel::TABLE_PLACEHOLDER && para["paraId"].asString() == "00000001 Table") {
            EXPECT_FALSE(para.isMember("text"));
        }
        if (nLevel == DocLevel::FIGURE_PLACEHOLDER) {
            EXPECT_EQ(para["text"].asString(), "图1 结构");
        }
        if (nLevel == DocLevel::TABLE_PLACEHOLDER) {
            EXPECT_FALSE(para.isMember("font"));
        }
    }
    EXPECT_EQ(content["DocStruCount"].asUInt(), 2u);
    EXPECT_EQ(content["struct"][1]["level"].asInt(), 2);
}

TEST(ContentFiles, DocumentWithoutTablesAndReloadOfDecreasingIds)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBody(parser, OpeningHeading() + B::Para("甲") + B::Para("乙"), dir), 1);
    std::string sXml = ReadTestFile(dir.File("doc.xml"));
    EXPECT_NE(sXml.find("<Tables>\r\n<TableCount>0</TableCount>\r\n</Tables>"), std::string::npos);
    // Swap the ids of the last two paragraphs: the reload drops the one that goes back.
    char sLast[16];
    std::snprintf(sLast, sizeof sLast, "%08X", parser.Model().Paragraphs()[2].id);
    size_t nLast = sXml.rfind(sLast);
    sXml.replace(nLast, 8, "00000005");
    ASSERT_TRUE(WriteTestFile(dir.File("doc.xml"), sXml));
    CDocxParser reloaded;
    ASSERT_EQ(reloaded.ImportFile(dir.File("doc.xml").c_str(), "", 0, 0), 1);
    EXPECT_EQ(BodyTexts(reloaded), "第一章 绪论|甲");
    EXPECT_NE(g_sLastErrorMessage.find("Critical problem while adding previous id in 乙"), std::string::npos);
}

TEST(ContentFiles, ContentFileIsWrittenBeforeTheDocumentFile)
{
    CTempDir dir;
    ASSERT_EQ(mkdir(dir.File("blocked.xml").c_str(), 0755), 0);  // the document file cannot be written
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Body(OpeningHeading());
    EXPECT_EQ(ParseBuilt(parser, builder, dir, "blocked.docx"), -1);
    EXPECT_NE(g_sLastErrorMessage.find("Fail write file " + dir.File("blocked.xml")), std::string::npos);
    EXPECT_NE(ReadTestFile(dir.File("blocked_Content.xml")).find("<DocStructs>"), std::string::npos);
}

TEST(ContentFiles, MissingOrBrokenResultFiles)
{
    CTempDir dir;
    CDocxParser parser;
    EXPECT_EQ(parser.LoadDocResult(dir.File("none.xml").c_str()), 0u);
    EXPECT_EQ(g_sLastErrorMessage, "Fail read file " + dir.File("none.xml"));
    EXPECT_EQ(parser.ImportFile(dir.File("none.xml").c_str(), "", 0, 0), -2);
    // Garbage reloads to an empty model rather than failing hard.
    ASSERT_TRUE(WriteTestFile(dir.File("junk.xml"), "<Docx><docxFile>junk</docxFile><Paragraph><para><paraId>zz"));
    ASSERT_TRUE(WriteTestFile(dir.File("junk_Content.xml"), "<DocStructs><struct><para><paraId>00000010</paraId></para></struct></DocStructs>"));
    EXPECT_GT(parser.LoadDocResult(dir.File("junk.xml").c_str()), 0u);
    EXPECT_TRUE(parser.Model().Paragraphs().empty());
    EXPECT_TRUE(parser.Model().DocStruct().empty());
    EXPECT_EQ(g_sLastErrorMessage, "Cannot find para_id 00000010");
}
