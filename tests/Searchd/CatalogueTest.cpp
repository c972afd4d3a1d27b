// The catalogue's pieces: number and clause keys as reports write them,
// the text sources and their import (replacing, refusing a bad source
// whole), the query language's terms, and the catalogue the build ships.
#include <gtest/gtest.h>

#include <string>

#include "CatalogueKeys.h"
#include "CatalogueSearch.h"
#include "CatalogueTsv.h"
#include "RunningServer.h"
#include "SearchQuery.h"
#include "StandardCatalogue.h"
#include "support/TempDir.h"

TEST(Catalogue, NumbersAndClausesReduceToOneKeyHoweverWritten)
{
    EXPECT_EQ(CCatalogueKeys::NumberKey("GB/T 13861-2022"), "GB/T13861-2022");
    EXPECT_EQ(CCatalogueKeys::NumberKey("gb／t　13861—2022"), "GB/T13861-2022");
    EXPECT_EQ(CCatalogueKeys::NumberKey("ＧＢ 50016－2014"), "GB50016-2014");
    EXPECT_EQ(CCatalogueKeys::CodeKey("GB50016-2014"), "GB50016");
    EXPECT_EQ(CCatalogueKeys::CodeKey("GB50016"), "GB50016");
    EXPECT_EQ(CCatalogueKeys::CodeKey("AQ/T3046-X"), "AQ/T3046-X");
    EXPECT_EQ(CCatalogueKeys::Year("GB50045-95"), 1995);
    EXPECT_EQ(CCatalogueKeys::Year("GB/T13861-2022"), 2022);
    EXPECT_EQ(CCatalogueKeys::Year("GB50016"), 0);
    EXPECT_EQ(CCatalogueKeys::SectionKey("第 5.2.2 条"), "5.2.2");
    EXPECT_EQ(CCatalogueKeys::SectionKey("５.２.２"), "5.2.2");
}

TEST(Catalogue, SourcesAreReadByTheirHeaderAndABadLineRefusesTheWholeSource)
{
    CCatalogueTsv source;
    std::string sError;
    ASSERT_TRUE(source.Parse("\xEF\xBB\xBF# comment\r\n\nnumber\ttitle\tdate\tstatus\treplaced_by\r\n"
                             "GB 1-2000\t甲\t\t现行\nGB 2-2001\t乙\t2001-02-03\treplaced\tGB 2-2020\n"
                             "GB 3-1990\t丙\t\t3\n",
                             sError))
        << sError;
    ASSERT_TRUE(source.IsStandards());
    ASSERT_EQ(source.Standards().size(), 3u);
    EXPECT_EQ(source.Standards()[0].nMemo, kStatusCurrent);
    EXPECT_EQ(source.Standards()[1].sReplacedBy, "GB 2-2020");
    EXPECT_EQ(source.Standards()[1].sDate, "2001-02-03");
    EXPECT_EQ(source.Standards()[2].nMemo, kStatusWithdrawn);
    for (const char* sBad : {"GB 1-2000\t甲\n", "number\ttitle\nGB 1-2000\n",
                             "number\ttitle\tdate\nGB 1-2000\t甲\t2000/01/01\n",
                             "number\ttitle\tdate\tstatus\nGB 1-2000\t甲\t\tobsolete\n",
                             "standard\tclause\trow_name\tcol_name\tvalue\nGB 1-2000\t5.1\ta\tb\n"}) {
        CCatalogueTsv bad;
        EXPECT_FALSE(bad.Parse(sBad, sError)) << sBad;
        EXPECT_TRUE(bad.Standards().empty() && bad.ClauseValues().empty());
    }
    EXPECT_NE(sError.find("line 2"), std::string::npos) << sError;
}

TEST(Catalogue, ImportsReplaceANumbersEntryAndKeepTheTitleIndexInStep)
{
    CTempDir dir;
    CStandardCatalogue catalogue;
    std::string sError;
    ASSERT_TRUE(catalogue.Open(dir.File("c.db"), sError)) << sError;
    EXPECT_EQ(catalogue.ImportText("number\ttitle\nGB 1-2000\t旧的名称标准\nGB 2-2000\t另一个标准\n", sError), 2);
    EXPECT_EQ(catalogue.ImportText("number\ttitle\tdate\tstatus\ngb 1—2000\t新的名称标准\t\twithdrawn\n", sError), 1);
    EXPECT_EQ(catalogue.ImportText("number\ttitle\nGB 3-2000\t第三\nGB 4-2000\n", sError), -1);
    EXPECT_EQ(catalogue.CountStandards(), 2) << "the refused source added nothing";
    CCatalogueSearch search;
    ASSERT_TRUE(search.Open(dir.File("c.db"), sError)) << sError;
    EXPECT_EQ(AnswerNumber(search.Answer("[field] Safety_Tiaowen [whole] 旧的名称", 0, 10), "Total-Number"), 0);
    std::string sAnswer = search.Answer("[field] Safety_Tiaowen [whole] 新的名称", 0, 10);
    EXPECT_EQ(AnswerValues(sAnswer, "Safety_Tiaowenhao"), (std::vector<std::string>{"gb 1—2000"}));
    EXPECT_EQ(AnswerValues(sAnswer, "Memo"), (std::vector<std::string>{"3"}));
    EXPECT_FALSE(search.Open(dir.File("missing.db"), sError));
}

TEST(Catalogue, QueriesAreSequencesOfFieldTerms)
{
    CSearchQuery query;
    std::string sError;
    ASSERT_TRUE(query.Parse(" [Field] file_name [and] 建筑 设计 [field] section_no [WHOLE] 5.2.2 ", sError)) << sError;
    ASSERT_EQ(query.Terms().size(), 2u);
    EXPECT_EQ(query.Terms()[0].sField, "file_name");
    EXPECT_EQ(query.Terms()[0].eMode, EMatchMode::And);
    EXPECT_EQ(query.Terms()[0].sValue, "建筑 设计");
    EXPECT_EQ(query.Terms()[1].eMode, EMatchMode::Whole);
    EXPECT_EQ(query.ValueOf("section_no"), "5.2.2");
    // Brackets that are no markers belong to the value.
    ASSERT_TRUE(query.Parse("[field] Safety_Tiaowenhao [whole] 安监总管三〔2013〕[88]号", sError));
    EXPECT_EQ(query.Terms()[0].sValue, "安监总管三〔2013〕[88]号");
    EXPECT_FALSE(query.Parse("text [field] a [whole] b", sError));
    EXPECT_FALSE(query.Parse("[field] a b", sError));
    EXPECT_FALSE(query.Parse("[field] [and] b", sError));
}

TEST(Catalogue, TheShippedCatalogueKnowsTheCommonlyCitedStandards)
{
    CCatalogueSearch search;
    std::string sError;
    ASSERT_TRUE(search.Open(BuiltDataDir() + "/Standards/Standards.db", sError)) << sError;
    for (const char* sNumber : {"GB 50016-2014", "GB 50058-2014", "GB 50160-2008", "GB 50074-2014", "GB 30871-2022",
                                "GB 18218-2018", "GB 50493-2019", "GB/T 13861-2022", "AQ 3009-2007", "AQ/T 3046-2013",
                                "GB 50140-2005", "GB 50057-2010", "GB 2894-2008", "GB 6441-1986", "GB 50974-2014"}) {
        std::string sAnswer = search.Answer(std::string("[field] Safety_Tiaowenhao [whole] ") + sNumber, 0, 10);
        EXPECT_EQ(AnswerNumber(sAnswer, "Total-Number"), 1) << sNumber;
        EXPECT_EQ(AnswerValues(sAnswer, "Memo"), (std::vector<std::string>{"1"})) << sNumber;
    }
    // Every replaced edition names a successor the catalogue holds.
    std::string sAll = search.Answer("[field] Safety_Tiaowenhao [and] -", 0, -1);
    std::vector<std::string> vecMemo = AnswerValues(sAll, "Memo"), vecBy = AnswerValues(sAll, "Replaced_By");
    ASSERT_GT(vecMemo.size(), 50u);
    for (size_t i = 0; i < vecMemo.size(); ++i) {
        if (vecMemo[i] != "2")
            continue;
        std::string sNext = search.Answer("[field] Safety_Tiaowenhao [whole] " + vecBy[i], 0, 1);
        EXPECT_EQ(AnswerNumber(sNext, "Total-Number"), 1) << vecBy[i];
    }
    std::string sTable = search.Answer("[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2", 0, -1);
    EXPECT_EQ(AnswerNumber(sTable, "Total-Number"), 16);
}
