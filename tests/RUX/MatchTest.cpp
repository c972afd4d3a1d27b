// Matching rules against one paragraph: where a match starts, how grids,
// blocks, repeats and steps count tokens, negation, tags as prefixes, the
// header and footer scopes, selected values with their offsets, and the
// trace of a scan.
#include <string>
#include <vector>

#include "AgentFixture.h"

namespace {

std::vector<std::string> Values(const std::vector<_tRUX_Result>& vecHits)
{
    std::vector<std::string> vecOut;
    for (const _tRUX_Result& hit : vecHits)
        for (const std::string& s : hit.vecSelected)
            vecOut.push_back(s);
    return vecOut;
}

using Strings = std::vector<std::string>;

TEST_F(AgentTest, TwoBlocksMatchFromEitherIndexedWord)
{
    Compile(Item("1", "{[甲方][乙方]}"));
    // Each indexed word triggers the rule; the posting of the second block
    // searches the start one token back, so both find the same match.
    const auto& vecHits = Scan("甲方乙方");
    ASSERT_EQ(vecHits.size(), 2u);
    EXPECT_EQ(vecHits[0].offset, 0u);
    EXPECT_EQ(vecHits[1].offset, 6u);
    EXPECT_EQ(vecHits[0].rule_no, "1");
    EXPECT_TRUE(Scan("乙方甲方").empty());
    EXPECT_TRUE(Scan("甲方，乙方").empty());
}

TEST_F(AgentTest, SelectedGridIsOneValueAndItsRepeatIsDropped)
{
    Compile(Item("1", "{[甲方][乙方]}s", "extract", "party"));
    EXPECT_EQ(Values(Scan("说明甲方乙方")), Strings{"甲方乙方"});
    ASSERT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].offset, 6u);
    EXPECT_EQ(m_pAgent->KeyAttribute(m_pAgent->m_vecSingleKeyVal[0].key_name_id), "party");
}

TEST_F(AgentTest, OptionalBlockIsPassedOver)
{
    Compile(Item("1", "{[甲方][乙方]0[丙方]}s"));
    EXPECT_EQ(Values(Scan("甲方丙方")), Strings{"甲方丙方"});
    EXPECT_EQ(Values(Scan("甲方乙方丙方")), Strings{"甲方乙方丙方"});
    EXPECT_TRUE(Scan("甲方丁方丙方").empty());
}

TEST_F(AgentTest, OptionalFirstBlockStillNeedsItsWordBeforeTheIndexedToken)
{
    Compile(Item("1", "{[甲方]0[丙方]}s"));
    EXPECT_TRUE(Scan("丙方").empty());
    EXPECT_EQ(Values(Scan("甲方丙方")), Strings{"甲方丙方"});
}

TEST_F(AgentTest, StepBetweenGridsAllowsExactlyItsGap)
{
    Compile(Item("1", "{[甲方]}+3+{[乙方]}s"));
    EXPECT_EQ(Values(Scan("甲方乙方")), Strings{"乙方"});
    EXPECT_EQ(Values(Scan("甲方，，乙方")), Strings{"乙方"});
    EXPECT_TRUE(Scan("甲方，，，乙方").empty());
}

TEST_F(AgentTest, DefaultStepBetweenGridsMeansAdjacent)
{
    Compile(Item("1", "{[甲方]}{[乙方]}s"));
    EXPECT_EQ(Values(Scan("甲方乙方")), Strings{"乙方"});
    EXPECT_TRUE(Scan("甲方，乙方").empty());
}

TEST_F(AgentTest, NegatedBlockMatchesAnyOtherToken)
{
    Compile(Item("1", "{[乙方][-(甲方)]}s"));
    EXPECT_EQ(Values(Scan("乙方丙方")), Strings{"乙方丙方"});
    EXPECT_TRUE(Scan("乙方甲方").empty());
    // The paragraph end marker is a token too.
    EXPECT_EQ(Values(Scan("乙方")), Strings{"乙方"});
}

TEST_F(AgentTest, TagElementMatchesAsPrefix)
{
    Compile(Item("1", "{[合同][/n]}s") + Item("2", "{[合同][/nt]}s"));
    // 金额 is tagged /n, 华为技术有限公司 /nt: "/n" takes both, "/nt" only the second.
    EXPECT_EQ(Values(Scan("合同金额")), Strings{"合同金额"});
    const auto& vecHits = Scan("合同华为技术有限公司");
    ASSERT_EQ(vecHits.size(), 2u);
    EXPECT_EQ(vecHits[0].rule_no, "1");
    EXPECT_EQ(vecHits[1].rule_no, "2");
}

TEST_F(AgentTest, RepeatCountCountsTheGridsTokens)
{
    Compile(Item("1", "{[报告][/wd]3}s"));
    // The count runs over the whole grid: 报告 is the first of the three.
    EXPECT_EQ(Values(Scan("报告，，，，")), Strings{"报告，，"});
    // Fewer than the count still ends the block.
    EXPECT_EQ(Values(Scan("报告，")), Strings{"报告，"});
}

TEST_F(AgentTest, ParagraphMarkersAnchorRules)
{
    Compile(Item("1", "{[/LB][附件]}s"));
    EXPECT_EQ(Values(Scan("附件")), Strings{"附件"});
    EXPECT_TRUE(Scan("见附件").empty());
}

TEST_F(AgentTest, HeaderAndFooterScopes)
{
    Compile(Item("1", "{[机密]}s", "extract", "", "footer") + Item("2", "{[机密]}s", "extract", "", "text") +
            Item("3", "{[报告]}s", "extract", "", "header"));
    auto rules = [](const std::vector<_tRUX_Result>& v) {
        std::string s;
        for (const auto& hit : v)
            s += hit.rule_no;
        return s;
    };
    EXPECT_EQ(rules(Scan("机密", -400)), "1");
    EXPECT_EQ(rules(Scan("机密", 0)), "2");
    EXPECT_EQ(rules(Scan("机密", -300)), "");
    EXPECT_EQ(rules(Scan("报告", -300)), "3");
    EXPECT_EQ(rules(Scan("报告", 0)), "");
}

TEST_F(AgentTest, EmptyParagraphGivesOnlyMarkers)
{
    Compile(Item("1", "{[/LB][/LE]}"));
    m_pAgent->Reset();
    m_pAgent->ScanText("", 1, 0);
    ASSERT_EQ(m_pAgent->ScanState().tokens.size(), 2u);
    EXPECT_EQ(m_pAgent->ScanState().tokens[0].pos, "/LB");
    EXPECT_EQ(m_pAgent->ScanState().tokens[1].pos, "/LE");
    EXPECT_EQ(m_pAgent->m_vecRUXResult.size(), 1u);
}

TEST_F(AgentTest, OffsetsSkipMarkupAndKeepLatinSpacing)
{
    Compile(Item("1", "{[甲方]}{[/x]2}s", "extract", "code"));
    // Markup adds nothing to offsets; Latin words are joined with a blank.
    const auto& vecHits = Scan("<b>甲方ABC Corp</b>");
    ASSERT_EQ(vecHits.size(), 1u);
    EXPECT_EQ(vecHits[0].vecSelected[0], "ABC Corp");
    EXPECT_EQ(vecHits[0].vecSelectedOffset[0], 6u);
    EXPECT_EQ(vecHits[0].offset, 0u);
    m_pAgent->Reset();
    m_pAgent->ScanText("说明甲方XYZ", 3, 0, -1, -1, 100);
    ASSERT_EQ(m_pAgent->m_vecRUXResult.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecRUXResult[0].offset, 106u);
    EXPECT_EQ(m_pAgent->m_vecRUXResult[0].vecSelectedOffset[0], 112u);
}

TEST_F(AgentTest, RuleFilterAndKeyScopedRules)
{
    Compile(Item("1", "{[甲方]}s") + Item("2", "{[乙方]}s") + Item("3", "{[乙方]}s", "extract", "", "party"));
    EXPECT_EQ(Scan("甲方乙方", 0, 1).size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecRUXResult[0].rule_no, "2");
    // Rule 3 is scoped to key "party": never tried on paragraphs.
    EXPECT_EQ(Scan("乙方").size(), 1u);
}

TEST_F(AgentTest, TraceRecordsTheSteps)
{
    Compile(Item("1", "{[甲方]}+2+{[乙方]}s"));
    std::string sTrace = m_pAgent->ScanTextMem("甲方乙方\n甲方丙方", -1);
    Json::Value root;
    ASSERT_TRUE(Json::Reader().parse(sTrace, root));
    ASSERT_EQ(root["debug"].size(), 2u);
    EXPECT_EQ(root["debug"][0]["original"].asString(), "甲方乙方");
    EXPECT_EQ(root["debug"][0]["segment"].asString(), "甲方/RUX 乙方/RUX");
    std::string sSteps;
    for (const auto& step : root["debug"][0]["process"])
        sSteps += step.asString() + "|";
    EXPECT_NE(sSteps.find("Match from word 甲方 offset=0 |"), std::string::npos);
    EXPECT_NE(sSteps.find("乙方\tvalue selected!|"), std::string::npos);
    EXPECT_NE(sSteps.find("Knowledge Match Success! "), std::string::npos);
    std::string sSecond;
    for (const auto& step : root["debug"][1]["process"])
        sSecond += step.asString() + "|";
    EXPECT_NE(sSecond.find(" Knowledge Match Failed! "), std::string::npos);
    EXPECT_EQ(root["SingleKey_result"]["KeyVals"].size(), 1u);
}

}  // namespace

namespace {

TEST_F(AgentTest, BusyTagSlotStillFindsEveryRuleThatCanMatch)
{
    // Twenty rules name /n in their second grid, so a noun triggers them
    // all; only those whose first word occurs can match, and a rule that
    // starts with a tag is always tried.
    std::string sItems;
    const char* const kWords[] = {"甲方", "乙方", "丙方", "丁方", "戊方", "己方", "庚方", "辛方", "壬方", "癸方"};
    for (int i = 0; i < 10; ++i) {
        sItems += Item("A" + std::to_string(i), std::string("{[") + kWords[i] + "]}{[/n]}s");
        sItems += Item("B" + std::to_string(i), std::string("{[") + kWords[i] + "][/wd]}+2+{[/n]}s");
    }
    sItems += Item("T", "{[/wd]}{[/n]}s");
    Compile(sItems);
    std::string sRules;
    for (const auto& hit : Scan("说明：丙方，金额"))
        sRules += hit.rule_no + ":" + hit.vecSelected[0] + ";";
    EXPECT_EQ(sRules, "B2:金额;T:金额;");
}

}  // namespace
