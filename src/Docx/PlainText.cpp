// The markers are those the body scanner writes; a run's vertical alignment
// is written as "<value>text</value>" with the value of w:vertAlign.
#include "Docx/PlainText.h"

#include <set>
#include <string_view>

#include "Docx/DocxParser.h"

namespace {

const char* const kAlignTags[] = {"<superscript>", "</superscript>", "<subscript>", "</subscript>",
                                  "<baseline>", "</baseline>"};

// Length of a "(Figure N)" marker at nPos, 0 when there is none.
size_t FigureMarkerAt(const std::string& sText, size_t nPos)
{
    static const std::string kHead = "(Figure ";
    if (sText.compare(nPos, kHead.size(), kHead) != 0)
        return 0;
    size_t nEnd = nPos + kHead.size();
    size_t nDigits = nEnd;
    while (nDigits < sText.size() && sText[nDigits] >= '0' && sText[nDigits] <= '9')
        ++nDigits;
    if (nDigits == nEnd || nDigits >= sText.size() || sText[nDigits] != ')')
        return 0;
    return nDigits + 1 - nPos;
}

size_t AlignTagAt(const std::string& sText, size_t nPos)
{
    for (const char* sTag : kAlignTags) {
        std::string_view tag(sTag);
        if (sText.compare(nPos, tag.size(), tag) == 0)
            return tag.size();
    }
    return 0;
}

std::string CellText(const _tCell& cell)
{
    std::string sOut;
    for (const _tParagraph& para : cell) {
        std::string sText = CPlainText::CleanText(para.text);
        if (sText.empty())
            continue;
        if (!sOut.empty())
            sOut += ' ';
        sOut += sText;
    }
    return sOut;
}

void AppendTable(const _tTable& table, std::string& sOut)
{
    for (const _tRow& row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                sOut += '\t';
            sOut += CellText(row[c]);
        }
        sOut += '\n';
    }
}

}  // namespace

std::string CPlainText::CleanText(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    size_t nPos = 0;
    while (nPos < sText.size()) {
        size_t nSkip = sText[nPos] == '(' ? FigureMarkerAt(sText, nPos)
                                          : (sText[nPos] == '<' ? AlignTagAt(sText, nPos) : 0);
        if (nSkip) {
            nPos += nSkip;
            continue;
        }
        char c = sText[nPos++];
        if (c != '\r' && c != '\n')
            sOut += c;
    }
    return sOut;
}

std::string CPlainText::Render(const CDocxParser& parser)
{
    std::string sOut;
    // Texts of the boxes met since the last ordinary paragraph: the second
    // copy of a box (its older form kept for other readers) is left out.
    std::set<std::string> setBoxes;
    for (const _tParagraph& para : parser.Model().Paragraphs()) {
        if (para.level == DocLevel::FIGURE_PLACEHOLDER)
            continue;
        if (para.level == DocLevel::TABLE_PLACEHOLDER) {
            setBoxes.clear();
            if (para.id < parser.Model().Tables().size())
                AppendTable(parser.Model().Tables()[para.id], sOut);
            continue;
        }
        std::string sText = CleanText(para.text);
        if (para.level == DocLevel::TXTBOX) {
            if (!setBoxes.insert(sText).second)
                continue;
        } else {
            setBoxes.clear();
        }
        if (sText.empty())
            continue;
        sOut += sText;
        sOut += '\n';
    }
    return sOut;
}
