// The body scanner: which elements become paragraphs, tables and figures,
// what text and attributes they carry, and which levels they get.
#include <gtest/gtest.h>

#include "Docx/DocStructBuilder.h"
#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"
#include "support/SwitchGuard.h"

using B = CDocxBuilder;

namespace {

const std::string kPicture = "<w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r>";
const std::string kImageRel =
    "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/image\" Target=\"media/image1.png\"/>";

std::string PageRefLine(const std::string& sText)
{
    return "<w:p>" + B::Run(sText) + "<w:r><w:instrText> PAGEREF _Toc1 \\h </w:instrText></w:r></w:p>";
}

int ParseWithPicture(CDocxParser& parser, const std::string& sBody, const CTempDir& dir)
{
    CDocxBuilder builder;
    builder.Body(sBody).Relationships(kImageRel);
    return ParseBuilt(parser, builder, dir);
}

}  // namespace

TEST(BodyScanner, TextBoxSplitsParagraphAndDropsThePartAfterIt)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBox = "<w:r><w:drawing><wps:txbx><w:txbxContent><w:p w:rsidR=\"2\">" + B::Run("框内文字") +
                       "</w:p></w:txbxContent></wps:txbx></w:drawing></w:r>";
    std::string sBody = OpeningHeading() + "<w:p w:rsidR=\"1\">" + B::Run("框前") + sBox + B::Run("框后") + "</w:p>";
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|框前|框内文字");
    ASSERT_EQ(parser.Model().Paragraphs().size(), 3u);
    EXPECT_EQ(parser.Model().Paragraphs()[1].level, 0);
    EXPECT_EQ(parser.Model().Paragraphs()[2].level, DocLevel::TXTBOX);
    // The box's id is the offset of its "<"; the outer id that of the outer "p".
    std::string sXml = B::Document(sBody);
    EXPECT_EQ(parser.Model().Paragraphs()[1].id, sXml.find("<w:p w:rsidR=\"1\"") + 3);
    EXPECT_EQ(parser.Model().Paragraphs()[2].id, sXml.find("<w:p w:rsidR=\"2\""));
    EXPECT_NE(g_sLastErrorMessage.find("Critical problem while adding previous id in 框后"), std::string::npos);
}

TEST(BodyScanner, PropertyElementsAreNeverParagraphsTextsTablesOrRows)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sPara = "<w:p><w:pPr><w:pStyle w:val=\"a\"/><w:tabs><w:tab w:val=\"left\" w:pos=\"420\"/>"
                        "</w:tabs></w:pPr><w:proofErr w:type=\"spellStart\"/>" + B::Run("甲") +
                        "<w:proofErr w:type=\"spellEnd\"/><w:r><w:tab/><w:t>乙</w:t></w:r></w:p>";
    std::string sBody = OpeningHeading() + sPara + B::Table({{"a", "b"}, {"c", "d"}});
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|甲\t乙");
    ASSERT_EQ(parser.Model().Tables().size(), 1u);
    ASSERT_EQ(parser.Model().Tables()[0].rows.size(), 2u);
    EXPECT_EQ(parser.Model().Tables()[0].rows[0].size(), 2u);
    EXPECT_EQ(parser.Model().Tables()[0].rows[1][1][0].text, "d");
    EXPECT_EQ(parser.Model().Tables()[0].rows[1][1][0].level, DocLevel::TABLE_COL);
}

TEST(BodyScanner, RunTextsSuperscriptsAndMath)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sTwoTexts = "<w:p><w:r><w:t>一</w:t><w:t>二</w:t></w:r></w:p>";
    std::string sSuper = "<w:p>" + B::Run("面积m") +
                         B::Run("2", "<w:vertAlign w:val=\"superscript\"/>") + "</w:p>";
    std::string sMath = "<w:p>" + B::Run("设") + "<m:oMath><m:r><m:t>x+y</m:t></m:r></m:oMath>" +
                        B::Run("为和") + "</w:p>";
    ASSERT_EQ(ParseBody(parser, OpeningHeading() + sTwoTexts + sSuper + sMath, dir), 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|一|面积m<superscript>2</superscript>|设x+y为和");
}

TEST(BodyScanner, FontsSizesSpacingAndStyles)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Styles("<w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/><w:rPr>"
                   "<w:rFonts w:eastAsia=\"黑体\"/><w:sz w:val=\"32\"/></w:rPr></w:style>"
                   "<w:style w:type=\"paragraph\" w:styleId=\"a5\"><w:name w:val=\"Body Heading\"/>"
                   "<w:basedOn w:val=\"1\"/></w:style>"
                   "<w:style w:type=\"paragraph\" w:styleId=\"a6\"><w:name w:val=\"Later Base User\"/>"
                   "<w:basedOn w:val=\"a7\"/></w:style>"
                   "<w:style w:type=\"paragraph\" w:styleId=\"a7\"><w:name w:val=\"Late\"/><w:rPr>"
                   "<w:sz w:val=\"21\"/></w:rPr></w:style>");
    std::string sStyled = "<w:p><w:pPr><w:pStyle w:val=\"a5\"/><w:spacing w:line=\"360\" w:lineRule=\"auto\"/>"
                          "</w:pPr>" + B::Run("研究背景") + "</w:p>";
    // A language tag is not a font: the ASCII font is the paragraph's font.
    std::string sLang = "<w:p>" + B::Run("Text", "<w:rFonts w:ascii=\"Times New Roman\"/>"
                                                 "<w:sz w:val=\"24\"/><w:lang w:eastAsia=\"zh-CN\"/>") +
                        B::Run("more", "<w:szCs w:val=\"28\"/>") + "</w:p>";
    builder.Body(OpeningHeading() + sStyled + sLang);
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    EXPECT_EQ(parser.StyleID2Level("1"), 1);
    EXPECT_EQ(parser.StyleID2Level("a5"), 1);
    EXPECT_EQ(parser.m_mapStyleId2Style.count("a6"), 0u);  // its base comes later
    ASSERT_EQ(parser.Model().Paragraphs().size(), 3u);
    const _tParagraph& styled = parser.Model().Paragraphs()[1];
    EXPECT_EQ(styled.level, 1);
    EXPECT_EQ(styled.font, "黑体");
    EXPECT_EQ(styled.font_size, 32);
    EXPECT_EQ(styled.line_space, 360);
    const _tParagraph& plain = parser.Model().Paragraphs()[2];
    EXPECT_EQ(plain.font, "Times New Roman");
    EXPECT_EQ(plain.font_size, 24);  // w:szCs sizes complex scripts only
}

TEST(BodyScanner, PicturesAddFiguresAndPlaceholders)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + "<w:p>" + kPicture + "</w:p>" + "<w:p>" + B::Run("见下") + kPicture + "</w:p>";
    ASSERT_EQ(ParseWithPicture(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().Figures().size(), 2u);
    EXPECT_EQ(parser.Model().Figures()[0].figure_id, "rId5");
    EXPECT_EQ(parser.Model().Figures()[0].figure_file, "media/image1.png");
    // Without text before it the picture adds no mark; its paragraph is empty and dropped.
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|见下(Figure 1)");
    ASSERT_EQ(parser.Model().Paragraphs().size(), 4u);
    EXPECT_EQ(parser.Model().Paragraphs()[1].level, DocLevel::FIGURE_PLACEHOLDER);
    EXPECT_EQ(parser.Model().Paragraphs()[1].id, 0u);
    EXPECT_EQ(parser.Model().Paragraphs()[2].level, DocLevel::FIGURE_PLACEHOLDER);
    EXPECT_EQ(parser.Model().Figures()[1].para_index, 2u);
    EXPECT_EQ(parser.Model().Figures()[1].para_id, parser.Model().Paragraphs()[3].id);
}

TEST(BodyScanner, FigureCaptionsAreShortLinesRightAfterThePicture)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + "<w:p>" + kPicture + "</w:p>" + B::Para("图1 系统结构") +
                        "<w:p>" + kPicture + "</w:p>" +
                        B::Para("如前所述，系统的结构如图1所示，它包含三个部分和若干个模块。");
    ASSERT_EQ(ParseWithPicture(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().Figures().size(), 2u);
    unsigned nCaption = parser.Model().Figures()[0].caption_index;
    ASSERT_LT(nCaption, parser.Model().Paragraphs().size());
    EXPECT_EQ(parser.Model().Paragraphs()[nCaption].text, "图1 系统结构");
    EXPECT_EQ(parser.Model().Paragraphs()[nCaption].level, DocLevel::FIGURE_CAPTION);
    EXPECT_EQ(parser.Model().Figures()[1].caption_index, NO_CAPTION);
    EXPECT_EQ(parser.Model().Paragraphs().back().level, 0);
}

TEST(BodyScanner, TableCaptionsFromAMergedFirstRowOrThePreviousLine)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + B::Table({{"表1 样本数据"}, {"a", "b"}}) + B::Para("表2 实验结果") +
                        B::Table({{"x", "y"}, {"1", "2"}}) + B::Para("一段正文，没有标题。") +
                        B::Table({{"p", "q"}});
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().Tables().size(), 3u);
    const auto& vecParas = parser.Model().Paragraphs();
    const _tTable& first = parser.Model().Tables()[0];
    ASSERT_NE(first.caption_index, NO_CAPTION);
    EXPECT_EQ(vecParas[first.caption_index].text, "表1 样本数据");
    EXPECT_EQ(vecParas[first.caption_index].level, DocLevel::TABLE_CAPTION);
    EXPECT_EQ(vecParas[first.caption_index].id, first.rows[0][0][0].id);
    EXPECT_EQ(first.para_index, first.caption_index + 1);
    EXPECT_EQ(vecParas[first.para_index].level, DocLevel::TABLE_PLACEHOLDER);
    EXPECT_EQ(vecParas[first.para_index].id, 0u);
    const _tTable& second = parser.Model().Tables()[1];
    ASSERT_NE(second.caption_index, NO_CAPTION);
    EXPECT_EQ(vecParas[second.caption_index].text, "表2 实验结果");
    EXPECT_EQ(parser.Model().Tables()[2].caption_index, NO_CAPTION);
}

TEST(BodyScanner, NestedTableTextStaysInItsCell)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sInner = B::Table({{"(1)"}});
    std::string sOuter = "<w:tbl><w:tr><w:tc>" + B::Para("E=mc") + "</w:tc><w:tc>" + sInner + B::Para("") +
                         "</w:tc></w:tr></w:tbl>";
    ASSERT_EQ(ParseBody(parser, OpeningHeading() + sOuter + B::Para("后文"), dir), 1);
    ASSERT_EQ(parser.Model().Tables().size(), 1u);
    ASSERT_EQ(parser.Model().Tables()[0].rows.size(), 1u);
    ASSERT_EQ(parser.Model().Tables()[0].rows[0].size(), 2u);
    EXPECT_EQ(parser.Model().Tables()[0].rows[0][1][0].text, "(1)");
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|后文");
}

TEST(BodyScanner, BrokenMarkupEndsForwardAndNeverLoops)
{
    CTempDir dir;
    CDocxParser parser;
    // A self-closing paragraph, and a last paragraph without its end tag.
    std::string sBody = OpeningHeading() + "<w:p w:rsidR=\"00AA\"/>" + B::Para("中间") + "<w:p>" + B::Run("末尾");
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|中间|末尾");
    // A table without its end stops the scan; what came before stays.
    CDocxParser second;
    ASSERT_EQ(ParseBody(second, OpeningHeading() + B::Para("前") + "<w:tbl><w:tr><w:tc>" + B::Para("x"), dir), 1);
    EXPECT_EQ(BodyTexts(second), "第一章 绪论|前");
    EXPECT_TRUE(second.Model().Tables().empty());
}

TEST(BodyScanner, FormulaNumbersAndPostProcessing)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + B::Para("E = mc2\t(3)") + B::Para("见文献(12)") +
                        B::Para("末尾空白  \t");
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().Paragraphs().size(), 4u);
    EXPECT_EQ(parser.Model().Paragraphs()[1].level, DocLevel::FORMULA_INDEX);
    EXPECT_EQ(parser.Model().FormulaIndex(), std::vector<int>({1}));
    EXPECT_EQ(parser.Model().Paragraphs()[2].level, 0);  // "(" not after a blank
    EXPECT_EQ(parser.Model().Paragraphs()[3].text, "末尾空白");
}

TEST(BodyStructure, TableOfContentsAndStrayPageReferences)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = PageRefLine("第一章 绪论") + PageRefLine("第二章 方法") + OpeningHeading() +
                        B::Para("正文") + PageRefLine("见第3页");
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().ContentStruct(), std::vector<int>({0, 1}));
    EXPECT_EQ(parser.Model().Paragraphs()[0].level, DocLevel::CONTENT1);
    EXPECT_EQ(parser.Model().Paragraphs()[0].text, "第一章 绪论 .");
    EXPECT_EQ(parser.Model().Paragraphs()[4].level, 0);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({2}));
}

TEST(BodyStructure, HeadingLevelsAreLoweredAndCoverLinesClassified)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sLevel2 = "<w:outlineLvl w:val=\"1\"/>";
    std::string sLevel3 = "<w:outlineLvl w:val=\"2\"/>";
    std::string sBody = "<w:p>" + B::Run("某某大学", "<w:sz w:val=\"44\"/>") + "</w:p>" +
                        "<w:p>" + B::Run("学位论文", "<w:sz w:val=\"44\"/>") + "</w:p>" +
                        "<w:p>" + B::Run("作者", "<w:sz w:val=\"28\"/>") + "</w:p>" +
                        B::Para("1 引言", sLevel2) + B::Para("1.1 背景", sLevel3) + B::Para("2 方法", sLevel2);
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    const auto& v = parser.Model().Paragraphs();
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[0].level, -1);
    EXPECT_EQ(v[1].level, -1);
    EXPECT_EQ(v[2].level, -2);
    EXPECT_EQ(v[3].level, 1);
    EXPECT_EQ(v[4].level, 2);
    EXPECT_EQ(v[5].level, 1);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({3, 4, 5}));
}

TEST(BodyStructure, HeadersFootersAndRelationships)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Body(OpeningHeading())
        .Header(1, B::Para("学位论文页眉"))
        .Header(2, B::Para("学位论文页眉"))
        .Header(3, B::Para("第二种页眉"))
        .Footer(1, B::Para("1"))
        .Relationships(kImageRel +
                       "<Relationship Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                       "relationships/header\" Target=\"header1.xml\" Id=\"rId7\"/>"
                       "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                       "2006/relationships/hyperlink\" Target=\"http://x\" TargetMode=\"External\"/>");
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    ASSERT_EQ(parser.Model().Headers().size(), 2u);
    EXPECT_EQ(parser.Model().Headers()[0].level, DocLevel::HEADER);
    EXPECT_EQ(parser.Model().Headers()[1].text, "第二种页眉");
    EXPECT_EQ(parser.Model().Headers()[1].page_num, 3);
    ASSERT_EQ(parser.Model().Footers().size(), 1u);
    EXPECT_EQ(parser.Model().Footers()[0].level, DocLevel::FOOTER);
    ASSERT_NE(parser.GetResInfo("rId7"), nullptr);
    EXPECT_EQ(parser.GetResInfo("rId7")->type, 5);
    EXPECT_EQ(parser.GetResInfo("rId5")->type, 6);
    EXPECT_EQ(parser.GetResInfo("rId9"), nullptr);  // a type the model does not keep
}

TEST(BodyStructure, OcrTextIsJoinedIntoParagraphs)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + B::Para("这是一段被识别") + B::Para("软件切开的文字，") +
                        B::Para("到这里才结束。") + B::Para("1 下一节") + B::Para("新的段落。") +
                        B::Table({{"单元格前半"}, {"x"}});
    int nResult = 0;
    {
        CSwitchGuard ocr(g_bOCR, true);
        nResult = ParseBody(parser, sBody, dir);
    }
    ASSERT_EQ(nResult, 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|这是一段被识别软件切开的文字，到这里才结束。|1 下一节|新的段落。");
    EXPECT_EQ(parser.Model().Tables()[0].para_index + 1, parser.Model().Paragraphs().size());
}

TEST(BodyStructure, HandMadeContentsAndListsOfFiguresAreContentsLines)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sHeading = "<w:outlineLvl w:val=\"0\"/>";
    // A typed table of contents (tab or dot leaders, Roman and Arabic page
    // numbers), then a list of figures of page references after a heading,
    // and a list of tables whose lines carry a heading level.
    std::string sBody = B::Para("目录", sHeading) + B::Para("摘要\tI") + B::Para("第一章 绪论……………………1") +
                        B::Para("1.1 研究背景......3") + B::Para("参考文献\t12") + B::Para("插图", sHeading) +
                        PageRefLine("图1.1\t系统结构") + PageRefLine("图2.1\t实验流程") +
                        B::Para("表格", sHeading) + B::Para("表3.1\t样本   \t17", sHeading) +
                        B::Para("表3.2\t结果   \t19", sHeading) + B::Para("第一章 绪论", sHeading) +
                        B::Para("温度\t25") + B::Para("正文。") + B::Para("第二章 方法", sHeading);
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    EXPECT_EQ(parser.Model().ContentStruct(), std::vector<int>({1, 2, 3, 4, 6, 7, 9, 10}));
    // A single line with a tab and a number is text, not contents.
    EXPECT_EQ(parser.Model().Paragraphs()[12].level, 0);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 5, 8, 11, 14}));
    int nPage = 0;
    EXPECT_TRUE(CDocStructBuilder::IsContentsLine("附录 A ·····  25", nPage));
    EXPECT_EQ(nPage, 25);
    EXPECT_FALSE(CDocStructBuilder::IsContentsLine("学号:            2014110184", nPage));
    EXPECT_FALSE(CDocStructBuilder::IsContentsLine("见第 3. 5 节", nPage));
    EXPECT_FALSE(CDocStructBuilder::IsContentsLine("\t12", nPage));
}

TEST(BodyScanner, EquationPicturesAreNoFigures)
{
    CTempDir dir;
    CDocxParser parser;
    auto object = [](const std::string& sProgId) {
        return "<w:r><w:object w:dxaOrig=\"1200\"><v:shape id=\"_x1\"><v:imagedata r:id=\"rId5\" o:title=\"\"/>"
               "</v:shape><o:OLEObject Type=\"Embed\" ProgID=\"" + sProgId + "\" ShapeID=\"_x1\" r:id=\"rId6\"/>"
               "</w:object></w:r>";
    };
    std::string sBody = OpeningHeading() + "<w:p>" + B::Run("设") + object("Equation.DSMT4") + B::Run("为常数") + "</w:p>" +
                        "<w:p>" + object("Equation.3") + "<w:r><w:tab/><w:t>(2.1)</w:t></w:r></w:p>" +
                        "<w:p>" + kPicture + "<w:r><w:tab/><w:t>（2.2）</w:t></w:r></w:p>" +
                        "<w:p>" + kPicture + "<w:r><w:tab/><w:t>(2.3)</w:t></w:r></w:p>" +
                        "<w:p>" + B::Run("流程") + object("Visio.Drawing.15") + "</w:p>";
    ASSERT_EQ(ParseWithPicture(parser, sBody, dir), 1);
    // Only the drawing is a figure: a picture on a line numbered like a
    // formula, in either kind of bracket, is the formula.
    ASSERT_EQ(parser.Model().Figures().size(), 1u);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|设为常数|\t(2.1)|\t（2.2）|\t(2.3)|流程(Figure 0)");
    EXPECT_EQ(parser.Model().FormulaIndex(), std::vector<int>({2, 4}));
}

TEST(BodyScanner, CaptionAfterThePictureParagraphWithTextOfItsOwn)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading() + "<w:p>" + B::Run("系统的结构如图2-1所示。") + kPicture + "</w:p>" +
                        B::Para("图2-1 系统结构", "<w:outlineLvl w:val=\"1\"/>") + "<w:p>" + kPicture + "</w:p>" +
                        B::Para("如图2-2所示，这里是一段解释这张图的正文。") + B::Para("图2-2 不是紧跟的题注");
    ASSERT_EQ(ParseWithPicture(parser, sBody, dir), 1);
    ASSERT_EQ(parser.Model().Figures().size(), 2u);
    const auto& vecParas = parser.Model().Paragraphs();
    unsigned nCaption = parser.Model().Figures()[0].caption_index;
    ASSERT_LT(nCaption, vecParas.size());
    EXPECT_EQ(vecParas[nCaption].text, "图2-1 系统结构");
    EXPECT_EQ(vecParas[nCaption].level, DocLevel::FIGURE_CAPTION);  // no longer a heading
    // A sentence that opens with 如图 is no caption, and it ends the search.
    EXPECT_EQ(parser.Model().Figures()[1].caption_index, NO_CAPTION);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0}));
}

TEST(BodyStructure, CaptionsInHeadingStylesAreCaptions)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sLevel2 = "<w:outlineLvl w:val=\"1\"/>";
    std::string sBody = OpeningHeading() + B::Para("表3-1 红绿灯数据样本量", sLevel2) + B::Para("正文。") +
                        B::Para("图 4-5 聚类树形图", sLevel2) + B::Para("Figure 2 Layout", sLevel2) +
                        B::Para("图像处理方法", sLevel2) + B::Para("表格的设计", sLevel2);
    ASSERT_EQ(ParseBody(parser, sBody, dir), 1);
    const auto& vecParas = parser.Model().Paragraphs();
    ASSERT_EQ(vecParas.size(), 7u);
    EXPECT_EQ(vecParas[1].level, DocLevel::TABLE_CAPTION);
    EXPECT_EQ(vecParas[3].level, DocLevel::FIGURE_CAPTION);
    EXPECT_EQ(vecParas[4].level, DocLevel::FIGURE_CAPTION);
    // Words that begin with 图 or 表 but carry no number stay headings.
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 5, 6}));
}
