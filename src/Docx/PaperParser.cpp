// The paper-part recogniser: places each part at the paragraph its rule
// found, marks the texts that follow the captions, keeps the reference range
// for the reference check, and demotes cover lines set as headings.
#include "Docx/PaperParser.h"

#include <algorithm>
#include <utility>

#include "Docx/DocxParser.h"

namespace {

const char* const kKeyNames[_tPaperStruct::kCount] = {
    "paper_head_title",        "paper_first_page",          "paper_abstract_cn",      "paper_abstract_text_cn",
    "paper_keyword_cn",        "paper_abstract_en",         "paper_abstract_text_en", "paper_keyword_en",
    "paper_reference_caption", "paper_reference_text",      "paper_acknowledge_caption", "paper_fomula_index",
    "paper_zzxm_val",          "paper_zy_val",              "paper_daoshi_val",
};

int SlotOf(int nLevel)
{
    return -501 - nLevel;
}

// Blanks and underlines: what an unfilled slot of a cover page holds.
bool IsBlankValue(const std::string& sValue)
{
    for (size_t i = 0; i < sValue.size();) {
        if (sValue[i] == ' ' || sValue[i] == '\t' || sValue[i] == '_' || sValue[i] == '\r' || sValue[i] == '\n') {
            ++i;
        } else if (sValue.compare(i, 3, "\xE3\x80\x80") == 0) {  // ideographic space
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

bool IsPaperLevel(int nLevel)
{
    return nLevel <= DocLevel::ABSTRACT_CAPTION_CN && nLevel >= DocLevel::SUPERVISOR;
}

// Text, or a cover-page class: the classes are guessed from the layout of
// the lines before the first heading, and a paper that opens with its
// abstract has its abstract there.
bool IsPlainText(int nLevel)
{
    return nLevel == DocLevel::TEXT || (nLevel <= DocLevel::FIRSTPAGES && nLevel >= -3);
}

bool IsContentsLevel(int nLevel)
{
    return nLevel >= DocLevel::CONTENT1 && nLevel <= DocLevel::CONTENT3;
}

// The back matter closes a thesis: its captions are also named earlier (a
// section on citing, a sentence of the instructions), so the last one counts.
bool IsBackMatter(int nLevel)
{
    return nLevel == DocLevel::REFERENCE_CAPTION || nLevel == DocLevel::ACKNOWLEDGE_CAPTION;
}

}  // namespace

CPaperParser::CPaperParser(CDocxParser& docx, ValueLookup lookup) : m_docx(docx), m_lookup(std::move(lookup)) {}

const char* CPaperParser::KeyName(int nLevel)
{
    int nSlot = SlotOf(nLevel);
    return nSlot >= 0 && nSlot < _tPaperStruct::kCount ? kKeyNames[nSlot] : nullptr;
}

const _tKeyVal* CPaperParser::ChooseValue(int nLevel, const std::vector<_tKeyVal>& vecValues) const
{
    // Ids grow in reading order, in the body and in table cells alike.
    const std::vector<_tParagraph>& vecParas = m_docx.Model().Paragraphs();
    const _tKeyVal* pBest = nullptr;
    bool bBestInCell = false;
    for (const _tKeyVal& value : vecValues) {
        _tParaIndex index;
        if (IsBlankValue(value.key_value) || m_docx.GetParaIndex(value.para_id, &index) < 0)
            continue;
        bool bInCell = index.table_index >= 0;
        if (!bInCell) {
            if (index.para_index >= vecParas.size())
                continue;
            int nParaLevel = vecParas[index.para_index].level;
            // Contents lines repeat the captions; a paragraph already placed
            // as another part stays that part.
            if (IsContentsLevel(nParaLevel) || (IsPaperLevel(nParaLevel) && nParaLevel != nLevel))
                continue;
        }
        bool bTake = !pBest;
        if (pBest && IsBackMatter(nLevel))
            bTake = (bBestInCell && !bInCell) || (bBestInCell == bInCell && value.para_id > pBest->para_id);
        else if (pBest)
            bTake = value.para_id < pBest->para_id;
        if (bTake) {
            pBest = &value;
            bBestInCell = bInCell;
        }
    }
    return pBest;
}

int CPaperParser::SetPaperElement(int nLevel)
{
    const char* sKey = KeyName(nLevel);
    if (!sKey)
        return -1;
    KEY_VAL& slot = m_paper.keys[SlotOf(nLevel)];
    slot.reset();
    std::vector<_tKeyVal> vecValues = m_lookup ? m_lookup(sKey) : std::vector<_tKeyVal>();
    const _tKeyVal* pValue = ChooseValue(nLevel, vecValues);
    if (!pValue) {
        m_vecMissing.push_back(nLevel);
        return -1;
    }
    slot = *pValue;
    _tParaIndex index;
    m_docx.GetParaIndex(pValue->para_id, &index);
    if (index.table_index >= 0)
        return static_cast<int>(m_docx.Model().Tables()[static_cast<size_t>(index.table_index)].para_index);
    m_docx.EditModel().SetLevel(index.para_index, nLevel);
    return static_cast<int>(index.para_index);
}

int CPaperParser::SetTextLevel(int nLevel, int nCaptionIndex)
{
    CDocModel& model = m_docx.EditModel();
    int nFirst = -1, nLast = -1;
    size_t nFrom = nCaptionIndex < 0 ? model.Paragraphs().size() : static_cast<size_t>(nCaptionIndex) + 1;
    for (size_t i = nFrom; i < model.Paragraphs().size(); ++i) {
        if (!IsPlainText(model.Paragraphs()[i].level) || !model.SetLevel(i, nLevel))
            break;
        if (nFirst < 0)
            nFirst = static_cast<int>(i);
        nLast = static_cast<int>(i);
    }
    if (nLevel == DocLevel::REFERENCE_TEXT)
        model.SetReferenceRange(nFirst, nLast);
    return nFirst < 0 ? 0 : nLast - nFirst + 1;
}

int CPaperParser::PaperParse()
{
    m_vecMissing.clear();
    // Until a reference list is placed the document has none.
    m_docx.EditModel().SetReferenceRange(-1, -1);
    int nAbstractCn = SetPaperElement(DocLevel::ABSTRACT_CAPTION_CN);
    SetPaperElement(DocLevel::ABSTRACT_KEYWORD_CN);
    int nAbstractEn = SetPaperElement(DocLevel::ABSTRACT_CAPTION_EN);
    SetPaperElement(DocLevel::ABSTRACT_KEYWORD_EN);
    int nReference = SetPaperElement(DocLevel::REFERENCE_CAPTION);
    for (int nLevel : {DocLevel::ACKNOWLEDGE_CAPTION, DocLevel::AUTHOR, DocLevel::MAJOR, DocLevel::SUPERVISOR})
        SetPaperElement(nLevel);

    // Texts follow a caption in the body; a part found in a cover table has none.
    const std::vector<_tParagraph>& vecParas = m_docx.Model().Paragraphs();
    auto isCaption = [&vecParas](int nIndex, int nLevel) {
        return nIndex >= 0 && vecParas[static_cast<size_t>(nIndex)].level == nLevel;
    };
    if (isCaption(nAbstractCn, DocLevel::ABSTRACT_CAPTION_CN))
        SetTextLevel(DocLevel::ABSTRACT_TEXT_CN, nAbstractCn);
    if (isCaption(nAbstractEn, DocLevel::ABSTRACT_CAPTION_EN))
        SetTextLevel(DocLevel::ABSTRACT_TEXT_EN, nAbstractEn);
    if (isCaption(nReference, DocLevel::REFERENCE_CAPTION))
        SetTextLevel(DocLevel::REFERENCE_TEXT, nReference);

    int nStart = -1;
    for (int nIndex : {nAbstractCn, nAbstractEn})
        if (nIndex >= 0 && (nStart < 0 || nIndex < nStart))
            nStart = nIndex;
    if (nStart >= 0)
        m_docx.EditModel().DemoteHeadingsBefore(static_cast<size_t>(nStart));
    return 1;
}
