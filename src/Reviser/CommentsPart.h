// The comments of a package (word/comments.xml) with what makes Word find
// them: the relationship from the document and the part's content type.
// An existing comments part is extended, otherwise one is created.
#pragma once

#include <map>
#include <string>
#include <vector>

class CCommentsPart {
public:
    // Reads the parts involved from an unpacked package.
    explicit CCommentsPart(std::string sFolder);

    // The highest comment id already in the package, -1 when none.
    long long MaxId() const;
    // Adds a comment by "veskar" dated sDate (ISO 8601), one paragraph per line.
    void Add(long long nId, const std::vector<std::string>& vecLines, const std::string& sDate);
    bool Empty() const { return m_sComments.empty(); }

    // The changed parts by their names in the package (comments, and the
    // relationships and content types when they lacked the part). False
    // when the package has no content types to extend.
    bool Finish(std::map<std::string, std::string>& mapParts, std::string& sError) const;

    static long long MaxIdIn(const std::string& sXml);

private:
    // Where the document's relationships point at comments; "" when nowhere.
    static std::string CommentsTarget(const std::string& sRels);
    std::string CommentsXml() const;
    std::string RelationshipsXml() const;
    bool ContentTypesXml(std::string& sTypes) const;

    std::string m_sFolder;
    std::string m_sPartName = "word/comments.xml";
    bool m_bHasRelationship = false;
    std::string m_sExisting;   // the comments part as it was, "" when missing
    std::string m_sRels;       // word/_rels/document.xml.rels as it was
    std::string m_sComments;   // the <w:comment> elements added
};
