// Fuzz target: the body scanner and the structure pass on arbitrary
// document.xml text. Nothing may crash, hang or read past the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/BodyScanner.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CDocxParser parser;
    CBodyScanner scanner(parser, sText);
    size_t nBody = sText.find("<w:body>");
    scanner.ScanBody(nBody == std::string::npos ? 0 : nBody + 8, sText.size(), false);
    g_bOCR = nSize % 2 == 1;
    if (g_bOCR)
        parser.RebuildParagraph();
    g_bOCR = false;
    parser.BuildContent();
    parser.m_nReportType = 3 + static_cast<int>(nSize % 3);
    parser.ParseSection();
    parser.GetText();
    parser.GetXMLData();
    return 0;
}
