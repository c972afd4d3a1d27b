// The reference check over a document: the entries of the stored reference
// range become findings with their paragraph, and nothing else is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Checker/CheckResult.h"
#include "Checker/CheckServices.h"
#include "Checker/CheckStages.h"
#include "Checker/DocFormatCheck.h"
#include "Checker/ReferenceCheck.h"
#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "support/SwitchGuard.h"

namespace {

const int kToday = 20240615;

_tParagraph Para(uint32_t nId, const std::string& sText, int nLevel)
{
    _tParagraph para;
    para.id = nId;
    para.text = sText;
    para.level = nLevel;
    para.page_num = 9;
    return para;
}

// A body with a caption, three entries (one good, two faulty), and a
// faulty-looking paragraph after the range.
void BuildDocument(CDocxParser& parser, bool bWithRange)
{
    CDocModel model;
    model.AddParagraph(Para(0x10, "正文段落，不是参考文献。", DocLevel::TEXT));
    model.AddParagraph(Para(0x20, "参考文献", DocLevel::REFERENCE_CAPTION));
    model.AddParagraph(Para(0x30, "[1] 王明. 一本书[M]. 北京: 科学出版社, 2010.", DocLevel::REFERENCE_TEXT));
    model.AddParagraph(Para(0x40, "[2] 李红. 一篇论文. 某学报, 2018, 27(4): 1-5.", DocLevel::REFERENCE_TEXT));
    model.AddParagraph(Para(0x50, "[3] 张三. 学位论文[D]. 北京: 某大学, 2099.", DocLevel::REFERENCE_TEXT));
    model.AddParagraph(Para(0x60, "致谢", DocLevel::TEXT));
    if (bWithRange)
        model.SetReferenceRange(2, 4);
    else
        model.SetReferenceRange(-1, -1);
    parser.SetModel(std::move(model));
}

TEST(ReferenceCheck, EveryEntryOfTheRangeIsChecked)
{
    CSwitchGuard quiet(g_bLog, false);
    CDocxParser parser;
    BuildDocument(parser, true);
    CCheckResult results;
    EXPECT_EQ(CReferenceCheck(kToday).CheckReferenceList(parser, results), 2u);
    const auto& found = results.Results();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].para_id, 0x40u);
    EXPECT_EQ(found[0].error_id, "14.1");
    EXPECT_EQ(found[0].page_num, 9);
    EXPECT_EQ(found[0].text, "[2] 李红. 一篇论文. 某学报, 2018, 27(4): 1-5.");
    EXPECT_EQ(found[0].field_id, FIELD_FONTSIZE);
    EXPECT_EQ(found[0].revise_type, REVISE_U);
    EXPECT_EQ(found[1].para_id, 0x50u);
    EXPECT_EQ(found[1].error_id, "14.4");
    EXPECT_EQ(found[1].org_str, "2099");
    EXPECT_EQ(found[1].new_str, " public year is invalid ");
}

TEST(ReferenceCheck, AnUnrecognisedDocumentHasNoEntries)
{
    // Without paper recognition the range stays 0..0: the title is no entry.
    CSwitchGuard quiet(g_bLog, false);
    CDocModel model;
    model.AddParagraph(Para(0x10, "技术服务合同", DocLevel::TEXT));
    model.AddParagraph(Para(0x20, "甲方：某公司", DocLevel::TEXT));
    CDocxParser parser;
    parser.SetModel(std::move(model));
    CCheckResult results;
    EXPECT_EQ(CReferenceCheck(kToday).CheckReferenceList(parser, results), 0u);
    EXPECT_TRUE(results.Results().empty());
}

TEST(ReferenceCheck, OneEntryAnswersPassOrFinding)
{
    CSwitchGuard quiet(g_bLog, false);
    CCheckResult results;
    CReferenceCheck check(kToday);
    _tParagraph good = Para(1, "[1] 王明. 一本书[M]. 北京: 科学出版社, 2010.", DocLevel::REFERENCE_TEXT);
    _tParagraph wide = Para(2, "[1] 王明. 一本书[M]. 北京: 科学出版社，2010.", DocLevel::REFERENCE_TEXT);
    _tParagraph blank = Para(3, "  \t", DocLevel::REFERENCE_TEXT);
    EXPECT_EQ(check.CheckReferenceFormat(good, nullptr, &results), 1);
    EXPECT_EQ(check.CheckReferenceFormat(blank, nullptr, &results), 1);
    EXPECT_EQ(check.CheckReferenceFormat(wide, nullptr, &results), -1);
    ASSERT_EQ(results.Results().size(), 1u);
    EXPECT_EQ(results.Results()[0].error_id, "14.9");
    EXPECT_EQ(results.Results()[0].org_str, wide.text);
    EXPECT_EQ(results.Results()[0].new_str, "[1] 王明. 一本书[M]. 北京: 科学出版社,2010.");
    // The drawn list number is skipped, and a null result is allowed.
    _tParagraph numbered = Para(4, "1.\t王明. 一本书[M]. 北京: 科学出版社, 2010.", DocLevel::REFERENCE_TEXT);
    numbered.num_len = 3;
    EXPECT_EQ(check.CheckReferenceFormat(numbered, nullptr, nullptr), 1);
}

TEST(ReferenceCheck, TheFormatStageRunsItOnlyOverAReferenceList)
{
    CSwitchGuard quiet(g_bLog, false);
    CDocxParser parser;
    BuildDocument(parser, false);
    CCheckResult results;
    // A format checker over an empty template store: only the reference
    // list gives findings.
    CDocFormatCheck checker(::testing::TempDir().c_str());
    _tCheckServices services;
    services.pDocFormatChecker = &checker;
    RunFormatStage(services, parser, results, 6);
    for (const auto& record : results.Results())
        EXPECT_NE(record.error_id.substr(0, 3), "14.");
    BuildDocument(parser, true);
    RunFormatStage(services, parser, results, 6);
    size_t nReferences = 0;
    for (const auto& record : results.Results())
        nReferences += record.error_id.substr(0, 3) == "14.";
    EXPECT_EQ(nReferences, 2u);
}

}  // namespace
