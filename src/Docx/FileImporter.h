// Dispatches an input file on its extension: .docx read directly; .doc,
// .wps, .rtf, .odt converted to .docx beside it; .pdf and .tex converted;
// .htm/.html stripped to text; .xml reloaded as a saved document; anything
// else read as plain text.
#pragma once

#include <string>

class CDocxParser;

class CFileImporter {
public:
    explicit CFileImporter(CDocxParser& parser) : m_parser(parser) {}

    // The results of CDocxParser::ImportFile.
    int ImportFile(const std::string& sFile, const char* sURLPrefix, int nReportType,
                   int nResultFormat);
    // The .docx to unpack for sFile ("" with the last error set on failure).
    std::string Doc2Docx(const std::string& sFile);

    // Lower-case extension of a file name ("" when none).
    static std::string Extension(const std::string& sFile);

private:
    int ImportAsDocx(const std::string& sFile, const char* sURLPrefix, int nReportType,
                     int nResultFormat);
    int ImportHtml(const std::string& sFile, const std::string& sTxt, int nReportType);
    int ImportPlainText(const std::string& sTxt, int nReportType);

    CDocxParser& m_parser;
};
