// Tracked revision: text corrections as tracked deletions and insertions
// that split runs at the right bytes and keep their properties, every
// other finding as a comment, and a package that python-docx and
// LibreOffice read; accepting every change gives the corrected text.
#include <regex>
#include <set>

#include "Convert/ExternalProgram.h"
#include "ReviseFixture.h"

namespace {

std::string R(const std::string& sText, const std::string& sRPr = "")
{
    return CDocxBuilder::Run(sText, sRPr);
}

std::string P(const std::string& sRuns, const std::string& sPPr = "")
{
    return "<w:p w:rsidR=\"00AB12CD\">" + (sPPr.empty() ? "" : "<w:pPr>" + sPPr + "</w:pPr>") + sRuns + "</w:p>";
}

// The text once every change is accepted (bAccept) or rejected.
std::string Resolved(std::string sXml, bool bAccept)
{
    if (bAccept)
        return CReviseTest::Texts(std::regex_replace(sXml, std::regex("<w:del [^>]*>.*?</w:del>"), ""));
    sXml = std::regex_replace(sXml, std::regex("<w:ins [^>]*>.*?</w:ins>"), "");
    return CReviseTest::Texts(std::regex_replace(sXml, std::regex("(</?w:)delText"), "$1t"));
}

size_t Count(const std::string& sText, const std::string& sWhat)
{
    size_t nCount = 0;
    for (size_t nPos = sText.find(sWhat); nPos != std::string::npos; nPos = sText.find(sWhat, nPos + 1))
        ++nCount;
    return nCount;
}

const char* const kPythonCheck =
    "import sys, docx\n"
    "from lxml import etree\n"
    "W = '{http://schemas.openxmlformats.org/wordprocessingml/2006/main}'\n"
    "d = docx.Document(sys.argv[1])\n"
    "texts = [''.join(p.xpath('.//w:t[not(ancestor::w:del)]/text()')) for p in d.element.body.iter(W + 'p')]\n"
    "parts = [x for x in d.part.package.iter_parts() if x.partname == '/word/comments.xml']\n"
    "n = len(etree.fromstring(parts[0].blob).findall(W + 'comment')) if parts else 0\n"
    "open(sys.argv[2], 'w', encoding='utf-8').write('|'.join(texts) + '\\n' + str(n) + '\\n')\n";

class CReviseTrackedTest : public CReviseTest {
protected:
    void BuildSample()
    {
        std::string sBody = P(R("这是") + R("错误的", "<w:b/>") + R("句子。")) +
                            P(R("面积为10m") + R("2", "<w:vertAlign w:val=\"superscript\"/>") + R("。")) +
                            P(R("多余的字字删除")) + P(R("插入位置")) +
                            P(R("字体待改", "<w:rFonts w:eastAsia=\"宋体\"/>"),
                              "<w:spacing w:line=\"400\" w:lineRule=\"auto\"/>");
        ASSERT_TRUE(Build(sBody, "论文 初稿", CompletePackageItems()));
        Add(ParaId("这是"), 3, FIELD_TEXT, REVISE_U, "是错误", "为正确");
        Add(ParaId("面积为"), 9, FIELD_TEXT, REVISE_U, "10m<superscript>2</superscript>",
            "20m<superscript>3</superscript>");
        Add(ParaId("多余的"), 12, FIELD_TEXT, REVISE_D, "字", "");
        Add(ParaId("插入位置"), 6, FIELD_TEXT, REVISE_I, "位置", "的");
        Add(ParaId("字体待改"), 0, FIELD_FONT, REVISE_U, "宋体", "黑体", "1.1.1");
        Add(ParaId("字体待改"), 0, FIELD_LINE_SPACE, REVISE_U, "20", "24", "1.1.3");
        Add(ParaId("字体待改"), 3, FIELD_TEXT, REVISE_U, "没有的字", "有的字");
        Add(0xFFFFFFFF, 0, FIELD_CONTENT, REVISE_M, "", "摘要", "12.1");
    }

    const std::string kAccepted = "这为正确的句子。|面积为20m3。|多余的字删除|插入的位置|字体待改";
    const std::string kOriginal = "这是错误的句子。|面积为10m2。|多余的字字删除|插入位置|字体待改";
};

}  // namespace

TEST_F(CReviseTrackedTest, CorrectionsAreTrackedChangesAndTheRestComments)
{
    BuildSample();
    std::string sRevised = Revise(true);
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    std::map<std::string, std::string> parts = Parts(sRevised);
    const std::string& sDoc = parts["word/document.xml"];
    EXPECT_EQ(XmlFault(sDoc), "");
    EXPECT_EQ(XmlFault(parts["word/comments.xml"]), "");
    EXPECT_EQ(Resolved(sDoc, true), kAccepted);
    EXPECT_EQ(Resolved(sDoc, false), kOriginal);
    EXPECT_EQ(Count(sDoc, "<w:del "), 5u);
    EXPECT_EQ(Count(sDoc, "<w:ins "), 3u);
    EXPECT_EQ(Count(sDoc, "w:author=\"veskar\""), 8u);
    // Split runs keep their properties; new raised text is raised.
    EXPECT_NE(sDoc.find("<w:r><w:rPr><w:b/></w:rPr><w:delText xml:space=\"preserve\">错误</w:delText>"), std::string::npos);
    EXPECT_NE(sDoc.find("<w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">的</w:t>"), std::string::npos);
    EXPECT_NE(sDoc.find("<w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:t xml:space=\"preserve\">3</w:t>"),
              std::string::npos);
    // Font, spacing, the text not found and the missing part are comments.
    EXPECT_EQ(Count(parts["word/comments.xml"], "<w:comment "), 4u);
    EXPECT_NE(parts["word/comments.xml"].find("字体：宋体 → 应为：黑体"), std::string::npos);
    EXPECT_NE(parts["word/comments.xml"].find("内容应为：摘要"), std::string::npos);
    EXPECT_EQ(Count(sDoc, "<w:commentReference "), 4u);
    EXPECT_LT(sDoc.find("<w:commentRangeStart "), sDoc.find("这"));  // the document's on its first paragraph
    EXPECT_NE(parts["word/_rels/document.xml.rels"].find("relationships/comments\" Target=\"comments.xml\""),
              std::string::npos);
    EXPECT_NE(parts["[Content_Types].xml"].find("PartName=\"/word/comments.xml\""), std::string::npos);
    // Every mark and comment has an id of its own.
    std::set<std::string> setIds;
    std::regex id("<w:(?:del|ins|commentRangeStart) w:id=\"([0-9]+)\"");
    size_t nMarks = 0;
    for (std::sregex_iterator it(sDoc.begin(), sDoc.end(), id), end; it != end; ++it, ++nMarks)
        setIds.insert((*it)[1].str());
    EXPECT_EQ(setIds.size(), nMarks);
    EXPECT_EQ(m_reviser.Report().nApplied, 4u);
    EXPECT_EQ(m_reviser.Report().nCommented, 2u);
    EXPECT_EQ(m_reviser.Report().nTextMissing, 1u);
    EXPECT_EQ(m_reviser.Report().nDocumentLevel, 1u);
}

TEST_F(CReviseTrackedTest, AnExistingCommentsPartIsExtended)
{
    auto vecItems = CompletePackageItems();
    vecItems[0].second.insert(vecItems[0].second.find("</Types>"),
                              "<Override PartName=\"/word/notes.xml\" ContentType=\"application/"
                              "vnd.openxmlformats-officedocument.wordprocessingml.comments+xml\"/>");
    vecItems[2].second.insert(vecItems[2].second.find("</Relationships>"),
                              "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                              "2006/relationships/comments\" Target=\"notes.xml\"/>");
    vecItems.emplace_back("word/notes.xml",
                          "<?xml version=\"1.0\"?><w:comments xmlns:w=\"http://schemas.openxmlformats.org/"
                          "wordprocessingml/2006/main\"><w:comment w:id=\"12\" w:author=\"甲\"><w:p><w:r><w:t>旧批注"
                          "</w:t></w:r></w:p></w:comment></w:comments>");
    std::string sBody = P("<w:commentRangeStart w:id=\"12\"/>" + R("有批注的段落") +
                          "<w:commentRangeEnd w:id=\"12\"/><w:r><w:commentReference w:id=\"12\"/></w:r>");
    ASSERT_TRUE(Build(sBody, "论文 初稿", vecItems));
    Add(ParaId("有批注"), 0, FIELD_FONTSIZE, REVISE_U, "小四", "四号", "1.1.2");
    std::string sRevised = Revise(true);
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    std::map<std::string, std::string> parts = Parts(sRevised);
    EXPECT_EQ(parts.count("word/comments.xml"), 0u);
    EXPECT_EQ(Count(parts["word/notes.xml"], "<w:comment "), 2u);
    EXPECT_NE(parts["word/notes.xml"].find("<w:comment w:id=\"13\""), std::string::npos);
    EXPECT_EQ(Count(parts["word/_rels/document.xml.rels"], "relationships/comments\""), 1u);
    EXPECT_EQ(Count(parts["[Content_Types].xml"], "comments+xml"), 1u);
}

TEST_F(CReviseTrackedTest, PythonDocxReadsTheAcceptedText)
{
    std::string sError;
    if (CExternalProgram::Run({"/usr/bin/python3", "-c", "import docx, lxml"}, 60, sError) != 0)
        GTEST_SKIP() << "python3-docx is not installed: " << sError;
    BuildSample();
    std::string sRevised = Revise(true);
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    std::string sScript = m_temp.File("check.py");
    std::string sOut = m_temp.File("check.txt");
    ASSERT_TRUE(WriteTestFile(sScript, kPythonCheck));
    ASSERT_EQ(CExternalProgram::Run({"/usr/bin/python3", sScript, sRevised, sOut}, 120, sError), 0) << sError;
    EXPECT_EQ(ReadTestFile(sOut), kAccepted + "\n4\n");
}

TEST_F(CReviseTrackedTest, LibreOfficeConvertsTheTrackedCopy)
{
    if (CExternalProgram::Find("soffice").empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    BuildSample();
    std::string sRevised = Revise(true);
    ASSERT_FALSE(sRevised.empty()) << g_sLastErrorMessage;
    CTempDir out;
    std::string sError;
    int nResult = CExternalProgram::Run({"soffice", "-env:UserInstallation=file://" + out.File("profile"),
                                         "--headless", "--convert-to", "pdf", "--outdir", out.Path(), sRevised},
                                        240, sError);
    ASSERT_EQ(nResult, 0) << sError;
    std::string sPdf = out.File(sRevised.substr(sRevised.rfind('/') + 1, sRevised.size() - sRevised.rfind('/') - 6) +
                                ".pdf");
    EXPECT_EQ(ReadTestFile(sPdf).compare(0, 5, "%PDF-"), 0) << sPdf;
}
