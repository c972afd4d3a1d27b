// Only the children of <w:rPr> that can follow the ones this library sets
// are listed; an element not listed is kept where it is.
#include "Reviser/RunProperties.h"

#include <vector>

namespace {

// The children of <w:rPr> in schema order.
const std::vector<std::string>& ChildOrder()
{
    static const std::vector<std::string> kOrder = {
        "w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps", "w:strike",
        "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof", "w:snapToGrid",
        "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern", "w:position", "w:sz", "w:szCs",
        "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd", "w:fitText", "w:vertAlign", "w:rtl", "w:cs",
        "w:em", "w:lang", "w:eastAsianLayout", "w:specVanish", "w:oMath", "w:rPrChange"};
    return kOrder;
}

bool IsNameEnd(char c)
{
    return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\r' || c == '\n';
}

// The end (past its last byte) of the element starting at nPos.
size_t ElementEnd(const std::string& sText, size_t nPos, const std::string& sName)
{
    size_t nTagEnd = sText.find('>', nPos);
    if (nTagEnd == std::string::npos)
        return sText.size();
    if (sText[nTagEnd - 1] == '/')
        return nTagEnd + 1;
    std::string sClose = "</" + sName + ">";
    size_t nClose = sText.find(sClose, nTagEnd);
    return nClose == std::string::npos ? sText.size() : nClose + sClose.size();
}

}  // namespace

size_t CRunProperties::FindChild(const std::string& sRPr, const std::string& sName)
{
    std::string sOpen = "<" + sName;
    for (size_t nPos = sRPr.find(sOpen); nPos != std::string::npos; nPos = sRPr.find(sOpen, nPos + 1)) {
        if (nPos + sOpen.size() < sRPr.size() && IsNameEnd(sRPr[nPos + sOpen.size()]))
            return nPos;
    }
    return std::string::npos;
}

std::string CRunProperties::Without(const std::string& sRPr, const std::string& sName)
{
    std::string sOut = sRPr;
    for (size_t nPos = FindChild(sOut, sName); nPos != std::string::npos; nPos = FindChild(sOut, sName))
        sOut.erase(nPos, ElementEnd(sOut, nPos, sName) - nPos);
    return sOut;
}

std::string CRunProperties::Of(const std::string& sDoc, size_t nRun, size_t nRunEnd)
{
    size_t nTagEnd = sDoc.find('>', nRun);
    if (nTagEnd == std::string::npos || nTagEnd >= nRunEnd)
        return "";
    size_t nProps = nTagEnd + 1;
    if (sDoc.compare(nProps, 6, "<w:rPr") != 0 || nProps + 6 >= sDoc.size() || !IsNameEnd(sDoc[nProps + 6]))
        return "";
    size_t nTag = sDoc.find('>', nProps);
    if (nTag == std::string::npos || sDoc[nTag - 1] == '/')
        return "";
    // A record of a tracked format change holds an <w:rPr> of its own.
    size_t nClose = sDoc.find("</w:rPr>", nTag);
    size_t nChange = sDoc.find("<w:rPrChange", nTag);
    if (nChange != std::string::npos && nClose != std::string::npos && nChange < nClose) {
        size_t nChangeEnd = sDoc.find("</w:rPrChange>", nChange);
        nClose = nChangeEnd == std::string::npos ? nChangeEnd : sDoc.find("</w:rPr>", nChangeEnd);
    }
    if (nClose == std::string::npos)
        return "";
    size_t nEnd = nClose + 8;
    if (nEnd > nRunEnd)
        return "";
    std::string sRPr = sDoc.substr(nProps, nEnd - nProps);
    return Without(sRPr, "w:rPrChange");
}

std::string CRunProperties::StartTag(const std::string& sDoc, size_t nRun)
{
    size_t nTagEnd = sDoc.find('>', nRun);
    return nTagEnd == std::string::npos ? "<w:r>" : sDoc.substr(nRun, nTagEnd + 1 - nRun);
}

std::string CRunProperties::WithAlign(const std::string& sRPr, const std::string& sValue)
{
    if (sValue.empty())
        return Without(sRPr, "w:vertAlign");
    return WithElement(sRPr, "w:vertAlign", "<w:vertAlign w:val=\"" + sValue + "\"/>");
}

std::string CRunProperties::WithElement(const std::string& sRPr, const std::string& sName, const std::string& sElement)
{
    if (sRPr.empty())
        return "<w:rPr>" + sElement + "</w:rPr>";
    std::string sOut = Without(sRPr, sName);
    const std::vector<std::string>& order = ChildOrder();
    size_t nPlace = sOut.rfind("</w:rPr>");
    bool bAfter = false;
    for (const std::string& sChild : order) {
        if (bAfter) {
            size_t nPos = FindChild(sOut, sChild);
            if (nPos != std::string::npos && nPos < nPlace)
                nPlace = nPos;
        }
        bAfter = bAfter || sChild == sName;
    }
    if (nPlace == std::string::npos)
        return sOut;
    sOut.insert(nPlace, sElement);
    return sOut;
}
