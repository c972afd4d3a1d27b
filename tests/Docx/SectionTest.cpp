// Headings found from their numbers when a document has no heading styles.
#include <gtest/gtest.h>

#include "Docx/DocxTestUtil.h"

namespace {

// A parser whose body holds the given texts as level-0 paragraphs.
void FillBody(CDocxParser& parser, const std::vector<std::string>& vecTexts, int nReportType)
{
    parser.Reset();
    parser.m_nReportType = nReportType;
    CDocModel model;
    uint32_t nId = 100;
    for (const std::string& sText : vecTexts) {
        _tParagraph para;
        para.id = nId += 100;
        para.text = sText;
        model.AddParagraph(para);
    }
    parser.SetModel(std::move(model));
}

std::vector<int> Levels(const CDocxParser& parser)
{
    std::vector<int> vecLevels;
    for (const _tParagraph& para : parser.Model().Paragraphs())
        vecLevels.push_back(para.level);
    return vecLevels;
}

}  // namespace

TEST(SectionParser, NumberingFormatsGiveLevels)
{
    CDocxParser parser;
    FillBody(parser, {"1 绪论", "正文内容。", "1.1 研究背景", "1.2 研究现状", "2 方法", "2.1 模型"}, 3);
    EXPECT_EQ(parser.ParseSection(), 5);
    EXPECT_EQ(Levels(parser), std::vector<int>({1, 0, 2, 2, 1, 2}));
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 2, 3, 4, 5}));
}

TEST(SectionParser, EndingsAndLengthsRuleOutSentences)
{
    CDocxParser parser;
    // Other report types need 12 to 60 bytes and no sentence ending.
    FillBody(parser, {"1 研究的背景与意义", "2 这是一个以句号结尾的句子。", "3 短", "4) list item;"}, 5);
    EXPECT_EQ(parser.ParseSection(), 1);
    EXPECT_EQ(Levels(parser), std::vector<int>({1, 0, 0, 0}));
}

TEST(SectionParser, ChapterReportsAndAppendices)
{
    CDocxParser parser;
    FillBody(parser, {"某某工程安全评价报告书正式版本", "1 总则", "第一章 概述", "1.1 评价目的",
                      "第二章 评价依据", "附录1 资料清单"},
             4);
    EXPECT_EQ(parser.ParseSection(), 5);
    // The title above the first chapter becomes level 1; numbers before the
    // first chapter are ignored; the appendix gets its own level.
    EXPECT_EQ(Levels(parser), std::vector<int>({1, 0, 2, 3, 2, DocLevel::APPENDIX}));
}

TEST(SectionParser, PlainTextOfReportTypeThreeGetsHeadings)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("r.txt"), "1 总则\n1.1 目的\n内容。\n2 依据\n"));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("r.txt").c_str(), "", 3, 0), 1);
    EXPECT_EQ(Levels(parser), std::vector<int>({1, 2, 0, 1}));
    EXPECT_NE(ReadTestFile(dir.File("r_Content.xml")).find("<DocStruCount>3</DocStruCount>"), std::string::npos);
}

TEST(SectionParser, DocxWithoutHeadingStylesFallsBackToNumbers)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = CDocxBuilder::Para("1 总则") + CDocxBuilder::Para("正文。") + CDocxBuilder::Para("2 依据");
    ASSERT_EQ(ParseBody(parser, sBody, dir, 3), 1);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 2}));
    EXPECT_EQ(parser.Model().Paragraphs()[0].level, 1);
}

TEST(SectionParser, ThesesKeepListItemsCaptionsAndSentencesOutOfHeadings)
{
    CDocxParser parser;
    FillBody(parser,
             {"二〇一八年六月", "第 42 卷 第 4 期", "1 绪论", "正文。", "1.1 研究背景", "1. 列表的第一项内容",
              "2. 列表的第二项内容", "表1 样本数据统计结果", "[3]\t某某参考文献的标题", "等式2.9右侧可以转化为：",
              "（1）研究的对象与范围", "这一条的说明，没有句号", "2 方法", "正文。", "1 又从一开始的条目",
              "2 第二个这样的条目", "3 第三个这样的条目", "2.1 模型", "正文。", "2.1 编号重复的模型", "\t（2）缩进的条目标题",
              "3 结论", "3.2 没有前一节的一节"},
             6);
    EXPECT_EQ(parser.ParseSection(), 8);
    std::vector<int> vecExpected(23, 0);
    vecExpected[2] = 1;   // 1 绪论
    vecExpected[4] = 2;   // 1.1
    vecExpected[10] = 3;  // （1） opens a level below 1.1: text follows it
    vecExpected[12] = 1;  // 2 方法
    vecExpected[17] = 2;  // 2.1 under a new chapter; the list 1 2 3 before it is no chapter
    vecExpected[19] = 2;  // the same number twice stays a heading for the numbering check
    vecExpected[21] = 1;  // 3 结论
    vecExpected[22] = 2;  // 3.2: one heading of a run may be missing
    EXPECT_EQ(Levels(parser), vecExpected);
}

TEST(SectionParser, ThesisWidthsCountChineseCharactersTwice)
{
    CDocxParser parser;
    // 30 Chinese characters fit; a one-character title does not.
    FillBody(parser, {"1 绪论", "正文。", "2 一二三四五六七八九十一二三四五六七八九十一二三四五六七八",
                      "正文。", "3 一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十", "4 短"},
             7);
    EXPECT_EQ(parser.ParseSection(), 2);
    EXPECT_EQ(Levels(parser), std::vector<int>({1, 0, 1, 0, 0, 0}));
}

TEST(SectionParser, ThesisDocxWithoutHeadingStylesFallsBackToNumbers)
{
    CTempDir dir;
    CDocxParser parser;
    std::string sBody = CDocxBuilder::Para("1 引言") + CDocxBuilder::Para("正文。") +
                        CDocxBuilder::Para("1.1 研究背景") + CDocxBuilder::Para("2 方法");
    ASSERT_EQ(ParseBody(parser, sBody, dir, 6), 1);
    EXPECT_EQ(parser.Model().DocStruct(), std::vector<int>({0, 2, 3}));
    // With heading styles the styles decide and numbers are not read.
    CDocxParser styled;
    ASSERT_EQ(ParseBody(styled, OpeningHeading() + sBody, dir, 6), 1);
    EXPECT_EQ(styled.Model().DocStruct(), std::vector<int>({0}));
}
