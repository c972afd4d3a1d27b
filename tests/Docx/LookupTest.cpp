// Lookups by paraId, whole-text views, character counts, and reuse of one
// parser for several documents.
#include <gtest/gtest.h>

#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"

using B = CDocxBuilder;

namespace {

std::string SampleBody()
{
    return OpeningHeading() + B::Para("正文 text") + B::Table({{"表1 数据"}, {"甲", "乙"}}) + B::Para("结尾");
}

}  // namespace

TEST(ModelLookup, BodyAndCellParagraphsByParaId)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBody(parser, SampleBody(), dir), 1);
    const _tParagraph& body = parser.Model().Paragraphs()[1];
    _tParaIndex index;
    EXPECT_EQ(parser.GetParaIndex(body.id, &index), 1);
    EXPECT_EQ(index.table_index, -1);
    EXPECT_STREQ(parser.GetText(body.id), "正文 text");
    EXPECT_EQ(parser.GetLevel(body.id), 0);

    // The first table's cells answer from the cell, also for the caption
    // whose copy sits in the body list.
    const _tTable& table = parser.Model().Tables()[0];
    const _tParagraph& cell = table.rows[1][1][0];
    EXPECT_EQ(parser.GetParaIndex(cell.id, &index), 0);
    EXPECT_EQ(index.table_index, 0);
    EXPECT_EQ(index.row_index, 1);
    EXPECT_EQ(index.col_index, 1);
    EXPECT_EQ(parser.GetLevel(cell.id), DocLevel::TABLE_COL);
    EXPECT_STREQ(parser.GetText(cell.id), "乙");
    EXPECT_EQ(parser.GetLevel(table.rows[0][0][0].id), DocLevel::TABLE_COL);

    // A placeholder id (the table's index) is found like any paragraph.
    EXPECT_EQ(parser.GetParaIndex(0), static_cast<int>(table.para_index));
}

TEST(ModelLookup, UnknownIdsNeverFailHard)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBody(parser, SampleBody(), dir), 1);
    EXPECT_EQ(parser.GetParaIndex(0xABCDEF), -1);
    EXPECT_EQ(parser.GetLevel(0xABCDEF), DocLevel::NOT_FOUND);
    EXPECT_STREQ(parser.GetText(0xABCDEF), "Cannot locate para index 00ABCDEF");
    EXPECT_EQ(g_sLastErrorMessage, "Cannot locate para index 00ABCDEF");
}

TEST(ModelLookup, WholeTextLastIdPagesAndChapters)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBody(parser, SampleBody(), dir), 1);
    EXPECT_STREQ(parser.GetText(), "第一章 绪论\r\n正文 text\r\n表1 数据\r\n表1 数据 \t\r\n甲 \t乙 \t\r\n结尾\r\n");
    EXPECT_EQ(parser.GetLastParaID(), parser.Model().Paragraphs().back().id);
    CDocModel model = parser.Model();
    model.SetPageParaIDs({900, 0, 500});  // kept ascending
    model.SetChapters({1, 2}, {2, 5});
    parser.SetModel(std::move(model));
    EXPECT_EQ(parser.GetPageNum(10), 0);
    EXPECT_EQ(parser.GetPageNum(500), 1);
    EXPECT_EQ(parser.GetPageNum(5000), 2);
    EXPECT_EQ(parser.LocateChapter(1), 0);
    EXPECT_EQ(parser.LocateChapterID(1), 0);
    EXPECT_EQ(parser.LocateChapterID(4), 1);
    EXPECT_EQ(parser.LocateChapterID(9), 2);
}

TEST(ModelLookup, AllParagraphsAndCharacterCounts)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Body(SampleBody()).Header(1, B::Para("页眉")).Footer(1, B::Para("p 1"));
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    std::vector<_tParagraph> vecAll;
    parser.GetAllParagraph(vecAll);
    ASSERT_EQ(vecAll.size(), parser.Model().Paragraphs().size() + 2 + 3);
    EXPECT_EQ(vecAll[parser.Model().Paragraphs().size()].text, "页眉");
    EXPECT_EQ(vecAll.back().text, "乙");
    parser.DocCharStat();
    // 页眉 2, "p 1" 2; body: 第一章绪论 5, 正文text 2+4, 表1数据 (caption copy) 3+1, 结尾 2;
    // cells: 表1数据 3+1, 甲 1, 乙 1.
    EXPECT_EQ(parser.Model().MultiCharCount(), 2u + 5 + 2 + 3 + 2 + 3 + 1 + 1);
    EXPECT_EQ(parser.Model().SingleCharCount(), 2u + 4 + 1 + 1);
    EXPECT_EQ(parser.Model().CharCount(), parser.Model().MultiCharCount() + parser.Model().SingleCharCount());
}

TEST(ModelLookup, SecondDocumentKeepsNothingOfTheFirst)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder first;
    first.Body(SampleBody() + "<w:p><w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r></w:p>")
        .Header(1, B::Para("页眉"))
        .Relationships("<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/"
                       "officeDocument/2006/relationships/image\" Target=\"media/a.png\"/>");
    ASSERT_EQ(ParseBuilt(parser, first, dir, "one.docx"), 1);
    ASSERT_EQ(parser.Model().Figures().size(), 1u);
    uint32_t nOldId = parser.Model().Paragraphs()[1].id;
    CDocxBuilder second;
    second.Body(B::Para("另一份文件"));
    ASSERT_EQ(ParseBuilt(parser, second, dir, "two.docx"), 1);
    EXPECT_EQ(BodyTexts(parser), "另一份文件");
    EXPECT_TRUE(parser.Model().Tables().empty());
    EXPECT_TRUE(parser.Model().Figures().empty());
    EXPECT_TRUE(parser.m_mapId2Res.empty());
    EXPECT_TRUE(parser.Model().Headers().empty());
    EXPECT_TRUE(parser.Model().Footers().empty());
    EXPECT_TRUE(parser.Model().DocStruct().empty());
    if (nOldId != parser.Model().Paragraphs()[0].id) {
        EXPECT_EQ(parser.GetParaIndex(nOldId), -1);
    }
}

TEST(ModelLookup, TemplateSelectionValues)
{
    CDocxParser parser;
    parser.m_keyValOrganization.key_value = "某某大学";
    parser.m_keyValArgu.key_value = "硕士\"学位\"";
    EXPECT_STREQ(parser.GetCurTemplateInfo(),
                 "{\r\n  \"rux_organization\": \"某某大学\",\r\n  \"rux_argument\": \"硕士\\\"学位\\\"\","
                 "\r\n  \"rux_area\": \"\"\r\n}\r\n");
    KEY_VAL org, area, argu;
    EXPECT_EQ(parser.GetOrgType(0, org, area, argu), 1);
    EXPECT_EQ(org.key_value, "某某大学");
    parser.ResetCurTemplateInfo();
    EXPECT_TRUE(parser.m_keyValOrganization.key_value.empty());
}
