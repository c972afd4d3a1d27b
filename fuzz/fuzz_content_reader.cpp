// Fuzz target: reloading a saved document file and content file from
// arbitrary text, then writing the model out again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/ContentReader.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CDocxParser parser;
    CContentReader reader(parser);
    reader.InputXMLData(sText);
    reader.InputContentXML(sText);
    parser.GetXMLData();
    parser.GetJsonData(true);
    parser.GetContentXML();
    parser.GetText();
    for (const _tParagraph& para : parser.Model().Paragraphs())
        parser.GetText(para.id);
    return 0;
}
