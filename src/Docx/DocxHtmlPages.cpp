// The HTML pages of a document: its export written and read, labelled with
// the paragraph ids, cut into pages, and the page files with their pager.
// A page file or export of the user's own is never replaced.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "Convert/DocxHtmlExport.h"
#include "Convert/HtmlEscape.h"
#include "Docx/DocxPackage.h"
#include "Docx/DocxParser.h"
#include "Docx/HtmlAssets.h"
#include "Docx/HtmlLabeler.h"
#include "Docx/HtmlPager.h"
#include "Utility/CallContext.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

constexpr uint64_t kMaxHtmlBytes = UINT64_C(512) << 20;
const std::string kBom = "\xEF\xBB\xBF";
// How far into a page its charset declaration may stand.
constexpr size_t kCharsetWindow = 8192;

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of the first "charset=" of the page's head: its place and length.
bool FindCharset(const std::string& sHtml, size_t& nValue, size_t& nLength)
{
    static const std::string_view kName = "charset=";
    size_t nLimit = std::min(sHtml.size(), kCharsetWindow);
    for (size_t i = 0; i + kName.size() <= nLimit; ++i) {
        size_t k = 0;
        while (k < kName.size() && Lower(sHtml[i + k]) == kName[k])
            ++k;
        if (k < kName.size())
            continue;
        nValue = i + kName.size();
        if (nValue < sHtml.size() && (sHtml[nValue] == '"' || sHtml[nValue] == '\''))
            ++nValue;
        nLength = 0;
        while (nValue + nLength < sHtml.size() &&
               (std::isalnum(static_cast<unsigned char>(sHtml[nValue + nLength])) || sHtml[nValue + nLength] == '-' ||
                sHtml[nValue + nLength] == '_'))
            ++nLength;
        return true;
    }
    return false;
}

// The page as UTF-8: a word processor's export in GBK (gb2312, gbk,
// gb18030) is converted and declares UTF-8 after; any other page is taken
// as it is.
void ToUtf8Page(std::string& sHtml)
{
    if (sHtml.compare(0, kBom.size(), kBom) == 0)
        sHtml.erase(0, kBom.size());
    size_t nValue = 0, nLength = 0;
    if (!FindCharset(sHtml, nValue, nLength) || nLength < 2 || Lower(sHtml[nValue]) != 'g' ||
        Lower(sHtml[nValue + 1]) != 'b')
        return;
    std::string sUtf8;
    GbkToUtf8(sHtml, sUtf8);  // bytes GBK cannot decode are dropped
    sHtml.swap(sUtf8);
    if (FindCharset(sHtml, nValue, nLength))
        sHtml.replace(nValue, nLength, "utf-8");
}

// The first family of a CSS font-family value, without its quotes.
std::string FirstFamily(std::string_view sValue)
{
    size_t nStart = sValue.find_first_not_of(' ');
    if (nStart == std::string_view::npos)
        return std::string();
    sValue.remove_prefix(nStart);
    for (std::string_view sQuote : {std::string_view("&quot;"), std::string_view("\"")}) {
        if (sValue.compare(0, sQuote.size(), sQuote) != 0)
            continue;
        size_t nEnd = sValue.find(sQuote, sQuote.size());
        return std::string(sValue.substr(sQuote.size(), nEnd == std::string_view::npos ? nEnd : nEnd - sQuote.size()));
    }
    return std::string(sValue.substr(0, sValue.find_first_of(",;'\">")));
}

// Messages of the export step go to the log, and to a terminal when one
// watches the parse.
void Announce(const std::string& sMessage)
{
    WriteLog(sMessage, nullptr, false);
    if (CCallContext::Current().bShowProgress && isatty(STDOUT_FILENO))
        std::printf("%s\r\n", sMessage.c_str());
}

}  // namespace

void CDocxParser::ClearHtmlPages()
{
    m_sHtmlText.clear();
    m_sHtmlPrefix.clear();
    m_vecHtmlText.clear();
    m_model.SetPageParaIDs({});
    NumberPages();
}

int CDocxParser::ReuildHtml(const char* sURLPrefix)
{
    m_sURLPrefix = sURLPrefix ? sURLPrefix : "";
    std::string sName = m_sFilename + ".docx";
    Announce("Start generate html from docx file " + sName);
    // The body as the model was read from it: in memory during a parse,
    // else from the unpacked package (the looks of runs come from it).
    std::string sXml;
    std::string_view sDocXml;
    if (m_pTextStart)
        sDocXml = *m_pTextStart;
    else if (ReadWholeFile(m_sPath + "/word/document.xml", sXml, CDocxPackage::MAX_UNPACKED_BYTES))
        sDocXml = sXml;
    CDocxHtmlExport exporter(*this);
    int nWritten = exporter.Write(sDocXml);
    if (nWritten == 0)
        WriteLog("The HTML export " + exporter.Path() + " is not ours and is read as it is", nullptr, false);
    else if (nWritten < 0)
        WriteError("Failed writing file " + exporter.Path());
    Announce("Ending generate html from docx file " + sName);
    return GenerateDocHtm(m_sURLPrefix.c_str()) == 1 ? 1 : -1;
}

int CDocxParser::GenerateDocHtm(const char* sURLPrefix)
{
    std::string sPath = OutputPath(".htm");
    std::string sHtml;
    if (!ReadWholeFile(sPath, sHtml, kMaxHtmlBytes)) {
        ClearHtmlPages();
        SetLastError("Failed Read File " + sPath);
        return -1;
    }
    ToUtf8Page(sHtml);
    m_sHtmlText.swap(sHtml);
    LabelHtml(sURLPrefix);
    PageSegment();
    return 1;
}

void CDocxParser::LabelHtml(const char* sURLPrefix)
{
    CHtmlLabeler labeler(m_model, CCallContext::Current().bShowProgress);
    m_sHtmlText = labeler.Label(m_sHtmlText, CHtmlPager::BodyStart(m_sHtmlText));
    m_nParaIndex = static_cast<int>(labeler.ParaCursor());
    m_nTableIndex = static_cast<int>(labeler.TableCursor());
    CHtmlLabeler::InsertUrlPrefix(m_sHtmlText, sURLPrefix ? sURLPrefix : "");
}

void CDocxParser::PageSegment()
{
    CHtmlPager::CutComments(m_sHtmlText);
    std::string_view sHtml(m_sHtmlText);
    size_t nBody = CHtmlPager::BodyStart(sHtml);
    size_t nBodyEnd = CHtmlPager::BodyEnd(sHtml, nBody);
    m_sHtmlPrefix = CHtmlPager::PagePrefix(sHtml, nBody);
    m_vecHtmlText.clear();
    std::vector<uint32_t> vecIds;
    for (const auto& section : CHtmlPager::Sections(sHtml, nBody, nBodyEnd)) {
        std::string_view sText = sHtml.substr(section.first, section.second - section.first);
        uint32_t nId = 0;
        if (!CHtmlPager::FirstLabel(sText, nId) || nId == 0 || (!vecIds.empty() && nId < vecIds.back())) {
            // A section that cannot be found by a paragraph id: the rest of
            // the body is one last page.
            m_vecHtmlText.emplace_back(sHtml.substr(section.first, nBodyEnd - section.first));
            break;
        }
        if (sText.size() > CHtmlPager::LONG_SECTION) {
            AppendPieces(sText, vecIds);
        } else {
            m_vecHtmlText.emplace_back(sText);
            vecIds.push_back(nId);
        }
    }
    m_model.SetPageParaIDs(std::move(vecIds));
    NumberPages();
}

void CDocxParser::PageFurtherSegment(const std::string& sText)
{
    std::vector<uint32_t> vecIds = m_model.PageParaIDs();
    AppendPieces(sText, vecIds);
    m_model.SetPageParaIDs(std::move(vecIds));
}

void CDocxParser::AppendPieces(std::string_view sSection, std::vector<uint32_t>& vecIds)
{
    std::string sPending;
    for (std::string_view sPiece : CHtmlPager::FurtherSegment(sSection))
        AppendPage(sPiece, vecIds, sPending);
    if (sPending.empty())
        return;
    if (m_vecHtmlText.empty())
        m_vecHtmlText.push_back(std::move(sPending));
    else
        m_vecHtmlText.back() += sPending;
}

void CDocxParser::AppendPage(std::string_view sText, std::vector<uint32_t>& vecIds, std::string& sPending)
{
    // A piece without a label of its own (what stood before a table cut
    // out with its caption) goes with the next piece.
    sPending.append(sText.data(), sText.size());
    uint32_t nId = 0;
    if (!CHtmlPager::FirstLabel(sPending, nId) || nId == 0 || (!vecIds.empty() && nId <= vecIds.back()))
        return;
    m_vecHtmlText.push_back(std::move(sPending));
    sPending.clear();
    vecIds.push_back(nId);
}

void CDocxParser::NumberPages()
{
    // A paragraph is on the last page whose first paragraph it has reached;
    // placeholders stand where their table or picture stands.
    const std::vector<uint32_t>& vecIds = m_model.PageParaIDs();
    size_t nCount = m_model.Paragraphs().size();
    std::vector<int> vecPages(nCount, 0);
    size_t nPage = 0;
    uint32_t nPosition = 0;
    for (size_t i = 0; i < nCount; ++i) {
        nPosition = CHtmlLabeler::EntryPosition(m_model, i, nPosition);
        while (nPage + 1 < vecIds.size() && nPosition >= vecIds[nPage + 1])
            ++nPage;
        vecPages[i] = static_cast<int>(nPage);
    }
    m_model.SetPageNumbers(vecPages);
}

const char* CDocxParser::OutputHtmlPages()
{
    if (m_vecHtmlText.empty())
        return nullptr;
    CHtmlAssets::WriteBeside(CHtmlAssets::SourceFolder(), DirName(OutputPath("_0.htm")));
    std::string sFirst;
    for (size_t n = 0; n < m_vecHtmlText.size(); ++n) {
        const char* sPath = OutputHtmlOnePage(static_cast<int>(n));
        if (!sPath)
            return nullptr;
        if (n == 0)
            sFirst = sPath;
    }
    m_sResult = sFirst;
    return m_sResult.c_str();
}

const char* CDocxParser::OutputHtmlOnePage(int n)
{
    if (n < 0) {
        SetLastError("No HTML page " + std::to_string(n));
        return nullptr;
    }
    size_t nPage = static_cast<size_t>(n);
    if (nPage >= m_vecHtmlText.size())
        return OutputHtmlFile();
    std::string sPath = OutputPath("_" + std::to_string(n) + ".htm");
    std::string sPage = kBom + m_sHtmlPrefix + m_vecHtmlText[nPage] +
                        CHtmlPager::Pager(nPage, m_vecHtmlText.size(), LocalToUtf8(m_sFilename)) +
                        "</body>\r\n</html>\r\n";
    if (!MayReplaceFile(sPath, CHtmlPager::PAGE_MARKER) || !WriteFileAtomic(sPath, sPage)) {
        SetLastError("Failed writing file " + sPath);
        return nullptr;
    }
    m_sResult = sPath;
    return m_sResult.c_str();
}

const char* CDocxParser::OutputHtmlFile()
{
    std::string sPath = OutputPath(".htm");
    if (!MayReplaceFile(sPath, CDocxHtmlExport::MARKER) || !WriteFileAtomic(sPath, kBom + m_sHtmlText)) {
        SetLastError("Failed writing file " + sPath);
        return nullptr;
    }
    m_sResult = sPath;
    return m_sResult.c_str();
}

int CDocxParser::InputHtmlFile()
{
    std::string sPath = OutputPath(".htm");
    std::string sHtml;
    if (!ReadWholeFile(sPath, sHtml, kMaxHtmlBytes)) {
        SetLastError("Failed reading file " + sPath);
        return -1;
    }
    ToUtf8Page(sHtml);
    m_sHtmlText.swap(sHtml);
    return 1;
}

void CDocxParser::ReloadHtmlPages()
{
    // The saved page ids and page numbers stand; the pages themselves are
    // cut again by ReuildHtml or GenerateDocHtm when they are wanted.
    InputHtmlFile();
}

bool CDocxParser::GetHtmlFont(std::string_view sElement, std::string& sFont, double& dSizePt)
{
    // "font-family:" itself, not "mso-ascii-font-family:".
    auto find = [&](std::string_view sName) {
        for (size_t nPos = sElement.find(sName); nPos != std::string_view::npos; nPos = sElement.find(sName, nPos + 1)) {
            if (nPos == 0 || sElement[nPos - 1] != '-')
                return nPos + sName.size();
        }
        return std::string_view::npos;
    };
    sFont.clear();
    dSizePt = 0;
    size_t nFamily = find("font-family:");
    if (nFamily != std::string_view::npos) {
        sFont = FirstFamily(sElement.substr(nFamily));
        m_sLastFont = sFont;
    }
    size_t nSize = find("font-size:");
    if (nSize != std::string_view::npos) {
        std::string sNumber(sElement.substr(nSize, 16));
        char* pEnd = nullptr;
        dSizePt = std::strtod(sNumber.c_str(), &pEnd);
        if (pEnd && std::string_view(pEnd).substr(0, 2) == "px")
            dSizePt *= 0.75;
    }
    return !sFont.empty() || dSizePt > 0;
}

bool CDocxParser::WritePlainTextPage()
{
    std::string sPage =
        "<html>\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">\r\n"
        "<meta name=\"generator\" content=\"veskar pages\">\r\n</head>\r\n"
        "<body lang=ZH-CN style='tab-interval:21.0pt;text-justify-trim:punctuation'>\r\n";
    char sBuf[96];
    for (const _tParagraph& para : m_model.Paragraphs()) {
        bool bHeading = para.level >= DocLevel::TITLE1 && para.level <= DocLevel::TITLE3;
        if (bHeading)
            std::snprintf(sBuf, sizeof sBuf, "<h%d   name=\"%08X\" ><a name=\"%08X\"></a>", para.level, para.id, para.id);
        else
            std::snprintf(sBuf, sizeof sBuf, "<p   name=\"%08X\" ><a name=\"%08X\"></a>", para.id, para.id);
        sPage += sBuf;
        AppendHtmlText(sPage, para.text);
        if (bHeading)
            std::snprintf(sBuf, sizeof sBuf, "</h%d>\r\n", para.level);
        else
            std::snprintf(sBuf, sizeof sBuf, "</p>\r\n");
        sPage += sBuf;
    }
    sPage += "</body>\r\n</html>\r\n";
    std::string sPath = OutputPath("_0.htm");
    return MayReplaceFile(sPath, CHtmlPager::PAGE_MARKER) && WriteFileAtomic(sPath, sPage);
}
