// The format check on a generated sample: the sample passes against the
// template learnt from it, and each seeded change gives exactly its finding.
#include <gtest/gtest.h>

#include "Checker/CheckRecord.h"
#include "Checker/DocFormatCheck.h"
#include "Global/Globals.h"
#include "FormatCheckSample.h"
#include "Utility/Num2FontSize.h"

namespace {

class FormatCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFormat = LearnSampleTemplate(m_dir);
        ASSERT_TRUE(m_pFormat);
        ASSERT_FALSE(m_pFormat->IsEmpty());
        ASSERT_GT(m_sizes.Import(VESKAR_TEST_SOURCE_DIR "/data/Font/FontSize.dat"), 0);
        m_options.pFontSizes = &m_sizes;
    }

    // Structure checks (report type 3 stops before the template), then
    // the format pass against the learnt template.
    const std::vector<_tCheckResult>& CheckSeeded(const _tSampleSeed& seed)
    {
        m_results.Reset();
        EXPECT_TRUE(ParseSample(m_parser, m_dir, "seeded.docx", seed));
        CDocFormatCheck checker(m_dir.Path().c_str());
        EXPECT_EQ(checker.Check(m_parser, m_results, 3, m_options), 2);
        EXPECT_EQ(CDocFormatCheck::CheckWithFormat(m_parser, m_results, *m_pFormat, m_options), 1);
        return m_results.Results();
    }

    static std::string Describe(const std::vector<_tCheckResult>& vecResults)
    {
        std::string sOut;
        for (const _tCheckResult& r : vecResults)
            sOut += r.error_id + " [" + r.org_str + "] -> [" + r.new_str + "] on " + r.text + "\n";
        return sOut;
    }

    void ExpectOnly(const _tSampleSeed& seed, const char* sCode, int nField, const std::string& sOrg,
                    const std::string& sNew, const std::string& sText)
    {
        const std::vector<_tCheckResult>& vecResults = CheckSeeded(seed);
        ASSERT_EQ(vecResults.size(), 1u) << Describe(vecResults);
        const _tCheckResult& r = vecResults[0];
        EXPECT_EQ(r.error_id, sCode);
        EXPECT_EQ(r.field_id, nField);
        EXPECT_EQ(r.org_str, sOrg);
        EXPECT_EQ(r.new_str, sNew);
        EXPECT_EQ(r.text, sText);
    }

    CTempDir m_dir;
    std::unique_ptr<CDocFormat> m_pFormat;
    CNum2FontSize m_sizes;
    _tFormatCheckOptions m_options;
    CDocxParser m_parser;
    CCheckResult m_results;
};

}  // namespace

TEST_F(FormatCheck, SamplePassesAgainstItsOwnTemplate)
{
    const std::vector<_tCheckResult>& vecResults = CheckSeeded(_tSampleSeed());
    EXPECT_TRUE(vecResults.empty()) << Describe(vecResults);
    // The chapters the scan found are written back into the document.
    EXPECT_EQ(m_parser.Model().ChapterIds(), std::vector<int>({1, 2}));
}

TEST_F(FormatCheck, ParagraphFormatsAgainstTheTemplate)
{
    _tSampleSeed song;
    song.bSongTitle = true;
    ExpectOnly(song, "1.1.1", FIELD_FONT, "宋体", "黑体", "第二章 方法");
    _tSampleSeed small;
    small.bSmallBody = true;
    ExpectOnly(small, "1.1.2", FIELD_FONTSIZE, "五号", "小四", "本章给出方法。");
    _tSampleSeed single;
    single.bSingleSpacing = true;
    ExpectOnly(single, "1.1.3", FIELD_LINE_SPACE, "12", "18", "模型的正文。");
}

TEST_F(FormatCheck, SpacingStatedInPointsIsComparedByLineHeight)
{
    // "Exactly 20 pt" is what many schools write for "1.5 lines" of 小四
    // (23.4 pt): close enough. 12 pt is not, and the expected value comes in
    // the paragraph's own unit, 1.5 lines of 小四 in points.
    _tSampleSeed twenty;
    twenty.nExactLine = 400;
    const std::vector<_tCheckResult>& vecResults = CheckSeeded(twenty);
    EXPECT_TRUE(vecResults.empty()) << Describe(vecResults);
    _tSampleSeed twelve;
    twelve.nExactLine = 240;
    ExpectOnly(twelve, "1.1.3", FIELD_LINE_SPACE, "12", "23", "模型的正文。");
}

TEST_F(FormatCheck, WhatATemplateDoesNotDescribeIsLeftAlone)
{
    // Cover lines and a cover table before the first chapter, English text (the template's
    // fonts are those of Chinese text), a spaced-out part and the page
    // number in the footer give no finding.
    _tSampleSeed seed;
    seed.bCoverLines = true;
    seed.bLatinBody = true;
    seed.bSpacedAcknowledge = true;
    seed.bEnglishNames = true;  // SimHei is 黑体
    const std::vector<_tCheckResult>& vecResults = CheckSeeded(seed);
    EXPECT_TRUE(vecResults.empty()) << Describe(vecResults);
}

TEST_F(FormatCheck, BodyComparisonFollowsItsSwitch)
{
    _tSampleSeed small;
    small.bSmallBody = true;
    small.bSingleSpacing = true;
    m_options.bBodyFormat = false;
    const std::vector<_tCheckResult>& vecResults = CheckSeeded(small);
    EXPECT_TRUE(vecResults.empty()) << Describe(vecResults);
}

TEST_F(FormatCheck, NumberingOfHeadingsAndCaptions)
{
    _tSampleSeed skip;
    skip.bSkipSection = true;
    ExpectOnly(skip, "1.3.5", FIELD_TEXT, "2.3", "2.2", "2.3 数据");
    _tSampleSeed duplicate;
    duplicate.bDuplicateHeading = true;
    ExpectOnly(duplicate, "1.3.5", FIELD_TEXT, "1.2", "1.3", "1.2 研究方法");
    _tSampleSeed figure;
    figure.bMissingFigure = true;
    ExpectOnly(figure, "1.3.1", FIELD_TEXT, "图2-4", "图2-3", "图2-4 模型结果");
}

TEST_F(FormatCheck, MissingCaptionAndMissingPart)
{
    _tSampleSeed table;
    table.bTableNoCaption = true;
    ExpectOnly(table, "99.7", FIELD_TEXT, "数", "", "数据的来源如下。");
    EXPECT_EQ(m_results.Results()[0].revise_type, REVISE_I);
    _tSampleSeed acknowledge;
    acknowledge.bNoAcknowledge = true;
    ExpectOnly(acknowledge, "12.1", FIELD_TEXT, "", "致谢", "");
    EXPECT_EQ(m_results.Results()[0].para_id, 0xFFFFFFFFu);
    EXPECT_EQ(m_results.Results()[0].revise_type, REVISE_M);
}

TEST_F(FormatCheck, ReCheckWithoutSuchTemplateKeepsFindings)
{
    _tSampleSeed skip;
    skip.bSkipSection = true;
    CheckSeeded(skip);
    CDocFormatCheck checker(m_dir.Path().c_str());
    EXPECT_EQ(checker.ReCheck(m_parser, m_results, 7, m_options), -2);
    EXPECT_EQ(m_results.Results().size(), 1u);
    // No template in the store: the structural findings stay, result -2.
    m_results.Reset();
    EXPECT_EQ(checker.Check(m_parser, m_results, 1, m_options), -2);
    EXPECT_NE(std::string(g_sLastErrorMessage).find("Cannot find right template with organization="),
              std::string::npos);
}

TEST_F(FormatCheck, WholeCheckUsesTheTemplateOfTheStore)
{
    CDocFormatCheck checker(m_dir.Path().c_str());
    CDocxParser sample;
    ASSERT_TRUE(ParseSample(sample, m_dir, "store_sample.docx", _tSampleSeed(), 5));
    ASSERT_GE(checker.ImportTemplate(m_dir.File("store_sample.docx").c_str(), 5, "*", "*", "*"), 0);
    _tSampleSeed song;
    song.bSongTitle = true;
    ASSERT_TRUE(ParseSample(m_parser, m_dir, "seeded.docx", song, 5));
    EXPECT_EQ(checker.Check(m_parser, m_results, 5, m_options), 1);
    ASSERT_EQ(m_results.Results().size(), 1u) << Describe(m_results.Results());
    EXPECT_EQ(m_results.Results()[0].error_id, "1.1.1");
    // A re-check against the same template finds the same after sorting.
    CCheckResult again;
    EXPECT_EQ(checker.ReCheck(m_parser, again, 0, m_options), 1);
    ASSERT_EQ(again.Results().size(), 1u) << Describe(again.Results());
    EXPECT_EQ(again.Results()[0].new_str, "黑体");
}
