// One parsed document: paragraphs in reading order, tables, figures, headers
// and footers, styles and relationships, addressed by paragraph id. Every
// check reads the document through this model. One parser belongs to one
// checking instance and is reused document after document.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocModel.h"
#include "Docx/DocxRecords.h"
#include "Docx/KeyVal.h"
#include "Docx/ListNumbering.h"
#include "Docx/StyleSheet.h"

class CDocxParser {
public:
    CDocxParser();
    ~CDocxParser();
    CDocxParser(const CDocxParser&) = delete;
    CDocxParser& operator=(const CDocxParser&) = delete;

    // ---- Imports ---------------------------------------------------------
    // Any supported file, dispatched on its extension. 1 on success; -1 a
    // document could not be imported, -2 a saved result could not be
    // reloaded, -3 no text could be read, -4 the converted text could not
    // be written.
    int ImportFile(const char* sFile, const char* sURLPrefix, int nReportType, int nResultFormat);
    // A .docx (or a format converted to it): the path of the written result
    // file, or "" on failure.
    const char* ImportDocx(const char* sFile, const char* sURLPrefix, int nReportType,
                           int nResultFormat);
    // Plain text: each non-empty line becomes a paragraph whose id is the
    // line's byte offset in the UTF-8 text.
    int ImportMemory(const char* sText, int nReportType, int nResultFormat, bool bHasPath);
    int ImportText(const char* sFile, int nReportType);
    // The plain text of a .docx (body only); its unpacked folder is removed.
    const char* GetDocxText(const char* sFile);
    // Rebuilds the model from a saved document file and its content file.
    // Bytes read, 0 on failure.
    size_t LoadDocResult(const char* sResultFile);

    // ---- Lookups ---------------------------------------------------------
    // The para_index of the location of an id, -1 when unknown.
    int GetParaIndex(uint32_t nParaId, _tParaIndex* pIndex = nullptr) const;
    int GetLevel(uint32_t nParaId) const;
    const char* GetText(uint32_t nParaId);
    // The whole text: paragraphs, and tables cell by cell.
    const char* GetText();
    uint32_t GetLastParaID() const;
    int GetPageNum(uint32_t nParaId) const;
    int LocateChapter(unsigned nParaIndex) const;
    int LocateChapterID(unsigned nParaIndex) const;
    // Body list, headers, footers, then every cell paragraph.
    void GetAllParagraph(std::vector<_tParagraph>& vecOut) const;
    void DocCharStat();

    // ---- Outputs ---------------------------------------------------------
    // Writes the content file, then the document file; its path or null.
    const char* GetXMLFile(int nFormat);
    const char* GetContentXMLFile();
    const char* GetContentJsonFile();
    const char* GetXMLData();
    const char* GetJsonData(bool bWithTables);
    const char* GetContentXML();
    const char* GetContentJson();
    // Document name + sSuffix in the output folder (beside the input
    // document unless the caller set an output folder).
    std::string OutputPath(const std::string& sSuffix) const;

    // ---- HTML pages --------------------------------------------------------
    // Pages of the document for a browser, every paragraph element labelled
    // with its id (what the reviser marks findings at): m_vecHtmlText, their
    // common head m_sHtmlPrefix, their first ids in Model().PageParaIDs().
    // Reads the HTML export "<name>.htm" (converted to UTF-8 when it
    // declares a GBK charset), labels it, puts sURLPrefix before its image
    // sources and cuts it into pages. 1, or -1 when it cannot be read
    // ("Failed Read File " + path): no pages then.
    int GenerateDocHtm(const char* sURLPrefix);
    // Writes the export from the model (a file of that name that this
    // library did not write is used as it is), then GenerateDocHtm. The
    // URL prefix is kept. 1, or -1 as GenerateDocHtm.
    int ReuildHtml(const char* sURLPrefix);
    // Cuts m_sHtmlText (labelled) into pages and numbers the paragraphs'
    // pages: sections of the export, short ones joined, long ones cut.
    void PageSegment();
    // Appends the pieces of one long section as pages.
    void PageFurtherSegment(const std::string& sText);
    // Writes every page ("<name>_%d.htm") and the style sheets and scripts
    // they link; the path of page 0, or null (no pages, or a page could not
    // be written: "Failed writing file " + path).
    const char* OutputHtmlPages();
    // Writes page n with its pager; n past the last page writes the whole
    // labelled HTML (OutputHtmlFile). The path, or null.
    const char* OutputHtmlOnePage(int n);
    // Writes m_sHtmlText to "<name>.htm"; the path or null. A file of that
    // name that this library did not write is never replaced.
    const char* OutputHtmlFile();
    // Reads "<name>.htm" into m_sHtmlText: 1, or -1 ("Failed reading file " + path).
    int InputHtmlFile();
    // The font family (the first one named) and size in points of the spans
    // of an HTML element; false when it names neither. The font is kept in
    // m_sLastFont.
    bool GetHtmlFont(std::string_view sElement, std::string& sFont, double& dSizePt);
    // The page of a plain-text import ("<name>_0.htm"); false when it could
    // not be written (the import goes on without it).
    bool WritePlainTextPage();

    // ---- Structure -------------------------------------------------------
    // Headings from their numbers; the number of headings found.
    int ParseSection();
    // Report types whose documents without heading styles get their
    // headings from their numbers.
    static bool NumbersGiveHeadings(int nReportType);
    void ResetCurTemplateInfo();
    const char* GetCurTemplateInfo();
    int GetOrgType(int nType, KEY_VAL& keyOrganization, KEY_VAL& keyArea, KEY_VAL& keyArgu) const;

    // ---- Parsing steps ---------------------------------------------------
    void Reset();
    // Unpacks into the document's work folder (<name>_unzip in the output
    // folder): 1, or a negative package error (the message is the last error).
    int ReadDocx(const std::string& sDocx);
    // The .docx to read for a document file: the file itself, or the .docx
    // converted from it into a private folder (removed once it is unpacked,
    // or with the parser). "" on failure.
    std::string Doc2Docx(const std::string& sFile);
    // Scans the unpacked package; with bFull also relationships, styles,
    // headers, footers and the structure. 1 or -1.
    int ParseStruct(int nReportType, const char* sURLPrefix, bool bFull);
    int ReadResInfo();
    const _tRelationInfo* GetResInfo(const std::string& sId) const;
    int GetTypeId(const std::string& sType) const;
    int ExtractStyles();
    // The theme's fonts and the theme language of settings.xml.
    void ReadThemeFonts();
    int StyleID2Level(const std::string& sStyleId) const;
    int ReadHeaderFooter();
    // The list definitions of numbering.xml; their count (0 without the part).
    int ReadNumbering();
    // Appends a paragraph unless the rules drop it; true when it was kept.
    bool AddOnePara(_tParagraph& para);
    void BuildContent();
    void RebuildParagraph();

    // ---- The document ------------------------------------------------------
    // What the checks read. The parsing steps change it through its
    // operations (EditModel); a document built elsewhere replaces it whole.
    const CDocModel& Model() const { return m_model; }
    // The styles, defaults and theme fonts of the document being read.
    const CStyleSheet& StyleSheet() const { return m_styleSheet; }
    void SetModel(CDocModel model) { m_model = std::move(model); }
    // Corrections the format check makes: a heading's level (1000 marks a
    // paragraph that is no heading after all) and the chapters it numbered
    // (chapter numbers and the body indexes of their headings).
    bool SetHeadingLevel(size_t nIndex, int nLevel) { return m_model.SetLevel(nIndex, nLevel); }
    void SetChapters(std::vector<int> vecIds, std::vector<unsigned> vecParaIndexes)
    {
        m_model.SetChapters(std::move(vecIds), std::move(vecParaIndexes));
    }

    // ---- The import and its settings --------------------------------------
    std::string m_sHtmlText;
    std::string m_sHtmlPrefix;
    std::vector<std::string> m_vecHtmlText;
    KEY_VAL m_keyValOrganization;
    KEY_VAL m_keyValArgu;
    KEY_VAL m_keyValArea;
    int m_nReportType = 0;
    std::string m_sFilename;
    std::string m_sPath;
    std::string m_sResult;
    std::map<std::string, _tRelationInfo> m_mapId2Res;
    std::vector<std::string> m_vecTypes;
    std::vector<_tParagraph> m_vecStyles;
    std::map<std::string, _tParagraph> m_mapStyleId2Style;
    std::string m_sDocFormatExt;
    std::string m_sURLPrefix;
    std::unique_ptr<std::string> m_pTextStart;  // the XML file being scanned
    int m_nParaIndex = 0;
    int m_nTableIndex = 0;
    int m_nResultFormat = 0;  // 0 XML, 1 JSON
    std::string m_sLastFont;
    std::map<std::string, int> m_mapStyleId2Level;

private:
    // The parsing steps that build the document.
    friend class CBodyScanner;
    friend class CDocStructBuilder;
    friend class CContentReader;
    friend class CPaperParser;
    CDocModel& EditModel() { return m_model; }

    // Unpacks sDocx into m_sPath + "/" + m_sFilename + "_unzip", which becomes m_sPath.
    int UnpackDocument(const std::string& sDocx);
    void RemoveConversion();
    // A part of the unpacked package: taken from those kept in memory while
    // unpacking, else read from the folder.
    bool ReadPart(const std::string& sPart, std::string& sText);
    static bool IsReadPart(const std::string& sName);
    int ImportConvertedText(const std::string& sFile, const std::string& sFolder,
                            const std::string& sExt);
    // The HTML pages step of a parse, and their reload with a saved document.
    void LabelHtml(const char* sURLPrefix);
    void NumberPages();
    void ReloadHtmlPages();
    void ClearHtmlPages();
    // Appends a page (or, without a label in order, adds its text to the
    // next or last page).
    void AppendPage(std::string_view sText, std::vector<uint32_t>& vecIds, std::string& sPending);
    void AppendPieces(std::string_view sSection, std::vector<uint32_t>& vecIds);
    // Writes an output file unless a file of the user's own has that name.
    bool WriteOutput(const std::string& sPath, const std::string& sData, const char* sMarker);

    std::string m_sConversionFolder;  // private folder of a converted input, until unpacked
    std::map<std::string, std::string> m_mapParts;  // parts kept while unpacking, until read
    CDocModel m_model;
    CStyleSheet m_styleSheet;
    CListNumbering m_listNumbering;  // the automatic numbers of the document being scanned
};
