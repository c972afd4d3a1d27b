// The pieces of the page walk on hand-written HTML: finding paragraph
// elements, labelling a word processor's export, the cuts of a long
// section, the pager's window and the image source prefix.
#include <gtest/gtest.h>

#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"
#include "Docx/HtmlLabeler.h"
#include "Docx/HtmlPager.h"

namespace {

_tParagraph Para(uint32_t nId, const std::string& sText, int nLevel = DocLevel::TEXT)
{
    _tParagraph para;
    para.id = nId;
    para.text = sText;
    para.level = nLevel;
    return para;
}

std::string Label(uint32_t nId)
{
    return CHtmlLabeler::ParaLabel(nId);
}

std::string Joined(const std::vector<std::string_view>& vecPieces)
{
    std::string sOut;
    for (std::string_view sPiece : vecPieces)
        sOut += sPiece;
    return sOut;
}

}  // namespace

TEST(HtmlWalk, ParagraphElementsAreFoundWhereAReaderSeesThem)
{
    std::string sHtml = "<head><style>p.x{}</style></head><body><hr><!-- <p class=c> --><script>\"<p \"</script>"
                        "<H2 style=x>A</H2><p class=MsoNormal>B</p><table><tr><td><p class=a>C</p></td></tr>"
                        "<tr><td><table><tr><td>x</td></tr></table></td></tr></table><p>D";
    size_t nHeading = CHtmlLabeler::GetParaStart(sHtml, 0);
    ASSERT_EQ(sHtml.compare(nHeading, 3, "<H2"), 0);
    size_t nEnd = CHtmlLabeler::GetParaEnd(sHtml, nHeading);
    EXPECT_EQ(sHtml.compare(nEnd - 5, 5, "</H2>"), 0);
    size_t nTable = CHtmlLabeler::GetParaStart(sHtml, CHtmlLabeler::GetParaEnd(sHtml, CHtmlLabeler::GetParaStart(sHtml, nEnd)));
    ASSERT_EQ(sHtml.compare(nTable, 6, "<table"), 0);
    size_t nTableEnd = CHtmlLabeler::GetParaEnd(sHtml, nTable);
    EXPECT_EQ(sHtml.substr(nTableEnd), "<p>D");  // the nested table's end is not the table's
    EXPECT_EQ(CHtmlLabeler::GetParaEnd(sHtml, nTableEnd), sHtml.size());
}

TEST(HtmlWalk, AWordProcessorsExportIsLabelledInStepWithTheModel)
{
    // A body paragraph, a text box, a table whose caption is its first row,
    // a picture paragraph, and a comment list at the end of the body.
    CDocModel model;
    ASSERT_TRUE(model.AddParagraph(Para(0x10, "第一章", DocLevel::TITLE1)));
    ASSERT_TRUE(model.AddParagraph(Para(0x20, "框", DocLevel::TXTBOX)));
    _tTable table;
    table.rows = {{{Para(0x30, "表1 数据", DocLevel::TABLE_COL)}},
                  {{Para(0x40, "甲", DocLevel::TABLE_COL)}, {Para(0x50, "乙", DocLevel::TABLE_COL)}}};
    _tParagraph caption = Para(0x30, "表1 数据", DocLevel::TABLE_CAPTION);
    ASSERT_TRUE(model.AddParagraph(caption));
    table.caption_index = 2;
    model.AddTable(table);
    _tFigure figure;
    figure.para_id = 0x60;
    _tParagraph holder = Para(0x60, "图(Figure 0)");
    model.AddFigure(figure, holder);
    ASSERT_TRUE(model.AddParagraph(holder));
    CDocxParser parser;
    parser.SetModel(model);

    std::string sHtml = "<html><head><style>span.SpellE{}</style></head><body lang=ZH-CN><div class=WordSection1>\r\n"
                        "<h1>第一章</h1>\r\n<p class=MsoNormal><v:textbox>框</v:textbox></p>\r\n"
                        "<table class=MsoTableGrid><tr><td colspan=2><p class=MsoNormal>表1 数据</p></td></tr>"
                        "<tr><td><p class=MsoNormal>甲</p></td><td><p class=MsoNormal>乙</p></td></tr></table>\r\n"
                        "<p class=MsoNormal>图<img src=\"a_files/image001.png\"></p>\r\n</div>\r\n"
                        "<div style='mso-element:comment-list'><hr class=msocomoff align=left size=1 width=\"33%\">"
                        "<p class=MsoCommentText>批注</p></div></body></html>";
    CHtmlLabeler labeler(parser.Model(), false);
    parser.m_sHtmlText = labeler.Label(sHtml, CHtmlPager::BodyStart(sHtml));
    const std::string& sOut = parser.m_sHtmlText;
    EXPECT_NE(sOut.find("<h1" + Label(0x10) + ">"), std::string::npos);
    // The text box is passed over; the element that holds it here gets no
    // label, as the caption taken from the table's first row waits for its table.
    EXPECT_NE(sOut.find("<p class=MsoNormal><v:textbox>"), std::string::npos);
    EXPECT_NE(sOut.find("<td colspan=2><p" + Label(0x30) + " class=MsoNormal>"), std::string::npos);
    EXPECT_NE(sOut.find("<p" + Label(0x50) + " class=MsoNormal>乙"), std::string::npos);
    EXPECT_NE(sOut.find("<p" + Label(0x60) + " class=MsoNormal>图<a name=\"Figure0\"></a><img name=\"Figure0\"  src="),
              std::string::npos) << sOut;
    EXPECT_EQ(labeler.ParaCursor(), model.Paragraphs().size());
    EXPECT_EQ(labeler.TableCursor(), 1u);

    parser.PageSegment();
    ASSERT_EQ(parser.m_vecHtmlText.size(), 1u);
    EXPECT_EQ(parser.m_vecHtmlText[0].find("批注"), std::string::npos);  // comments are cut off
    const std::string kClosed = "\r\n</div>\r\n</body>\r\n</html>";
    EXPECT_EQ(parser.m_sHtmlText.substr(parser.m_sHtmlText.size() - kClosed.size()), kClosed);
    EXPECT_EQ(parser.Model().PageParaIDs(), std::vector<uint32_t> {0x10});
    EXPECT_LT(parser.m_sHtmlPrefix.find("span.msoDel"), parser.m_sHtmlPrefix.find("span.SpellE"));
    EXPECT_LT(parser.m_sHtmlPrefix.find("js/left_nav3.js"), parser.m_sHtmlPrefix.find("<style>"));
}

TEST(HtmlWalk, ALongSectionKeepsTablesAndBlocksWhole)
{
    // Pieces of about 100 bytes over paragraphs, a table and a block.
    std::string sSection = "<div class=WordSection1>\r\n";
    for (uint32_t i = 1; i <= 6; ++i)
        sSection += "<p" + Label(i) + "class=MsoNormal>paragraph text number " + std::to_string(i) + "</p>\r\n";
    std::string sTable = "<table><tr><td><p" + Label(7) + ">cell text of the table</p></td></tr><tr><td><p" +
                         Label(8) + ">more cell text, long enough to hold a cut</p></td></tr></table>";
    std::string sBlock = "<div style='border:solid'><p" + Label(10) + ">bordered paragraph</p><p" + Label(11) +
                         ">another bordered paragraph long enough</p></div>";
    sSection += sTable + "\r\n<p" + Label(9) + ">between</p>\r\n" + sBlock + "\r\n<p" + Label(12) + ">last</p>\r\n</div>";
    std::vector<std::string_view> vecPieces = CHtmlPager::FurtherSegment(sSection, 100);
    ASSERT_GE(vecPieces.size(), 3u);
    EXPECT_EQ(Joined(vecPieces), sSection);
    bool bTableWhole = false, bBlockWhole = false;
    for (std::string_view sPiece : vecPieces) {
        size_t nTable = sPiece.find("<table");
        if (nTable != std::string_view::npos)
            bTableWhole = sPiece.find("</table>") != std::string_view::npos;
        EXPECT_EQ(sPiece.find("<table") == std::string_view::npos, sPiece.find("</table>") == std::string_view::npos);
        if (sPiece.find("bordered") != std::string_view::npos)
            bBlockWhole = sPiece.find("bordered paragraph</p><p") != std::string_view::npos;
        // Every cut is at a labelled tag or right after an element.
        EXPECT_TRUE(sPiece.substr(0, 2) == "<p" || sPiece.substr(0, 4) == "<div" || sPiece.substr(0, 2) == "\r\n")
            << sPiece.substr(0, 20);
    }
    EXPECT_TRUE(bTableWhole);
    EXPECT_TRUE(bBlockWhole);
    // The paragraph before the table (its caption, as a rule) goes with it.
    bool bCaptionWithTable = false;
    for (std::string_view sPiece : vecPieces)
        bCaptionWithTable = bCaptionWithTable || sPiece.find("number 6</p>\r\n<table") != std::string_view::npos;
    EXPECT_TRUE(bCaptionWithTable);

    // A short section is one piece; labels are read as hexadecimal.
    EXPECT_EQ(CHtmlPager::FurtherSegment(sSection).size(), 1u);
    uint32_t nId = 0;
    ASSERT_TRUE(CHtmlPager::FirstLabel("<p" + Label(0xABC) + ">", nId));
    EXPECT_EQ(nId, 0xABCu);
    EXPECT_FALSE(CHtmlPager::FirstLabel("<p name=\"0000000A\">", nId));
}

TEST(HtmlWalk, ThePagerShowsTenPagesAroundTheCurrentOne)
{
    EXPECT_EQ(CHtmlPager::Pager(0, 1, "a"), "");
    std::string sMiddle = CHtmlPager::Pager(7, 20, "a b#c");
    // Pages 3 to 12 (indexes 2 to 11), the current one 8.
    EXPECT_NE(sMiddle.find("<a href=\"a%20b%23c_2.htm\">3</a>"), std::string::npos) << sMiddle;
    EXPECT_EQ(sMiddle.find("_1.htm\">2</a>"), std::string::npos);
    EXPECT_NE(sMiddle.find("<a href=\"#\" class=\"page_current\">8</a>"), std::string::npos);
    EXPECT_NE(sMiddle.find("_11.htm\">12</a>"), std::string::npos);
    EXPECT_EQ(sMiddle.find("_12.htm\">13</a>"), std::string::npos);
    EXPECT_NE(sMiddle.find("_6.htm\" class=\"page_prev\""), std::string::npos);
    EXPECT_NE(sMiddle.find("_8.htm\" class=\"page_next\""), std::string::npos);
}

TEST(HtmlWalk, TheUrlPrefixGoesOnlyIntoSourcesAfterABlank)
{
    std::string sHtml = "<img src=\"a.png\"><img\r\nsrc=\"b.png\"><x data-src=\"c.png\"><img src='d.png'>";
    CHtmlLabeler::InsertUrlPrefix(sHtml, "");
    EXPECT_EQ(sHtml.find("//"), std::string::npos);
    CHtmlLabeler::InsertUrlPrefix(sHtml, "C:\\docs\\");
    EXPECT_EQ(sHtml, "<img src=\"C:\\docs\\a.png\"><img\r\nsrc=\"C:\\docs\\b.png\"><x data-src=\"c.png\"><img src='d.png'>");
}

TEST(HtmlWalk, FontsOfAnElement)
{
    CDocxParser parser;
    std::string sFont;
    double dSize = 0;
    EXPECT_TRUE(parser.GetHtmlFont("<p><span style='mso-ascii-font-family:Arial;font-family:&quot;Times New Roman&quot;,"
                                   "serif;mso-bidi-font-size:9pt;font-size:10.5pt'>x</span></p>",
                                   sFont, dSize));
    EXPECT_EQ(sFont, "Times New Roman");
    EXPECT_DOUBLE_EQ(dSize, 10.5);
    EXPECT_TRUE(parser.GetHtmlFont("<span style='font-family:宋体;font-size:16px'>", sFont, dSize));
    EXPECT_EQ(sFont, "宋体");
    EXPECT_DOUBLE_EQ(dSize, 12.0);
    EXPECT_FALSE(parser.GetHtmlFont("<p class=MsoNormal>x</p>", sFont, dSize));
    EXPECT_EQ(parser.m_sLastFont, "宋体");
}
