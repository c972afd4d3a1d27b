// The type name is what follows the standard relationship namespace
// ("http://schemas.openxmlformats.org/officeDocument/2006/relationships/").
#include "Docx/RelationReader.h"

#include <algorithm>

#include "Docx/XmlScan.h"

namespace {
constexpr size_t kNamespaceLength = 68;
}

std::vector<std::string> CRelationReader::TypeNames()
{
    return {"comments", "endnotes", "fontTable", "footer", "footnotes", "header",
            "image", "numbering", "oleObject", "settings", "styles"};
}

int CRelationReader::ReadRelations(std::string_view sText, const std::vector<std::string>& vecTypes,
                                   std::map<std::string, _tRelationInfo>& mapId2Res)
{
    int nCount = 0;
    size_t nPos = 0;
    // Any attribute order is accepted: some producers do not write Id first.
    while ((nPos = FindIn(sText, "<Relationship ", nPos)) != XML_NPOS) {
        size_t nEnd = FindIn(sText, "/>", nPos);
        size_t nNext = FindIn(sText, "<", nPos + 1);
        if (nEnd == XML_NPOS || (nNext != XML_NPOS && nNext < nEnd))
            nEnd = nNext == XML_NPOS ? sText.size() : nNext;
        std::string sId, sType, sTarget;
        GetXMLPropertyValue(sText, nPos, " Id", sId, nEnd);
        GetXMLPropertyValue(sText, nPos, " Type", sType, nEnd);
        GetXMLPropertyValue(sText, nPos, " Target", sTarget, nEnd);
        nPos = nEnd;
        if (sId.empty() || sType.size() <= kNamespaceLength)
            continue;
        auto it = std::find(vecTypes.begin(), vecTypes.end(), sType.substr(kNamespaceLength));
        if (it == vecTypes.end())
            continue;
        _tRelationInfo& info = mapId2Res[sId];
        info.file = sTarget;
        info.type = static_cast<int>(it - vecTypes.begin());
        ++nCount;
    }
    return nCount;
}
