// Marks in hand-made HTML pages: where each letter and field puts its
// insertion and deletion marks, the hint they carry, the notes on the last
// page, and cited standards turned into search links.
#include <regex>

#include "ReviseFixture.h"

namespace {

const char* const kHint = "<span lang=EN-US\r\nstyle='font-size:9.0pt;line-height:150%;font-family:宋体;"
                          "mso-bidi-font-family:\r\n宋体;color:#00B050'>[提示信息:";

std::string Attributes(const char* sName)
{
    return std::string("name=\"") + sName + "\" cite=\"mailto:veskar@localhost\" datetime=\"T\"";
}

std::string Del(const char* sName, const std::string& sText)
{
    return "<span class=msoDel><del " + Attributes(sName) + ">" + sText + "</del></span>";
}

std::string Ins(const char* sName, const std::string& sText)
{
    return "<span class=msoIns><ins " + Attributes(sName) + ">" + sText + "</ins></span>";
}

std::string Hint(const std::string& sText)
{
    return kHint + sText + "]</span>";
}

class CReviseHtmlTest : public CReviseTest {
protected:
    void SetUp() override
    {
        m_parser.m_sFilename = "论文 初稿";
        m_parser.m_vecHtmlText = {
            "<div class=WordSection1>\r\n"
            "<p class=MsoNormal   name=\"00000010\" ><span lang=EN-US>abcde</span><span>XYZklmnop</span>"
            "qrstuXYZvwxyz</p>\r\n"
            "<p class=MsoNormal   name=\"00000100\" >字体段落</p>\r\n"
            "<h1   name=\"00000200\" >第一章 绪论</h1>\r\n</div>\r\n",
            "<div class=WordSection2>\r\n<p class=MsoNormal   name=\"00000500\" >依据GB/T 1234-2008执行。</p>\r\n"
            "</div>\r\n"};
        CDocModel model;
        model.SetPageParaIDs({0x10, 0x500});
        m_parser.SetModel(std::move(model));
    }

    // Marks the findings; the page with the times of its marks blanked.
    std::string Mark(size_t nPage, const std::vector<_tKeyVal>& vecKeys = {})
    {
        EXPECT_EQ(m_reviser.ShowCheckInHtml(&m_parser, &m_result, vecKeys), 1);
        return std::regex_replace(m_parser.m_vecHtmlText[nPage], std::regex("datetime=\"[^\"]*\""), "datetime=\"T\"");
    }

    static std::string Paragraph(const std::string& sPage, const char* sName)
    {
        size_t nStart = sPage.find(std::string("name=\"") + sName);
        size_t nClose = std::min(sPage.find("</p>", nStart), sPage.find("</h", nStart));
        return sPage.substr(sPage.find('>', nStart) + 1, nClose - sPage.find('>', nStart) - 1);
    }
};

}  // namespace

TEST_F(CReviseHtmlTest, TextLettersMarkTheirBytes)
{
    Add(0x10, 3, FIELD_TEXT, REVISE_U, "deXY", "N<superscript>2</superscript>");  // over two pieces
    Add(0x10, 14, FIELD_TEXT, REVISE_M, "qrs", "Q");
    Add(0x10, 19, FIELD_TEXT, REVISE_D, "XYZ", "");
    Add(0x10, 25, FIELD_TEXT, REVISE_I, "z", "&");
    std::string sPara = Paragraph(Mark(0), "00000010");
    EXPECT_EQ(sPara, "<span lang=EN-US>abc" + Del("00000010-3-1.5.2", "de") + "</span><span>" +
                         Del("00000010-3-1.5.2", "XY") + Ins("00000010-3-1.5.2", "N<sup>2</sup>") +
                         Hint("用词错误(deXY->N<sup>2</sup>)") + "Zklmnop</span>" + Ins("00000010-14-1.5.2", "Q") +
                         Hint("用词错误(qrs->Q)") + "qrstu" +
                         Del("00000010-19-1.5.2", "XYZ") + Hint("用词错误") + "vwxy" +
                         Ins("00000010-25-1.5.2", "&amp;") + Hint("用词错误(z->&amp;)") + "z");
}

TEST_F(CReviseHtmlTest, ChangeLinksToTheParagraphItRefersTo)
{
    _tCheckResult record;
    record.para_id = 0x10;
    record.offset = 0;
    record.error_id = "1.5.2";
    record.org_str = "abc";
    record.new_str = "见下文";
    record.revise_type = REVISE_C;
    record.new_para_id = 0x500;
    m_result.AddResult(record);
    std::string sPara = Paragraph(Mark(0), "00000010");
    EXPECT_NE(sPara.find(Del("00000010-0-1.5.2", "abc") +
                         "<span class=msoIns><ins " + Attributes("00000010-0-1.5.2") +
                         "><a href=\"论文 初稿_1.htm#00000500\">见下文</a></ins></span>"),
              std::string::npos)
        << sPara;
}

TEST_F(CReviseHtmlTest, FormatFindingsAreMarkedAtTheParagraphEnd)
{
    Add(0x100, 0, FIELD_FONT, REVISE_U, "宋体", "黑体", "1.1.1");
    Add(0x200, 0, FIELD_FONTSIZE, REVISE_U, "小四", "四号", "1.1.2");
    Add(0x200, 1, FIELD_LINE_SPACE, REVISE_U, "20", "24", "1.1.3");
    Add(0x200, 2, FIELD_LEVEL, REVISE_U, "1", "2", "1.3.7");
    Add(0x200, 3, FIELD_CONTENT, REVISE_M, "", "目录需更新", "1.3.7");
    std::string sPage = Mark(0);
    EXPECT_EQ(Paragraph(sPage, "00000100"), "字体段落" + Ins("00000100-0-1.1.1", "") + Hint("字体不符(宋体->黑体)"));
    EXPECT_EQ(Paragraph(sPage, "00000200"),
              "第一章 绪论" + Ins("00000200-3-1.3.7", "") + Hint("级别不符") + Ins("00000200-2-1.3.7", "") +
                  Hint("级别不符(1->2)") + Ins("00000200-1-1.1.3", "") + Hint("行距不符(20->24)") +
                  Ins("00000200-0-1.1.2", "") + Hint("字号不符(小四->四号)"));
}

TEST_F(CReviseHtmlTest, DocumentFindingsGoToTheLastPageAndPagesAreSet)
{
    Add(0xFFFFFFFF, 0, FIELD_CONTENT, REVISE_M, "", "参考文献", "12.1");
    Add(0x500, 2, FIELD_TEXT, REVISE_U, "GB", "GB", "1.5.2");  // nothing to change: dropped
    Add(0x500, 6, FIELD_TEXT, REVISE_U, "1234", "1235", "1.5.2");
    std::string sLast = Mark(1);
    EXPECT_NE(sLast.find("color:#0070C0'>修订说明</span>"), std::string::npos);
    EXPECT_NE(sLast.find("color:red'>1.</span><span lang=EN-US style='mso-fareast-font-family:宋体; "
                         "mso-ascii-font-family:\"Times New Roman\";color:red'>参考文献</span>"),
              std::string::npos)
        << sLast;
    for (const _tCheckResult& finding : m_result.Results())
        EXPECT_EQ(finding.page_num, 1) << finding.para_id;
    EXPECT_EQ(m_parser.m_vecHtmlText[0].find("msoIns"), std::string::npos);
}

TEST_F(CReviseHtmlTest, OverlappingDeletionsAreMarkedOnce)
{
    Add(0x10, 5, FIELD_TEXT, REVISE_D, "XYZ", "", "1.5.2");
    Add(0x10, 5, FIELD_TEXT, REVISE_D, "XYZ", "", "99.3");
    std::string sPara = Paragraph(Mark(0), "00000010");
    std::string sBare = std::regex_replace(sPara, std::regex("<span lang=EN-US\r\nstyle=[^>]*>[^<]*</span>"), "");
    sBare = std::regex_replace(sBare, std::regex("<span class=msoDel><del [^>]*>XYZ</del></span>"), "[XYZ]");
    EXPECT_EQ(sBare, "<span lang=EN-US>abcde</span><span>[XYZ]klmnop</span>qrstuXYZvwxyz") << sPara;
}

TEST_F(CReviseHtmlTest, MissingParagraphsAreSkippedAndPagesAreNeeded)
{
    Add(0x999, 0, FIELD_TEXT, REVISE_U, "x", "y");
    Add(0x100, 0, FIELD_TEXT, REVISE_U, "字体", "字形");
    std::string sPage = Mark(0);
    EXPECT_NE(sPage.find(Ins("00000100-0-1.5.2", "字形")), std::string::npos);
    CDocxParser empty;
    EXPECT_EQ(m_reviser.ShowCheckInHtml(&empty, &m_result, {}), -1);
}

TEST_F(CReviseHtmlTest, CitedStandardsBecomeSearchLinks)
{
    std::vector<_tKeyVal> vecKeys = {_tKeyVal(1, "GB/T 1234-2008", 0x500, 6, "", "7"),
                                     _tKeyVal(1, "没有的标准", 0x500, 0, "", "7")};
    std::string sPara = Paragraph(Mark(1, vecKeys), "00000500");
    EXPECT_EQ(sPara, "依据<a href=\"javascript:void(0)\" onclick=\"searchRule('GB/T 1234-2008')\">GB/T "
                     "1234-2008</a>执行。");
}

TEST(CReviseTextTest, SuggestedTextIsEscapedAndItsMarkupConverted)
{
    EXPECT_EQ(CDocReviser::TextNormalize("m<superscript>2</superscript> & <b>x</b> &amp;", true),
              "m<sup>2</sup> &amp; &lt;b&gt;x&lt;/b&gt; &amp;");
    EXPECT_EQ(CDocReviser::TextNormalize("H<subscript>2</subscript>O<sup>", false),
              "H</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"subscript\"/></w:rPr><w:t xml:space=\"preserve\">2"
              "</w:t></w:r><w:r><w:t xml:space=\"preserve\">O&lt;sup&gt;");
    EXPECT_EQ(CDocReviser::TextNormalize("x<sup>2</sup>", false, "<w:rPr><w:b/><w:lang w:val=\"en-US\"/></w:rPr>"),
              "x</w:t></w:r><w:r><w:rPr><w:b/><w:vertAlign w:val=\"superscript\"/><w:lang w:val=\"en-US\"/></w:rPr>"
              "<w:t xml:space=\"preserve\">2</w:t></w:r><w:r><w:rPr><w:b/><w:lang w:val=\"en-US\"/></w:rPr>"
              "<w:t xml:space=\"preserve\">");
}
