// The rule language: field normalisation, list splitting, the pattern
// grammar with its escapes and error messages, knowledge-graph settings,
// attribute references, and canonical text that parses back to itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/RUXGrammer.h"
#include "support/SwitchGuard.h"

namespace {

class GrammarTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};
};

_tKnowledgeOrg Parse(const std::string& sPattern, int nExpected = 1)
{
    _tKnowledgeOrg k;
    std::string sError;
    EXPECT_EQ(ParseKnowledge(sPattern, k, sError), nExpected) << sPattern << " " << sError;
    return k;
}

// Structures equal; the step after the last grid (and last block) is not
// part of the canonical text and takes no part in matching.
void ExpectSameStructure(const _tKnowledgeOrg& a, const _tKnowledgeOrg& b)
{
    ASSERT_EQ(a.vecGrids.size(), b.vecGrids.size());
    for (size_t g = 0; g < a.vecGrids.size(); ++g) {
        const _tGridOrg& x = a.vecGrids[g];
        const _tGridOrg& y = b.vecGrids[g];
        EXPECT_EQ(x.is_selected, y.is_selected);
        if (g + 1 < a.vecGrids.size()) {
            EXPECT_EQ(a.vecSteps[g], b.vecSteps[g]);
        }
        ASSERT_EQ(x.vecBlocks.size(), y.vecBlocks.size());
        for (size_t i = 0; i < x.vecBlocks.size(); ++i) {
            EXPECT_EQ(x.vecBlocks[i].vecElems, y.vecBlocks[i].vecElems);
            EXPECT_EQ(x.vecBlocks[i].is_not, y.vecBlocks[i].is_not);
            EXPECT_EQ(x.vecRepeats[i], y.vecRepeats[i]);
            if (i + 1 < x.vecBlocks.size()) {
                EXPECT_EQ(x.vecSteps[i], y.vecSteps[i]);
            }
        }
    }
}

TEST_F(GrammarTest, TextStandardKeepsBlanksOnlyBesideLatinLetters)
{
    EXPECT_EQ(TextStandard("中 国\t文\r\n"), "中国文");
    EXPECT_EQ(TextStandard("GB 50016 - 2014"), "GB 50016-2014");
    EXPECT_EQ(TextStandard("  a b \r\n"), " a b ");
    EXPECT_EQ(TextStandard("50016\n\nGB"), "50016\nGB");
    EXPECT_EQ(TextStandard("\r\n\r\n"), "");
}

TEST_F(GrammarTest, SplitProducesNoEmptyPiecesAndTrimsLineEnds)
{
    EXPECT_EQ(SplitString("a;;b;\r\n", ";"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitString("x\r;y\n", ";"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(SplitString("a, b,,c", ", "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(SplitString("", ";").empty());
    EXPECT_TRUE(SplitString(";;\r\n", ";").empty());
}

TEST_F(GrammarTest, SingleBlockPattern)
{
    _tKnowledgeOrg k = Parse("{[A]}");
    ASSERT_EQ(k.vecGrids.size(), 1u);
    const _tGridOrg& g = k.vecGrids[0];
    ASSERT_EQ(g.vecBlocks.size(), 1u);
    EXPECT_EQ(g.vecBlocks[0].vecElems, std::vector<std::string>{"A"});
    EXPECT_EQ(g.vecRepeats[0], 1);
    EXPECT_EQ(g.vecSteps[0], 1);
    EXPECT_EQ(g.is_selected, 0);
    EXPECT_EQ(k.vecSteps, std::vector<int>{1});
}

TEST_F(GrammarTest, GridsWithRepeatsStepsSelectionAndNegation)
{
    _tKnowledgeOrg k = Parse("{[X;Y]3+2+[Z]}s+4+{[-(W)]}");
    ASSERT_EQ(k.vecGrids.size(), 2u);
    const _tGridOrg& g0 = k.vecGrids[0];
    ASSERT_EQ(g0.vecBlocks.size(), 2u);
    EXPECT_EQ(g0.vecBlocks[0].vecElems, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(g0.vecRepeats, (std::vector<int>{3, 1}));
    EXPECT_EQ(g0.vecSteps, (std::vector<int>{2, 1}));
    EXPECT_EQ(g0.is_selected, 1);
    EXPECT_EQ(k.vecSteps[0], 4);
    const _tGridOrg& g1 = k.vecGrids[1];
    ASSERT_EQ(g1.vecBlocks.size(), 1u);
    EXPECT_EQ(g1.vecBlocks[0].is_not, 1);
    EXPECT_EQ(g1.vecBlocks[0].vecElems, std::vector<std::string>{"W"});

    _tKnowledgeOrg s = Parse("{[X]+2+[Y]}");
    EXPECT_EQ(s.vecGrids[0].vecRepeats, (std::vector<int>{1, 1}));
    EXPECT_EQ(s.vecGrids[0].vecSteps, (std::vector<int>{2, 1}));
}

TEST_F(GrammarTest, StepsAfterSelectedAndPlainGrids)
{
    EXPECT_EQ(Parse("{[A]}s+3+{[B]}").vecSteps, (std::vector<int>{3, 1}));
    EXPECT_EQ(Parse("{[A]}+3{[B]}").vecSteps, (std::vector<int>{3, 1}));
    EXPECT_EQ(Parse("{[A]}s{[B]}").vecSteps, (std::vector<int>{1, 1}));
    EXPECT_EQ(Parse("{[A]}+12+{[B]}s").vecSteps, (std::vector<int>{12, 1}));
    EXPECT_EQ(Parse("{[A]}+12+{[B]}s").vecGrids[1].is_selected, 1);
    // Text between grids other than the step is skipped.
    EXPECT_EQ(Parse("{[A]} and {[B]}").vecGrids.size(), 2u);
}

TEST_F(GrammarTest, OptionalBlocksAndBracketlessGrids)
{
    _tKnowledgeOrg k = Parse("{[A]0+[B]2}");
    EXPECT_EQ(k.vecGrids[0].vecRepeats, (std::vector<int>{0, 2}));
    _tKnowledgeOrg bare = Parse("{/n;/v}");
    ASSERT_EQ(bare.vecGrids[0].vecBlocks.size(), 1u);
    EXPECT_EQ(bare.vecGrids[0].vecBlocks[0].vecElems, (std::vector<std::string>{"/n", "/v"}));
    EXPECT_EQ(bare.vecGrids[0].vecSteps, std::vector<int>{-1});
}

TEST_F(GrammarTest, EscapesInsideElements)
{
    _tKnowledgeOrg k = Parse("{[X^]Y]}");
    ASSERT_EQ(k.vecGrids[0].vecBlocks.size(), 1u);
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].vecElems, std::vector<std::string>{"X]Y"});
    k = Parse("{[a^;b;c^(d^);e^^;f^{^}]}");
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].vecElems, (std::vector<std::string>{"a^;b", "c(d)", "e^", "f{}"}));
    // An escaped "}" does not end the grid; an escaped "[" starts no block.
    k = Parse("{a^}b^[c}");
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].vecElems, std::vector<std::string>{"a}b[c"});
    EXPECT_EQ(UnitStandard("^x^"), "^x^");
}

TEST_F(GrammarTest, BlocksWithMissingMarks)
{
    // A block without "]" runs to the end of its grid.
    _tKnowledgeOrg k = Parse("{[A]+[B;C}");
    ASSERT_EQ(k.vecGrids[0].vecBlocks.size(), 2u);
    EXPECT_EQ(k.vecGrids[0].vecBlocks[1].vecElems, (std::vector<std::string>{"B", "C"}));
    // "-" without "(" negates; a missing ")" takes the rest of the block.
    k = Parse("{[-W]+[-(V]+[U)T]}");
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].is_not, 1);
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].vecElems, std::vector<std::string>{"W"});
    EXPECT_EQ(k.vecGrids[0].vecBlocks[1].vecElems, std::vector<std::string>{"V"});
    EXPECT_EQ(k.vecGrids[0].vecBlocks[2].vecElems, std::vector<std::string>{"U"});
    // A trailing empty element is dropped, inner ones stay.
    k = Parse("{[a;;b;]}");
    EXPECT_EQ(k.vecGrids[0].vecBlocks[0].vecElems, (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(GrammarTest, WhitespaceCompaction)
{
    _tKnowledgeOrg k = Parse(" { [ A ] +\t\n[ B  C ] } ");
    EXPECT_EQ(k.text, "{[A ]+[B C ]}");
    EXPECT_EQ(k.vecGrids[0].vecBlocks[1].vecElems, std::vector<std::string>{"B C "});
    EXPECT_EQ(CompactPattern("a^ b"), "a^b");
}

TEST_F(GrammarTest, MissingGridMarksFailWithGbkMessages)
{
    _tKnowledgeOrg k;
    std::string sError;
    EXPECT_EQ(ParseKnowledge("[A]", k, sError), -1);
    EXPECT_TRUE(k.vecGrids.empty());
    EXPECT_EQ(sError, std::string("[") + kGridOpenMissing);
    EXPECT_EQ(MessageToUtf8(sError), "[处应该为区格的起始符合'{'");

    EXPECT_EQ(ParseKnowledge("{[A]}+{[B]", k, sError), -1);
    EXPECT_EQ(k.vecGrids.size(), 1u);  // grids before the error stay
    EXPECT_EQ(MessageToUtf8(sError), "{[A]}+{[B]后面缺乏区格的结束符合'}'");
    // The quoted pattern is converted to GBK with the message.
    EXPECT_EQ(ParseKnowledge("{[单位]", k, sError), -1);
    EXPECT_EQ(MessageToUtf8(sError), "{[单位]后面缺乏区格的结束符合'}'");
    EXPECT_EQ(ParseKnowledge("", k, sError), -1);
    EXPECT_EQ(MessageToUtf8(sError), "处应该为区格的起始符合'{'");
    // A pattern that starts with a Chinese character quotes all of it.
    EXPECT_EQ(ParseKnowledge("甲方：[w:party]", k, sError), -1);
    EXPECT_EQ(MessageToUtf8(sError), "甲处应该为区格的起始符合'{'");
}

TEST_F(GrammarTest, KnowledgeGraphSettings)
{
    std::vector<_tField2KG> vecKG;
    std::vector<std::string> vecKeys;
    ParseKGSet("org:a,k;person:e;nocolon;empty:", vecKG, vecKeys);
    ASSERT_EQ(vecKG.size(), 3u);
    EXPECT_EQ(vecKG[0].field_name, "org");
    EXPECT_EQ(vecKG[0].type[1], 1);
    EXPECT_EQ(vecKG[0].type[6], 1);
    EXPECT_EQ(vecKG[1].field_name, "person");
    EXPECT_EQ(vecKG[1].type[7], 1);
    EXPECT_EQ(vecKG[1].type[1], 0);
    EXPECT_EQ(vecKeys, std::vector<std::string>{"org"});
    EXPECT_EQ(GetKGSetStr(vecKG), "org:attribute,keyword,;person:entity,;empty:");

    std::vector<_tField2KG> vecBack;
    std::vector<std::string> vecKeysBack;
    ParseKGSet(GetKGSetStr(vecKG), vecBack, vecKeysBack);
    EXPECT_EQ(GetKGSetStr(vecBack), GetKGSetStr(vecKG));
    EXPECT_EQ(vecKeysBack, vecKeys);

    vecKG.clear();
    vecKeys.clear();
    ParseKGSet("x:Showname Head,tail,Relation,zzz,Keyword,keyword", vecKG, vecKeys);
    EXPECT_EQ(GetKGSetStr(vecKG), "x:showname,head,tail,relation,keyword,");
    EXPECT_EQ(vecKeys, std::vector<std::string>{"x"});

    // The flags follow the last colon; the field before them may hold colons.
    vecKG.clear();
    vecKeys.clear();
    ParseKGSet("date|日期:yyyy:a,k", vecKG, vecKeys);
    ASSERT_EQ(vecKG.size(), 1u);
    EXPECT_EQ(vecKG[0].field_name, "date|日期:yyyy");
    EXPECT_EQ(GetKGSetStr(vecKG), "date|日期:yyyy:attribute,keyword,");
}

TEST_F(GrammarTest, AttributeReferencesAndFormats)
{
    std::string sAttribute, sShow, sFormat;
    ASSERT_TRUE(ExtractAttribute("price|单价:{元}", sAttribute, sShow, sFormat));
    EXPECT_EQ(sAttribute, "price");
    EXPECT_EQ(sShow, "单价");
    EXPECT_EQ(sFormat, "元");
    ASSERT_TRUE(ExtractAttribute("price", sAttribute, sShow, sFormat));
    EXPECT_EQ(sShow, "price");
    EXPECT_EQ(sFormat, "");
    ASSERT_TRUE(ExtractAttribute("date:{yyyy}", sAttribute, sShow, sFormat));
    EXPECT_EQ(sAttribute, "date");
    EXPECT_EQ(sFormat, "yyyy");
    EXPECT_FALSE(ExtractAttribute("|单价", sAttribute, sShow, sFormat));
    EXPECT_FALSE(ExtractAttribute("", sAttribute, sShow, sFormat));

    std::string sValue;
    EXPECT_TRUE(SplitFormat("5:{年}", sValue, sFormat));
    EXPECT_EQ(sValue, "5");
    EXPECT_EQ(sFormat, "年");
    EXPECT_FALSE(SplitFormat("5:{年", sValue, sFormat));
    EXPECT_EQ(sValue, "5:{年");
}

TEST_F(GrammarTest, CanonicalTextOfWrittenPatterns)
{
    for (const char* s : {"{[X;Y]3+2+[Z]}s+4+{[-(W)]}", "{[X]+2+[Y]}", "{[A]0+[B]}+{[/m]}s",
                          "{[公司;集团]+[/nt]}s+2+{[出具]}"})
        EXPECT_EQ(GetKnowledgeStr(Parse(s)), s);
    EXPECT_EQ(GetKnowledgeStr(Parse("{[A]}s+1+{[B]}")), "{[A]}s+{[B]}");
    EXPECT_EQ(GetKnowledgeStr(Parse("{/n}")), "{[/n]}");
}

TEST_F(GrammarTest, CanonicalTextParsesBackToTheSameStructure)
{
    const char* const patterns[] = {
        "{[X;Y]3+2+[Z]}s+4+{[-(W)]}",
        "{[X^]Y]}",
        "{[a^;b;c^(d^);e^^;f^{^}]}+5+{[g^^]2}s",
        "{[(-a)]+[( y)]+[-(-b)]}",
        "{[A]0+7+[B]}s+{[C]}",
        "{[GB 50016;GB/T 1.1]+[/m]1+[-(年)]}s",
        "{[a;;b]}",
        "{[]}",
    };
    for (const char* s : patterns) {
        _tKnowledgeOrg first = Parse(s);
        std::string sText = GetKnowledgeStr(first);
        _tKnowledgeOrg second = Parse(TextStandard(sText));
        SCOPED_TRACE(std::string(s) + " -> " + sText);
        ExpectSameStructure(first, second);
        EXPECT_EQ(GetKnowledgeStr(second), sText);
    }
}

}  // namespace
