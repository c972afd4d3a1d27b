#include "Reviser/CommentsPart.h"

#include <algorithm>
#include <cstdlib>

#include "Reviser/MarkupText.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kRelsPart = "word/_rels/document.xml.rels";
const char* const kTypesPart = "[Content_Types].xml";
const char* const kCommentsType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments";
const char* const kCommentsContent = "application/vnd.openxmlformats-officedocument.wordprocessingml.comments+xml";

// The value of attribute sName in the element [nStart, nEnd).
std::string Attribute(const std::string& sXml, size_t nStart, size_t nEnd, const std::string& sName)
{
    std::string sKey = " " + sName + "=\"";
    size_t nPos = sXml.find(sKey, nStart);
    if (nPos == std::string::npos || nPos >= nEnd)
        return "";
    nPos += sKey.size();
    size_t nQuote = sXml.find('"', nPos);
    return nQuote == std::string::npos ? "" : sXml.substr(nPos, nQuote - nPos);
}

// A relationship id no relationship of the part uses.
std::string FreeRelationshipId(const std::string& sRels)
{
    long long nMax = 0;
    for (size_t nPos = sRels.find("Id=\"rId"); nPos != std::string::npos; nPos = sRels.find("Id=\"rId", nPos + 1))
        nMax = std::max(nMax, std::atoll(sRels.c_str() + nPos + 7));
    for (long long n = nMax + 1;; ++n) {
        std::string sId = "rId" + std::to_string(n);
        if (sRels.find("Id=\"" + sId + "\"") == std::string::npos)
            return sId;
    }
}

// sXml with sInsert as the last child of its root element sRoot (one written
// empty, "<Types .../>", is opened first); false when there is no such root.
bool AppendToRoot(std::string& sXml, const std::string& sRoot, const std::string& sInsert)
{
    size_t nClose = sXml.rfind("</" + sRoot + ">");
    if (nClose != std::string::npos) {
        sXml.insert(nClose, sInsert);
        return true;
    }
    size_t nRoot = sXml.find("<" + sRoot);
    size_t nRootEnd = nRoot == std::string::npos ? nRoot : sXml.find('>', nRoot);
    if (nRootEnd == std::string::npos || sXml[nRootEnd - 1] != '/')
        return false;
    sXml.replace(nRootEnd - 1, 2, ">" + sInsert + "</" + sRoot + ">");
    return true;
}

}  // namespace

CCommentsPart::CCommentsPart(std::string sFolder) : m_sFolder(std::move(sFolder))
{
    ReadWholeFile(JoinPath(m_sFolder, kRelsPart), m_sRels);
    std::string sTarget = CommentsTarget(m_sRels);
    if (!sTarget.empty()) {
        m_bHasRelationship = true;
        m_sPartName = sTarget[0] == '/' ? sTarget.substr(1) : "word/" + sTarget;
    }
    ReadWholeFile(JoinPath(m_sFolder, m_sPartName), m_sExisting);
}

std::string CCommentsPart::CommentsTarget(const std::string& sRels)
{
    std::string sType = std::string("Type=\"") + kCommentsType + "\"";
    size_t nPos = sRels.find(sType);
    if (nPos == std::string::npos)
        return "";
    size_t nStart = sRels.rfind('<', nPos);
    size_t nEnd = sRels.find('>', nPos);
    if (nStart == std::string::npos || nEnd == std::string::npos)
        return "";
    return Attribute(sRels, nStart, nEnd, "Target");
}

long long CCommentsPart::MaxIdIn(const std::string& sXml)
{
    long long nMax = -1;
    for (size_t nPos = sXml.find(" w:id=\""); nPos != std::string::npos; nPos = sXml.find(" w:id=\"", nPos + 1))
        nMax = std::max(nMax, std::atoll(sXml.c_str() + nPos + 7));
    return nMax;
}

long long CCommentsPart::MaxId() const
{
    return MaxIdIn(m_sExisting);
}

void CCommentsPart::Add(long long nId, const std::vector<std::string>& vecLines, const std::string& sDate)
{
    m_sComments += "<w:comment w:id=\"" + std::to_string(nId) + "\" w:author=\"veskar\" w:date=\"" + sDate +
                   "\" w:initials=\"VK\">";
    bool bFirst = true;
    for (const std::string& sLine : vecLines) {
        m_sComments += "<w:p>";
        if (bFirst)
            m_sComments += "<w:r><w:annotationRef/></w:r>";
        bFirst = false;
        m_sComments += "<w:r><w:t xml:space=\"preserve\">" + CMarkupText::EscapeText(sLine) + "</w:t></w:r></w:p>";
    }
    if (vecLines.empty())
        m_sComments += "<w:p><w:r><w:annotationRef/></w:r></w:p>";
    m_sComments += "</w:comment>";
}

std::string CCommentsPart::CommentsXml() const
{
    std::string sXml = m_sExisting;
    if (AppendToRoot(sXml, "w:comments", m_sComments))
        return sXml;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<w:comments xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
           m_sComments + "</w:comments>";
}

std::string CCommentsPart::RelationshipsXml() const
{
    std::string sRel = "<Relationship Id=\"" + FreeRelationshipId(m_sRels) + "\" Type=\"" + kCommentsType +
                       "\" Target=\"" + m_sPartName.substr(5) + "\"/>";
    std::string sXml = m_sRels;
    if (AppendToRoot(sXml, "Relationships", sRel))
        return sXml;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           sRel + "</Relationships>";
}

bool CCommentsPart::ContentTypesXml(std::string& sTypes) const
{
    if (!ReadWholeFile(JoinPath(m_sFolder, kTypesPart), sTypes))
        return false;
    std::string sPartName = "PartName=\"/" + m_sPartName + "\"";
    if (sTypes.find(sPartName) != std::string::npos)
        return true;
    return AppendToRoot(sTypes, "Types", "<Override " + sPartName + " ContentType=\"" + kCommentsContent + "\"/>");
}

bool CCommentsPart::Finish(std::map<std::string, std::string>& mapParts, std::string& sError) const
{
    if (m_sComments.empty())
        return true;
    std::string sTypes;
    if (!ContentTypesXml(sTypes)) {
        sError = std::string("the package has no usable ") + kTypesPart;
        return false;
    }
    mapParts[kTypesPart] = sTypes;
    mapParts[m_sPartName] = CommentsXml();
    if (!m_bHasRelationship)
        mapParts[kRelsPart] = RelationshipsXml();
    return true;
}
