// Table extraction on documents built in memory: head rows mapped to rule
// arguments, merged head lines, tables skipped for too few mapped heads,
// the single-row walk and the cells of two-headed tables.
#include <string>
#include <vector>

#include "AgentFixture.h"
#include "Docx/DocxParser.h"
#include "Utility/FileUtility.h"
#include "support/TempDir.h"

namespace {

class TableTest : public AgentTest {
protected:
    // Adds a table of cell texts (one paragraph each), with a caption when given.
    void AddTable(const std::vector<std::vector<std::string>>& cells, const std::string& sCaption = "")
    {
        CDocModel model = m_doc.Model();
        _tTable table;
        if (!sCaption.empty()) {
            table.caption_index = static_cast<unsigned>(model.Paragraphs().size());
            model.AddParagraph(Para(sCaption, DocLevel::TABLE_CAPTION));
        }
        ++m_nNextId;  // the placeholder's place
        for (const auto& row : cells) {
            _tRow tableRow;
            for (const std::string& sCell : row)
                tableRow.push_back(_tCell{Para(sCell, DocLevel::TABLE_COL)});
            table.rows.push_back(tableRow);
        }
        model.AddTable(table);
        m_doc.SetModel(std::move(model));
    }
    _tParagraph Para(const std::string& sText, int nLevel)
    {
        _tParagraph para;
        para.text = sText;
        para.level = nLevel;
        para.id = m_nNextId++;
        return para;
    }
    std::string Row(const std::vector<_tKeyVal>& row) const
    {
        std::string s;
        for (const _tKeyVal& keyVal : row)
            s += m_pAgent->KeyAttribute(keyVal.key_name_id) + "=" + keyVal.key_value + ";";
        return s;
    }

    CDocxParser m_doc;
    uint32_t m_nNextId = 0x100;
};

TEST_F(TableTest, HeadRowMapsColumnsToArguments)
{
    Compile(Item("T", "{[单位名称]}s{[金额]}s", "tableextract", "company;amount", "RowHead") +
            Item("X", "{[乙公司]}s", "extract", "found"));
    AddTable({{"单位名称", "金额", "备注"}, {"甲公司", "100万元", "无"}, {"乙公司", "200万元", "有"}});
    m_pAgent->ScanDoc(&m_doc, 0, false);
    ASSERT_EQ(m_pAgent->m_vecTable.size(), 1u);
    const auto& table = m_pAgent->m_vecTable[0];
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(Row(table[0]), "company=甲公司;amount=100万元;");
    EXPECT_EQ(Row(table[1]), "company=乙公司;amount=200万元;");
    EXPECT_EQ(table[1][0].para_id, 0x107u);
    // The data cells were scanned as paragraphs of their own.
    std::vector<_tKeyVal> vecOut;
    m_pAgent->BuildKeyIdMap();
    EXPECT_EQ(m_pAgent->GetKeyValue("found", vecOut), 1);
}

TEST_F(TableTest, ColumnHeadTableReadsColumns)
{
    Compile(Item("T", "{[单位名称]}s{[金额]}s", "tableextract", "company;amount", "ColHead"));
    AddTable({{"单位名称", "甲公司", "乙公司"}, {"金额", "1元", "2元"}});
    m_pAgent->ScanDoc(&m_doc, 0, false);
    ASSERT_EQ(m_pAgent->m_vecTable.size(), 1u);
    ASSERT_EQ(m_pAgent->m_vecTable[0].size(), 2u);
    EXPECT_EQ(Row(m_pAgent->m_vecTable[0][1]), "company=乙公司;amount=2元;");
}

TEST_F(TableTest, TooFewMappedHeadsSkipsTheTableForThatRule)
{
    Compile(Item("T", "{[单位名称]}s{[数量]}s", "tableextract", "company;count", "RowHead") +
            Item("X", "{[乙公司]}s", "extract", "found"));
    AddTable({{"单位名称", "金额"}, {"甲公司", "1"}, {"乙公司", "2"}});
    m_pAgent->ScanDoc(&m_doc, 0, false);
    EXPECT_TRUE(m_pAgent->m_vecTable.empty());
    // Scanning went on cell by cell.
    std::vector<_tKeyVal> vecOut;
    m_pAgent->BuildKeyIdMap();
    EXPECT_EQ(m_pAgent->GetKeyValue("found", vecOut), 1);
}

TEST_F(TableTest, SpanningHeadSplitsIntoSubHeads)
{
    std::vector<std::string> vecHeads = {"投资"};
    CRUXAgent::MergeTableHead(vecHeads, {"2019年", "2020年", "2021年"});
    EXPECT_EQ(vecHeads, (std::vector<std::string>{"2019年", "2020年", "2021年"}));
    vecHeads = {"项目", "金额"};
    CRUXAgent::MergeTableHead(vecHeads, {"", "计划", "实际"});
    EXPECT_EQ(vecHeads, (std::vector<std::string>{"项目", "计划", "实际"}));
}

TEST_F(TableTest, TwoLineHeadIsMergedBeforeMapping)
{
    Compile(Item("T", "{[项目]}s{[计划]}s{[实际]}s", "tableextract", "item;plan;actual", "RowHead"));
    AddTable({{"项目", "金额"}, {"", "计划", "实际"}, {"土建", "10", "12"}, {"安装", "5", "4"}});
    m_pAgent->ScanDoc(&m_doc, 0, false);
    ASSERT_EQ(m_pAgent->m_vecTable.size(), 1u);
    ASSERT_EQ(m_pAgent->m_vecTable[0].size(), 2u);
    EXPECT_EQ(Row(m_pAgent->m_vecTable[0][0]), "item=土建;plan=10;actual=12;");
}

TEST_F(TableTest, SingleRowWalkTakesSelectedCells)
{
    Compile(Item("S", "{[负责人]}+2+{[/n]}s", "extract", "leader", "SingleRow"));
    AddTable({{"负责人", "张三", "电话", "123"}});
    m_pAgent->ScanDoc(&m_doc, 0, false);
    // Step 2 from the label: the cell two to the right.
    ASSERT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].key_value, "电话");
}

TEST_F(TableTest, TwoHeadedTableGivesOneArgumentPerDataCell)
{
    Compile(Item("A", "{[主要指标]}", "insert", "指标表", "RowColHead"));
    AddTable({{"指标", "2019", "2020", "2021"}, {"产量", "1", "2", "3"}, {"电耗", "4", "5", "6"}},
             "表3.1 主要指标");
    m_pAgent->ScanDoc(&m_doc, 0, false);
    const auto& args = m_pAgent->m_vecTableArguments;
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[0].section_no, "3.1");
    EXPECT_EQ(args[0].section_name, "主要指标");
    EXPECT_EQ(args[0].file_name, "指标表");
    EXPECT_EQ(args[5].row_name, "电耗");
    EXPECT_EQ(args[5].col_name, "2021");
    EXPECT_EQ(args[5].value, "6");
}

}  // namespace

namespace {

TEST_F(TableTest, RealReportTableByItsHeadRow)
{
    // The first table of a technical report in the corpus: 文件名 | 用途,
    // then one row per script.
    std::string sCorpus = std::string(VESKAR_TEST_CORPUS_DIR) + "/louffy/技术报告.docx";
    std::string sData;
    if (!ReadWholeFile(sCorpus, sData))
        GTEST_SKIP() << "corpus document missing: " << sCorpus;
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("report.docx"), sData));
    CDocxParser parser;
    const char* sResult = parser.ImportDocx(dir.File("report.docx").c_str(), "", 0, 0);
    ASSERT_TRUE(sResult && *sResult);
    Compile(Item("T", "{[文件名]}s{[用途]}s", "tableextract", "file|文件;purpose|用途", "RowHead"));
    m_pAgent->ScanDoc(&parser, 0, false);
    ASSERT_GE(m_pAgent->m_vecTable.size(), 1u);
    const auto& table = m_pAgent->m_vecTable[0];
    ASSERT_EQ(table.size(), 8u);
    EXPECT_EQ(Row(table[0]), "file=extr-hg.py;purpose=提取vcs（版本控制系统）为mercurial的日志描述信息;");
    EXPECT_EQ(table[0][0].para_id, 0x000212E5u);
    EXPECT_EQ(Row(table[1]), "file=extr-git.py;purpose=提取vcs为git的日志描述信息;");
    EXPECT_NE(ReadTestFile(dir.File("report_table.xml")).find("<key_value>extr-git.py</key_value>"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(TableTest, EveryDocumentScanStartsWithoutTheKeysOfTheLast)
{
    Compile(Item("E", "{[甲方]}s", "extract", "party") + Item("S", "{[party]}", "generate_singlekey", "count;party_count"));
    CDocModel model;
    model.AddParagraph(Para("甲方", DocLevel::TEXT));
    m_doc.SetModel(model);
    m_pAgent->ScanDoc(&m_doc, 0, false);
    std::vector<_tKeyVal> vecOut;
    ASSERT_EQ(m_pAgent->GetKeyValue("party_count", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "1");
    CDocxParser other;
    model.Clear();
    model.AddParagraph(Para("乙方", DocLevel::TEXT));
    other.SetModel(model);
    m_pAgent->ScanDoc(&other, 0, false);
    EXPECT_EQ(m_pAgent->GetKeyValue("party", vecOut), 0);
    ASSERT_EQ(m_pAgent->GetKeyValue("party_count", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "0");
}

}  // namespace
