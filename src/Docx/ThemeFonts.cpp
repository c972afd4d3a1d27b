// Word leaves a:ea empty in most Chinese themes and puts the Chinese font
// in the a:font entry of the Hans script, so that entry fills the gap.
#include "Docx/ThemeFonts.h"

#include "Docx/XmlScan.h"

namespace {

// The typeface of the first `<sTag ` element in [nFrom, nEnd) whose
// attributes hold sFilter (empty: any); empty when there is none.
std::string Typeface(std::string_view sBlock, std::string_view sTag, std::string_view sFilter)
{
    std::string sOpen = "<" + std::string(sTag) + " ";
    for (size_t nPos = 0; (nPos = FindIn(sBlock, sOpen, nPos)) != XML_NPOS; ++nPos) {
        size_t nEnd = FindIn(sBlock, ">", nPos);
        if (nEnd == XML_NPOS)
            return std::string();
        if (!sFilter.empty() && FindIn(sBlock.substr(0, nEnd), sFilter, nPos) == XML_NPOS)
            continue;
        std::string sValue;
        GetXMLPropertyValue(sBlock, nPos, "typeface", sValue, nEnd);
        return sValue;
    }
    return std::string();
}

std::string_view Block(std::string_view sText, std::string_view sOpen, std::string_view sClose)
{
    size_t nStart = FindIn(sText, sOpen, 0);
    if (nStart == XML_NPOS)
        return std::string_view();
    size_t nEnd = FindIn(sText, sClose, nStart);
    return sText.substr(nStart, nEnd == XML_NPOS ? XML_NPOS : nEnd - nStart);
}

}  // namespace

void CThemeFonts::ReadScheme(std::string_view sBlock, std::string_view sScript, _tFontScheme& scheme)
{
    scheme.sLatin = Typeface(sBlock, "a:latin", "");
    scheme.sEastAsia = Typeface(sBlock, "a:ea", "");
    scheme.sComplex = Typeface(sBlock, "a:cs", "");
    if (scheme.sEastAsia.empty() && !sScript.empty())
        scheme.sEastAsia = Typeface(sBlock, "a:font", "script=\"" + std::string(sScript) + "\"");
}

void CThemeFonts::Read(std::string_view sThemeXml, std::string_view sScript)
{
    Clear();
    ReadScheme(Block(sThemeXml, "<a:majorFont>", "</a:majorFont>"), sScript, m_major);
    ReadScheme(Block(sThemeXml, "<a:minorFont>", "</a:minorFont>"), sScript, m_minor);
}

void CThemeFonts::Clear()
{
    m_major = _tFontScheme();
    m_minor = _tFontScheme();
}

const std::string& CThemeFonts::Font(std::string_view sThemeName) const
{
    static const std::string kNone;
    const _tFontScheme* pScheme = nullptr;
    std::string_view sSlot;
    if (sThemeName.compare(0, 5, "major") == 0)
        pScheme = &m_major;
    else if (sThemeName.compare(0, 5, "minor") == 0)
        pScheme = &m_minor;
    if (pScheme == nullptr)
        return kNone;
    sSlot = sThemeName.substr(5);
    if (sSlot == "Ascii" || sSlot == "HAnsi")
        return pScheme->sLatin;
    if (sSlot == "EastAsia")
        return pScheme->sEastAsia;
    if (sSlot == "Bidi")
        return pScheme->sComplex;
    return kNone;
}

std::string_view CThemeFonts::ScriptOfLanguage(std::string_view sLanguage)
{
    auto Starts = [&](std::string_view sPrefix) {
        return sLanguage.size() >= sPrefix.size() && sLanguage.compare(0, sPrefix.size(), sPrefix) == 0;
    };
    if (Starts("zh-TW") || Starts("zh-HK") || Starts("zh-MO"))
        return "Hant";
    if (Starts("ja"))
        return "Jpan";
    if (Starts("ko"))
        return "Hang";
    return "Hans";
}
