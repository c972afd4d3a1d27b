// The answer parser: the numbers, documents in order, names looked up
// without case, HTML turned into text, and answers cut short.
#include <gtest/gtest.h>

#include "SearchClient/SearchResultParser.h"

TEST(SearchResultParserTest, DocumentsAndTheirValuesInOrder)
{
    std::string sAnswer =
        "<Total-Number>12</Total-Number><Return-Number>2</Return-Number>"
        "<Document><Safety_Tiaowenhao>GB 50016-2014</Safety_Tiaowenhao><Safety_Tiaowen>建筑设计防火规范"
        "</Safety_Tiaowen><Memo>1</Memo></Document>"
        "<Document><Safety_Tiaowenhao>XX 1-2000</Safety_Tiaowenhao><Safety_Tiaowen>示例&lt;废止&gt;&amp;标准"
        "</Safety_Tiaowen><Memo>3</Memo></Document>";
    std::vector<_tSearchDocument> vecDocs;
    EXPECT_EQ(CSearchResultParser::GetSearchResult(sAnswer, vecDocs), 2);
    EXPECT_EQ(CSearchResultParser::TotalNumber(sAnswer), 12);
    ASSERT_EQ(vecDocs.size(), 2u);
    ASSERT_EQ(vecDocs[0].size(), 3u);
    EXPECT_EQ(vecDocs[0][0].first, "Safety_Tiaowenhao");
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[0], "safety_tiaowenhao"), "GB 50016-2014");
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[0], "MEMO"), "1");
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[0], "safety_date"), "");
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[1], "Safety_Tiaowen"), "示例<废止>&标准");
}

TEST(SearchResultParserTest, NoDocumentsAndCutAnswers)
{
    std::vector<_tSearchDocument> vecDocs;
    EXPECT_EQ(CSearchResultParser::GetSearchResult("<Total-Number>0</Total-Number><Return-Number>0</Return-Number>",
                                                   vecDocs),
              0);
    EXPECT_TRUE(vecDocs.empty());
    EXPECT_LE(CSearchResultParser::GetSearchResult("", vecDocs), 0);
    EXPECT_LE(CSearchResultParser::GetSearchResult("<Return-Number>-3</Return-Number><Document><a>1</a></Document>",
                                                   vecDocs),
              0);
    EXPECT_TRUE(vecDocs.empty());
    // A document without its closing tag ends the reading.
    EXPECT_EQ(CSearchResultParser::GetSearchResult(
                  "<Return-Number>3</Return-Number><Document><a>1</a></Document><Document><a>2</a>", vecDocs),
              3);
    ASSERT_EQ(vecDocs.size(), 1u);
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[0], "A"), "1");
    // An element without its end closes its document's reading only.
    EXPECT_EQ(CSearchResultParser::GetSearchResult(
                  "<Return-Number>2</Return-Number><Document><a>1<b>2</b></Document><Document><c>3</c></Document>",
                  vecDocs),
              2);
    ASSERT_EQ(vecDocs.size(), 2u);
    EXPECT_EQ(CSearchResultParser::Field(vecDocs[1], "c"), "3");
}
