// The template store: learning from samples, the template text, the store
// files and their checks, and the choice of a template for a document.
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>

#include "Docx/DocFormat.h"
#include "Docx/DocxTemplate.h"
#include "support/DocxBuilder.h"
#include "support/TempDir.h"

namespace {

std::string SamplePath(const char* sName)
{
    return std::string(VESKAR_TEST_BUILD_DIR) + "/TemplateSamples/" + sName + ".docx";
}

// A template text of one heading size, so stored templates can be told apart.
std::string TemplateText(int nTitleSize, int nType, const std::string& sOrg)
{
    CDocFormat format;
    format.FormatOf(DocLevel::TITLE1).mapFontSize2Freq[nTitleSize] = 1;
    format.FormatOf(DocLevel::TEXT).mapFont2Freq["宋体"] = 3;
    std::string sText;
    format.Export(sText, CDocFormat::LevelId2Type());
    return sText + "\r\n<DocType>" + std::to_string(nType) + "</DocType>\r\n<Organization>" + sOrg +
           "</Organization>\r\n";
}

int TitleSize(const CDocxTemplate& store, int nIndex)
{
    auto pFormat = store.GetFormat(nIndex);
    const _tFormat* pTitle = pFormat ? pFormat->GetFormat(DocLevel::TITLE1) : nullptr;
    return pTitle ? pTitle->MostFrequentFontSize() : -1;
}

int Import(CDocxTemplate& store, int nType, const char* sOrg, const char* sArea, const char* sArgu, int nSize)
{
    return store.ImportTemplateText(nType, sOrg, sArea, sArgu, TemplateText(nSize, nType, sOrg));
}

}  // namespace

TEST(DocFormat, LearnsTheThesisSampleFormats)
{
    CDocFormat format;
    std::string sText;
    ASSERT_EQ(format.GenerateDocFormat(7, "*", "*", "*", SamplePath("thesis").c_str(), CDocFormat::LevelId2Type(),
                                       sText),
              1);
    const _tFormat* pTitle1 = format.GetFormat(DocLevel::TITLE1);
    const _tFormat* pTitle2 = format.GetFormat(DocLevel::TITLE2);
    const _tFormat* pText = format.GetFormat(DocLevel::TEXT);
    ASSERT_TRUE(pTitle1 && pTitle2 && pText);
    EXPECT_EQ(pTitle1->mapFont2Freq, (std::map<std::string, int> {{"黑体", 3}}));
    EXPECT_EQ(pTitle1->MostFrequentFontSize(), 32);  // 三号
    EXPECT_EQ(pTitle2->MostFrequentFontSize(), 28);  // 四号
    EXPECT_EQ(format.GetFormat(DocLevel::TITLE3)->MostFrequentFontSize(), 24);
    EXPECT_EQ(pText->MostFrequentFont(), "宋体");
    EXPECT_EQ(pText->mapLineSpace2Freq.size(), 1u);
    EXPECT_EQ(pText->MostFrequentLineSpace(), 360);  // one and a half lines
    // Section patterns: 第1章, 1.1, 图1-1.
    EXPECT_EQ(pTitle1->section_format.post, "\xD5\xC2");  // 章 in GBK
    EXPECT_EQ(pTitle2->section_format.level, 1);
    EXPECT_EQ(pTitle2->section_format.section_sep, ".");
    ASSERT_NE(format.GetFormat(DocLevel::FIGURE_CAPTION), nullptr);
    EXPECT_EQ(format.GetFormat(DocLevel::FIGURE_CAPTION)->section_format.section_sep, "-");
    EXPECT_EQ(format.GetFormat(DocLevel::FIGURE_CAPTION)->MostFrequentFontSize(), 21);  // 五号
    for (int nLevel : {DocLevel::ABSTRACT_CAPTION_CN, DocLevel::ABSTRACT_KEYWORD_CN, DocLevel::ABSTRACT_CAPTION_EN,
                       DocLevel::REFERENCE_CAPTION, DocLevel::REFERENCE_TEXT, DocLevel::ACKNOWLEDGE_CAPTION,
                       DocLevel::TABLE_CAPTION, DocLevel::HEADER})
        EXPECT_NE(format.GetFormat(nLevel), nullptr) << nLevel;
    EXPECT_EQ(format.GetRequired(), (std::vector<std::string> {"摘要", "Abstract", "参考文献", "致谢"}));
    EXPECT_NE(sText.find("<DocType>7</DocType>"), std::string::npos);
}

TEST(DocFormat, LearnsCountsAndOnlyTheFirstMarkedPart)
{
    std::vector<_tParagraph> vecParas(4);
    for (size_t i = 0; i < vecParas.size(); ++i) {
        vecParas[i].level = DocLevel::TITLE2;
        vecParas[i].font = i < 2 ? "黑体" : "宋体";
        vecParas[i].font_size = i == 3 ? 30 : 28;
        vecParas[i].line_space = 0;  // unknown spacing is not counted
        vecParas[i].text = "2." + std::to_string(i + 1) + " 小节";
    }
    vecParas[1].text = "KKK 封 面 GGG 与 KKK第二处GGG";
    _tParagraph placeholder;
    placeholder.level = DocLevel::TABLE_PLACEHOLDER;
    placeholder.font = "楷体";
    vecParas.push_back(placeholder);
    CDocFormat format;
    format.Learn(vecParas);
    const _tFormat* pFormat = format.GetFormat(DocLevel::TITLE2);
    ASSERT_NE(pFormat, nullptr);
    EXPECT_EQ(pFormat->mapFont2Freq, (std::map<std::string, int> {{"宋体", 2}, {"黑体", 2}}));
    EXPECT_EQ(pFormat->MostFrequentFont(), "宋体");  // a tie goes to the first in byte order
    EXPECT_EQ(pFormat->mapFontSize2Freq, (std::map<int, int> {{28, 3}, {30, 1}}));
    EXPECT_TRUE(pFormat->mapLineSpace2Freq.empty());
    EXPECT_EQ(pFormat->section_format.sample, "2.1 小节");
    EXPECT_EQ(pFormat->section_format.section_type, DocLevel::TITLE2);
    EXPECT_EQ(format.GetFormat(DocLevel::TABLE_PLACEHOLDER), nullptr);
    EXPECT_EQ(format.GetRequired(), std::vector<std::string> {"封面"});
}

TEST(DocFormat, TextRoundTripAndLenientReading)
{
    CDocFormat format;
    format.FormatOf(DocLevel::TITLE1).mapFont2Freq = {{"黑体", 5}, {"Times New Roman", 1}};
    format.FormatOf(DocLevel::TITLE1).mapLineSpace2Freq = {{360, 4}};
    format.FormatOf(DocLevel::TITLE1).mapLineRule2Freq = {{LineRule::EXACT, 4}};
    format.FormatOf(-777).mapFontSize2Freq = {{21, 2}};
    _tSection_Format& section = format.FormatOf(DocLevel::TITLE1).section_format;
    section.prefix = "\xB5\xDA";  // 第 in GBK
    section.num_format = 2;
    section.post = "\xD5\xC2";  // 章
    section.level = 0;
    section.section_type = 1;
    section.sample = "第一章 总则";
    format.AddRequired("目 录\r\n");
    std::string sText;
    format.Export(sText, CDocFormat::LevelId2Type());
    EXPECT_NE(sText.find("<type>-777</type>"), std::string::npos);
    EXPECT_NE(sText.find("<prefix>第</prefix>"), std::string::npos);  // written as UTF-8

    CDocFormat copy;
    ASSERT_EQ(copy.Import(sText), 1);
    EXPECT_EQ(copy.GetLevelFormats().size(), 2u);
    const _tFormat* pTitle = copy.GetFormat(DocLevel::TITLE1);
    ASSERT_NE(pTitle, nullptr);
    EXPECT_EQ(pTitle->mapFont2Freq, format.GetFormat(DocLevel::TITLE1)->mapFont2Freq);
    EXPECT_EQ(pTitle->MostFrequentLineRule(), LineRule::EXACT);
    EXPECT_EQ(copy.GetFormat(-777)->MostFrequentLineRule(), -1);  // a template that does not say
    EXPECT_TRUE(pTitle->section_format.IsSameFormat(section));
    EXPECT_EQ(pTitle->section_format.chapter_format, -1);
    EXPECT_EQ(pTitle->section_format.sample, "第一章 总则");
    EXPECT_EQ(copy.GetFormat(-777)->mapFontSize2Freq.at(21), 2);
    EXPECT_EQ(copy.GetRequired(), std::vector<std::string> {"目录"});
    std::vector<char> vecFound;
    copy.ScanRequired("见目录一节", vecFound);
    EXPECT_EQ(vecFound, std::vector<char> {1});

    // Without a section block, a name or some pairs: defaults, never a failure.
    CDocFormat loose;
    loose.Import("<DocTemplate><DocFormat><format>\r\n<font>宋体;黑体:2;</font><fontSize>x:1;24:</fontSize>"
                 "</format>\n<format><type>TITLE2</type></format>");
    EXPECT_EQ(loose.GetFormat(0)->mapFont2Freq, (std::map<std::string, int> {{"黑体", 2}}));
    EXPECT_EQ(loose.GetFormat(DocLevel::TITLE2)->section_format.num_format, -1);
    EXPECT_EQ(loose.GetFormat(DocLevel::TITLE2)->section_format.level, 0);
    EXPECT_TRUE(loose.GetRequired().empty());
}

TEST(DocFormat, UnreadableSampleFailsCleanly)
{
    CTempDir dir;
    WriteTestFile(dir.File("bad.docx"), "not a package");
    CDocFormat format;
    std::string sText;
    EXPECT_EQ(format.GenerateDocFormat(1, "", "", "", dir.File("bad.docx").c_str(), CDocFormat::LevelId2Type(), sText),
              -1);
    EXPECT_TRUE(sText.empty());
    CDocxTemplate store(dir.File("store"));
    EXPECT_EQ(store.ImportTemplate(1, "x", "", "", dir.File("missing.docx").c_str()), -1);
    EXPECT_EQ(store.GetCount(), 0u);
}

TEST(TemplateStore, SavesLoadsAndReplacesByKeys)
{
    CTempDir dir;
    {
        CDocxTemplate store(dir.Path());
        EXPECT_EQ(Import(store, 6, "甲大学", "", "", 30), 0);
        EXPECT_EQ(Import(store, 7, "乙学院", "工学", "硕士", 32), 1);
        EXPECT_EQ(Import(store, 6, "甲大学", "", "", 36), 0);  // same keys: replaced in place
        EXPECT_EQ(store.GetCount(), 2u);
    }
    CDocxTemplate again(dir.Path());
    ASSERT_EQ(again.GetCount(), 2u);
    EXPECT_EQ(TitleSize(again, 0), 36);
    EXPECT_EQ(TitleSize(again, 1), 32);
    ASSERT_NE(again.GetRecord(1), nullptr);
    EXPECT_EQ(again.GetRecord(1)->area, "工学");
    EXPECT_EQ(again.GetRecord(1)->argu, "硕士");
    EXPECT_GT(again.GetRecord(1)->insert_time, 0);
    EXPECT_EQ(again.FindTemplate(7, "乙学院", "工学", "硕士", true), 1);
    EXPECT_EQ(again.FindTemplate(7, "乙学院", "工学", "", true), -1);

    Json::Value value;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    std::string sJson = again.GetTemplate(1);
    ASSERT_TRUE(reader->parse(sJson.data(), sJson.data() + sJson.size(), &value, &sErrors)) << sJson;
    EXPECT_EQ(value["docReportType"].asString(), "7");
    EXPECT_EQ(value["rux_area"].asString(), "工学");
    EXPECT_NE(value["rux_format"].asString().find("<DocFormat>"), std::string::npos);
    EXPECT_STREQ(again.GetTemplate(-1), "");
    EXPECT_STREQ(again.GetTemplate(2), "");

    std::string sList = again.GetTemplateList(7, "乙学院");
    ASSERT_TRUE(reader->parse(sList.data(), sList.data() + sList.size(), &value, &sErrors)) << sList;
    EXPECT_EQ(value["ArguCount"].asInt(), 1);
    EXPECT_EQ(value["ArguList"][0]["argu"].asString(), "硕士");
    EXPECT_EQ(value["AreaList"][0]["area"].asString(), "工学");
    sList = again.GetTemplateList(7, "丙");
    ASSERT_TRUE(reader->parse(sList.data(), sList.data() + sList.size(), &value, &sErrors));
    EXPECT_EQ(value["ArguCount"].asInt(), 0);
}

TEST(TemplateStore, FindsByKeysThenWildcard)
{
    CTempDir dir;
    CDocxTemplate store(dir.Path());
    ASSERT_EQ(Import(store, 6, "甲大学", "", "", 30), 0);
    ASSERT_EQ(Import(store, 6, "*", "*", "*", 32), 1);
    ASSERT_EQ(Import(store, 7, "甲大学", "工学", "硕士", 34), 2);
    ASSERT_EQ(Import(store, 7, "*", "*", "*", 36), 3);

    EXPECT_EQ(store.FindTemplate(6, "甲大学", "", "", false), 0);
    EXPECT_EQ(store.FindTemplate(7, "甲大学", "工学", "硕士", false), 2);
    // The organisation is known but not its area: its own template does not
    // fit, the wildcard one does.
    EXPECT_EQ(store.FindTemplate(7, "甲大学", "理学", "博士", false), 3);
    // Unknown or empty organisation: the "*" template of the type, never
    // the template of another organisation that leaves area and argument empty.
    EXPECT_EQ(store.FindTemplate(6, "", "", "", false), 1);
    EXPECT_EQ(store.FindTemplate(6, "未知单位", "", "", false), 1);
    EXPECT_EQ(store.FindTemplate(7, "未知单位", "某地", "某题", false), 3);
    // A type without templates finds none, not a template of another type.
    EXPECT_EQ(store.FindTemplate(5, "甲大学", "", "", false), -1);
    EXPECT_EQ(store.FindTemplate(5, "未知单位", "", "", false), -1);

    CDocFormat format;
    EXPECT_EQ(store.FindTemplate(7, "", "", "", format), 3);
    EXPECT_EQ(format.GetFormat(DocLevel::TITLE1)->MostFrequentFontSize(), 36);
    // An organisation's template that leaves the area empty serves its
    // unknown areas before the wildcard template does.
    EXPECT_EQ(store.FindTemplate(6, "甲大学", "理学", "", format), 0);
    EXPECT_EQ(store.FindTemplate(7, "甲大学", "", "x", format), 3);
    CDocxTemplate typeOnly(dir.File("typeonly"));
    ASSERT_EQ(Import(typeOnly, 6, "甲大学", "东区", "", 30), 0);
    // Nothing fits: template 0 is loaded and the result says so.
    EXPECT_EQ(typeOnly.FindTemplate(6, "甲大学", "西区", "", format), -1);
    EXPECT_FALSE(format.IsEmpty());
}

TEST(TemplateStore, WithoutWildcardFallsBackToTheType)
{
    CTempDir dir;
    CDocxTemplate store(dir.Path());
    ASSERT_EQ(Import(store, 4, "甲", "东区", "", 30), 0);
    ASSERT_EQ(Import(store, 4, "乙", "", "", 32), 1);
    EXPECT_EQ(store.FindTemplate(4, "丙", "", "", false), 1);
    EXPECT_EQ(store.FindTemplate(4, "丙", "东区", "", false), 0);
    CDocFormat format;
    CDocxTemplate empty(dir.File("none"));
    EXPECT_EQ(empty.FindTemplate(4, "", "", "", format), -1);
    EXPECT_TRUE(format.IsEmpty());
}

TEST(TemplateStore, DeleteRenumbersAndCompacts)
{
    CTempDir dir;
    std::string sData = dir.File("docTemplate.dat");
    {
        CDocxTemplate store(dir.Path());
        Import(store, 1, "a", "", "", 30);
        Import(store, 2, "b", "", "", 32);
        Import(store, 4, "c", "", "", 34);
        Import(store, 1, "a", "", "", 28);  // replaced: compacted at once
        uintmax_t nSize = std::filesystem::file_size(sData);
        EXPECT_EQ(store.DeleteTemplate(0), 0);
        EXPECT_EQ(store.DeleteTemplate(5), -1);
        EXPECT_EQ(store.GetCount(), 2u);
        EXPECT_LT(std::filesystem::file_size(sData), nSize);
        EXPECT_EQ(store.GetRecord(0)->organization, "b");
        EXPECT_EQ(TitleSize(store, 1), 34);
        EXPECT_EQ(store.FindTemplate(1, "a", "", "", true), -1);
        EXPECT_EQ(store.EditTemplateText(1, 5, "d", "", "", TemplateText(40, 5, "d")), 1);
        EXPECT_EQ(store.EditTemplateText(7, 5, "d", "", "", ""), -1);
        EXPECT_EQ(store.Export(), 1);
    }
    CDocxTemplate again(dir.Path());
    ASSERT_EQ(again.GetCount(), 2u);
    EXPECT_EQ(again.FindTemplate(5, "d", "", "", true), 1);
    EXPECT_EQ(TitleSize(again, 1), 40);
    EXPECT_NE(ReadTestFile(dir.File("docTemplate_export.txt")).find("Template Count is 2\n"), std::string::npos);
}

TEST(TemplateStore, RefusesDamagedFiles)
{
    CTempDir dir;
    {
        CDocxTemplate store(dir.Path());
        Import(store, 1, "a", "x", "y", 30);
        Import(store, 2, "b", "", "", 32);
    }
    std::string sIndex = ReadTestFile(dir.File("docTemplate.index"));
    std::string sData = ReadTestFile(dir.File("docTemplate.dat"));
    auto loads = [&dir](const std::string& sNewIndex, const std::string& sNewData) {
        WriteTestFile(dir.File("docTemplate.index"), sNewIndex);
        WriteTestFile(dir.File("docTemplate.dat"), sNewData);
        CDocxTemplate store(dir.Path());
        return std::make_pair(store.Load(), store.GetCount());
    };
    EXPECT_EQ(loads(sIndex, sData), std::make_pair(1, size_t(2)));
    EXPECT_EQ(loads(sIndex.substr(0, sIndex.size() - 3), sData), std::make_pair(-3, size_t(0)));
    EXPECT_EQ(loads(sIndex, sData.substr(0, sData.size() / 2)), std::make_pair(-3, size_t(0)));
    std::string sHuge = sIndex;
    sHuge[0] = '\x7f';  // a template count far beyond the file
    EXPECT_EQ(loads(sHuge, sData), std::make_pair(-3, size_t(0)));
    std::string sBadId = sIndex;
    sBadId[8 + 32] = '\x50';  // organisation id of template 0 beyond the dictionary
    EXPECT_EQ(loads(sBadId, sData), std::make_pair(-3, size_t(0)));
    WriteTestFile(dir.File("docTemplate.index"), sIndex);
    WriteTestFile(dir.File("docTemplate.dat"), sData);
    WriteTestFile(dir.File("docTemplate.pdat"), "garbage");
    CDocxTemplate store(dir.Path());
    EXPECT_EQ(store.Load(), -1);
    EXPECT_EQ(store.GetCount(), 0u);
    EXPECT_EQ(store.FindTemplate(1, "a", "x", "y", false), -1);
}

TEST(TemplateStore, DefaultTemplatesServeEveryType)
{
    CDocxTemplate store(std::string(VESKAR_TEST_BUILD_DIR) + "/Data/data/template");
    ASSERT_EQ(store.GetCount(), 6u);
    for (int nType : {1, 2, 4, 5, 6, 7}) {
        int nIndex = store.FindTemplate(nType, "", "", "", false);
        ASSERT_GE(nIndex, 0) << nType;
        EXPECT_EQ(store.FindTemplate(nType, "某未知单位", "某地", "某专业", false), nIndex);
        EXPECT_EQ(store.GetRecord(nIndex)->reportType, nType);
        auto pFormat = store.GetFormat(nIndex);
        ASSERT_TRUE(pFormat);
        ASSERT_NE(pFormat->GetFormat(DocLevel::TITLE1), nullptr) << nType;
        EXPECT_EQ(pFormat->GetFormat(DocLevel::TITLE1)->MostFrequentFont(), "黑体");
        EXPECT_NE(pFormat->GetFormat(DocLevel::TEXT), nullptr);
        EXPECT_FALSE(pFormat->GetRequired().empty());
    }
}
