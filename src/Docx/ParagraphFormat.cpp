// A run's own properties sit on top of its character style, the paragraph
// style and the document defaults; the run reader hands over where its
// w:rFonts tag is and what its w:sz says.
#include "Docx/ParagraphFormat.h"

#include <algorithm>

#include "Docx/DocxRecords.h"
#include "Docx/ParagraphTagReader.h"
#include "Docx/StyleSheet.h"
#include "Docx/TagTokenizer.h"

namespace {

bool IsEastAsian(unsigned nCode)
{
    return (nCode >= 0x1100 && nCode <= 0x11FF) ||   // Hangul Jamo
           (nCode >= 0x2E80 && nCode <= 0xA4CF) ||   // CJK radicals .. Yi, with CJK punctuation
           (nCode >= 0xAC00 && nCode <= 0xD7AF) ||   // Hangul syllables
           (nCode >= 0xF900 && nCode <= 0xFAFF) ||   // compatibility ideographs
           (nCode >= 0xFE30 && nCode <= 0xFE4F) ||   // compatibility forms
           (nCode >= 0xFF00 && nCode <= 0xFFEF) ||   // full-width forms
           (nCode >= 0x20000 && nCode <= 0x3FFFF);   // ideographs of the supplementary planes
}

}  // namespace

CParagraphFormat::CParagraphFormat(const CStyleSheet& sheet, std::string_view sText,
                                   const std::string& sStyleId)
    : m_sheet(sheet), m_sText(sText), m_sStyleId(sStyleId)
{
}

bool CParagraphFormat::HasEastAsianText(std::string_view sText)
{
    for (size_t i = 0; i < sText.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c < 0xE0)
            continue;  // ASCII, two-byte letters and continuation bytes
        size_t nLen = c < 0xF0 ? 3 : 4;
        if (i + nLen > sText.size())
            return false;
        unsigned nCode = c & (nLen == 3 ? 0x0F : 0x07);
        for (size_t k = 1; k < nLen; ++k)
            nCode = (nCode << 6) | (static_cast<unsigned char>(sText[i + k]) & 0x3F);
        if (IsEastAsian(nCode))
            return true;
        i += nLen - 1;
    }
    return false;
}

void CParagraphFormat::SetLineSpace(const _tParagraphTags& tags, _tParagraph& para) const
{
    _tLineProps own;
    if (tags.bLine)
        own.nLine = ValueToInt(tags.sLine);
    own.sLineRule = std::string(tags.sLineRule);
    _tLineProps line = m_sheet.ResolveLine(m_sStyleId, own);
    para.line_space = line.nLine;
    para.line_rule = LineRule::FromName(line.sLineRule);
}

void CParagraphFormat::AddRun(const _tRunTags& run, _tParagraph& para)
{
    _tRunProps own;
    if (run.nFontTag != XML_NPOS) {
        CTagTokenizer tokenizer(m_sText, run.nFontTag, run.nEnd);
        _tTag tag;
        if (tokenizer.Next(tag))
            CStyleSheet::ReadFontTag(m_sText, tag, own);
    }
    if (run.bSz)
        own.nSize = ValueToInt(run.sSz);
    _tRunFormat format = m_sheet.ResolveRun(m_sStyleId, std::string(run.sRStyle), own);
    if (format.nSize > 0)
        para.font_size = format.nSize;
    bool bEastAsian = HasEastAsianText(run.sText);
    if (!bEastAsian && (m_bEastAsianFont || !para.font.empty()))
        return;
    // Chinese text is set in the East Asian slot, Latin text in the ASCII
    // one; an empty slot shows the next one that names a font.
    static const int kEastAsian[] = {FONT_EAST_ASIA, FONT_ASCII, FONT_HANSI};
    static const int kLatin[] = {FONT_ASCII, FONT_HANSI, FONT_EAST_ASIA};
    const int* pOrder = bEastAsian ? kEastAsian : kLatin;
    std::string sFont;
    for (int i = 0; i < FONT_SLOTS && sFont.empty(); ++i)
        sFont = format.sFonts[pOrder[i]];
    if (!bEastAsian) {
        para.font = sFont;
        return;
    }
    // The paragraph's font is the one most of its Chinese text is set in:
    // a label in 黑体 ("关键词：") does not make a line of 宋体 a 黑体 line.
    size_t nCount = 0;
    for (char c : run.sText)
        nCount += static_cast<unsigned char>(c) >= 0xE0 ? 1 : 0;
    auto it = std::find_if(m_vecEastAsian.begin(), m_vecEastAsian.end(),
                           [&sFont](const auto& entry) { return entry.first == sFont; });
    if (it == m_vecEastAsian.end())
        it = m_vecEastAsian.insert(m_vecEastAsian.end(), {sFont, 0});
    it->second += nCount;
    auto best = m_vecEastAsian.begin();
    for (auto k = m_vecEastAsian.begin(); k != m_vecEastAsian.end(); ++k)
        if (k->second > best->second)
            best = k;
    para.font = best->first;
    m_bEastAsianFont = true;
}
