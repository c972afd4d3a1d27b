// Other inputs: plain text in any encoding, HTML, PDF through pdftotext,
// word-processor files through LibreOffice, and the outside-program runner.
#include <gtest/gtest.h>

#include "Convert/DocumentConverter.h"
#include "Convert/ExternalProgram.h"
#include "Convert/HtmlToText.h"
#include "Convert/TextDecoder.h"
#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"

TEST(PlainText, LinesBecomeParagraphsIdentifiedByTheirOffset)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("note.txt"), "第一行\r\n\r\nsecond line\nthird"));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("note.txt").c_str(), "", 0, 0), 1);
    ASSERT_EQ(parser.Model().Paragraphs().size(), 3u);
    EXPECT_EQ(parser.Model().Paragraphs()[0].id, 0u);
    EXPECT_EQ(parser.Model().Paragraphs()[1].id, 13u);
    EXPECT_EQ(parser.Model().Paragraphs()[2].id, 25u);
    EXPECT_STREQ(parser.GetText(25), "third");
    // The result files go beside the input although no package folder exists.
    EXPECT_EQ(parser.m_sResult, dir.File("note.xml"));
    EXPECT_TRUE(FileExists(dir.File("note_Content.xml")));
}

TEST(PlainText, GbkTextIsConvertedToUtf8)
{
    std::string sGbk;
    Utf8ToGbk("中华人民共和国成立于一九四九年，首都是北京。这是一段用于识别编码的中文文本。", sGbk);
    std::string sEncoding;
    std::string sUtf8 = CTextDecoder::ToUtf8(sGbk, &sEncoding);
    EXPECT_NE(sEncoding, "UTF-8");
    EXPECT_EQ(sUtf8, "中华人民共和国成立于一九四九年，首都是北京。这是一段用于识别编码的中文文本。");
    EXPECT_EQ(CTextDecoder::ToUtf8("\xEF\xBB\xBFplain"), "plain");

    CDocxParser parser;
    ASSERT_EQ(parser.ImportMemory(sGbk.c_str(), 0, 0, false), 1);
    ASSERT_EQ(parser.Model().Paragraphs().size(), 1u);
    EXPECT_EQ(parser.Model().Paragraphs()[0].text, sUtf8);
    EXPECT_EQ(parser.m_sResult.compare(0, 14, "korvexCheckMem"), 0);
    std::string sFirst = parser.m_sResult;
    std::remove(parser.OutputPath("_Content.xml").c_str());
    ASSERT_EQ(parser.ImportMemory("x", 0, 0, false), 1);
    EXPECT_NE(parser.m_sResult, sFirst);  // two texts in one second never share files
    std::remove(parser.OutputPath("_Content.xml").c_str());
}

TEST(HtmlInput, MarkupIsStrippedAndTheTextImported)
{
    EXPECT_EQ(vHtmlToText("<html><head><title>T</title><style>p{}</style></head><body>"
                          "<p>甲&amp;乙&#x4E19;</p><!-- c --><script>x()</script>"
                          "<table><tr><td>a</td><td>b</td></tr></table>line<br>next</body></html>"),
              "甲&乙丙\na b\nline\nnext\n");
    EXPECT_EQ(HtmlDeclaredCharset("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"), "gb2312");

    CTempDir dir;
    std::string sGbk;
    Utf8ToGbk("<html><head><meta charset=\"gbk\"></head><body><p>第一章 绪论</p><p>正文</p></body></html>", sGbk);
    ASSERT_TRUE(WriteTestFile(dir.File("page.htm"), sGbk));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("page.htm").c_str(), "", 0, 0), 1);
    EXPECT_EQ(BodyTexts(parser), "第一章 绪论|正文");
    EXPECT_FALSE(FileExists(dir.File("page.txt")));  // the text is imported from memory
    EXPECT_TRUE(FileExists(dir.File("page.xml")));
}

TEST(OtherFormats, PdfThroughPdftotext)
{
    if (CExternalProgram::Find("pdftotext").empty())
        GTEST_SKIP() << "pdftotext is not installed";
    // A minimal one-page PDF showing "Hello PDF".
    std::string sStream = "BT /F1 24 Tf 72 700 Td (Hello PDF) Tj ET";
    std::vector<std::string> vecObjects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(sStream.size()) + " >>\nstream\n" + sStream + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string sPdf = "%PDF-1.4\n";
    std::vector<size_t> vecOffsets;
    for (size_t i = 0; i < vecObjects.size(); ++i) {
        vecOffsets.push_back(sPdf.size());
        sPdf += std::to_string(i + 1) + " 0 obj\n" + vecObjects[i] + "\nendobj\n";
    }
    size_t nXref = sPdf.size();
    sPdf += "xref\n0 6\n0000000000 65535 f \n";
    for (size_t nOffset : vecOffsets) {
        char sLine[32];
        std::snprintf(sLine, sizeof sLine, "%010zu 00000 n \n", nOffset);
        sPdf += sLine;
    }
    sPdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(nXref) + "\n%%EOF\n";
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("paper.pdf"), sPdf));
    CDocxParser parser;
    ASSERT_EQ(parser.ImportFile(dir.File("paper.pdf").c_str(), "", 0, 0), 1) << g_sLastErrorMessage;
    EXPECT_NE(BodyTexts(parser).find("Hello PDF"), std::string::npos);
    EXPECT_EQ(parser.m_sDocFormatExt, "pdf");
    EXPECT_FALSE(FileExists(dir.File("paper.txt")));

    ASSERT_TRUE(WriteTestFile(dir.File("broken.pdf"), "%PDF-1.4 nothing"));
    EXPECT_EQ(parser.ImportFile(dir.File("broken.pdf").c_str(), "", 0, 0), -1);
    EXPECT_FALSE(FileExists(dir.File("broken.txt")));
}

TEST(OtherFormats, WordProcessorFilesThroughLibreOffice)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTestFile(dir.File("old.rtf"), "{\\rtf1\\ansi {\\fonttbl\\f0 Times;}\\f0 Hello RTF\\par Second\\par}"));
    CDocxParser parser;
    int nResult = parser.ImportFile(dir.File("old.rtf").c_str(), "", 0, 0);
    if (CExternalProgram::Find("soffice").empty() && CExternalProgram::Find("libreoffice").empty()) {
        EXPECT_EQ(nResult, -1);
        EXPECT_NE(g_sLastErrorMessage.find("libreoffice-writer"), std::string::npos) << g_sLastErrorMessage;
        EXPECT_FALSE(FileExists(dir.File("old.xml")));
    } else {
        // Converted in a private folder, then parsed as a package: no
        // .docx is left beside the input.
        ASSERT_EQ(nResult, 1) << g_sLastErrorMessage;
        EXPECT_FALSE(FileExists(dir.File("old.docx")));
        EXPECT_TRUE(FileExists(dir.File("old.xml")));
        EXPECT_NE(BodyTexts(parser).find("Hello RTF"), std::string::npos);
        EXPECT_EQ(parser.m_sDocFormatExt, "rtf");
    }
    EXPECT_EQ(parser.ImportFile(dir.File("sheet.xlsx").c_str(), "", 0, 0), -3);
    EXPECT_EQ(parser.ImportFile(dir.File("scan.png").c_str(), "", 0, 0), -1);
    EXPECT_EQ(parser.ImportFile(dir.File("absent.txt").c_str(), "", 0, 0), -3);
}

TEST(OutsidePrograms, MissingFailingAndSlowPrograms)
{
    std::string sError;
    EXPECT_EQ(CExternalProgram::Run({"veskar-no-such-program"}, 5, sError), -1);
    EXPECT_NE(sError.find("is not installed"), std::string::npos);
    EXPECT_EQ(CExternalProgram::Run({"true"}, 5, sError), 0);
    EXPECT_EQ(CExternalProgram::Run({"false"}, 5, sError), -1);
    EXPECT_NE(sError.find("exit status 1"), std::string::npos);
    EXPECT_EQ(CExternalProgram::Run({"sleep", "30"}, 1, sError), -1);
    EXPECT_NE(sError.find("did not finish within 1 seconds"), std::string::npos);
    // Arguments are passed as they are, never through a shell.
    EXPECT_EQ(CExternalProgram::Run({"test", "a;b", "=", "a;b"}, 5, sError), 0);
}
