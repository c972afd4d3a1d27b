// Packages are written with minizip, the same library the parser reads with.
#include "support/DocxBuilder.h"

#include <minizip/zip.h>

namespace {

const char* kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";

void SetItem(std::vector<std::pair<std::string, std::string>>& items, const std::string& sName,
             const std::string& sData)
{
    for (auto& item : items) {
        if (item.first == sName) {
            item.second = sData;
            return;
        }
    }
    items.emplace_back(sName, sData);
}

}  // namespace

namespace {

bool WriteEntry(zipFile zf, const std::string& sName, const std::string& sChunk, size_t nRepeat, int nLevel)
{
    zip_fileinfo info {};
    if (zipOpenNewFileInZip64(zf, sName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, nLevel,
                              nRepeat > 1 ? 1 : 0) != ZIP_OK)
        return false;
    bool bOk = true;
    for (size_t i = 0; i < nRepeat && bOk; ++i)
        bOk = zipWriteInFileInZip(zf, sChunk.data(), static_cast<unsigned>(sChunk.size())) == ZIP_OK;
    return zipCloseFileInZip(zf) == ZIP_OK && bOk;
}

}  // namespace

bool WriteZipRepeated(const std::string& sPath, const std::vector<std::pair<std::string, std::string>>& items,
                      const std::string& sLastName, const std::string& sChunk, size_t nRepeat)
{
    zipFile zf = zipOpen64(sPath.c_str(), APPEND_STATUS_CREATE);
    if (!zf)
        return false;
    bool bOk = true;
    for (const auto& item : items)
        bOk = bOk && WriteEntry(zf, item.first, item.second, 1, Z_DEFAULT_COMPRESSION);
    if (bOk && !sLastName.empty())
        bOk = WriteEntry(zf, sLastName, sChunk, nRepeat, 1);
    return zipClose(zf, nullptr) == ZIP_OK && bOk;
}

bool WriteZip(const std::string& sPath, const std::vector<std::pair<std::string, std::string>>& items)
{
    return WriteZipRepeated(sPath, items, "", "", 0);
}

std::string CDocxBuilder::Document(const std::string& sBodyXml)
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document ") +
           kNamespaces + "><w:body>" + sBodyXml + "<w:sectPr/></w:body></w:document>";
}

std::string CDocxBuilder::Run(const std::string& sText, const std::string& sRPr)
{
    std::string sProps = sRPr.empty() ? "" : "<w:rPr>" + sRPr + "</w:rPr>";
    return "<w:r>" + sProps + "<w:t xml:space=\"preserve\">" + sText + "</w:t></w:r>";
}

std::string CDocxBuilder::Para(const std::string& sText, const std::string& sPPr)
{
    std::string sProps = sPPr.empty() ? "" : "<w:pPr>" + sPPr + "</w:pPr>";
    return "<w:p w:rsidR=\"00AB12CD\">" + sProps + (sText.empty() ? "" : Run(sText)) + "</w:p>";
}

std::string CDocxBuilder::Table(const std::vector<std::vector<std::string>>& rows)
{
    std::string sXml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>"
                       "<w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid>";
    for (const auto& row : rows) {
        sXml += "<w:tr w:rsidR=\"00AB12CD\"><w:trPr><w:jc w:val=\"center\"/></w:trPr>";
        for (const auto& cell : row)
            sXml += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>" + Para(cell) + "</w:tc>";
        sXml += "</w:tr>";
    }
    return sXml + "</w:tbl>";
}

CDocxBuilder& CDocxBuilder::Item(const std::string& sName, const std::string& sData)
{
    SetItem(m_vecItems, sName, sData);
    return *this;
}

CDocxBuilder& CDocxBuilder::Body(const std::string& sBodyXml)
{
    return Item("word/document.xml", Document(sBodyXml));
}

CDocxBuilder& CDocxBuilder::Styles(const std::string& sStylesXml)
{
    return Item("word/styles.xml", std::string("<?xml version=\"1.0\"?><w:styles ") + kNamespaces + ">" +
                                       sStylesXml + "</w:styles>");
}

CDocxBuilder& CDocxBuilder::Relationships(const std::string& sRelsXml)
{
    return Item("word/_rels/document.xml.rels",
                "<?xml version=\"1.0\"?><Relationships "
                "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                    sRelsXml + "</Relationships>");
}

CDocxBuilder& CDocxBuilder::Header(int n, const std::string& sInnerXml)
{
    return Item("word/header" + std::to_string(n) + ".xml",
                std::string("<?xml version=\"1.0\"?><w:hdr ") + kNamespaces + ">" + sInnerXml + "</w:hdr>");
}

CDocxBuilder& CDocxBuilder::Footer(int n, const std::string& sInnerXml)
{
    return Item("word/footer" + std::to_string(n) + ".xml",
                std::string("<?xml version=\"1.0\"?><w:ftr ") + kNamespaces + ">" + sInnerXml + "</w:ftr>");
}

bool CDocxBuilder::Write(const std::string& sPath) const
{
    auto items = m_vecItems;
    bool bHasDocument = false;
    bool bHasTypes = false;
    for (const auto& item : items) {
        bHasDocument = bHasDocument || item.first == "word/document.xml";
        bHasTypes = bHasTypes || item.first == "[Content_Types].xml";
    }
    if (!bHasTypes)
        SetItem(items, "[Content_Types].xml",
                "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    if (!bHasDocument)
        SetItem(items, "word/document.xml", Document(""));
    return WriteZip(sPath, items);
}
