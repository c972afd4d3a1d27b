// Converts input formats the parser cannot read itself: word-processor
// files to .docx (LibreOffice), PDF to text (pdftotext), LaTeX to .docx
// (pandoc). Each is used only when installed; otherwise the error names the
// Debian package to install.
#pragma once

#include <string>

class CDocumentConverter {
public:
    // Time limits in seconds; a converter still running then is stopped.
    static constexpr int OFFICE_TIMEOUT = 300;
    static constexpr int PDF_TIMEOUT = 120;
    static constexpr int TEX_TIMEOUT = 120;

    // .doc, .wps, .rtf, .odt ... -> sOutDir/<base name>.docx (returned in
    // sDocx). False with sError set on failure.
    static bool ToDocx(const std::string& sFile, const std::string& sOutDir, std::string& sDocx,
                       std::string& sError);
    // .pdf -> UTF-8 text file sTxt.
    static bool PdfToText(const std::string& sFile, const std::string& sTxt, std::string& sError);
    // .tex -> sDocx.
    static bool TexToDocx(const std::string& sFile, const std::string& sDocx, std::string& sError);
};
