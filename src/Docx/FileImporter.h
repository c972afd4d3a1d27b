// Dispatches an input file on its extension: .docx read directly; .doc,
// .wps, .rtf, .odt (LibreOffice) and .tex (pandoc) converted to .docx;
// .pdf converted to text; .htm/.html stripped to text; .xml reloaded as a
// saved document; anything else read as plain text. Converters write only
// into a private folder of their own, never over a file of the user's.
#pragma once

#include <string>

class CDocxParser;
class CDocumentPlace;

class CFileImporter {
public:
    explicit CFileImporter(CDocxParser& parser) : m_parser(parser) {}

    // The results of CDocxParser::ImportFile.
    int ImportFile(const std::string& sFile, const char* sURLPrefix, int nReportType,
                   int nResultFormat);
    // The .docx to unpack for sFile ("" with the last error set on failure).
    // Sets the parser's m_sPath to the output folder and m_sFilename to the
    // document name; a converted .docx lies in the private folder named by
    // sPrivateFolder, which the caller removes.
    std::string Doc2Docx(const std::string& sFile, std::string& sPrivateFolder);

    // Lower-case extension of a file name ("" when none).
    static std::string Extension(const std::string& sFile);
    // True for the formats read through a .docx (.doc*, .wps*, .rtf, .odt, .tex).
    static bool IsDocxLike(const std::string& sExt);

private:
    int ImportAsDocx(const std::string& sFile, const char* sURLPrefix, int nReportType,
                     int nResultFormat);
    int ImportHtml(const std::string& sFile, const CDocumentPlace& place, int nReportType);
    int ImportPdf(const std::string& sFile, const CDocumentPlace& place, int nReportType);
    int ImportPlainText(const std::string& sText, const CDocumentPlace& place, int nReportType);

    CDocxParser& m_parser;
};
