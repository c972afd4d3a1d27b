// The rules of the document model: checked after parsing (and reloading)
// every corpus document, and after each operation on small models.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"
#include "support/SwitchGuard.h"

namespace fs = std::filesystem;

namespace {

bool IsAscendingOnce(const std::vector<int>& vecList)
{
    for (size_t i = 1; i < vecList.size(); ++i) {
        if (vecList[i] <= vecList[i - 1])
            return false;
    }
    return true;
}

// The first rule of DocModel.h the model breaks, "" when it keeps them all.
std::string BrokenRule(const CDocModel& model)
{
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    const std::map<uint32_t, _tParaIndex>& mapIndex = model.ParaIndexMap();
    std::ostringstream out;
    // Ids of the entries that are not placeholders rise.
    const _tParagraph* pLast = nullptr;
    for (size_t i = 0; i < vecParas.size(); ++i) {
        const _tParagraph& para = vecParas[i];
        if (para.level == DocLevel::TABLE_PLACEHOLDER) {
            if (para.id >= model.Tables().size() || model.Tables()[para.id].para_index != i)
                return (out << "table placeholder " << i << " is not its table's", out.str());
            continue;
        }
        if (para.level == DocLevel::FIGURE_PLACEHOLDER) {
            if (para.id >= model.Figures().size() || model.Figures()[para.id].para_index != i)
                return (out << "figure placeholder " << i << " is not its figure's", out.str());
            continue;
        }
        if (pLast && para.id <= pLast->id)
            return (out << "id of entry " << i << " does not rise: " << para.text, out.str());
        pLast = &para;
    }
    // Tables and figures point at their placeholders and at ordinary captions.
    auto captionOk = [&](unsigned nCaption) {
        return nCaption == NO_CAPTION || (nCaption < vecParas.size() && !vecParas[nCaption].IsPlaceholder());
    };
    for (size_t t = 0; t < model.Tables().size(); ++t) {
        const _tTable& table = model.Tables()[t];
        if (table.para_index >= vecParas.size() || vecParas[table.para_index].level != DocLevel::TABLE_PLACEHOLDER ||
            vecParas[table.para_index].id != t || !captionOk(table.caption_index))
            return (out << "table " << t << " points wrong", out.str());
    }
    for (size_t f = 0; f < model.Figures().size(); ++f) {
        const _tFigure& figure = model.Figures()[f];
        if (figure.para_index >= vecParas.size() ||
            vecParas[figure.para_index].level != DocLevel::FIGURE_PLACEHOLDER ||
            vecParas[figure.para_index].id != f || !captionOk(figure.caption_index))
            return (out << "figure " << f << " points wrong", out.str());
    }
    // Index lists: ascending, each once, never a placeholder.
    const std::pair<const char*, const std::vector<int>*> lists[] = {
        {"headings", &model.DocStruct()}, {"contents", &model.ContentStruct()}, {"formulas", &model.FormulaIndex()}};
    for (const auto& list : lists) {
        if (!IsAscendingOnce(*list.second))
            return (out << list.first << " not ascending", out.str());
        for (int nIndex : *list.second) {
            if (nIndex < 0 || static_cast<size_t>(nIndex) >= vecParas.size() ||
                vecParas[static_cast<size_t>(nIndex)].IsPlaceholder())
                return (out << list.first << " holds entry " << nIndex, out.str());
        }
    }
    for (int nIndex : model.ContentStruct()) {
        if (vecParas[static_cast<size_t>(nIndex)].level != DocLevel::CONTENT1)
            return (out << "contents line " << nIndex << " is not at the contents level", out.str());
    }
    // The map: every entry names a paragraph with its id ...
    for (const auto& item : mapIndex) {
        const _tParagraph* pPara = model.Find(item.first);
        if (!pPara || pPara->id != item.first)
            return (out << "map entry " << std::hex << item.first << " names no paragraph of that id", out.str());
    }
    // ... every cell id is there as its cell (a cell wins) ...
    std::set<uint32_t> setCellIds;
    for (const _tTable& table : model.Tables()) {
        for (const _tRow& row : table.rows) {
            for (const _tCell& cell : row) {
                for (const _tParagraph& para : cell) {
                    setCellIds.insert(para.id);
                    auto it = mapIndex.find(para.id);
                    if (it == mapIndex.end() || it->second.table_index < 0)
                        return (out << "cell id " << std::hex << para.id << " not mapped to a cell", out.str());
                }
            }
        }
    }
    // ... and every body id to the first entry of that id.
    std::set<uint32_t> setSeen;
    for (size_t i = 0; i < vecParas.size(); ++i) {
        uint32_t nId = vecParas[i].id;
        if (!setSeen.insert(nId).second || setCellIds.count(nId))
            continue;
        auto it = mapIndex.find(nId);
        if (it == mapIndex.end() || it->second.table_index >= 0 || it->second.para_index != i)
            return (out << "body entry " << i << " not mapped to itself", out.str());
    }
    setSeen.insert(setCellIds.begin(), setCellIds.end());
    if (mapIndex.size() != setSeen.size())
        return "the map holds ids of no paragraph";
    const std::vector<uint32_t>& vecPages = model.PageParaIDs();
    if (!std::is_sorted(vecPages.begin(), vecPages.end()))
        return "page starts not ascending";
    return "";
}

_tParagraph Para(uint32_t nId, const std::string& sText, int nLevel = DocLevel::TEXT)
{
    _tParagraph para;
    para.id = nId;
    para.text = sText;
    para.level = nLevel;
    return para;
}

_tTable OneCellTable(uint32_t nCellId, const std::string& sText)
{
    _tTable table;
    table.rows.push_back(_tRow{_tCell{Para(nCellId, sText, DocLevel::TABLE_COL)}});
    return table;
}

}  // namespace

TEST(ModelRules, HoldAfterParsingAndReloadingEveryCorpusDocument)
{
    std::vector<fs::path> vecDocs;
    for (const auto& entry : fs::recursive_directory_iterator(VESKAR_TEST_CORPUS_DIR)) {
        if (entry.path().extension() == ".docx")
            vecDocs.push_back(entry.path());
    }
    ASSERT_GE(vecDocs.size(), 10u) << "the shared corpus is expected at " << VESKAR_TEST_CORPUS_DIR;
    size_t nHeadings = 0, nTables = 0, nFigures = 0;
    for (const fs::path& doc : vecDocs) {
        // Type 4 finds headings from their numbers (and chapter titles) when
        // the document has no heading styles; type 5 here joins broken lines
        // as for recognised text.
        for (int nType : {0, 4, 5}) {
            SCOPED_TRACE(doc.string() + " type " + std::to_string(nType));
            CTempDir dir;
            std::string sCopy = dir.File("input.docx");
            fs::copy_file(doc, sCopy);
            CDocxParser parser;
            CSwitchGuard ocr(g_bOCR, nType == 5);
            ASSERT_EQ(parser.ImportFile(sCopy.c_str(), "", nType == 5 ? 0 : nType, 0), 1) << g_sLastErrorMessage;
            EXPECT_EQ(BrokenRule(parser.Model()), "");
            nHeadings += parser.Model().DocStruct().size();
            nTables += parser.Model().Tables().size();
            nFigures += parser.Model().Figures().size();
            CDocxParser reloaded;
            ASSERT_GT(reloaded.LoadDocResult(dir.File("input.xml").c_str()), 0u);
            EXPECT_EQ(BrokenRule(reloaded.Model()), "");
            EXPECT_EQ(reloaded.Model().DocStruct(), parser.Model().DocStruct());
        }
    }
    // The corpus really exercises headings, tables and figures.
    EXPECT_GT(nHeadings, 0u);
    EXPECT_GT(nTables, 0u);
    EXPECT_GT(nFigures, 0u);
}

TEST(ModelRules, AddParagraphRefusesWhatWouldBreakTheList)
{
    CDocModel model;
    EXPECT_TRUE(model.AddParagraph(Para(100, "a")));
    EXPECT_FALSE(model.AddParagraph(Para(200, "")));                                // empty text
    EXPECT_FALSE(model.AddParagraph(Para(50, "earlier")));                          // falling id
    EXPECT_FALSE(model.AddParagraph(Para(300, "", DocLevel::TABLE_PLACEHOLDER)));   // placeholder
    EXPECT_TRUE(model.AddParagraph(Para(300, "", DocLevel::TXTBOX)));               // empty box line
    ASSERT_EQ(model.Paragraphs().size(), 2u);
    EXPECT_EQ(BrokenRule(model), "");
    EXPECT_EQ(model.GetParaIndex(300), 1);
    EXPECT_EQ(model.GetParaIndex(50), -1);

    // An empty heading at the end gives its place to the next heading of
    // its level, and the map follows: the old id is gone.
    ASSERT_TRUE(model.SetLevel(1, DocLevel::TITLE2));
    EXPECT_TRUE(model.AddParagraph(Para(400, "1.1 背景", DocLevel::TITLE2)));
    ASSERT_EQ(model.Paragraphs().size(), 2u);
    EXPECT_EQ(model.Paragraphs()[1].text, "1.1 背景");
    EXPECT_EQ(model.GetParaIndex(300), -1);
    EXPECT_EQ(model.GetParaIndex(400), 1);
    EXPECT_EQ(BrokenRule(model), "");
}

// Counts are taken eight bytes at a time: every byte value at every offset,
// in the eight-byte blocks and in the tail, must count as one byte at a time.
TEST(ModelRules, CharacterCountsSeeEveryByteAtEveryOffset)
{
    for (int c = 0; c < 256; ++c) {
        CDocModel model;
        size_t nMulti = 0, nSingle = 0;
        for (size_t nAt = 0; nAt < 21; ++nAt) {
            std::string sText = "中文字符串测试";  // 21 bytes, 7 lead bytes
            sText[nAt] = static_cast<char>(c);
            for (unsigned char b : sText) {
                nMulti += b >= 0xC0;
                nSingle += b < 0x80 && b != ' ' && b != '\t' && b != '\r' && b != '\n';
            }
            ASSERT_TRUE(model.AddParagraph(Para(static_cast<uint32_t>(nAt + 1), sText)));
        }
        model.CountChars();
        ASSERT_EQ(model.MultiCharCount(), nMulti) << "byte " << c;
        ASSERT_EQ(model.SingleCharCount(), nSingle) << "byte " << c;
        EXPECT_EQ(model.CharCount(), nMulti + nSingle);
    }
}

TEST(ModelRules, TablesAndFiguresComeWithPlaceholdersAndCellsWinTheMap)
{
    CDocModel model;
    model.AddParagraph(Para(10, "图前"));
    _tFigure figure;
    figure.para_id = 20;
    EXPECT_EQ(model.AddFigure(figure, Para(20, "pic")), 0u);
    EXPECT_FALSE(model.FigureCaptionFilled());
    model.AddParagraph(Para(20, "pic(Figure 0)"));
    // The cell shares an id with the body entry before it: the cell wins.
    EXPECT_EQ(model.AddTable(OneCellTable(20, "格")), 0u);
    EXPECT_EQ(model.AddTable(OneCellTable(90, "格二")), 1u);
    EXPECT_EQ(BrokenRule(model), "");
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    ASSERT_EQ(vecParas.size(), 5u);
    EXPECT_EQ(vecParas[1].level, DocLevel::FIGURE_PLACEHOLDER);
    EXPECT_EQ(vecParas[3].level, DocLevel::TABLE_PLACEHOLDER);
    EXPECT_EQ(vecParas[4].id, 1u);
    _tParaIndex index;
    ASSERT_GE(model.GetParaIndex(20, &index), 0);
    EXPECT_EQ(index.table_index, 0);
    EXPECT_EQ(model.Find(20)->text, "格");
    // Figure placeholder 0 came first, so id 0 names it, not table 0's.
    EXPECT_EQ(model.GetParaIndex(0), 1);
}

TEST(ModelRules, PlaceholdersAreNeverHeadingsOrContentsLines)
{
    CDocModel model;
    model.AddParagraph(Para(10, "第一章 绪论"));
    model.AddTable(OneCellTable(30, "格"));
    model.AddParagraph(Para(50, "1.1 背景"));
    EXPECT_FALSE(model.EnterHeading(1, DocLevel::TITLE1));
    EXPECT_FALSE(model.EnterContentLine(1));
    EXPECT_FALSE(model.EnterFormula(1));
    EXPECT_FALSE(model.SetLevel(1, DocLevel::TEXT));
    EXPECT_FALSE(model.SetLevel(0, DocLevel::FIGURE_PLACEHOLDER));
    EXPECT_FALSE(model.EnterHeading(7, DocLevel::TITLE1));
    // Headings stay ascending and single whatever the order they come in.
    EXPECT_TRUE(model.EnterHeading(2, DocLevel::TITLE2));
    EXPECT_TRUE(model.EnterHeading(0, DocLevel::TITLE1));
    EXPECT_TRUE(model.EnterHeading(2, DocLevel::TITLE2));
    EXPECT_EQ(model.DocStruct(), std::vector<int>({0, 2}));
    EXPECT_EQ(model.Paragraphs()[1].level, DocLevel::TABLE_PLACEHOLDER);
    EXPECT_EQ(BrokenRule(model), "");
}

TEST(ModelRules, JoinedLinesKeepRecordsOnTheirEntries)
{
    CDocModel model;
    model.AddParagraph(Para(10, "这一行"));
    model.AddParagraph(Para(20, "断开了。"));
    model.AddParagraph(Para(30, "表1 数据", DocLevel::TABLE_CAPTION));
    _tTable table = OneCellTable(40, "格");
    table.caption_index = 2;
    model.AddTable(table);
    model.AddParagraph(Para(60, "后面"));
    model.AddParagraph(Para(70, "还有"));
    model.EnterHeading(5, DocLevel::TEXT);
    model.JoinParagraphs([](const _tParagraph& para) {
        return para.level == DocLevel::TEXT && para.text.find("。") == std::string::npos;
    });
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    ASSERT_EQ(vecParas.size(), 4u);
    EXPECT_EQ(vecParas[0].text, "这一行断开了。");
    EXPECT_EQ(vecParas[3].text, "后面还有");
    EXPECT_EQ(model.Tables()[0].caption_index, 1u);
    EXPECT_EQ(model.Tables()[0].para_index, 2u);
    // The heading was joined into the entry before it, and moved with it.
    EXPECT_EQ(model.DocStruct(), std::vector<int>({3}));
    EXPECT_EQ(model.GetParaIndex(20), -1);
    EXPECT_EQ(model.GetParaIndex(60), 3);
    EXPECT_EQ(BrokenRule(model), "");
}

TEST(ModelRules, ResetLeavesNothingOfTheLastDocument)
{
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + CDocxBuilder::Para("正文") + CDocxBuilder::Table({{"甲", "乙"}}))
        .Header(1, CDocxBuilder::Para("页眉文字"));
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    ASSERT_EQ(parser.Model().Headers().size(), 1u);
    // A text imported next carries no header of the .docx into its files.
    ASSERT_EQ(parser.ImportMemory("一行文字\n", 0, 0, false), 1);
    EXPECT_TRUE(parser.Model().Headers().empty());
    EXPECT_TRUE(parser.Model().Tables().empty());
    EXPECT_EQ(parser.Model().Paragraphs().size(), 1u);
    EXPECT_EQ(BrokenRule(parser.Model()), "");
    EXPECT_EQ(std::string(parser.GetXMLData()).find("页眉文字"), std::string::npos);
}
