// Fonts, sizes and line spacing as a word processor shows them: document
// defaults, whole basedOn chains, theme fonts, character styles and a
// run's own properties, read from styles and from generated documents.
#include <gtest/gtest.h>

#include "Docx/DocxTestUtil.h"
#include "Docx/ParagraphFormat.h"
#include "Docx/StyleSheet.h"

using B = CDocxBuilder;

namespace {

const std::string kTheme =
    "<a:theme><a:themeElements><a:fontScheme name=\"Office\">"
    "<a:majorFont><a:latin typeface=\"Calibri Light\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/>"
    "<a:font script=\"Jpan\" typeface=\"Yu Gothic Light\"/><a:font script=\"Hans\" typeface=\"等线 Light\"/>"
    "</a:majorFont><a:minorFont><a:latin typeface=\"Calibri\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/>"
    "<a:font script=\"Hans\" typeface=\"宋体\"/><a:font script=\"Hant\" typeface=\"新細明體\"/>"
    "</a:minorFont></a:fontScheme></a:themeElements></a:theme>";

// Defaults in theme fonts and a size; spacing 1.25 lines.
const std::string kDefaults =
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" "
    "w:eastAsiaTheme=\"minorEastAsia\" w:hAnsiTheme=\"minorHAnsi\"/><w:sz w:val=\"21\"/>"
    "<w:szCs w:val=\"22\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr>"
    "<w:spacing w:after=\"0\" w:line=\"300\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>";

std::string Style(const std::string& sType, const std::string& sId, const std::string& sInner,
                  const std::string& sExtra = "")
{
    return "<w:style w:type=\"" + sType + "\"" + sExtra + " w:styleId=\"" + sId + "\">" + sInner + "</w:style>";
}

std::string BasedOn(const std::string& sId) { return "<w:basedOn w:val=\"" + sId + "\"/>"; }

// A heading 2 defined before the heading 1 it is based on, which is based
// on Normal; a cycle; character styles based on one another.
const std::string kStyles =
    kDefaults +
    Style("paragraph", "a", "<w:name w:val=\"Normal\"/><w:rPr><w:rFonts w:ascii=\"Times New Roman\" "
                            "w:hAnsi=\"Times New Roman\"/></w:rPr>", " w:default=\"1\"") +
    Style("paragraph", "2", "<w:name w:val=\"heading 2\"/>" + BasedOn("1") +
                            "<w:pPr><w:spacing w:line=\"400\" w:lineRule=\"exact\"/></w:pPr>") +
    Style("paragraph", "1", "<w:name w:val=\"heading 1\"/>" + BasedOn("a") +
                            "<w:rPr><w:rFonts w:eastAsia=\"黑体\"/><w:sz w:val=\"32\"/></w:rPr>") +
    Style("paragraph", "x", "<w:name w:val=\"Loop X\"/>" + BasedOn("y")) +
    Style("paragraph", "y", "<w:name w:val=\"Loop Y\"/>" + BasedOn("x") + "<w:rPr><w:sz w:val=\"30\"/></w:rPr>") +
    Style("paragraph", "z", "<w:name w:val=\"Self\"/>" + BasedOn("z")) +
    Style("character", "c0", "<w:name w:val=\"Key\"/><w:rPr><w:rFonts w:eastAsia=\"楷体\"/></w:rPr>") +
    Style("character", "c1", "<w:name w:val=\"Key Big\"/>" + BasedOn("c0") + "<w:rPr><w:sz w:val=\"28\"/></w:rPr>") +
    Style("table", "t", "<w:name w:val=\"Grid\"/><w:tblStylePr w:type=\"firstRow\"><w:rPr><w:sz w:val=\"44\"/>"
                        "</w:rPr></w:tblStylePr>");

CStyleSheet Sheet(const std::string& sLanguage = "zh-CN")
{
    CStyleSheet sheet;
    sheet.ReadTheme(kTheme, sLanguage);
    sheet.ReadStyles(kStyles);
    return sheet;
}

_tRunProps Own(const std::string& sRPr)
{
    _tRunProps props;
    CStyleSheet::ReadRunProps(sRPr, 0, sRPr.size(), props);
    return props;
}

}  // namespace

TEST(StyleSheet, WholeChainsOverDefaultsWithCyclesCut)
{
    CStyleSheet sheet = Sheet();
    _tRunFormat heading = sheet.ResolveRun("2", "", _tRunProps());
    EXPECT_EQ(heading.sFonts[FONT_EAST_ASIA], "黑体");           // two steps up
    EXPECT_EQ(heading.sFonts[FONT_ASCII], "Times New Roman");    // three steps up
    EXPECT_EQ(heading.nSize, 32);
    _tLineProps line = sheet.ResolveLine("2", _tLineProps());
    EXPECT_EQ(line.nLine, 400);
    EXPECT_EQ(line.sLineRule, "exact");
    // No style, and a style the document does not define: the default paragraph style.
    for (const char* sId : {"", "missing"}) {
        _tRunFormat body = sheet.ResolveRun(sId, "", _tRunProps());
        EXPECT_EQ(body.sFonts[FONT_EAST_ASIA], "宋体") << sId;  // minorEastAsia, Hans script
        EXPECT_EQ(body.sFonts[FONT_ASCII], "Times New Roman") << sId;
        EXPECT_EQ(body.nSize, 21) << sId;                        // w:sz of the defaults, not w:szCs
        EXPECT_EQ(sheet.ResolveLine(sId, _tLineProps()).nLine, 300) << sId;
    }
    // A chain that comes back on itself ends where it would repeat.
    EXPECT_EQ(sheet.ResolveRun("x", "", _tRunProps()).nSize, 30);
    EXPECT_EQ(sheet.ResolveRun("y", "", _tRunProps()).nSize, 30);
    EXPECT_EQ(sheet.ResolveRun("z", "", _tRunProps()).nSize, 21);
    // A table style's conditional formats are not its own.
    ASSERT_NE(sheet.StyleRun("t"), nullptr);
    EXPECT_EQ(sheet.StyleRun("t")->nSize, 0);
}

TEST(StyleSheet, CharacterStylesThenTheRunsOwnProperties)
{
    CStyleSheet sheet = Sheet();
    _tRunFormat styled = sheet.ResolveRun("1", "c1", _tRunProps());
    EXPECT_EQ(styled.sFonts[FONT_EAST_ASIA], "楷体");
    EXPECT_EQ(styled.nSize, 28);
    _tRunFormat own = sheet.ResolveRun("1", "c1", Own("<w:rFonts w:eastAsia=\"仿宋\"/><w:szCs w:val=\"40\"/>"
                                                      "<w:sz w:val=\"18\"/>"));
    EXPECT_EQ(own.sFonts[FONT_EAST_ASIA], "仿宋");
    EXPECT_EQ(own.sFonts[FONT_ASCII], "Times New Roman");
    EXPECT_EQ(own.nSize, 18);
    // A paragraph style named as a run's style brings no defaults over the paragraph's own.
    EXPECT_EQ(sheet.ResolveRun("1", "a", _tRunProps()).nSize, 32);
}

TEST(StyleSheet, ThemeFontsFollowTheDocumentsScript)
{
    CStyleSheet sheet = Sheet();
    // In one tag the theme font wins over the named one.
    _tRunFormat themed = sheet.ResolveRun(
        "1", "", Own("<w:rFonts w:eastAsia=\"黑体\" w:eastAsiaTheme=\"majorEastAsia\" w:asciiTheme=\"majorHAnsi\"/>"));
    EXPECT_EQ(themed.sFonts[FONT_EAST_ASIA], "等线 Light");
    EXPECT_EQ(themed.sFonts[FONT_ASCII], "Calibri Light");
    EXPECT_EQ(Sheet("zh-TW").ResolveRun("", "", _tRunProps()).sFonts[FONT_EAST_ASIA], "新細明體");
    // An a:ea that names a font comes first; without a theme the named font shows.
    CStyleSheet own;
    own.ReadTheme("<a:minorFont><a:latin typeface=\"Arial\"/><a:ea typeface=\"微软雅黑\"/>"
                  "<a:font script=\"Hans\" typeface=\"宋体\"/></a:minorFont>", "");
    own.ReadStyles(kDefaults);
    EXPECT_EQ(own.ResolveRun("", "", _tRunProps()).sFonts[FONT_EAST_ASIA], "微软雅黑");
    CStyleSheet bare;
    bare.ReadStyles(kDefaults);
    EXPECT_EQ(bare.ResolveRun("", "", Own("<w:rFonts w:eastAsia=\"宋体\" w:eastAsiaTheme=\"minorEastAsia\"/>"))
                  .sFonts[FONT_EAST_ASIA], "宋体");
    EXPECT_EQ(bare.ResolveRun("", "", _tRunProps()).sFonts[FONT_EAST_ASIA], "");
}

TEST(ParagraphFormat, ChineseTextIsSetInTheEastAsianSlot)
{
    EXPECT_FALSE(CParagraphFormat::HasEastAsianText("2.1 Method, caf\xC3\xA9 \xCE\xB1\xCE\xB2"));
    for (const char* s : {"研究", "a，b", "\xE3\x80\x81", "x\xF0\xA0\x80\x80", "\xEF\xBC\x88" "1)"})
        EXPECT_TRUE(CParagraphFormat::HasEastAsianText(s)) << s;
    EXPECT_FALSE(CParagraphFormat::HasEastAsianText("ab\xE7\xA0"));  // cut short
}

TEST(ParagraphFormat, DocumentParagraphsShowTheResolvedFormat)
{
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Styles(kStyles)
        .Item("word/theme/theme1.xml", kTheme)
        .Item("word/settings.xml", "<w:settings><w:themeFontLang w:val=\"en-US\" w:eastAsia=\"zh-CN\"/></w:settings>");
    std::string sHeading = B::Para("研究背景", "<w:pStyle w:val=\"2\"/>");
    std::string sPlain = B::Para("正文段落");
    std::string sLatin = B::Para("Abstract text");
    // A Latin number before the Chinese words: the Chinese run gives the font.
    std::string sMixed = "<w:p><w:pPr><w:spacing w:before=\"120\"/></w:pPr>" +
                         B::Run("2.1 ", "<w:rFonts w:ascii=\"Arial\"/><w:sz w:val=\"24\"/>") +
                         B::Run("方法", "<w:rFonts w:eastAsia=\"仿宋\"/>") + "</w:p>";
    std::string sKey = "<w:p>" + B::Run("关键词", "<w:rStyle w:val=\"c1\"/>") + "</w:p>";
    std::string sLoop = B::Para("循环样式", "<w:pStyle w:val=\"x\"/>");
    // A label in 黑体 before a line of 宋体: the line is 宋体.
    std::string sLabelled = "<w:p>" + B::Run("关键词：", "<w:rFonts w:eastAsia=\"黑体\"/>") +
                            B::Run("模型；预测；实验验证", "<w:rFonts w:eastAsia=\"宋体\"/>") + "</w:p>";
    builder.Body(OpeningHeading() + sHeading + sPlain + sLatin + sMixed + sKey + sLoop + sLabelled);
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    const std::vector<_tParagraph>& vecParas = parser.Model().Paragraphs();
    ASSERT_EQ(vecParas.size(), 8u);
    auto Format = [](const _tParagraph& para) {
        return para.font + "/" + std::to_string(para.font_size) + "/" + std::to_string(para.line_space);
    };
    EXPECT_EQ(Format(vecParas[1]), "黑体/32/400");
    EXPECT_EQ(vecParas[1].line_rule, LineRule::EXACT);  // the rule comes down the chain with the value
    EXPECT_EQ(vecParas[2].line_rule, LineRule::AUTO);
    EXPECT_EQ(vecParas[1].level, 2);
    EXPECT_EQ(Format(vecParas[2]), "宋体/21/300");
    EXPECT_EQ(Format(vecParas[3]), "Times New Roman/21/300");
    EXPECT_EQ(Format(vecParas[4]), "仿宋/21/300");  // the last run's size; spacing from the defaults
    EXPECT_EQ(Format(vecParas[5]), "楷体/28/300");
    EXPECT_EQ(Format(vecParas[6]), "宋体/30/300");
    EXPECT_EQ(vecParas[7].font, "宋体");
    // The style records carry resolved values too; which styles are listed
    // has not changed (heading 2's base comes after it).
    ASSERT_EQ(parser.m_mapStyleId2Style.count("1"), 1u);
    EXPECT_EQ(Format(parser.m_mapStyleId2Style.at("1")), "黑体/32/300");
    EXPECT_EQ(parser.m_mapStyleId2Style.count("2"), 0u);
}
