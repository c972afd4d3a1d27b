// The paper-part recogniser with the shipped rule sets of papers (6) and
// theses (7) on generated documents: each part placed at its paragraph, the
// texts after the captions, the reference range, cover values in tables,
// cover headings demoted, and "12.1" failures naming the parts not found.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Docx/DocxParser.h"
#include "Docx/PaperParser.h"
#include "RUX/Audit.h"
#include "RUX/AuditAgent.h"
#include "AgentFixture.h"
#include "support/DocxBuilder.h"
#include "support/TempDir.h"

namespace {

using B = CDocxBuilder;

std::string Heading(const std::string& sText)
{
    return B::Para(sText, "<w:outlineLvl w:val=\"0\"/>");
}

class PaperParserTest : public AgentTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        int nType = GetParam();
        std::string sSource = ReadTestFile(std::string(VESKAR_TEST_SOURCE_DIR) + "/data/Rules/" +
                                           (nType == 6 ? "paper.rux" : "thesis.rux"));
        ASSERT_FALSE(sSource.empty());
        m_pAudit = std::make_unique<CAudit>(s_pData->DataFile("").c_str(), nType);
        ASSERT_EQ(m_pAudit->ImportFromMem(sSource.c_str(), true), 1);
    }
    // Parses the body and runs the evaluator; the names of the "12.1" failures, "|"-joined.
    std::string Check(const std::string& sBody)
    {
        m_pParser = std::make_unique<CDocxParser>();
        CDocxBuilder builder;
        builder.Body(sBody);
        std::string sPath = m_dir.File("paper.docx");
        EXPECT_TRUE(builder.Write(sPath));
        EXPECT_EQ(m_pParser->ImportFile(sPath.c_str(), "", GetParam(), 0), 1);
        CAuditAgent agent(m_pAudit.get());
        agent.Check(m_pParser.get(), 0, "", false);
        std::string sMissing;
        for (const _tAuditFailure& failure : agent.Failures()) {
            if (failure.code != "12.1")
                continue;
            EXPECT_EQ(failure.para_id, 0xFFFFFFFFu);
            sMissing += (sMissing.empty() ? "" : "|") + failure.new_str;
        }
        return sMissing;
    }
    // "level:text" of the body paragraphs, "|"-joined.
    std::string Levels() const
    {
        std::string sOut;
        for (const _tParagraph& para : m_pParser->Model().Paragraphs())
            if (!para.IsPlaceholder())
                sOut += (sOut.empty() ? "" : "|") + std::to_string(para.level) + ":" + para.text;
        return sOut;
    }

    CTempDir m_dir;
    std::unique_ptr<CAudit> m_pAudit;
    std::unique_ptr<CDocxParser> m_pParser;
};

TEST_P(PaperParserTest, EveryPartOfAThesisIsPlaced)
{
    std::string sBody = Heading("基于图像的道路裂缝检测研究") +
                        B::Table({{"作者姓名：", "张三"}, {"学科专业：", "软件工程"}, {"指导教师：", "李四 教授"}}) +
                        B::Para("摘 要") + B::Para("本文研究道路裂缝的检测方法。") + B::Para("实验表明方法有效。") +
                        B::Para("关键词：裂缝；检测") + B::Para("ABSTRACT") + B::Para("This thesis studies cracks.") +
                        B::Para("Key words: crack; detection") + Heading("第一章 绪论") +
                        B::Para("摘要、目录和参考文献的格式见附录。") + B::Para("参考文献") +
                        B::Para("[1] 王五. 裂缝检测[J]. 公路, 2020.") + B::Para("[2] 赵六. 图像处理[M]. 北京, 2019.") +
                        B::Para("致　谢") + B::Para("感谢导师的指导。");
    EXPECT_EQ(Check(sBody), "");
    EXPECT_EQ(Levels(), "0:基于图像的道路裂缝检测研究|-503:摘 要|-504:本文研究道路裂缝的检测方法。|"
                        "-504:实验表明方法有效。|-505:关键词：裂缝；检测|-506:ABSTRACT|-507:This thesis studies cracks.|"
                        "-508:Key words: crack; detection|1:第一章 绪论|0:摘要、目录和参考文献的格式见附录。|"
                        "-509:参考文献|-510:[1] 王五. 裂缝检测[J]. 公路, 2020.|-510:[2] 赵六. 图像处理[M]. 北京, 2019.|"
                        "-511:致　谢|0:感谢导师的指导。");
    // The acknowledgement ends the reference list.
    const CDocModel& model = m_pParser->Model();
    EXPECT_EQ(model.ReferenceStartIndex(), 12);
    EXPECT_EQ(model.ReferenceEndIndex(), 13);
    // The cover heading is no chapter; the chapter stays.
    ASSERT_EQ(model.DocStruct().size(), 1u);
    EXPECT_EQ(model.Paragraphs()[static_cast<size_t>(model.DocStruct()[0])].text, "第一章 绪论");
    // Cover values in table cells count as found; the cells keep their level.
    for (const _tTable& table : model.Tables())
        for (const _tRow& row : table.rows)
            for (const _tCell& cell : row)
                for (const _tParagraph& para : cell)
                    EXPECT_EQ(para.level, DocLevel::TABLE_COL) << para.text;
}

TEST_P(PaperParserTest, WithoutAbstractNothingIsDemoted)
{
    std::string sBody = Heading("第一章 绪论") + B::Para("本文的摘要写在封底，关键词：无。") +
                        B::Para("摘要是论文的缩影。") + B::Para("关键词是文章的核心。") + Heading("第二章 方法") +
                        B::Para("参考文献较多时应分类。") + B::Para("作者签名：") + B::Para("导师签名：");
    EXPECT_EQ(Check(sBody), "中文摘要|中文关键词|英文摘要|英文关键词|参考文献|致谢|作者|专业|导师");
    const CDocModel& model = m_pParser->Model();
    EXPECT_EQ(model.DocStruct().size(), 2u);
    EXPECT_EQ(model.Paragraphs()[0].level, 1);
    for (const _tParagraph& para : model.Paragraphs())
        EXPECT_TRUE(para.level >= 0) << para.text;
    EXPECT_EQ(model.ReferenceStartIndex(), -1);
    EXPECT_EQ(model.ReferenceEndIndex(), -1);
}

TEST_P(PaperParserTest, AbstractTextEndsAtTheKeywordLine)
{
    std::string sBody = Heading("题目") + B::Para("摘要：本文研究裂缝。") + B::Para("关键词：裂缝") +
                        B::Para("正文第一段。") + B::Para("Abstract: This paper studies cracks.") +
                        B::Para("Keywords: crack") + B::Para("正文第二段。");
    EXPECT_EQ(Check(sBody), "参考文献|致谢|作者|专业|导师");
    EXPECT_EQ(Levels(), "0:题目|-503:摘要：本文研究裂缝。|-505:关键词：裂缝|0:正文第一段。|"
                        "-506:Abstract: This paper studies cracks.|-508:Keywords: crack|0:正文第二段。");
}

TEST_P(PaperParserTest, AbstractOpeningTheDocumentGetsItsText)
{
    // Lines before the first heading carry cover-page classes; an abstract
    // that opens the document is among them.
    std::string sBody = B::Para("摘要") + B::Para("本文研究裂缝。") + B::Para("关键词：裂缝") + Heading("1 引言") +
                        B::Para("正文。");
    Check(sBody);
    EXPECT_EQ(Levels(), "-503:摘要|-504:本文研究裂缝。|-505:关键词：裂缝|1:1 引言|0:正文。");
}

TEST_P(PaperParserTest, EmptyCoverCellsAndContentsLinesAreNoParts)
{
    // A template's cover with unfilled slots, and contents lines naming the parts.
    std::string sBody = Heading("题目") + B::Table({{"姓    名：", ""}, {"专    业：", "____"}, {"导师姓名：", " "}}) +
                        B::Para("摘要") + B::Para("正文。") + B::Para("参考文献\t15") + B::Para("致谢\t20");
    EXPECT_EQ(Check(sBody), "中文关键词|英文摘要|英文关键词|参考文献|致谢|作者|专业|导师");
}

INSTANTIATE_TEST_SUITE_P(ShippedRuleSets, PaperParserTest, ::testing::Values(6, 7));

// Without rules for the parts every part is missing, named by its key.
TEST(PaperParserLookupTest, PartsWithoutRulesAreNamedByTheirKeys)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Body(Heading("第一章") + B::Para("正文。") + B::Table({{"作者", "张三"}}));
    ASSERT_TRUE(builder.Write(dir.File("a.docx")));
    ASSERT_EQ(parser.ImportFile(dir.File("a.docx").c_str(), "", 6, 0), 1);
    uint32_t nCellId = parser.Model().Tables()[0].rows[0][1][0].id;
    CPaperParser paper(parser, [nCellId](const char* sKey) {
        std::vector<_tKeyVal> vecValues;
        if (std::string(sKey) == "paper_zzxm_val")
            vecValues.emplace_back(0, "张三", nCellId, 0, "张三", "R");
        return vecValues;
    });
    EXPECT_EQ(paper.PaperParse(), 1);
    std::vector<int> vecExpected = {-503, -505, -506, -508, -509, -511, -514, -515};
    EXPECT_EQ(paper.Missing(), vecExpected);
    EXPECT_EQ(paper.PaperStruct().keys[12].key_value, "张三");
    EXPECT_EQ(paper.SetPaperElement(DocLevel::AUTHOR), static_cast<int>(parser.Model().Tables()[0].para_index));
    EXPECT_EQ(std::string(CPaperParser::KeyName(DocLevel::SUPERVISOR)), "paper_daoshi_val");
    EXPECT_EQ(CPaperParser::KeyName(-516), nullptr);
}

}  // namespace
