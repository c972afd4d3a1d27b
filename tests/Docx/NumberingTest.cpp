// Automatic list numbers: what Word draws before numbered paragraphs is
// counted from numbering.xml and starts the paragraph's text.
#include <gtest/gtest.h>

#include "Docx/DocxTestUtil.h"
#include "Docx/ListNumbering.h"

using B = CDocxBuilder;

namespace {

std::string Level(int nLevel, const std::string& sFormat, const std::string& sText, const std::string& sMore = "")
{
    return "<w:lvl w:ilvl=\"" + std::to_string(nLevel) + "\"><w:start w:val=\"1\"/><w:numFmt w:val=\"" +
           sFormat + "\"/>" + sMore + "<w:lvlText w:val=\"" + sText +
           "\"/><w:lvlJc w:val=\"left\"/><w:pPr><w:ind w:left=\"0\"/></w:pPr></w:lvl>";
}

std::string Abstract(int nId, const std::string& sLevels)
{
    return "<w:abstractNum w:abstractNumId=\"" + std::to_string(nId) + "\">" + sLevels + "</w:abstractNum>";
}

std::string Num(int nId, int nAbstract, const std::string& sOverrides = "")
{
    return "<w:num w:numId=\"" + std::to_string(nId) + "\"><w:abstractNumId w:val=\"" + std::to_string(nAbstract) +
           "\"/>" + sOverrides + "</w:num>";
}

std::string Numbering(const std::string& sInner)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:numbering xmlns:w=\"http://"
           "schemas.openxmlformats.org/wordprocessingml/2006/main\">" + sInner + "</w:numbering>";
}

std::string NumPr(int nNumId, int nLevel)
{
    return "<w:numPr><w:ilvl w:val=\"" + std::to_string(nLevel) + "\"/><w:numId w:val=\"" + std::to_string(nNumId) +
           "\"/></w:numPr>";
}

// A multilevel list 1 / 1.1 / 1.1.1 (abstract 0, numId 1).
const std::string kDecimalLevels = Level(0, "decimal", "%1") + Level(1, "decimal", "%1.%2") +
                                   Level(2, "decimal", "%1.%2.%3");

int ParseWithNumbering(CDocxParser& parser, const std::string& sBody, const std::string& sNumbering,
                       const CTempDir& dir, int nReportType = 0, const std::string& sStyles = "")
{
    CDocxBuilder builder;
    builder.Body(sBody).Item("word/numbering.xml", Numbering(sNumbering));
    if (!sStyles.empty())
        builder.Styles(sStyles);
    return ParseBuilt(parser, builder, dir, "doc.docx", nReportType);
}

}  // namespace

TEST(ListNumbers, MultilevelNumbersRestartBelowAHigherLevel)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = OpeningHeading("绪论部分") + B::Para("引言", NumPr(1, 0)) + B::Para("背景", NumPr(1, 1)) +
                        B::Para("现状", NumPr(1, 1)) + B::Para("细节", NumPr(1, 2)) + B::Para("方法", NumPr(1, 0)) +
                        B::Para("模型", NumPr(1, 1)) + B::Para("正文没有编号。");
    ASSERT_EQ(ParseWithNumbering(parser, sBody, Abstract(0, kDecimalLevels) + Num(1, 0), dir), 1);
    EXPECT_EQ(BodyTexts(parser),
              "绪论部分|1\t引言|1.1\t背景|1.2\t现状|1.2.1\t细节|2\t方法|2.1\t模型|正文没有编号。");
    const auto& vecParas = parser.Model().Paragraphs();
    EXPECT_EQ(vecParas[1].num_len, 2);
    EXPECT_EQ(vecParas[4].num_len, 6);
    EXPECT_EQ(vecParas[7].num_len, 0);
    // The length travels with the saved document and comes back on reload.
    CDocxParser reloaded;
    ASSERT_EQ(reloaded.ImportFile(dir.File("doc.xml").c_str(), "", 0, 0), 1);
    ASSERT_EQ(reloaded.Model().Paragraphs().size(), vecParas.size());
    EXPECT_EQ(reloaded.Model().Paragraphs()[4].num_len, 6);
    EXPECT_EQ(reloaded.Model().Paragraphs()[7].num_len, 0);
}

TEST(ListNumbers, ChineseChaptersOverridesAndSharedLists)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sChapters = Abstract(0, Level(0, "chineseCounting", "第%1章", "<w:suff w:val=\"space\"/>") +
                                            Level(1, "decimal", "%1.%2", "<w:isLgl/><w:suff w:val=\"nothing\"/>"));
    // List 3 shares abstract 1 with list 2 and restarts it at 5; list 4 on the
    // same abstract continues from there.
    std::string sItems = Abstract(1, Level(0, "decimalEnclosedCircle", "%1") +
                                         Level(1, "lowerLetter", "(%2)", "<w:lvlRestart w:val=\"0\"/>"));
    std::string sNums = Num(1, 0) + Num(2, 1) +
                        Num(3, 1, "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"5\"/></w:lvlOverride>") +
                        Num(4, 1) +
                        Num(5, 0, "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"1\"/></w:lvlOverride>"
                                  "<w:lvlOverride w:ilvl=\"1\"><w:startOverride w:val=\"1\"/></w:lvlOverride>");
    std::string sBody = OpeningHeading("前言部分") + B::Para("绪论", NumPr(1, 0)) + B::Para("背景", NumPr(1, 1)) +
                        B::Para("第一项", NumPr(2, 0)) + B::Para("细目", NumPr(2, 1)) + B::Para("第二项", NumPr(2, 0)) +
                        B::Para("细目", NumPr(2, 1)) + B::Para("方法", NumPr(1, 0)) + B::Para("第五项", NumPr(3, 0)) +
                        B::Para("第六项", NumPr(4, 0)) + B::Para("小节", NumPr(5, 1));
    // List 5 overrides the chapters' list at every level but is used only
    // at level 1: the chapters count on.
    for (int i = 0; i < 9; ++i)
        sBody += B::Para("章", NumPr(1, 0));
    ASSERT_EQ(ParseWithNumbering(parser, sBody, sChapters + sItems + sNums, dir), 1);
    const auto& vecParas = parser.Model().Paragraphs();
    ASSERT_EQ(vecParas.size(), 20u);
    EXPECT_EQ(vecParas[1].text, "第一章 绪论");
    EXPECT_EQ(vecParas[2].text, "1.1背景");  // legal numbering writes the chapter in digits
    EXPECT_EQ(vecParas[3].text, "①\t第一项");
    EXPECT_EQ(vecParas[4].text, "(a)\t细目");
    EXPECT_EQ(vecParas[5].text, "②\t第二项");
    EXPECT_EQ(vecParas[6].text, "(b)\t细目");  // its restart value 0: it never restarts
    EXPECT_EQ(vecParas[7].text, "第二章 方法");
    EXPECT_EQ(vecParas[8].text, "⑤\t第五项");
    EXPECT_EQ(vecParas[9].text, "⑥\t第六项");
    EXPECT_EQ(vecParas[10].text, "2.1小节");
    EXPECT_EQ(vecParas[11].text, "第三章 章");
    EXPECT_EQ(vecParas[19].text, "第十一章 章");
}

TEST(ListNumbers, StylesCarryNumbersAndBulletsAndEmptyItemsAddNoText)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sStyles =
        "<w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/><w:pPr><w:numPr>"
        "<w:numId w:val=\"1\"/></w:numPr><w:outlineLvl w:val=\"0\"/></w:pPr><w:rPr><w:sz w:val=\"32\"/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"2\"><w:name w:val=\"heading 2\"/><w:basedOn w:val=\"1\"/>"
        "<w:pPr><w:numPr><w:ilvl w:val=\"1\"/></w:numPr><w:outlineLvl w:val=\"1\"/></w:pPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"T\"><w:name w:val=\"TOC Heading\"/><w:basedOn w:val=\"1\"/>"
        "<w:pPr><w:numPr><w:numId w:val=\"0\"/></w:numPr></w:pPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Cap\"><w:name w:val=\"Figure Caption\"/><w:pPr><w:numPr>"
        "<w:numId w:val=\"3\"/></w:numPr></w:pPr></w:style>";
    std::string sNumbering = Abstract(0, kDecimalLevels) + Abstract(1, Level(0, "bullet", "\xEF\x82\xB7")) +
                             Abstract(2, Level(0, "none", "") + Level(1, "decimal", "图%2", "<w:pStyle w:val=\"Cap\"/>")) +
                             Num(1, 0) + Num(2, 1) + Num(3, 2);
    auto styled = [](const std::string& sText, const std::string& sStyle, const std::string& sMore = "") {
        return B::Para(sText, "<w:pStyle w:val=\"" + sStyle + "\"/>" + sMore);
    };
    std::string sBody = styled("引言", "1") + styled("背景", "2") + B::Para("", NumPr(1, 1)) +
                        styled("目录", "T") + B::Para("要点", NumPr(2, 0)) + styled("方法", "1") +
                        styled("模型", "2") + styled(" 流程", "Cap");
    ASSERT_EQ(ParseWithNumbering(parser, sBody, sNumbering, dir, 0, sStyles), 1);
    // The empty item is counted (1.2) but adds no paragraph; numId 0 in a style
    // switches the list off; the caption style takes the level naming it.
    EXPECT_EQ(BodyTexts(parser), "1\t引言|1.1\t背景|目录|要点|2\t方法|2.1\t模型|图1\t 流程");
    EXPECT_EQ(parser.Model().DocStruct().size(), 5u);
}

TEST(ListNumbers, ValuesInEveryFormat)
{
    EXPECT_EQ(CListNumbering::FormatValue(4, "upperRoman"), "IV");
    EXPECT_EQ(CListNumbering::FormatValue(14, "lowerRoman"), "xiv");
    EXPECT_EQ(CListNumbering::FormatValue(28, "upperLetter"), "BB");
    EXPECT_EQ(CListNumbering::FormatValue(3, "lowerLetter"), "c");
    EXPECT_EQ(CListNumbering::FormatValue(12, "chineseCounting"), "十二");
    EXPECT_EQ(CListNumbering::FormatValue(105, "chineseCountingThousand"), "一百零五");
    EXPECT_EQ(CListNumbering::FormatValue(2, "chineseLegalSimplified"), "贰");
    EXPECT_EQ(CListNumbering::FormatValue(3, "ideographTraditional"), "丙");
    EXPECT_EQ(CListNumbering::FormatValue(11, "ideographTraditional"), "甲");
    EXPECT_EQ(CListNumbering::FormatValue(5, "decimalEnclosedCircle"), "⑤");
    EXPECT_EQ(CListNumbering::FormatValue(21, "decimalEnclosedCircle"), "21");
    EXPECT_EQ(CListNumbering::FormatValue(2, "decimalEnclosedParen"), "⑵");
    EXPECT_EQ(CListNumbering::FormatValue(3, "ideographEnclosedCircle"), "㈢");
    EXPECT_EQ(CListNumbering::FormatValue(12, "decimalFullWidth"), "１２");
    EXPECT_EQ(CListNumbering::FormatValue(7, "decimalZero"), "07");
    EXPECT_EQ(CListNumbering::FormatValue(7, "bullet"), "");
    EXPECT_EQ(CListNumbering::FormatValue(7, "someNewFormat"), "7");
}

TEST(ListNumbers, SectionParserReadsAutomaticNumbers)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = B::Para("引言", NumPr(1, 0)) + B::Para("这里是正文。") + B::Para("研究背景", NumPr(1, 1)) +
                        B::Para("方法", NumPr(1, 0));
    ASSERT_EQ(ParseWithNumbering(parser, sBody, Abstract(0, kDecimalLevels) + Num(1, 0), dir, 3), 1);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 2, 3}));
    EXPECT_EQ(parser.Model().Paragraphs()[2].level, 2);
    // A broken or missing definition numbers nothing.
    CDocxParser broken;
    ASSERT_EQ(ParseWithNumbering(broken, B::Para("引言", NumPr(7, 0)) + B::Para("正文。"),
                                 "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:numFmt", dir, 3),
              1);
    EXPECT_EQ(BodyTexts(broken), "引言|正文。");
}
