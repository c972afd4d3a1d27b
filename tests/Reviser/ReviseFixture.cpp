#include "ReviseFixture.h"

#include <cctype>
#include <dirent.h>
#include <regex>
#include <sys/stat.h>

#include "Docx/DocxPackage.h"
#include "Global/Globals.h"

CReviseTest::CReviseTest()
{
    m_catalogue.ImportFromBuffer("ErrId\tErrorMsg\tEachScore\tMaxScore\n"
                                 "1.1.1\t字体不符\t0.5\t8\n1.1.2\t字号不符\t0.5\t8\n1.1.3\t行距不符\t0.3\t5\n"
                                 "1.3.7\t级别不符\t1\t5\n1.5.2\t用词错误\t0.1\t3\n12.1\t缺少必备内容\t2\t10\n"
                                 "100.1\t修订说明\t0\t0\n100.2\t宋体\t0\t0\n");
    m_sizes.ImportFromBuffer("FontSizeName\tHalfPoints\n四号\t28\n小四\t24\n五号\t21\n");
    m_sFolder = m_temp.File("论文 目录");
    mkdir(m_sFolder.c_str(), 0777);
}

bool CReviseTest::Build(const std::string& sBody, const std::string& sName,
                        const std::vector<std::pair<std::string, std::string>>& vecItems)
{
    CDocxBuilder builder;
    builder.Body(sBody);
    for (const auto& item : vecItems)
        builder.Item(item.first, item.second);
    m_sDocx = m_sFolder + "/" + sName + ".docx";
    if (!builder.Write(m_sDocx) || m_parser.ReadDocx(m_sDocx) != 1)
        return false;
    return m_parser.ParseStruct(0, nullptr, true) == 1;
}

uint32_t CReviseTest::ParaId(const std::string& sText) const
{
    for (const _tParagraph& para : m_parser.Model().Paragraphs()) {
        if (!para.IsPlaceholder() && para.text.find(sText) != std::string::npos)
            return para.id;
    }
    std::vector<_tParagraph> vecAll;
    m_parser.GetAllParagraph(vecAll);
    for (const _tParagraph& para : vecAll) {
        if (para.text.find(sText) != std::string::npos)
            return para.id;
    }
    return 0;
}

void CReviseTest::Add(uint32_t nPara, uint32_t nOffset, int nField, int nRevise, const std::string& sOrg,
                      const std::string& sNew, const char* sCode)
{
    _tCheckResult record;
    record.para_id = nPara;
    record.offset = nOffset;
    record.field_id = nField;
    record.revise_type = nRevise;
    record.org_str = sOrg;
    record.new_str = sNew;
    record.error_id = sCode;
    m_result.AddResult(record);
}

std::string CReviseTest::WriteResult()
{
    m_sResult = m_parser.OutputPath("_Check.xml");
    std::string sXml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<VESKAR>\n" +
                       std::string(m_result.GetResult(m_parser.m_sPath.c_str(), m_parser.m_sFilename.c_str(), 0,
                                                      "", &m_parser)) +
                       "</VESKAR>\n";
    EXPECT_TRUE(WriteTestFile(m_sResult, sXml));
    return m_sResult;
}

std::string CReviseTest::Revise(bool bTracked)
{
    WriteResult();
    return bTracked ? m_reviser.ReviseTracked(m_sResult.c_str()) : m_reviser.Revise(m_sResult.c_str());
}

std::map<std::string, std::string> CReviseTest::Parts(const std::string& sDocx)
{
    CTempDir dir;
    CDocxPackage package;
    if (package.Unpack(sDocx, dir.File("x"), [](const std::string&) { return true; }) != CDocxPackage::UNPACK_OK)
        return {};
    return package.TakeKept();
}

std::string CReviseTest::Texts(const std::string& sDocumentXml)
{
    static const std::regex kText("<w:t(?: [^>]*)?>([^<]*)</w:t>");
    std::string sOut;
    size_t nFrom = sDocumentXml.find("<w:body>");
    for (size_t nEnd; nFrom != std::string::npos && (nEnd = sDocumentXml.find("</w:p>", nFrom)) != std::string::npos;
         nFrom = nEnd + 6) {
        std::string sPara = sDocumentXml.substr(nFrom, nEnd - nFrom);
        std::string sText;
        for (std::sregex_iterator it(sPara.begin(), sPara.end(), kText), end; it != end; ++it)
            sText += (*it)[1].str();
        sOut += (sOut.empty() ? "" : "|") + sText;
    }
    return sOut;
}

std::vector<std::string> CReviseTest::FolderNames(const std::string& sFolder)
{
    std::vector<std::string> vecNames;
    DIR* pDir = opendir(sFolder.c_str());
    for (dirent* pEntry; pDir && (pEntry = readdir(pDir));) {
        std::string sName = pEntry->d_name;
        if (sName != "." && sName != "..")
            vecNames.push_back(sName);
    }
    if (pDir)
        closedir(pDir);
    return vecNames;
}

namespace {

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '_' || c == '-' || c == '.';
}

// Reads the attributes of a tag from nPos to its ">" or "/>"; false on a fault.
bool ReadAttributes(const std::string& sXml, size_t& nPos)
{
    while (nPos < sXml.size()) {
        size_t nStart = nPos;
        while (nPos < sXml.size() && std::isspace(static_cast<unsigned char>(sXml[nPos])))
            ++nPos;
        if (sXml.compare(nPos, 1, ">") == 0 || sXml.compare(nPos, 2, "/>") == 0)
            return true;
        if (nPos == nStart || !IsNameChar(sXml[nPos]))
            return false;
        while (nPos < sXml.size() && IsNameChar(sXml[nPos]))
            ++nPos;
        if (sXml.compare(nPos, 2, "=\"") != 0)
            return false;
        size_t nQuote = sXml.find('"', nPos + 2);
        if (nQuote == std::string::npos || sXml.find('<', nPos + 2) < nQuote)
            return false;
        nPos = nQuote + 1;
    }
    return false;
}

}  // namespace

std::string CReviseTest::XmlFault(const std::string& sXml)
{
    std::vector<std::string> vecOpen;
    for (size_t nPos = sXml.find('<'); nPos != std::string::npos; nPos = sXml.find('<', nPos)) {
        if (sXml.compare(nPos, 2, "<?") == 0 || sXml.compare(nPos, 2, "<!") == 0) {
            nPos = sXml.find('>', nPos);
            continue;
        }
        bool bClose = sXml.compare(nPos, 2, "</") == 0;
        size_t nName = nPos + (bClose ? 2 : 1);
        size_t nEnd = nName;
        while (nEnd < sXml.size() && IsNameChar(sXml[nEnd]))
            ++nEnd;
        std::string sName = sXml.substr(nName, nEnd - nName);
        if (sName.empty() || (!bClose && !ReadAttributes(sXml, nEnd)) || nEnd >= sXml.size())
            return "bad tag at " + std::to_string(nPos) + ": " + sXml.substr(nPos, 80);
        if (bClose) {
            if (vecOpen.empty() || vecOpen.back() != sName)
                return "</" + sName + "> closes " + (vecOpen.empty() ? "nothing" : vecOpen.back()) + " at " +
                       std::to_string(nPos);
            vecOpen.pop_back();
        } else if (sXml[nEnd] == '>') {
            vecOpen.push_back(sName);
        }
        nPos = sXml.find('>', nEnd);
    }
    return vecOpen.empty() ? "" : "unclosed " + vecOpen.back();
}

std::string CReviseTest::RevisedDocument(const std::string& sDocx)
{
    std::string sXml = Parts(sDocx)["word/document.xml"];
    EXPECT_EQ(XmlFault(sXml), "");
    return sXml;
}

std::vector<std::pair<std::string, std::string>> CompletePackageItems()
{
    const std::string sRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    return {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
         "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
         "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + sRel + "officeDocument\" Target=\"word/document.xml\"/>"
         "</Relationships>"},
        {"word/_rels/document.xml.rels",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + sRel + "styles\" Target=\"styles.xml\"/></Relationships>"},
        {"word/styles.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
         "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"a\"><w:name w:val=\"Normal\"/></w:style>"
         "</w:styles>"},
    };
}
