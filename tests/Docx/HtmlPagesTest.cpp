// The HTML pages of a parsed document: every paragraph, cell paragraph and
// picture labelled once and in order, pages cut by section and size with
// their pager and page numbers, image sources with the URL prefix, pages of
// a word processor's own export in GBK, and no file of the user's replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "Docx/DocxTestUtil.h"
#include "Docx/HtmlAssets.h"
#include "Docx/HtmlLabeler.h"
#include "Docx/HtmlPager.h"
#include "Global/Globals.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"

using B = CDocxBuilder;
namespace fs = std::filesystem;

namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + "picture bytes";

std::string ImageRel(const std::string& sId, const std::string& sTarget)
{
    return "<Relationship Id=\"" + sId + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "relationships/image\" Target=\"" + sTarget + "\"/>";
}

std::string Picture(const std::string& sId)
{
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"1270000\" cy=\"635000\"/><a:graphic><a:graphicData>"
           "<pic:pic><pic:blipFill><a:blip r:embed=\"" + sId + "\"/></pic:blipFill></pic:pic></a:graphicData>"
           "</a:graphic></wp:inline></w:drawing></w:r>";
}

// A paragraph that ends a section of the document.
std::string SectionEnd(const std::string& sText)
{
    return B::Para(sText, "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr>");
}

// A section of nParas body paragraphs.
std::string Section(int nSection, int nParas)
{
    std::string sXml;
    for (int i = 0; i < nParas; ++i)
        sXml += B::Para("第" + std::to_string(nSection) + "节第" + std::to_string(i) + "段，正文的文字足够长，一行写不下。");
    return sXml + SectionEnd("第" + std::to_string(nSection) + "节完");
}

std::string Hex(uint32_t nId)
{
    char sBuf[16];
    std::snprintf(sBuf, sizeof sBuf, "%08X", nId);
    return sBuf;
}

// The first group of every match of a pattern, in order.
std::vector<std::string> Matches(const std::string& sHtml, const std::regex& pattern)
{
    std::vector<std::string> vecOut;
    for (std::sregex_iterator it(sHtml.begin(), sHtml.end(), pattern), end; it != end; ++it)
        vecOut.push_back((*it)[1]);
    return vecOut;
}

// The paragraph labels of a text, in order.
std::vector<std::string> ParaLabels(const std::string& sHtml)
{
    static const std::regex kLabel("   name=\"([0-9A-F]{8})\" ");
    return Matches(sHtml, kLabel);
}

std::vector<std::string> FigureLabels(const std::string& sHtml)
{
    static const std::regex kLabel("<img name=\"(Figure[0-9]+)\" ");
    return Matches(sHtml, kLabel);
}

// What the walk must label, in reading order: the paragraphs that are no
// text box and no table caption taken from a table, and every cell paragraph.
std::vector<std::string> ExpectedLabels(const CDocxParser& parser)
{
    std::vector<std::string> vecOut;
    const CDocModel& model = parser.Model();
    for (size_t i = 0; i < model.Paragraphs().size(); ++i) {
        const _tParagraph& para = model.Paragraphs()[i];
        if (para.level == DocLevel::TABLE_PLACEHOLDER) {
            for (const _tRow& row : model.Tables()[para.id].rows)
                for (const _tCell& cell : row)
                    for (const _tParagraph& cellPara : cell)
                        vecOut.push_back(Hex(cellPara.id));
        } else if (!para.IsPlaceholder() && para.level != DocLevel::TXTBOX &&
                   CHtmlLabeler::InTableCaptionOf(model, i) < 0) {
            vecOut.push_back(Hex(para.id));
        }
    }
    return vecOut;
}

// The element that holds a label (from its tag to the next "</p>").
std::string ElementWith(const std::string& sHtml, const std::string& sLabel)
{
    size_t nPos = sHtml.find(sLabel);
    if (nPos == std::string::npos)
        return std::string();
    size_t nStart = sHtml.rfind("<p", nPos);
    return sHtml.substr(nStart, sHtml.find("</p>", nPos) - nStart);
}

int CountOf(const std::string& sText, const std::string& sPart)
{
    int nCount = 0;
    for (size_t nPos = sText.find(sPart); nPos != std::string::npos; nPos = sText.find(sPart, nPos + 1))
        ++nCount;
    return nCount;
}

// A document of nSections sections of nParas paragraphs each.
CDocxBuilder Sections(int nSections, int nParas)
{
    std::string sBody = OpeningHeading();
    for (int s = 0; s < nSections; ++s)
        sBody += Section(s, nParas);
    CDocxBuilder builder;
    builder.Body(sBody);
    return builder;
}

// Points the asset source at the built data folder for a scope.
class CDataDirScope {
public:
    CDataDirScope() : m_sSaved(g_sDefaultDir) { g_sDefaultDir = BuiltDataDir(); }
    ~CDataDirScope() { g_sDefaultDir = m_sSaved; }

private:
    std::string m_sSaved;
};

}  // namespace

TEST(HtmlPages, EveryParagraphCellAndPictureIsLabelledOnceInOrder)
{
    const std::string kBoxPara = "<w:p>" + B::Run("框内文字") + "</w:p>";
    const std::string kBox = "<w:r><w:pict><v:textbox><w:txbxContent>" + kBoxPara +
                             "</w:txbxContent></v:textbox></w:pict></w:r>";
    const std::string kCellPicture = "<w:tbl><w:tr><w:tc><w:p>" + B::Run("单元格") + Picture("rId7") +
                                     "</w:p></w:tc><w:tc>" + B::Para("旁边") + "</w:tc></w:tr></w:tbl>";
    std::string sBody = OpeningHeading() + B::Para("正文一") +
                        "<w:p>" + B::Run("如图") + Picture("rId5") + B::Run("所示") + "</w:p>" +
                        "<w:p>" + Picture("rId6") + "</w:p>" + B::Para("图1 示意图") +
                        B::Table({{"表1 统计"}, {"甲", "乙"}, {"丙", "丁"}}) + B::Para("表后") + kCellPicture +
                        "<w:p>" + B::Run("框前") + kBox + "</w:p>" + B::Para("结尾 a&lt;b &amp; c");
    CDocxBuilder builder;
    builder.Body(sBody)
        .Relationships(ImageRel("rId5", "media/image1.png") + ImageRel("rId6", "media/image2.png") +
                       ImageRel("rId7", "media/image3.png"))
        .Item("word/media/image1.png", kPng)
        .Item("word/media/image2.png", kPng + "2")
        .Item("word/media/image3.png", kPng + "3");
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1) << g_sLastErrorMessage;
    ASSERT_EQ(parser.Model().Figures().size(), 3u);
    ASSERT_EQ(parser.Model().Tables().size(), 2u);
    const std::string& sHtml = parser.m_sHtmlText;

    std::vector<std::string> vecLabels = ParaLabels(sHtml);
    EXPECT_EQ(vecLabels, ExpectedLabels(parser));
    EXPECT_EQ(FigureLabels(sHtml), (std::vector<std::string> {"Figure0", "Figure1", "Figure2"}));
    EXPECT_EQ(CountOf(sHtml, "<a name=\"Figure"), 3);
    // The walk stopped at the end of both lists.
    EXPECT_EQ(static_cast<size_t>(parser.m_nParaIndex), parser.Model().Paragraphs().size());

    // A picture goes into the paragraph that holds it, where its mark was.
    const _tFigure& first = parser.Model().Figures()[0];
    std::string sHolder = ElementWith(sHtml, "   name=\"" + Hex(first.para_id) + "\" ");
    EXPECT_NE(sHolder.find("如图"), std::string::npos);
    EXPECT_LT(sHolder.find("如图"), sHolder.find("name=\"Figure0\""));
    EXPECT_LT(sHolder.find("name=\"Figure0\""), sHolder.find("所示"));
    EXPECT_EQ(sHolder.find("(Figure"), std::string::npos);
    // A picture alone in its paragraph stands alone: the caption after it
    // keeps its own element and id.
    std::string sAlone = ElementWith(sHtml, "name=\"Figure1\"");
    EXPECT_EQ(sAlone.find("   name=\""), std::string::npos) << sAlone;
    // The table's caption from its first row is labelled inside the table.
    EXPECT_EQ(CountOf(sHtml, "表1 统计"), 1);
    // Text boxes are shown, without an element the walk would take.
    EXPECT_NE(sHtml.find("<div class=TextBox>"), std::string::npos);
    EXPECT_NE(sHtml.find("框内文字"), std::string::npos);
    // The model's text as it is: its entities pass, pictures are copied beside the page.
    EXPECT_NE(sHtml.find("a&lt;b &amp; c"), std::string::npos);
    EXPECT_NE(sHtml.find("src=\"doc_files/image1.png\" width=133"), std::string::npos);
    EXPECT_EQ(ReadTestFile(dir.File("doc_files/image3.png")), kPng + "3");
}

TEST(HtmlPages, SuperscriptsFontsAndLooksOfRuns)
{
    std::string sBody = OpeningHeading() + "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" +
                        B::Run("面积10", "<w:rFonts w:eastAsia=\"黑体\"/><w:b/><w:sz w:val=\"28\"/>") +
                        B::Run("2", "<w:vertAlign w:val=\"superscript\"/>") + B::Run("米") + "</w:p>";
    CDocxBuilder builder;
    builder.Body(sBody);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1) << g_sLastErrorMessage;
    uint32_t nId = parser.Model().Paragraphs().back().id;
    std::string sElement = ElementWith(parser.m_sHtmlText, "   name=\"" + Hex(nId) + "\" ");
    EXPECT_NE(sElement.find("text-align:center"), std::string::npos) << sElement;
    EXPECT_NE(sElement.find("<sup><span"), std::string::npos) << sElement;
    EXPECT_EQ(sElement.find("superscript"), std::string::npos);
    std::string sFont;
    double dSize = 0;
    ASSERT_TRUE(parser.GetHtmlFont(sElement, sFont, dSize));
    EXPECT_EQ(sFont, "黑体");
    EXPECT_DOUBLE_EQ(dSize, 14.0);
    EXPECT_EQ(parser.m_sLastFont, "黑体");
    EXPECT_NE(sElement.find("font-weight:bold"), std::string::npos);
}

TEST(HtmlPages, OneSectionIsOnePageWithoutPager)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, Sections(1, 3), dir), 1);
    ASSERT_EQ(parser.m_vecHtmlText.size(), 1u);
    ASSERT_NE(parser.OutputHtmlPages(), nullptr) << g_sLastErrorMessage;
    std::string sPage = ReadTestFile(dir.File("doc_0.htm"));
    EXPECT_EQ(sPage.compare(0, 3, "\xEF\xBB\xBF"), 0);
    EXPECT_EQ(sPage.find("page_normal"), std::string::npos);
    EXPECT_NE(sPage.find("css/left_nav4.css"), std::string::npos);
    EXPECT_NE(sPage.find("span.msoIns"), std::string::npos);
    EXPECT_EQ(sPage.substr(sPage.size() - 18), "</body>\r\n</html>\r\n");
    EXPECT_FALSE(FileExists(dir.File("doc_1.htm")));
}

TEST(HtmlPages, ShortSectionsJoinTheNextOne)
{
    // Sections of one short paragraph, then two long ones.
    std::string sBody = OpeningHeading() + SectionEnd("短一") + SectionEnd("短二") + Section(3, 12) + Section(4, 12);
    CDocxBuilder builder;
    builder.Body(sBody);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    EXPECT_EQ(CountOf(parser.m_sHtmlText, "<div class=WordSection"), 4);
    ASSERT_EQ(parser.m_vecHtmlText.size(), 2u);
    EXPECT_NE(parser.m_vecHtmlText[0].find("短二"), std::string::npos);
    EXPECT_NE(parser.m_vecHtmlText[0].find("第3节第0段"), std::string::npos);
    EXPECT_NE(parser.m_vecHtmlText[1].find("第4节第0段"), std::string::npos);
}

TEST(HtmlPages, ALongSectionIsCutBetweenParagraphsAndNeverInsideATable)
{
    std::string sBody = OpeningHeading();
    for (int i = 0; i < 2000; ++i) {
        sBody += B::Para("长节第" + std::to_string(i) + "段，这里的文字用来把一节写得很长很长。");
        if (i % 150 == 75) {
            std::vector<std::vector<std::string>> rows(40, {"左边的格子", "右边的格子"});
            sBody += B::Para("表" + std::to_string(i) + " 数据") + B::Table(rows);
        }
    }
    CDocxBuilder builder;
    builder.Body(sBody);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    ASSERT_GT(parser.m_sHtmlText.size(), 300000u);
    const std::vector<std::string>& vecPages = parser.m_vecHtmlText;
    const std::vector<uint32_t>& vecIds = parser.Model().PageParaIDs();
    ASSERT_GE(vecPages.size(), 3u);
    ASSERT_EQ(vecIds.size(), vecPages.size());
    std::string sJoined;
    for (size_t i = 0; i < vecPages.size(); ++i) {
        EXPECT_EQ(CountOf(vecPages[i], "<table"), CountOf(vecPages[i], "</table>")) << "page " << i;
        uint32_t nFirst = 0;
        ASSERT_TRUE(CHtmlPager::FirstLabel(vecPages[i], nFirst));
        EXPECT_EQ(nFirst, vecIds[i]);
        if (i > 0) {
            EXPECT_GT(vecIds[i], vecIds[i - 1]);
        }
        sJoined += vecPages[i];
    }
    // The pages together are the body, every label on exactly one page.
    EXPECT_NE(parser.m_sHtmlText.find(sJoined), std::string::npos);
    EXPECT_EQ(ParaLabels(sJoined), ExpectedLabels(parser));
}

TEST(HtmlPages, TwelvePagesHaveAPagerOfTenLinks)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, Sections(12, 12), dir), 1);
    ASSERT_EQ(parser.m_vecHtmlText.size(), 12u);
    ASSERT_NE(parser.OutputHtmlPages(), nullptr) << g_sLastErrorMessage;
    std::string sFirst = ReadTestFile(dir.File("doc_0.htm"));
    std::string sPager = sFirst.substr(sFirst.find("<div class=\"page_normal\">"));
    EXPECT_EQ(sPager.find("page_prev"), std::string::npos);
    EXPECT_NE(sPager.find("<a href=\"#\" class=\"page_current\">1</a>"), std::string::npos);
    for (int i = 1; i <= 9; ++i)
        EXPECT_NE(sPager.find("<a href=\"doc_" + std::to_string(i) + ".htm\">" + std::to_string(i + 1) + "</a>"),
                  std::string::npos) << i;
    EXPECT_EQ(sPager.find("doc_10.htm\">11<"), std::string::npos);
    EXPECT_NE(sPager.find("<a href=\"doc_1.htm\" class=\"page_next\">&gt;</a>"), std::string::npos);

    std::string sLast = ReadTestFile(dir.File("doc_11.htm"));
    EXPECT_NE(sLast.find("<a href=\"doc_10.htm\" class=\"page_prev\">&lt;</a>"), std::string::npos);
    EXPECT_NE(sLast.find("<a href=\"doc_2.htm\">3</a>"), std::string::npos);
    EXPECT_EQ(sLast.find("<a href=\"doc_1.htm\">2</a>"), std::string::npos);
    EXPECT_EQ(sLast.find("page_next"), std::string::npos);
    // A page past the last writes the whole labelled export.
    ASSERT_NE(parser.OutputHtmlOnePage(12), nullptr);
    EXPECT_EQ(std::string(parser.m_sResult), dir.File("doc.htm"));
    EXPECT_EQ(ParaLabels(ReadTestFile(dir.File("doc.htm"))), ParaLabels(parser.m_sHtmlText));
}

TEST(HtmlPages, ParagraphsKnowTheirPages)
{
    std::string sBody = OpeningHeading();
    for (int s = 0; s < 5; ++s)
        sBody += B::Table({{"格" + std::to_string(s), "子"}}) + Section(s, 12);
    CDocxBuilder builder;
    builder.Body(sBody);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    const std::vector<uint32_t>& vecIds = parser.Model().PageParaIDs();
    ASSERT_EQ(vecIds.size(), 5u);
    for (const _tParagraph& para : parser.Model().Paragraphs()) {
        if (para.level == DocLevel::TABLE_PLACEHOLDER) {
            // A page that begins with a table: the table and its cells are on it.
            const _tTable& table = parser.Model().Tables()[para.id];
            EXPECT_EQ(table.rows[0][0][0].page_num, para.page_num);
            EXPECT_EQ(parser.GetPageNum(table.rows[0][0][0].id), para.page_num);
            continue;
        }
        EXPECT_EQ(para.page_num, parser.GetPageNum(para.id)) << para.text;
    }
    // The first id of page 3 is on page 3.
    _tParaIndex index;
    ASSERT_GE(parser.GetParaIndex(vecIds[3], &index), 0);
    ASSERT_EQ(index.table_index, 3);
    EXPECT_EQ(parser.Model().Tables()[3].rows[0][0][0].page_num, 3);
}

TEST(HtmlPages, UrlPrefixGoesBeforeImageSources)
{
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + "<w:p>" + B::Run("图在此") + Picture("rId5") + "</w:p>")
        .Relationships(ImageRel("rId5", "media/image1.png"))
        .Item("word/media/image1.png", kPng);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    EXPECT_NE(parser.m_sHtmlText.find(" src=\"doc_files/image1.png\""), std::string::npos);
    for (const char* sPrefix : {"http://host/docs", "http://host/docs/"}) {
        ASSERT_EQ(parser.GenerateDocHtm(sPrefix), 1);
        EXPECT_NE(parser.m_sHtmlText.find(" src=\"http://host/docs/doc_files/image1.png\""), std::string::npos)
            << sPrefix;
        EXPECT_EQ(CountOf(parser.m_sHtmlText, "http://host/docs"), 1);
    }
    // The prefix given to a rebuild is kept with the document.
    ASSERT_EQ(parser.ReuildHtml("https://cdn/x"), 1);
    EXPECT_EQ(parser.m_sURLPrefix, "https://cdn/x");
    EXPECT_NE(parser.m_sHtmlText.find("src=\"https://cdn/x/doc_files/image1.png\""), std::string::npos);
}

TEST(HtmlPages, AWordProcessorsGbkExportIsReadAsUtf8AndLeftAlone)
{
    const std::string kPage =
        "<html>\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\">\r\n"
        "<style>\r\nspan.SpellE {}\r\n</style>\r\n</head>\r\n<body lang=ZH-CN>\r\n"
        "<div class=WordSection1>\r\n<p class=MsoNormal>第一章 绪论</p>\r\n<p class=MsoNormal>第一段</p>\r\n"
        "<p class=MsoNormal>第二段</p>\r\n</div>\r\n</body>\r\n</html>\r\n";
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk(kPage, sGbk));
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("doc.htm"), sGbk));
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("第一段") + B::Para("第二段"));
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    EXPECT_EQ(ReadTestFile(dir.File("doc.htm")), sGbk);  // the user's export stays as it was
    EXPECT_NE(parser.m_sHtmlText.find("charset=utf-8"), std::string::npos);
    EXPECT_EQ(parser.m_sHtmlText.find("gb2312"), std::string::npos);
    EXPECT_NE(parser.m_sHtmlText.find(">第二段</p>"), std::string::npos);
    EXPECT_EQ(ParaLabels(parser.m_sHtmlText), ExpectedLabels(parser));
    // The marks' styles go before the page's first span style.
    EXPECT_LT(parser.m_sHtmlPrefix.find("span.msoIns"), parser.m_sHtmlPrefix.find("span.SpellE"));

    // A page that says it is UTF-8 is taken byte for byte.
    std::string sUtf8 = kPage;
    sUtf8.replace(sUtf8.find("gb2312"), 6, "utf-8");
    ASSERT_TRUE(WriteTestFile(dir.File("doc.htm"), sUtf8));
    ASSERT_EQ(parser.GenerateDocHtm(""), 1);
    std::string sLabelled = parser.m_sHtmlText;
    for (size_t nPos; (nPos = sLabelled.find("   name=\"")) != std::string::npos;)
        sLabelled.erase(nPos, 19);
    EXPECT_EQ(sLabelled, sUtf8);
}

TEST(HtmlPages, ChineseNamesWithBlanksGiveWorkingLinks)
{
    CTempDir dir;
    std::string sFolder = dir.File("论文 目录");
    fs::create_directories(sFolder);
    std::string sBody = OpeningHeading() + "<w:p>" + B::Run("见图") + Picture("rId5") + "</w:p>" + Section(1, 12) +
                        Section(2, 12);
    CDocxBuilder builder;
    builder.Body(sBody).Relationships(ImageRel("rId5", "media/image1.png")).Item("word/media/image1.png", kPng);
    ASSERT_TRUE(builder.Write(sFolder + "/初稿 v1.docx"));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile((sFolder + "/初稿 v1.docx").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    ASSERT_GE(parser.m_vecHtmlText.size(), 2u);
    const char* sFirst = parser.OutputHtmlPages();
    ASSERT_NE(sFirst, nullptr) << g_sLastErrorMessage;
    EXPECT_EQ(std::string(sFirst), sFolder + "/初稿 v1_0.htm");
    std::string sPage = ReadTestFile(sFolder + "/初稿 v1_0.htm");
    EXPECT_NE(sPage.find("src=\"初稿%20v1_files/image1.png\""), std::string::npos);
    EXPECT_NE(sPage.find("<a href=\"初稿%20v1_1.htm\" class=\"page_next\">"), std::string::npos);
    EXPECT_EQ(ReadTestFile(sFolder + "/初稿 v1_files/image1.png"), kPng);
    EXPECT_TRUE(FileExists(sFolder + "/初稿 v1_1.htm"));
}

TEST(HtmlPages, FilesOfTheUserAreNeverReplaced)
{
    CDataDirScope data;
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("doc_1.htm"), "my own page"));
    ASSERT_TRUE(WriteTestFile(dir.File("css/commen.css"), "my own sheet"));
    ASSERT_TRUE(WriteTestFile(dir.File("doc_files/image1.png"), "my own picture"));
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + "<w:p>" + B::Run("见图") + Picture("rId5") + "</w:p>" + Section(1, 12) +
                 Section(2, 12))
        .Relationships(ImageRel("rId5", "media/image1.png"))
        .Item("word/media/image1.png", kPng);
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    // The picture goes to a folder of its own; the user's folder is untouched.
    EXPECT_EQ(ReadTestFile(dir.File("doc_files/image1.png")), "my own picture");
    EXPECT_EQ(ReadTestFile(dir.File("doc_files1/image1.png")), kPng);
    EXPECT_NE(parser.m_sHtmlText.find("src=\"doc_files1/image1.png\""), std::string::npos);

    EXPECT_EQ(parser.OutputHtmlPages(), nullptr);
    EXPECT_NE(g_sLastErrorMessage.find("Failed writing file " + dir.File("doc_1.htm")), std::string::npos);
    EXPECT_EQ(ReadTestFile(dir.File("doc_1.htm")), "my own page");
    EXPECT_EQ(ReadTestFile(dir.File("css/commen.css")), "my own sheet");
    // Our own assets are written beside the pages, and ours are replaced.
    EXPECT_NE(ReadTestFile(dir.File("js/left_nav3.js")).find(CHtmlAssets::MARKER), std::string::npos);
    ASSERT_TRUE(WriteTestFile(dir.File("doc_0.htm"), "<!-- veskar pages --> stale"));
    ASSERT_TRUE(fs::remove(dir.File("doc_1.htm")));
    ASSERT_NE(parser.OutputHtmlPages(), nullptr) << g_sLastErrorMessage;
    EXPECT_NE(ReadTestFile(dir.File("doc_0.htm")).find("page_normal"), std::string::npos);

    // The labelled export is not written over an export of the user's.
    ASSERT_TRUE(WriteTestFile(dir.File("doc.htm"), "<html>mine</html>"));
    EXPECT_EQ(parser.OutputHtmlFile(), nullptr);
    EXPECT_EQ(ReadTestFile(dir.File("doc.htm")), "<html>mine</html>");
}

TEST(HtmlPages, AReloadedDocumentRebuildsTheSamePages)
{
    std::string sBody = OpeningHeading() + "<w:p>" + B::Run("如图") + Picture("rId5") + "</w:p>" + B::Para("图1 甲") +
                        Section(1, 12) + Section(2, 12);
    CDocxBuilder builder;
    builder.Body(sBody).Relationships(ImageRel("rId5", "media/image1.png")).Item("word/media/image1.png", kPng);
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    std::vector<uint32_t> vecIds = parser.Model().PageParaIDs();
    std::string sLabelled = parser.m_sHtmlText;

    CDocxParser reloaded;
    ASSERT_GT(reloaded.LoadDocResult(dir.File("doc.xml").c_str()), 0u);
    EXPECT_FALSE(reloaded.m_sHtmlText.empty());
    EXPECT_EQ(reloaded.Model().PageParaIDs(), vecIds);
    ASSERT_EQ(reloaded.ReuildHtml(""), 1);
    EXPECT_EQ(reloaded.Model().PageParaIDs(), vecIds);
    EXPECT_EQ(ParaLabels(reloaded.m_sHtmlText), ParaLabels(sLabelled));
    EXPECT_EQ(FigureLabels(reloaded.m_sHtmlText), FigureLabels(sLabelled));
}

TEST(HtmlPages, APlainTextHasAPageOfItsOwn)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("notes.txt"), "第一行 a<b\n第二行\n"));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("notes.txt").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    std::string sPage = ReadTestFile(dir.File("notes_0.htm"));
    EXPECT_NE(sPage.find("<p   name=\"00000000\" ><a name=\"00000000\"></a>第一行 a&lt;b</p>\r\n"), std::string::npos)
        << sPage;
    EXPECT_NE(sPage.find("charset=utf-8"), std::string::npos);
    EXPECT_TRUE(parser.m_vecHtmlText.empty());
    EXPECT_EQ(parser.OutputHtmlPages(), nullptr);
}

TEST(HtmlPages, NoExportNoPages)
{
    CTempDir dir;
    CDocxParser parser;
    ASSERT_EQ(ParseBuilt(parser, Sections(2, 12), dir), 1);
    ASSERT_TRUE(fs::remove(dir.File("doc.htm")));
    EXPECT_EQ(parser.GenerateDocHtm(""), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Failed Read File " + dir.File("doc.htm"));
    EXPECT_TRUE(parser.m_vecHtmlText.empty());
    EXPECT_TRUE(parser.Model().PageParaIDs().empty());
    for (const _tParagraph& para : parser.Model().Paragraphs())
        EXPECT_EQ(para.page_num, 0);
}
