// Fuzz target: the tag walk, the one-pass paragraph reader, the body
// scanner and the structure pass on arbitrary document.xml text. Nothing
// may crash, hang or read past the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/BodyScanner.h"
#include "Docx/DocxParser.h"
#include "Docx/ParagraphTagReader.h"
#include "Docx/TagTokenizer.h"
#include "Global/Globals.h"

namespace {

// Every tag lies inside the range, after the one before it, and its parts
// inside the tag; a broken invariant aborts so the fuzzer reports it.
void WalkTags(std::string_view sText, size_t nFrom, size_t nEnd)
{
    CTagTokenizer tokenizer(sText, nFrom, nEnd);
    _tTag tag;
    size_t nLast = nFrom;
    bool bFound = false;
    while (tokenizer.Next(tag)) {
        if (tag.nStart < nLast || tag.nEnd <= tag.nStart || tag.nEnd > nEnd ||
            tag.sName.data() < sText.data() + tag.nStart ||
            tag.sAttrs.data() + tag.sAttrs.size() > sText.data() + tag.nEnd)
            __builtin_trap();
        nLast = tag.nEnd;
        tag.LeadingValue(sText, "w:val", bFound);
        tag.Value(sText, "w:line", bFound);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    // A range inside the text as well as the whole of it, so cut tags are met.
    WalkTags(sText, 0, nSize);
    WalkTags(sText, nSize / 3, nSize - nSize / 4);
    _tParagraphTags tags;
    CParagraphTagReader(sText).Read(nSize / 5, nSize, tags);
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
