// Fuzz target: the page walk on arbitrary HTML. The labels of a fixed
// document model (heading, paragraphs, a table with its caption from the
// first row, pictures, a text box) go into the input, image sources get a
// prefix, the body is cut into pages (and, with small pieces, a section
// into pieces) and the fonts of an element are read. Nothing may crash or
// hang; labels only add to the input, and the pieces of a section are the
// section.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"
#include "Docx/HtmlLabeler.h"
#include "Docx/HtmlPager.h"
#include "Global/Globals.h"

namespace {

_tParagraph Para(uint32_t nId, const char* sText, int nLevel)
{
    _tParagraph para;
    para.id = nId;
    para.text = sText;
    para.level = nLevel;
    return para;
}

CDocModel BuildModel()
{
    CDocModel model;
    model.AddParagraph(Para(0x10, "Heading", DocLevel::TITLE1));
    model.AddParagraph(Para(0x20, "Text", DocLevel::TEXT));
    model.AddParagraph(Para(0x30, "Box", DocLevel::TXTBOX));
    _tTable table;
    table.rows = {{{Para(0x40, "Table 1", DocLevel::TABLE_COL)}},
                  {{Para(0x50, "a", DocLevel::TABLE_COL)}, {Para(0x60, "b", DocLevel::TABLE_COL)}}};
    model.AddParagraph(Para(0x40, "Table 1", DocLevel::TABLE_CAPTION));
    table.caption_index = 3;
    model.AddTable(table);
    _tFigure figure;
    figure.para_id = 0x70;
    _tParagraph holder = Para(0x70, "Picture(Figure 0)", DocLevel::TEXT);
    model.AddFigure(figure, holder);
    model.AddParagraph(holder);
    figure.para_id = 0x80;  // a picture alone: its paragraph is no entry
    model.AddFigure(figure, Para(0x80, "", DocLevel::TEXT));
    model.AddParagraph(Para(0x90, "Caption", DocLevel::FIGURE_CAPTION));
    return model;
}

// Every byte of sInput stands in sOutput, in order.
bool Keeps(const std::string& sInput, const std::string& sOutput)
{
    size_t j = 0;
    for (size_t i = 0; i < sOutput.size() && j < sInput.size(); ++i)
        j += sOutput[i] == sInput[j];
    return j == sInput.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    static CDocxParser* s_pParser = [] {
        auto* pParser = new CDocxParser;
        pParser->SetModel(BuildModel());
        return pParser;
    }();
    std::string sHtml(reinterpret_cast<const char*>(pData), nSize);
    CHtmlLabeler labeler(s_pParser->Model(), false);
    std::string sLabelled = labeler.Label(sHtml, CHtmlPager::BodyStart(sHtml));
    if (!Keeps(sHtml, sLabelled) || labeler.ParaCursor() > s_pParser->Model().Paragraphs().size())
        __builtin_trap();
    CHtmlLabeler::InsertUrlPrefix(sLabelled, nSize % 2 ? "http://host/docs" : "");
    s_pParser->m_sHtmlText = sLabelled;
    s_pParser->PageSegment();
    std::string sJoined;
    for (std::string_view sPiece : CHtmlPager::FurtherSegment(sHtml, 64))
        sJoined += sPiece;
    if (sJoined != sHtml)
        __builtin_trap();
    std::string sFont;
    double dSize = 0;
    s_pParser->GetHtmlFont(sHtml, sFont, dSize);
    return 0;
}
