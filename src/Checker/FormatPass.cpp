// Paragraph format against a template. Each paragraph costs a few map
// lookups and one dictionary scan, so the pass is linear in the document.
#include "Checker/FormatPass.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Checker/CheckRecord.h"
#include "Checker/CheckResult.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/SectionNumberText.h"
#include "Docx/DocFormat.h"
#include "Docx/DocModel.h"
#include "Segmenter/SegmenterChars.h"
#include "Utility/FontNames.h"
#include "Utility/Log.h"
#include "Utility/NumUtility.h"

namespace {

// Placeholders, text boxes, table cells and cover-page classes carry no
// format of their own that a template could prescribe.
bool IsNeverCompared(int nLevel)
{
    switch (nLevel) {
    case DocLevel::TABLE_PLACEHOLDER:
    case DocLevel::FIGURE_PLACEHOLDER:
    case DocLevel::TXTBOX:
    case DocLevel::TABLE_COL:
    case DocLevel::FIRSTPAGES:
    case -2:
    case -3:
        return true;
    default:
        return false;
    }
}

// True when the text holds a Chinese character: the fonts a template learns
// are those of Chinese text, so Latin-only text (an English reference, a
// page number) has no font to be compared with.
bool HasHan(const std::string& sText)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText.data());
    for (size_t i = 0; i < sText.size();) {
        _tSegChar ch = ReadSegChar(p, sText.size(), i);
        if (ch.eClass == ESegCharClass::Han)
            return true;
        i += ch.nLen;
    }
    return false;
}

// The text without blanks of any width: a part is often spaced out ("摘　要").
std::string WithoutBlanks(const std::string& sText)
{
    static const std::string kIdeographicSpace = "\xE3\x80\x80";
    std::string sOut;
    for (size_t i = 0; i < sText.size(); ++i) {
        if (sText[i] == ' ' || sText[i] == '\t')
            continue;
        if (sText.compare(i, 3, kIdeographicSpace) == 0) {
            i += 2;
            continue;
        }
        sOut += sText[i];
    }
    return sOut;
}

bool IsHeaderOrFooter(int nLevel)
{
    return nLevel == DocLevel::HEADER || nLevel == DocLevel::FOOTER;
}

}  // namespace

CFormatPass::CFormatPass(CFormatCheckContext& context, const CDocFormat& format, bool bBodyFormat)
    : m_context(context), m_format(format), m_bBodyFormat(bBodyFormat),
      m_vecFound(format.GetRequiredCount(), 0)
{
}

void CFormatPass::Run()
{
    const CDocModel& model = m_context.Model();
    for (const _tParagraph& para : model.Headers())
        CheckFormatOnParagraph(para);
    for (const _tParagraph& para : model.Footers())
        CheckFormatOnParagraph(para);
    // Body text is the text of the chapters: lines before the first chapter
    // heading belong to the cover, the declaration and the front matter,
    // which have their own looks. A document without chapters is all body.
    m_bInBody = true;
    for (const _tParagraph& para : model.Paragraphs())
        if (para.level == DocLevel::TITLE1) {
            m_bInBody = false;
            break;
        }
    for (const _tParagraph& para : model.Paragraphs()) {
        if (para.level == DocLevel::TITLE1)
            m_bInBody = true;
        CheckFormatOnParagraph(para);
    }
    m_bInBody = true;
    for (const _tTable& table : model.Tables()) {
        for (const _tRow& row : table.rows) {
            for (const _tCell& cell : row) {
                for (const _tParagraph& para : cell)
                    CheckFormatOnParagraph(para);
            }
        }
    }
    CheckRequired(0xFFFFFFFFu);
}

bool CFormatPass::IsCompared(int nLevel) const
{
    if (IsNeverCompared(nLevel))
        return false;
    return nLevel != DocLevel::TEXT || m_bBodyFormat;
}

void CFormatPass::CheckFormatOnParagraph(const _tParagraph& para)
{
    if (para.text.empty() || para.IsPlaceholder())
        return;
    // Required parts count wherever they stand: cover tables and cover
    // pages hold many of them.
    // Once all are found the scan stops; the text without blanks (摘　要)
    // is scanned only when it differs.
    bool bAllFound = std::find(m_vecFound.begin(), m_vecFound.end(), 0) == m_vecFound.end();
    if (!bAllFound) {
        m_format.ScanRequired(para.text, m_vecFound);
        std::string sCompact = WithoutBlanks(para.text);
        if (sCompact.size() != para.text.size())
            m_format.ScanRequired(sCompact, m_vecFound);
    }
    if (!IsCompared(para.level) || (para.level == DocLevel::TEXT && !m_bInBody))
        return;
    const _tFormat* pFormat = FormatFor(para.level);
    if (!pFormat)
        return;
    CheckLineSpace(para, *pFormat);
    CheckFontSize(para, *pFormat);
    CheckFont(para, *pFormat);
    CheckNumbering(para, *pFormat);
}

const _tFormat* CFormatPass::FormatFor(int nLevel)
{
    const _tFormat* pFormat = m_format.GetFormat(nLevel);
    // A page number or a cover line (author, major) is never held to the
    // body's format: only levels inside the chapters fall back to it.
    if (pFormat || IsHeaderOrFooter(nLevel) || !m_bInBody)
        return pFormat;
    // Logged once per level and check, not once per paragraph.
    if (m_setReportedLevels.insert(nLevel).second)
        SetLastError("LevelType " + std::to_string(nLevel) +
                     " not exists in template. Document format check using text template");
    return m_format.GetFormat(DocLevel::TEXT);
}

void CFormatPass::CheckLineSpace(const _tParagraph& para, const _tFormat& format)
{
    if (para.line_space <= 0 || format.mapLineSpace2Freq.empty())
        return;
    int nRule = format.MostFrequentLineRule();
    if (nRule < 0 || nRule == para.line_rule) {
        if (!format.HasLineSpace(para.line_space))
            AddLineSpace(para, format.MostFrequentLineSpace());
        return;
    }
    // Stated another way than the samples ("exact 20 pt" against "1.5
    // lines"): what a reader sees is the height of the lines, so those are
    // compared, with room for the fonts' own line gaps.
    constexpr double kTolerance = 0.15;
    double dPara = LineRule::PitchPoints(para.line_space, para.line_rule, para.font_size);
    for (const auto& entry : format.mapLineSpace2Freq) {
        double dWant = LineRule::PitchPoints(entry.first, nRule, para.font_size);
        if (std::fabs(dPara - dWant) <= kTolerance * dWant)
            return;
    }
    // The expected value in the paragraph's own rule, so that a revision
    // of its w:line gives the template's height.
    double dWant = LineRule::PitchPoints(format.MostFrequentLineSpace(), nRule, para.font_size);
    AddLineSpace(para, LineRule::LineForPitch(dWant, para.line_rule, para.font_size));
}

void CFormatPass::AddLineSpace(const _tParagraph& para, int nExpected)
{
    m_context.Add(&para, "1.1.3", FIELD_LINE_SPACE, REVISE_U, std::to_string(para.line_space / 20),
                  std::to_string(nExpected / 20));
}

void CFormatPass::CheckFontSize(const _tParagraph& para, const _tFormat& format)
{
    if (para.font_size <= 0 || format.mapFontSize2Freq.empty() || format.HasFontSize(para.font_size))
        return;
    m_context.Add(&para, "1.1.2", FIELD_FONTSIZE, REVISE_U, m_context.FontSizeName(para.font_size),
                  m_context.FontSizeName(format.MostFrequentFontSize()));
}

void CFormatPass::CheckFont(const _tParagraph& para, const _tFormat& format)
{
    if (para.font.empty() || format.mapFont2Freq.empty() || !HasHan(para.text))
        return;
    for (const auto& entry : format.mapFont2Freq)
        if (IsSameFont(para.font, entry.first))
            return;
    std::string sFont = format.MostFrequentFont();
    if (!sFont.empty())
        m_context.Add(&para, "1.1.1", FIELD_FONT, REVISE_U, para.font, sFont);
}

void CFormatPass::CheckNumbering(const _tParagraph& para, const _tFormat& format)
{
    if (!format.HasSectionPattern())
        return;
    CNumUtility numbers(true);
    _tSection_Info info;
    ReadPartNumber(numbers, para.text, para.level == DocLevel::FORMULA_INDEX, info);
    if (info.order <= 0 || info.IsSameFormat(format.section_format))
        return;
    std::string sNew = numbers.SetNewSectionNo(info, format.section_format);
    m_context.Add(&para, "1.1.4", FIELD_TEXT, REVISE_U, WrittenNumber(info, true), sNew);
}

int CFormatPass::CheckRequired(uint32_t nParaId)
{
    const std::vector<std::string>& vecRequired = m_format.GetRequired();
    int nMissing = 0;
    for (size_t i = 0; i < vecRequired.size(); ++i) {
        if (i < m_vecFound.size() && m_vecFound[i])
            continue;
        _tCheckResult record;
        record.para_id = nParaId;
        record.offset = static_cast<uint32_t>(i);
        record.error_id = "12.1";
        record.revise_type = REVISE_M;
        record.new_str = vecRequired[i];
        m_context.Results().AddResult(record);
        ++nMissing;
    }
    return nMissing;
}
