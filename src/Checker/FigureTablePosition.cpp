// Figure and table placement. One pass over the body list.
#include "Checker/FigureTablePosition.h"

#include <algorithm>

#include "Checker/CheckRecord.h"
#include "Checker/FormatCheckContext.h"
#include "Checker/SectionNumberText.h"
#include "Docx/DocModel.h"

namespace {

long long FirstOfLevel(const std::vector<_tParagraph>& vecParas, int nLevel)
{
    for (size_t i = 0; i < vecParas.size(); ++i) {
        if (vecParas[i].level == nLevel)
            return static_cast<long long>(i);
    }
    return -1;
}

}  // namespace

const _tParagraph* CFigureTablePosition::Previous(long long nIndex) const
{
    // Two figures or tables in a row: the one before is no paragraph to mark.
    for (long long k = nIndex - 1; k >= 0; --k) {
        const _tParagraph* pPara = m_context.BodyAt(k);
        if (pPara && !pPara->IsPlaceholder())
            return pPara;
    }
    return nullptr;
}

bool CFigureTablePosition::HasCaption(const _tParagraph& placeholder) const
{
    const CDocModel& model = m_context.Model();
    unsigned nCaption = NO_CAPTION;
    if (placeholder.level == DocLevel::FIGURE_PLACEHOLDER) {
        const std::vector<_tFigure>& vecFigures = model.Figures();
        if (placeholder.id >= vecFigures.size())
            return true;  // no record to judge by
        // A second picture in the paragraph of the one before shares its caption.
        if (placeholder.id > 0 && vecFigures[placeholder.id - 1].para_id == vecFigures[placeholder.id].para_id)
            return true;
        nCaption = vecFigures[placeholder.id].caption_index;
    } else {
        if (placeholder.id >= model.Tables().size())
            return true;
        nCaption = model.Tables()[placeholder.id].caption_index;
    }
    const _tParagraph* pCaption = nCaption == NO_CAPTION ? nullptr : m_context.BodyAt(nCaption);
    return pCaption && !pCaption->text.empty();
}

void CFigureTablePosition::Check()
{
    const CDocModel& model = m_context.Model();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    const std::vector<int>& vecContents = model.ContentStruct();
    long long nContentFirst = vecContents.empty() ? -1 : vecContents.front();
    long long nContentLast = vecContents.empty() ? -1 : vecContents.back();
    long long nAppendix = m_context.ReportType() == 4 ? FirstOfLevel(vecParas, DocLevel::APPENDIX) : -1;
    // A table or picture before the first heading (a cover's table of
    // author and supervisor, a logo) is no part of the text and needs no caption.
    const std::vector<int>& vecHeads = model.DocStruct();
    long long nCaptionsFrom = std::max(nContentLast, vecHeads.empty() ? -1LL : vecHeads.front());
    for (size_t i = 0; i < vecParas.size(); ++i) {
        const _tParagraph& para = vecParas[i];
        if (!para.IsPlaceholder())
            continue;
        long long nIndex = static_cast<long long>(i);
        const _tParagraph* pPrevious = Previous(nIndex);
        std::string sText = pPrevious ? pPrevious->text : std::string();
        if (nContentFirst >= 0 && nIndex > nContentFirst && nIndex < nContentLast) {
            m_context.Add(pPrevious, "1.3.12", FIELD_TEXT, REVISE_D, sText, "");
        } else if (nAppendix >= 0 && nIndex < nAppendix) {
            m_context.Add(pPrevious, "1.3.13", FIELD_TEXT, REVISE_D, sText, "");
        } else if (nIndex > nCaptionsFrom && !HasCaption(para)) {
            const char* sCode = para.level == DocLevel::FIGURE_PLACEHOLDER ? "99.6" : "99.7";
            m_context.Add(pPrevious, sCode, FIELD_TEXT, REVISE_I, FirstCharacter(sText), "");
        }
    }
}
