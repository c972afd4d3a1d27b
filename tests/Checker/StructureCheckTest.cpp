// The structural passes of the format check on documents built in memory:
// table of contents, heading levels the scan corrects, lone subsections,
// captions standing in the wrong chapter.
#include <gtest/gtest.h>

#include "Checker/CheckRecord.h"
#include "Checker/CheckResult.h"
#include "Checker/DocFormatCheck.h"
#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"
#include "support/TempDir.h"

namespace {

// Body entries: a text and its level; headings (1..4) enter the heading
// list, level 13 the contents lines.
struct _tEntry {
    std::string sText;
    int nLevel;
};

void FillModel(CDocxParser& parser, const std::vector<_tEntry>& vecEntries)
{
    CDocModel model;
    uint32_t nId = 0;
    for (const _tEntry& entry : vecEntries) {
        _tParagraph para;
        para.id = nId += 16;
        para.text = entry.sText;
        model.AddParagraph(para);
        size_t nIndex = model.Paragraphs().size() - 1;
        if (entry.nLevel >= 1 && entry.nLevel <= 4)
            model.EnterHeading(nIndex, entry.nLevel);
        else if (entry.nLevel == DocLevel::CONTENT1)
            model.EnterContentLine(nIndex);
        else
            model.SetLevel(nIndex, entry.nLevel);
    }
    parser.SetModel(std::move(model));
}

std::string Codes(const CCheckResult& results)
{
    std::string sOut;
    for (const _tCheckResult& r : results.Results())
        sOut += r.error_id + "(" + r.org_str + ">" + r.new_str + ") ";
    return sOut;
}

int Structure(CDocxParser& parser, CCheckResult& results, int nType)
{
    CTempDir dir;  // an empty template store
    CDocFormatCheck checker(dir.Path().c_str());
    return checker.Check(parser, results, nType);
}

}  // namespace

TEST(FormatStructure, ContentsUpToDateIgnoresLeadersAndPageNumbers)
{
    CDocxParser parser;
    FillModel(parser, {{"封面", 0}, {"第一章 绪论\t1", 13}, {"1.1  背景 ...... 2", 13}, {"第一章 绪论", 1},
                       {"正文。", 0}, {"1.1 背景", 2}});
    EXPECT_TRUE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    CCheckResult results;
    EXPECT_EQ(Structure(parser, results, 3), 2);
    EXPECT_EQ(results.Results().size(), 0u) << Codes(results);

    // A heading renamed after the contents were made: "1.6" on the line before them.
    FillModel(parser, {{"封面", 0}, {"第一章 绪论\t1", 13}, {"1.1 背景 2", 13}, {"第一章 引言", 1},
                       {"正文。", 0}, {"1.1 背景", 2}});
    EXPECT_FALSE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    results.Reset();
    Structure(parser, results, 1);
    ASSERT_EQ(results.Results().size(), 1u) << Codes(results);
    EXPECT_EQ(results.Results()[0].error_id, "1.6");
    EXPECT_EQ(results.Results()[0].text, "封面");
    EXPECT_EQ(results.Results()[0].revise_type, REVISE_M);
    EXPECT_EQ(results.Results()[0].field_id, FIELD_CONTENT);
}

TEST(FormatStructure, ContentsListSomeHeadingsAndAreFollowedByListsOfFigures)
{
    // The cover title and the contents' own heading are set as headings but
    // not listed; a list of figures follows; sub-subsections are not listed.
    CDocxParser parser;
    std::vector<_tEntry> vecDoc = {{"某某大学硕士学位论文", 1}, {"目录", 1},   {"第一章 绪论 1", 13},
                                   {"1.1 背景 2", 13},         {"图1-1 结构 3", 13}, {"第一章 绪论", 1},
                                   {"1.1 背景", 2},            {"1.1.1 细节", 3}};
    FillModel(parser, vecDoc);
    EXPECT_TRUE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    // A section added after the contents were made.
    vecDoc.push_back({"1.2 新增", 2});
    FillModel(parser, vecDoc);
    EXPECT_FALSE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    // An unnumbered line whose part is no heading here is passed over; a
    // numbered one is not.
    FillModel(parser, {{"独创性声明 I", 13}, {"第一章 绪论 1", 13}, {"独创性声明", 0}, {"第一章 绪论", 1}});
    EXPECT_TRUE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    FillModel(parser, {{"第一章 绪论 1", 13}, {"第二章 方法 3", 13}, {"第一章 绪论", 1}});
    EXPECT_FALSE(CDocFormatCheck::IsContentUpdated(parser.Model()));
    // Lines in another order than the headings.
    FillModel(parser, {{"1.1 背景 2", 13}, {"第一章 绪论 1", 13}, {"第一章 绪论", 1}, {"1.1 背景", 2}});
    EXPECT_FALSE(CDocFormatCheck::IsContentUpdated(parser.Model()));
}

TEST(FormatStructure, NoContentsIsNotOutdatedContents)
{
    // Without contents nothing is out of date; a thesis misses a part.
    CDocxParser parser;
    FillModel(parser, {{"第一章 绪论", 1}, {"正文。", 0}, {"第二章 方法", 1}, {"正文。", 0}});
    CCheckResult results;
    Structure(parser, results, 1);
    EXPECT_EQ(Codes(results), "");
    results.Reset();
    Structure(parser, results, 7);
    EXPECT_EQ(Codes(results), "12.1(>目录) ");
    EXPECT_EQ(results.Results()[0].para_id, 0xFFFFFFFFu);
}

TEST(FormatStructure, ScanCorrectsHeadingLevels)
{
    CDocxParser parser;
    std::string sLong;
    for (int i = 0; i < 6; ++i)
        sLong += "这是很长的句子，";
    FillModel(parser, {{"1 绪论", 1}, {"1.1 背景", 1}, {"正文。", 0}, {sLong, 1}, {"2 方法", 1}, {"2.1 模型", 2}});
    CCheckResult results;
    Structure(parser, results, 3);
    // 1.1 at chapter level becomes a section; the long line is no heading.
    EXPECT_EQ(parser.Model().Paragraphs()[1].level, 2);
    EXPECT_EQ(parser.Model().Paragraphs()[3].level, 1000);
    EXPECT_EQ(parser.Model().ChapterIds(), std::vector<int>({1, 2}));
    EXPECT_EQ(Codes(results), "1.3.7(1>2) 1.3.9(1>) ");
}

TEST(FormatStructure, SectionsTooHighAndLoneSubsections)
{
    CDocxParser parser;
    FillModel(parser, {{"1 绪论", 1}, {"1.1 背景", 2}, {"1.1.1 历史", 2}, {"1.2 内容", 2}, {"2 方法", 1},
                       {"2.1 模型", 2}, {"2.1.1 结构", 3}});
    CCheckResult results;
    Structure(parser, results, 3);
    // 1.1.1 moves to level 3 and is then a lone subsection, as is 2.1.1.
    EXPECT_EQ(parser.Model().Paragraphs()[2].level, 3);
    EXPECT_EQ(Codes(results), "1.3.7(2>3) 1.3.11(1.1.1>) 1.3.11(2.1.1>) ");
}

TEST(FormatStructure, FormulasNumberFromOneInEachChapter)
{
    CDocxParser parser;
    FillModel(parser, {{"1 绪论", 1}, {"E = mc2 (1-1)", 0}, {"2 方法", 1}, {"2.1 模型", 2}, {"F = ma (2-2)", 0},
                       {"G = mg (2-3)", 0}});
    CDocModel model = parser.Model();
    model.SetFormulaIndex({1, 4, 5});
    parser.SetModel(std::move(model));
    CCheckResult results;
    // Report type 6 checks formula numbers; chapter 2 starts at (2-2).
    Structure(parser, results, 6);
    EXPECT_EQ(Codes(results), "1.3.14((2-2>(2-1) 1.3.14((2-3>(2-2) ");
    results.Reset();
    Structure(parser, results, 5);
    EXPECT_EQ(Codes(results), "");
}
