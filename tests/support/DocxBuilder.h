// Builds small .docx packages from XML parts for tests: a document body,
// styles, relationships, headers and footers, or any raw ZIP items.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CDocxBuilder {
public:
    // The body's inner XML (paragraphs and tables, without <w:body>).
    CDocxBuilder& Body(const std::string& sBodyXml);
    // The inner XML of <w:styles>.
    CDocxBuilder& Styles(const std::string& sStylesXml);
    // <Relationship .../> elements of word/_rels/document.xml.rels.
    CDocxBuilder& Relationships(const std::string& sRelsXml);
    // word/header<n>.xml or word/footer<n>.xml holding sInnerXml in <w:hdr>/<w:ftr>.
    CDocxBuilder& Header(int n, const std::string& sInnerXml);
    CDocxBuilder& Footer(int n, const std::string& sInnerXml);
    // Any item, written as given.
    CDocxBuilder& Item(const std::string& sName, const std::string& sData);

    // Writes the package; false on failure.
    bool Write(const std::string& sPath) const;

    // The full word/document.xml text for a body.
    static std::string Document(const std::string& sBodyXml);
    // A paragraph with one run per text ("<w:p><w:r><w:t>a</w:t></w:r>...</w:p>").
    static std::string Para(const std::string& sText, const std::string& sPPr = "");
    static std::string Run(const std::string& sText, const std::string& sRPr = "");
    // A table of rows of cells, each cell one paragraph.
    static std::string Table(const std::vector<std::vector<std::string>>& rows);

private:
    std::vector<std::pair<std::string, std::string>> m_vecItems;
};

// Writes a ZIP archive of (name, data) items; false on failure.
bool WriteZip(const std::string& sPath, const std::vector<std::pair<std::string, std::string>>& items);
// The same, then one more item sLastName holding sChunk nRepeat times
// (fast compression, ZIP64), for packages that unpack to very large sizes.
bool WriteZipRepeated(const std::string& sPath, const std::vector<std::pair<std::string, std::string>>& items,
                      const std::string& sLastName, const std::string& sChunk, size_t nRepeat);
