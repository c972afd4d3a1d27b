// Outside converters run only when installed and always write beside the
// input; no folder is ever changed.
#include "Docx/FileImporter.h"

#include <algorithm>
#include <cctype>

#include "Convert/DocumentConverter.h"
#include "Convert/HtmlToText.h"
#include "Global/Globals.h"
#include "Docx/DocxParser.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

bool StartsWith(const std::string& sText, const char* sHead)
{
    return sText.compare(0, std::char_traits<char>::length(sHead), sHead) == 0;
}

std::string FolderOf(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of("/\\");
    return nSlash == std::string::npos ? "." : (nSlash == 0 ? "/" : sFile.substr(0, nSlash));
}

std::string BaseOf(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of("/\\");
    std::string sName = nSlash == std::string::npos ? sFile : sFile.substr(nSlash + 1);
    size_t nDot = sName.rfind('.');
    return nDot == std::string::npos ? sName : sName.substr(0, nDot);
}

bool IsPackageExtension(const std::string& sExt)
{
    return sExt == "docx" || sExt == "docm";
}

bool IsOfficeExtension(const std::string& sExt)
{
    return StartsWith(sExt, "doc") || StartsWith(sExt, "wps") || sExt == "rtf" || sExt == "odt";
}

}  // namespace

std::string CFileImporter::Extension(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of("/\\");
    size_t nDot = sFile.rfind('.');
    if (nDot == std::string::npos || (nSlash != std::string::npos && nDot < nSlash))
        return std::string();
    std::string sExt = sFile.substr(nDot + 1);
    std::transform(sExt.begin(), sExt.end(), sExt.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return sExt;
}

std::string CFileImporter::Doc2Docx(const std::string& sFile)
{
    std::string sExt = Extension(sFile);
    m_parser.m_sPath = FolderOf(sFile);
    m_parser.m_sFilename = BaseOf(sFile);
    if (!IsOfficeExtension(sExt)) {
        SetLastError(sFile + " is invalid docx file.");
        return std::string();
    }
    // A package is read under its own name, whatever the case of its extension.
    if (IsPackageExtension(sExt)) {
        m_parser.m_sResult = sFile;
        return sFile;
    }
    WriteLog("Start doc format conversion for file " + sFile, nullptr, false);
    std::string sDocx, sError;
    if (!CDocumentConverter::ToDocx(sFile, m_parser.m_sPath, sDocx, sError)) {
        SetLastError(sError);
        return std::string();
    }
    WriteLog("Ending doc format conversion to docx for file " + sFile, nullptr, false);
    m_parser.m_sResult = sDocx;
    return sDocx;
}

int CFileImporter::ImportAsDocx(const std::string& sFile, const char* sURLPrefix, int nReportType,
                                int nResultFormat)
{
    const char* sResult = m_parser.ImportDocx(sFile.c_str(), sURLPrefix, nReportType, nResultFormat);
    return (sResult && *sResult) ? 1 : -1;
}

int CFileImporter::ImportPlainText(const std::string& sTxt, int nReportType)
{
    int nResult = m_parser.ImportText(sTxt.c_str(), nReportType);
    if (nResult != 1)
        return nResult;
    return m_parser.GetXMLFile(m_parser.m_nResultFormat) ? 1 : -4;
}

int CFileImporter::ImportHtml(const std::string& sFile, const std::string& sTxt, int nReportType)
{
    std::string sHtml;
    if (!ReadWholeFile(sFile, sHtml, UINT64_C(256) << 20)) {
        SetLastError("Cannot open file " + sFile);
        return -3;
    }
    std::string sCharset = HtmlDeclaredCharset(sHtml);
    std::transform(sCharset.begin(), sCharset.end(), sCharset.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (StartsWith(sCharset, "gb")) {
        std::string sUtf8;
        GbkToUtf8(sHtml, sUtf8);
        sHtml.swap(sUtf8);
    }
    if (!WriteFileAtomic(sTxt, vHtmlToText(sHtml))) {
        SetLastError("Cannot write file " + sTxt);
        return -4;
    }
    return ImportPlainText(sTxt, nReportType);
}

int CFileImporter::ImportFile(const std::string& sInput, const char* sURLPrefix, int nReportType,
                              int nResultFormat)
{
    std::string sFile;
    GetAnsiFilename(sInput.c_str(), sFile, false);
    std::string sExt = Extension(sFile);
    std::string sFolder = FolderOf(sFile);
    std::string sBase = BaseOf(sFile);
    m_parser.m_sDocFormatExt = sExt;
    m_parser.m_nResultFormat = nResultFormat;
    m_parser.m_sURLPrefix = sURLPrefix ? sURLPrefix : "";
    std::string sError;
    if (sExt == "pdf") {
        std::string sTxt = JoinPath(sFolder, sBase + ".txt");
        WriteLog("Start doc format conversion for file " + sFile, nullptr, false);
        if (!CDocumentConverter::PdfToText(sFile, sTxt, sError)) {
            SetLastError(sError);
            return -1;
        }
        WriteLog("Ending doc format conversion to txt for file " + sFile, nullptr, false);
        return ImportPlainText(sTxt, nReportType);
    }
    if (sExt == "jpg" || sExt == "tif" || sExt == "png" || sExt == "bmp" || sExt == "ps") {
        SetLastError("Cannot open file " + sFile + ": pictures need character recognition, "
                     "which this system does not provide");
        return -1;
    }
    if (sExt == "tex") {
        std::string sDocx = sFile + ".docx";
        WriteLog("Start latex2docx conversion for file " + sFile, nullptr, false);
        if (!CDocumentConverter::TexToDocx(sFile, sDocx, sError)) {
            SetLastError(sError);
            return -1;
        }
        WriteLog("Ending latex2docx conversion to txt for file " + sFile, nullptr, false);
        return ImportAsDocx(sDocx, sURLPrefix, nReportType, nResultFormat);
    }
    if (IsOfficeExtension(sExt))
        return ImportAsDocx(sFile, sURLPrefix, nReportType, nResultFormat);
    if (sExt == "xml") {
        if (m_parser.LoadDocResult(sFile.c_str()) == 0) {
            SetLastError("Cannot open file " + sFile + ": " + g_sLastErrorMessage);
            return -2;
        }
        return 1;
    }
    if (StartsWith(sExt, "xls") || StartsWith(sExt, "ppt")) {
        SetLastError("Cannot open file " + sFile + ": spreadsheets and presentations are not supported");
        return -3;
    }
    if (StartsWith(sExt, "htm"))
        return ImportHtml(sFile, JoinPath(sFolder, sBase + ".txt"), nReportType);
    return ImportPlainText(sFile, nReportType);
}
