// The keyword scanner's answer layout and the findings made from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Checker/CheckResult.h"
#include "Checker/ErrorWordScan.h"
#include "Global/Globals.h"
#include "support/SwitchGuard.h"

namespace {

TEST(ErrorWordScan, ReadsTheAnswerLayout)
{
    std::vector<WordPair> vecItems;
    EXPECT_EQ(ParseKeyScanAnswer("(Check 错别字)即使-->既使##安装-->按装$", vecItems), 1);
    ASSERT_EQ(vecItems.size(), 2u);
    EXPECT_EQ(vecItems[0], WordPair("即使", "既使"));
    EXPECT_EQ(vecItems[1], WordPair("安装", "按装"));
    EXPECT_EQ(ParseKeyScanAnswer("nothing found", vecItems), -1);
    EXPECT_TRUE(vecItems.empty());
    EXPECT_EQ(ParseKeyScanAnswer("(Check 错别字 no close", vecItems), -2);
    EXPECT_EQ(ParseKeyScanAnswer("(Check x)a-->b", vecItems), -3);
    EXPECT_EQ(ParseKeyScanAnswer("(Check x)$", vecItems), 1);
    EXPECT_TRUE(vecItems.empty());
    EXPECT_EQ(ParseKeyScanAnswer("(Check x)no arrow##a-->b$", vecItems), 1);
    EXPECT_EQ(vecItems.size(), 1u);
}

TEST(ErrorWordScan, OffsetsFollowThePreviousItem)
{
    CSwitchGuard quiet(g_bLog, false);
    CCheckResult results;
    std::string sText = "既使下雨，也要按装，既使如此";
    std::vector<WordPair> vecItems = {{"即使", "既使"}, {"安装", "按装"}, {"没有", "不存在"}, {"即使", "既使"}};
    EXPECT_EQ(AddErrorWordFindings(0x42, sText, sText, vecItems, results), 4u);
    const auto& found = results.Results();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].offset, 0u);
    EXPECT_EQ(found[1].offset, sText.find("按装"));
    EXPECT_EQ(found[2].offset, sText.find("按装"));  // not found: the previous offset
    EXPECT_EQ(found[3].offset, sText.find("既使", 1));  // searched from there: the second 既使
    EXPECT_EQ(found[0].error_id, "1.5.2");

    // The same word written wrongly twice gives two findings.
    CCheckResult twice;
    std::string sTwice = "按装按装";
    EXPECT_EQ(AddErrorWordFindings(7, sTwice, sTwice, {{"安装", "按装"}, {"安装", "按装"}}, twice), 2u);
    EXPECT_EQ(twice.Results()[1].offset, 6u);
    EXPECT_EQ(found[0].org_str, "既使");
    EXPECT_EQ(found[0].new_str, "即使");
    EXPECT_EQ(found[0].para_id, 0x42u);
}

TEST(ErrorWordScan, ACorrectionAlreadyFoundIsNotReportedTwice)
{
    CSwitchGuard quiet(g_bLog, false);
    CCheckResult results;
    std::string sText = "既使下雨，既使如此";
    // An update rule of the rule set has already proposed 即使 for the first 既使.
    _tCheckResult earlier;
    earlier.para_id = 9;
    earlier.offset = 0;
    earlier.error_id = "1.5.1";
    earlier.field_id = FIELD_CONTENT;
    earlier.org_str = "既使";
    earlier.new_str = "即使";
    results.AddResult(earlier);
    EXPECT_EQ(AddErrorWordFindings(9, sText, sText, {{"即使", "既使"}, {"即使", "既使"}}, results), 1u);
    ASSERT_EQ(results.Results().size(), 2u);
    EXPECT_EQ(results.Results()[1].offset, sText.find("既使", 1));
    EXPECT_EQ(results.Results()[1].error_id, "1.5.2");
}

}  // namespace
