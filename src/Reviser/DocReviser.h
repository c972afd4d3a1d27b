// The reviser: turns findings into visible changes. It writes a revised
// copy of a checked document with every finding applied (or, tracked, with
// every correction a tracked change and every other finding a comment),
// and marks the findings in the document's HTML pages with insertion and
// deletion marks and a hint. Findings are applied from the last to the
// first, so a change never moves the place of one still to come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Checker/CheckRecord.h"
#include "Docx/KeyVal.h"
#include "Reviser/ReviseRecords.h"

class CCheckResult;
class CDocxParser;
class CID2Message;
class CNum2FontSize;

class CDocReviser {
public:
    // The catalogue gives the texts of the notes at the end of a revised
    // document, the size table the numbers of font-size names. Not owned;
    // either may be null.
    explicit CDocReviser(const CID2Message* pCatalogue = nullptr, const CNum2FontSize* pFontSizes = nullptr);
    ~CDocReviser();
    CDocReviser(const CDocReviser&) = delete;
    CDocReviser& operator=(const CDocReviser&) = delete;

    // Writes "<name>_Revised_<time>.docx" beside the unpacked document of a
    // saved result, with every finding applied; the checked document and
    // its unpacked folder stay as they are. Its path, or "" with the last
    // error set (unreadable result, unpacked folder missing, or a
    // document.xml that no longer fits the result).
    std::string Revise(const char* sResultFile);
    // The same copy with every text correction a tracked change (deletion
    // and insertion by "veskar") and every other finding a comment on its
    // paragraph; findings about the whole document are comments on its
    // first paragraph.
    std::string ReviseTracked(const char* sResultFile);
    // Marks the findings in the parser's HTML pages and sets each finding's
    // page; the key values (cited standards) become search links. 1, or -1
    // when the parser has no pages.
    int ShowCheckInHtml(CDocxParser* pParser, CCheckResult* pResult, const std::vector<_tKeyVal>& vecKeyValues);

    // ---- Steps -------------------------------------------------------------
    // Applies one finding to a document.xml text or (bHtml) to a page: 1
    // applied or nothing to do, 2 the findings about the whole document
    // were added, -2 its paragraph is not there.
    int ParagraphRevise(std::string& sDoc, const _tCheckResult& finding, bool bHtml);
    // Packs the unpacked folder with the parts given (by their names in the
    // package) in place of its files; the new file's path, or "".
    std::string GenerateNewDocx(const std::map<std::string, std::string>& mapParts);
    // Applies a text finding within [nParaStart, nParaEnd); nParaEnd moves
    // with every change.
    void TextRevise(std::string& sDoc, size_t nParaStart, size_t& nParaEnd, const _tCheckResult& finding,
                    bool bHtml);
    // Inserts an insertion mark with its hint at nPos; the bytes inserted.
    size_t InsertHtmlText(std::string& sDoc, size_t nPos, const _tCheckResult& finding);
    // Wraps [nStart, nEnd) in a deletion mark unless it overlaps the last
    // one; nStart moves past the opening mark. The bytes inserted.
    size_t DelHtmlText(std::string& sDoc, size_t& nStart, size_t nEnd, const _tCheckResult& finding);
    // Adds the findings about the whole document, from the current one back
    // to the first of their run, as notes at the end.
    void AddInfoInEnding(std::string& sDoc, bool bHtml);
    // Turns a cited standard on its page into a link to the page's searchRule.
    void ShowStandard(const _tKeyVal& keyValue);
    static bool GetParagraphBoundry(const std::string& sDoc, uint32_t nParaId, bool bHtml, size_t& nStart,
                                    size_t& nEnd);
    static std::vector<_tSegInfo> GetTextSegments(const std::string& sDoc, size_t nStart, size_t nEnd, bool bHtml);
    static _tReviseLocation GetReviseLocation(const std::vector<_tSegInfo>& vecSegs, size_t nOffset,
                                              const std::string& sOrg, bool bHtml);
    // A suggested text ready for insertion: escaped, with its alignment
    // markup turned into runs of their own (document; carrying sRPr, the
    // properties of the run it goes into) or into <sup>/<sub> (HTML).
    static std::string TextNormalize(const std::string& sText, bool bHtml, const std::string& sRPr = "");
    // Writes text to "debug.htm" in the working folder (a diagnostic aid). 1 or -1.
    int OutputHtml(const std::string& sText);

    const std::string& Filename() const { return m_sFilename; }
    // What the last revision did with its findings.
    const _tReviseReport& Report() const { return m_report; }

private:
    enum class EOutcome { Applied, ParaMissing, TextMissing, NotApplied };

    bool LoadForRevision(const char* sResultFile, std::string& sDoc);
    bool DocumentFits(const std::string& sDoc, const char* sResultFile);
    void ApplyAll(std::string& sDoc);
    void Release();
    void Count(int nResult);
    static void ReportMissing(const _tCheckResult& finding);

    void ReviseFont(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding);
    void ReviseFontSize(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding);
    void ReviseLevel(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding);
    void ReviseLineSpace(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding);
    bool ReplaceLevelElement(std::string& sDoc, size_t nStart, size_t& nEnd, const std::string& sOld,
                             const std::string& sNew, int nReviseType);
    int FontSizeNumber(const std::string& sName) const;
    void NotFound(const std::string& sWhat);

    void DocTextRevise(std::string& sDoc, const std::vector<_tSegInfo>& vecSegs, const _tReviseLocation& location,
                       size_t& nParaEnd, const _tCheckResult& finding);
    void HtmlTextRevise(std::string& sDoc, const _tReviseLocation& location, size_t& nParaEnd,
                        const _tCheckResult& finding);
    std::string HtmlHint(const _tCheckResult& finding, bool bChange) const;
    std::string HtmlMarkAttributes(const _tCheckResult& finding) const;
    std::string CatalogueText(const char* sCode, const char* sDefault) const;
    std::string NoteFont() const;
    std::vector<const _tCheckResult*> DocumentLevelRun(int nPage);
    void AddDocumentNotes(std::string& sDoc, const std::vector<const _tCheckResult*>& vecNotes) const;
    void AddHtmlNotes(std::string& sDoc, const std::vector<const _tCheckResult*>& vecNotes) const;
    int PageOf(uint32_t nParaId) const;

    std::string m_sFilename;
    CDocxParser* m_pDocParser = nullptr;      // pages being marked; not owned
    CCheckResult* m_pCheckResult = nullptr;   // the findings being applied
    std::unique_ptr<CCheckResult> m_pOwnedResult;  // those read by a revision
    size_t m_nPrevDelStart = 0;
    size_t m_nPrevDelEnd = 0;
    const std::string* m_pPrevDelDoc = nullptr;  // the text that range lies in
    int m_nErrIndex = 0;
    const CID2Message* m_pCatalogue = nullptr;
    const CNum2FontSize* m_pFontSizes = nullptr;
    std::string m_sUnzipFolder;  // of the result being revised
    std::string m_sMarkTime;     // the time the HTML marks carry
    EOutcome m_eOutcome = EOutcome::Applied;
    _tReviseReport m_report;
};
