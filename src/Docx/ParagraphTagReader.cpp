// A tag is told by its name first (one switch on the length, then a
// compare), so the many tags no property comes from cost little.
#include "Docx/ParagraphTagReader.h"

#include "Docx/TagTokenizer.h"

enum class CParagraphTagReader::EName {
    OTHER,
    W_T,
    M_T,
    W_R,
    M_R,
    SZ,
    SZ_CS,
    TAB,
    BLIP,
    NUM_ID,
    ILVL,
    P_STYLE,
    R_STYLE,
    R_FONTS,
    SPACING,
    VERT_ALIGN,
    IMAGE_DATA,
    OUTLINE_LVL,
};

namespace {

using EName = CParagraphTagReader::EName;

EName Classify(std::string_view sName)
{
    switch (sName.size()) {
    case 3:
        if (sName == "w:t")
            return EName::W_T;
        if (sName == "w:r")
            return EName::W_R;
        if (sName == "m:t")
            return EName::M_T;
        if (sName == "m:r")
            return EName::M_R;
        break;
    case 4:
        if (sName == "w:sz")
            return EName::SZ;
        break;
    case 5:
        if (sName == "w:tab")
            return EName::TAB;
        break;
    case 6:
        if (sName == "w:ilvl")
            return EName::ILVL;
        if (sName == "w:szCs")
            return EName::SZ_CS;
        if (sName == "a:blip")
            return EName::BLIP;
        break;
    case 7:
        if (sName == "w:numId")
            return EName::NUM_ID;
        break;
    case 8:
        if (sName == "w:rFonts")
            return EName::R_FONTS;
        if (sName == "w:pStyle")
            return EName::P_STYLE;
        if (sName == "w:rStyle")
            return EName::R_STYLE;
        break;
    case 9:
        if (sName == "w:spacing")
            return EName::SPACING;
        break;
    case 11:
        if (sName == "w:vertAlign")
            return EName::VERT_ALIGN;
        if (sName == "v:imagedata")
            return EName::IMAGE_DATA;
        break;
    case 12:
        if (sName == "w:outlineLvl")
            return EName::OUTLINE_LVL;
        break;
    default:
        break;
    }
    return EName::OTHER;
}

bool StartsWith(std::string_view s, std::string_view sPrefix)
{
    return s.size() >= sPrefix.size() && s.compare(0, sPrefix.size(), sPrefix) == 0;
}

// The first `<tag w:val="..."` of the range gives the value.
void TakeLeadingVal(std::string_view sText, const _tTag& tag, bool& bFound, std::string_view& sValue)
{
    if (!bFound)
        sValue = tag.LeadingValue(sText, "w:val", bFound);
}

}  // namespace

CParagraphTagReader::CParagraphTagReader(std::string_view sText) : m_sText(sText)
{
}

void CParagraphTagReader::Read(size_t nStart, size_t nEnd, _tParagraphTags& tags)
{
    tags = _tParagraphTags();
    tags.vecRuns.reserve(8);
    CTagTokenizer tokenizer(m_sText, nStart, nEnd);
    _tTag tag;
    _tRunTags run;
    _tRunState state;
    while (tokenizer.Next(tag)) {
        EName eName = Classify(tag.sName);
        ParagraphTag(eName, tag, tags);
        if (!state.bOpen) {
            bool bMath = eName == EName::M_R;
            if ((bMath || eName == EName::W_R) && tag.IsOpening(tag.sName)) {
                run = _tRunTags();
                run.nStart = tag.nStart;
                run.bMath = bMath;
                state = _tRunState();
                state.bOpen = true;
            }
            continue;
        }
        if (state.bAwaitClose) {
            // Text holds no '<', so the end of <w:t> is the very next tag.
            state.bAwaitClose = false;
            if (tag.Is(m_sText, run.bMath ? "</m:t>" : "</w:t>"))
                state.nTextClose = tag.nStart;
            else
                state.bSearchText = true;
        }
        if (tag.bClosing && tag.Is(m_sText, run.bMath ? "</m:r>" : "</w:r>")) {
            FinishRun(tag.nStart, run, state);
            tags.vecRuns.push_back(run);
            continue;
        }
        RunTag(eName, tag, run, state);
    }
    if (state.bOpen) {
        // No end: the run reaches the end of the range.
        FinishRun(nEnd, run, state);
        tags.vecRuns.push_back(run);
    }
}

void CParagraphTagReader::ParagraphTag(EName eName, const _tTag& tag, _tParagraphTags& tags) const
{
    switch (eName) {
    case EName::SPACING:
        if (!tags.bLine) {
            tags.sLine = tag.Value(m_sText, "w:line", tags.bLine);
            bool bRule = false;
            if (tags.bLine)
                tags.sLineRule = tag.Value(m_sText, "w:lineRule", bRule);
        }
        break;
    case EName::NUM_ID:
        TakeLeadingVal(m_sText, tag, tags.bNumId, tags.sNumId);
        break;
    case EName::ILVL:
        TakeLeadingVal(m_sText, tag, tags.bNumLevel, tags.sNumLevel);
        break;
    case EName::P_STYLE:
        TakeLeadingVal(m_sText, tag, tags.bStyle, tags.sStyle);
        break;
    case EName::OUTLINE_LVL:
        TakeLeadingVal(m_sText, tag, tags.bOutline, tags.sOutline);
        break;
    default:
        break;
    }
}

void CParagraphTagReader::RunTag(EName eName, const _tTag& tag, _tRunTags& run, _tRunState& state) const
{
    switch (eName) {
    case EName::TAB:
        run.bTab = run.bTab || tag.Is(m_sText, "<w:tab/>");
        break;
    case EName::VERT_ALIGN:
        TakeLeadingVal(m_sText, tag, state.bAlign, run.sAlign);
        break;
    case EName::SZ:
        TakeLeadingVal(m_sText, tag, state.bSz, state.sSz);
        break;
    case EName::R_STYLE:
        TakeLeadingVal(m_sText, tag, state.bRStyle, run.sRStyle);
        break;
    case EName::SZ_CS:
        if (!state.bSz)  // w:szCs counts only without a w:sz
            TakeLeadingVal(m_sText, tag, state.bSzCs, state.sSzCs);
        break;
    case EName::W_T:
    case EName::M_T:
        if (state.nTextTag == XML_NPOS && tag.IsOpening(run.bMath ? "m:t" : "w:t")) {
            state.nTextTag = tag.nStart;
            state.nTextOpenEnd = tag.nEnd - 1;
            state.bAwaitClose = tag.bComplete;
            state.bSearchText = !tag.bComplete;
        }
        break;
    case EName::R_FONTS:
        // Only w:rFonts names fonts (w:lang carries w:eastAsia too).
        if (!tag.bClosing && StartsWith(tag.sAttrs, " ")) {
            if (run.nFontTags++ == 0)
                run.nFontTag = tag.nStart;
        }
        break;
    case EName::IMAGE_DATA:
        if (run.nPicture == XML_NPOS && !tag.bClosing && StartsWith(tag.sAttrs, " r:id"))
            run.nPicture = tag.nStart;
        break;
    case EName::BLIP:
        if (run.nPicture == XML_NPOS && !tag.bClosing && StartsWith(tag.sAttrs, " r:embed"))
            run.nPicture = tag.nStart;
        break;
    default:
        break;
    }
}

void CParagraphTagReader::FinishRun(size_t nEnd, _tRunTags& run, _tRunState& state) const
{
    run.nEnd = nEnd;
    if (state.nTextTag != XML_NPOS) {
        size_t nOpenEnd = state.nTextOpenEnd;
        size_t nClose = state.nTextClose;
        if (state.bSearchText || state.bAwaitClose) {
            // A broken or cut <w:t>: read it as the substring scanner does.
            nOpenEnd = FindIn(m_sText, ">", state.nTextTag, nEnd);
            nClose = nOpenEnd == XML_NPOS ? XML_NPOS
                                          : FindIn(m_sText, run.bMath ? "</m:t>" : "</w:t>", nOpenEnd, nEnd);
        }
        if (nClose != XML_NPOS && nClose > nOpenEnd + 1) {
            run.bText = true;
            run.sText = m_sText.substr(nOpenEnd + 1, nClose - nOpenEnd - 1);
        }
    }
    run.sSize = state.bSz ? state.sSz : (state.bSzCs ? state.sSzCs : std::string_view());
    run.bSz = state.bSz;
    run.sSz = state.sSz;
    state.bOpen = false;
}
