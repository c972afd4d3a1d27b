// Escaping and unescaping of values in the library's XML files.
#include <gtest/gtest.h>

#include <string>

#include "Utility/XmlText.h"

namespace {

TEST(XmlText, EscapesMarkupAndDropsWhatXmlCannotCarry)
{
    EXPECT_EQ(XmlEscape("a<b>&\"c'd"), "a&lt;b&gt;&amp;&quot;c&apos;d");
    EXPECT_EQ(XmlEscape(std::string("x\x01y\tz\r\n\x1F", 8)), "xy\tz\r\n");
    EXPECT_EQ(XmlEscape("中文 (1+2)=3; #$%!"), "中文 (1+2)=3; #$%!");
    EXPECT_EQ(XmlEscape(""), "");
}

// The escaper passes over eight bytes at a time: every byte value, at every
// offset within those eight and in the tail, must come out as one byte at a
// time would have it.
TEST(XmlText, EscapesEveryByteAtEveryOffset)
{
    auto reference = [](const std::string& sText) {
        std::string sOut;
        for (unsigned char c : sText) {
            if (c == '&') sOut += "&amp;";
            else if (c == '<') sOut += "&lt;";
            else if (c == '>') sOut += "&gt;";
            else if (c == '"') sOut += "&quot;";
            else if (c == '\'') sOut += "&apos;";
            else if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') sOut += static_cast<char>(c);
        }
        return sOut;
    };
    for (int c = 0; c < 256; ++c) {
        for (size_t nAt = 0; nAt < 19; ++nAt) {
            std::string sText = "中文字符串测试";  // 21 bytes, none below 0x40
            sText[nAt] = static_cast<char>(c);
            ASSERT_EQ(XmlEscape(sText), reference(sText)) << "byte " << c << " at " << nAt;
        }
    }
    std::string sOut = "kept:";
    XmlEscapeAppend(sOut, "<a> & 'b'");
    EXPECT_EQ(sOut, "kept:&lt;a&gt; &amp; &apos;b&apos;");
}

TEST(XmlText, UnescapesEntitiesAndCharacterReferences)
{
    EXPECT_EQ(XmlUnescape("a&lt;b&gt;&amp;&quot;&apos;"), "a<b>&\"'");
    EXPECT_EQ(XmlUnescape("&#20013;&#x6587;"), "中文");
    EXPECT_EQ(XmlUnescape("&unknown; & &#0; &#x110000;"), "&unknown; & &#0; &#x110000;");
    std::string sOdd = "1 < 2 && \"q\" '\x7f'";
    EXPECT_EQ(XmlUnescape(XmlEscape(sOdd)), sOdd);
}

TEST(XmlText, ElementTextIsBoundedByTheLimit)
{
    std::string sXml = "<a>1</a><b>x&amp;y</b><c>z</c>";
    std::string sValue;
    EXPECT_TRUE(XmlElementText(sXml, "b", 0, sXml.size(), sValue));
    EXPECT_EQ(sValue, "x&y");
    EXPECT_FALSE(XmlElementText(sXml, "c", 0, 20, sValue));
    EXPECT_FALSE(XmlElementText(sXml, "d", 0, sXml.size(), sValue));
}

}  // namespace
