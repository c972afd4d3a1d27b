// Entity handling for the library's own flat XML files.
#include "Utility/EncodingConverter.h"
#include "Utility/XmlText.h"

#include <cstdlib>

namespace {

// Decodes the entity starting at sText[nAmp] ('&'); returns its length, or 0.
size_t DecodeEntity(const std::string& sText, size_t nAmp, std::string& sOut)
{
    size_t nSemi = sText.find(';', nAmp);
    if (nSemi == std::string::npos || nSemi - nAmp > 10)
        return 0;
    std::string sName = sText.substr(nAmp + 1, nSemi - nAmp - 1);
    static const struct { const char* sName; char c; } kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& named : kNamed) {
        if (sName == named.sName) {
            sOut += named.c;
            return nSemi - nAmp + 1;
        }
    }
    if (sName.size() < 2 || sName[0] != '#')
        return 0;
    bool bHex = sName[1] == 'x' || sName[1] == 'X';
    const char* sDigits = sName.c_str() + (bHex ? 2 : 1);
    char* pEnd = nullptr;
    unsigned long nCode = std::strtoul(sDigits, &pEnd, bHex ? 16 : 10);
    if (*sDigits == '\0' || *pEnd != '\0' || nCode == 0 || nCode > 0x10FFFF)
        return 0;
    AppendUtf8(sOut, nCode);
    return nSemi - nAmp + 1;
}

}  // namespace

std::string XmlEscape(const std::string& sText)
{
    // Plain runs between the bytes that need care are copied whole.
    std::string sOut;
    sOut.reserve(sText.size() + sText.size() / 16);
    size_t nPlain = 0;
    for (size_t i = 0; i < sText.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c >= 0x40 || (c > 0x27 && c != '<' && c != '>') || c == ' ' || c == '!' || c == '#' ||
            c == '$' || c == '%')
            continue;
        const char* sEntity = nullptr;
        switch (c) {
        case '&': sEntity = "&amp;"; break;
        case '<': sEntity = "&lt;"; break;
        case '>': sEntity = "&gt;"; break;
        case '"': sEntity = "&quot;"; break;
        case '\'': sEntity = "&apos;"; break;
        case '\t': case '\n': case '\r': continue;
        default: sEntity = ""; break;  // a control character XML cannot carry
        }
        sOut.append(sText, nPlain, i - nPlain);
        sOut += sEntity;
        nPlain = i + 1;
    }
    sOut.append(sText, nPlain, std::string::npos);
    return sOut;
}

std::string XmlUnescape(const std::string& sText)
{
    if (sText.find('&') == std::string::npos)
        return sText;
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size(); ++i) {
        size_t nLen = sText[i] == '&' ? DecodeEntity(sText, i, sOut) : 0;
        if (nLen == 0)
            sOut += sText[i];
        else
            i += nLen - 1;
    }
    return sOut;
}

bool XmlElementText(const std::string& sXml, const std::string& sName, size_t nFrom, size_t nLimit,
                    std::string& sOut)
{
    std::string sOpen = "<" + sName + ">";
    size_t nStart = sXml.find(sOpen, nFrom);
    if (nStart == std::string::npos || nStart >= nLimit)
        return false;
    nStart += sOpen.size();
    size_t nEnd = sXml.find("</" + sName + ">", nStart);
    if (nEnd == std::string::npos || nEnd > nLimit)
        return false;
    sOut = XmlUnescape(sXml.substr(nStart, nEnd - nStart));
    return true;
}
