// Outside converters run only when installed and write into private
// folders inside the output folder; no folder is ever changed.
#include "Docx/FileImporter.h"

#include <algorithm>
#include <cctype>

#include "Convert/DocumentConverter.h"
#include "Convert/HtmlToText.h"
#include "Docx/DocumentPlace.h"
#include "Docx/DocxPackage.h"
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

bool CFileImporter::IsDocxLike(const std::string& sExt)
{
    return IsOfficeExtension(sExt) || sExt == "tex";
}

std::string CFileImporter::Doc2Docx(const std::string& sFile, std::string& sPrivateFolder)
{
    sPrivateFolder.clear();
    std::string sExt = Extension(sFile);
    CDocumentPlace place = CDocumentPlace::For(sFile);
    m_parser.m_sPath = place.sFolder;
    m_parser.m_sFilename = place.sName;
    if (!IsDocxLike(sExt)) {
        SetLastError(sFile + " is invalid docx file.");
        return std::string();
    }
    // A package is read under its own name, whatever the case of its extension.
    if (IsPackageExtension(sExt)) {
        m_parser.m_sResult = sFile;
        return sFile;
    }
    // The converter writes into a folder of its own: a .docx of the user's
    // beside the input is never replaced, and two inputs never share one.
    sPrivateFolder = place.MakePrivateFolder();
    if (sPrivateFolder.empty()) {
        SetLastError("Cannot convert " + sFile + ": the folder " + place.sFolder + " cannot be written");
        return std::string();
    }
    bool bTex = sExt == "tex";
    WriteLog(std::string(bTex ? "Start latex2docx conversion for file " : "Start doc format conversion for file ") +
                 sFile, nullptr, false);
    std::string sDocx = JoinPath(sPrivateFolder, place.sName + ".docx");
    std::string sError;
    bool bDone = bTex ? CDocumentConverter::TexToDocx(sFile, sDocx, sError)
                      : CDocumentConverter::ToDocx(sFile, sPrivateFolder, sDocx, sError);
    if (!bDone) {
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

int CFileImporter::ImportPlainText(const std::string& sText, const CDocumentPlace& place, int nReportType)
{
    // A text has no package folder: its outputs are named from this path.
    m_parser.m_sFilename = place.sName;
    m_parser.m_sPath = JoinPath(place.sFolder, place.sName);
    int nResult = m_parser.ImportMemory(sText.c_str(), nReportType, m_parser.m_nResultFormat, true);
    if (nResult != 1)
        return nResult;
    return m_parser.GetXMLFile(m_parser.m_nResultFormat) ? 1 : -4;
}

int CFileImporter::ImportHtml(const std::string& sFile, const CDocumentPlace& place, int nReportType)
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
    // The stripped text is imported from memory: no text file is written
    // beside the page, where one of the user's might lie.
    return ImportPlainText(vHtmlToText(sHtml), place, nReportType);
}

int CFileImporter::ImportPdf(const std::string& sFile, const CDocumentPlace& place, int nReportType)
{
    std::string sPrivate = place.MakePrivateFolder();
    if (sPrivate.empty()) {
        SetLastError("Cannot write file into " + place.sFolder);
        return -4;
    }
    std::string sTxt = JoinPath(sPrivate, place.sName + ".txt");
    std::string sError, sText;
    WriteLog("Start doc format conversion for file " + sFile, nullptr, false);
    bool bDone = CDocumentConverter::PdfToText(sFile, sTxt, sError);
    if (bDone)
        bDone = ReadWholeFile(sTxt, sText, UINT64_C(256) << 20);
    CDocxPackage::RemoveFolder(sPrivate);
    if (!bDone) {
        SetLastError(sError.empty() ? "Cannot open file " + sTxt : sError);
        return -1;
    }
    WriteLog("Ending doc format conversion to txt for file " + sFile, nullptr, false);
    return ImportPlainText(sText, place, nReportType);
}

int CFileImporter::ImportFile(const std::string& sInput, const char* sURLPrefix, int nReportType,
                              int nResultFormat)
{
    std::string sFile;
    GetAnsiFilename(sInput.c_str(), sFile, false);
    std::string sExt = Extension(sFile);
    m_parser.m_sDocFormatExt = sExt;
    m_parser.m_nResultFormat = nResultFormat;
    m_parser.m_sURLPrefix = sURLPrefix ? sURLPrefix : "";
    if (sExt == "jpg" || sExt == "tif" || sExt == "png" || sExt == "bmp" || sExt == "ps") {
        SetLastError("Cannot open file " + sFile + ": pictures need character recognition, "
                     "which this system does not provide");
        return -1;
    }
    if (IsDocxLike(sExt))
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
    CDocumentPlace place = CDocumentPlace::For(sFile);
    if (!place.MakeFolder()) {
        SetLastError("Cannot write file into " + place.sFolder);
        return -4;
    }
    if (sExt == "pdf")
        return ImportPdf(sFile, place, nReportType);
    if (StartsWith(sExt, "htm"))
        return ImportHtml(sFile, place, nReportType);
    std::string sText;
    if (!ReadWholeFile(sFile, sText, UINT64_C(256) << 20)) {
        SetLastError("Cannot open file " + sFile);
        return -3;
    }
    return ImportPlainText(sText, place, nReportType);
}
