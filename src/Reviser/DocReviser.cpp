// Revision of a saved result: the result names the unpacked package of its
// document, whose word/document.xml is changed in memory and packed into a
// new file together with every other part as it was unpacked.
#include "Reviser/DocReviser.h"

#include <algorithm>
#include <cstdio>

#include "Checker/CheckResult.h"
#include "Global/Globals.h"
#include "Reviser/ParagraphAddress.h"
#include "Reviser/ReviseLocator.h"
#include "Reviser/RevisedPackage.h"
#include "Reviser/TrackedReviser.h"
#include "Reviser/WindowedRevision.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

constexpr uint32_t kDocumentLevel = 0xFFFFFFFF;
const char* const kDocumentPart = "word/document.xml";

// A finding without an original or a new text (a figure placed wrongly,
// say) changes nothing, wherever its paragraph is.
bool NothingToDo(const _tCheckResult& finding)
{
    return finding.org_str.empty() && finding.new_str.empty();
}

// The unpacked folder a result names. A check run on a relative path writes
// a relative one, which is then looked for beside the result file too. ""
// when there is none.
std::string UnpackedFolder(const std::string& sResultFile, const std::string& sPath)
{
    std::vector<std::string> vecTries = {sPath};
    if (!sPath.empty() && sPath[0] != '/') {
        vecTries.push_back(JoinPath(DirName(sResultFile), sPath));
        vecTries.push_back(JoinPath(DirName(sResultFile), sPath.substr(sPath.find_last_of('/') + 1)));
    }
    for (const std::string& sTry : vecTries) {
        std::string sLocal;
        GetAnsiFilename(sTry.c_str(), sLocal, false);
        if (!sTry.empty() && IsDirectory(sLocal))
            return sLocal;
    }
    return "";
}

}  // namespace

CDocReviser::CDocReviser(const CID2Message* pCatalogue, const CNum2FontSize* pFontSizes)
    : m_pCatalogue(pCatalogue), m_pFontSizes(pFontSizes)
{
}

CDocReviser::~CDocReviser() = default;

std::string CDocReviser::Revise(const char* sResultFile)
{
    std::string sDoc;
    if (LoadForRevision(sResultFile, sDoc)) {
        ApplyAll(sDoc);
        std::map<std::string, std::string> mapParts;
        mapParts[kDocumentPart] = std::move(sDoc);
        m_sFilename = GenerateNewDocx(mapParts);
    }
    Release();
    return m_sFilename;
}

std::string CDocReviser::ReviseTracked(const char* sResultFile)
{
    std::string sDoc;
    if (LoadForRevision(sResultFile, sDoc)) {
        CTrackedReviser tracked(m_sUnzipFolder, std::move(sDoc));
        if (tracked.Apply(m_pCheckResult->Results(), m_report))
            m_sFilename = GenerateNewDocx(tracked.ChangedParts());
        else
            SetLastError("Failed revising " + std::string(sResultFile ? sResultFile : "") + ": " + tracked.Error());
    }
    Release();
    return m_sFilename;
}

bool CDocReviser::LoadForRevision(const char* sResultFile, std::string& sDoc)
{
    m_sFilename.clear();
    m_report = _tReviseReport();
    std::string sResult = sResultFile ? sResultFile : "";
    m_pOwnedResult = std::make_unique<CCheckResult>(m_pCatalogue);
    if (m_pOwnedResult->Import(sResult.c_str()) != 1)
        return false;
    m_pCheckResult = m_pOwnedResult.get();
    m_report.nFindings = m_pCheckResult->Results().size();
    m_sUnzipFolder = UnpackedFolder(sResult, m_pCheckResult->Path());
    if (m_sUnzipFolder.empty()) {
        SetLastError("Cannot revise " + sResult + ": the unpacked document folder \"" + m_pCheckResult->Path() +
                     "\" is missing; check the document again");
        return false;
    }
    std::string sPath = JoinPath(m_sUnzipFolder, kDocumentPart);
    // Room for the notes at the end, so adding them moves only the tail.
    sDoc.reserve(static_cast<size_t>(std::max<int64_t>(GetFileSize(sPath), 0)) + (1 << 16));
    if (!ReadWholeFile(sPath, sDoc)) {
        SetLastError("Failed read file " + sPath);
        return false;
    }
    return DocumentFits(sDoc, sResultFile);
}

// A document unpacked again after the check (another version under the same
// name) moves the paragraphs; most ids then name no paragraph at all.
bool CDocReviser::DocumentFits(const std::string& sDoc, const char* sResultFile)
{
    size_t nNamed = 0;
    size_t nFitting = 0;
    for (const _tCheckResult& finding : m_pCheckResult->Results()) {
        if (finding.para_id == kDocumentLevel || NothingToDo(finding))
            continue;
        ++nNamed;
        if (CParagraphAddress::DocStart(sDoc, finding.para_id) != CParagraphAddress::NPOS)
            ++nFitting;
    }
    if (nFitting * 2 >= nNamed)
        return true;
    SetLastError("Cannot revise " + std::string(sResultFile ? sResultFile : "") + ": " + kDocumentPart + " in \"" +
                 m_sUnzipFolder + "\" has changed since the check (" + std::to_string(nNamed - nFitting) + " of " +
                 std::to_string(nNamed) + " findings name no paragraph in it); check the document again");
    return false;
}

void CDocReviser::ApplyAll(std::string& sDoc)
{
    const std::vector<_tCheckResult>& vecResults = m_pCheckResult->Results();
    CWindowedRevision windows(sDoc);
    for (m_nErrIndex = static_cast<int>(vecResults.size()) - 1; m_nErrIndex >= 0; --m_nErrIndex) {
        const _tCheckResult& finding = vecResults[static_cast<size_t>(m_nErrIndex)];
        // The notes about the whole document come first (they sort last) and
        // go after every paragraph, before any window is taken.
        if (finding.para_id == kDocumentLevel || NothingToDo(finding)) {
            Count(ParagraphRevise(sDoc, finding, false));
            continue;
        }
        int nResult = -2;
        bool bFound = windows.Apply(finding, [&](std::string& sWindow, const _tCheckResult& relative) {
            nResult = ParagraphRevise(sWindow, relative, false);
        });
        if (!bFound)
            ReportMissing(finding);
        Count(nResult);
    }
    windows.Finish();
}

void CDocReviser::ReportMissing(const _tCheckResult& finding)
{
    char sBuf[96];
    std::snprintf(sBuf, sizeof sBuf, "Cannot locate para ending with offset = %8X", finding.para_id);
    SetLastError(sBuf);
}

void CDocReviser::Count(int nResult)
{
    if (nResult == 2)
        return;  // counted with their run
    if (nResult == -2)
        ++m_report.nParaMissing;
    else if (m_eOutcome == EOutcome::TextMissing)
        ++m_report.nTextMissing;
    else if (m_eOutcome == EOutcome::NotApplied)
        ++m_report.nNotApplied;
    else
        ++m_report.nApplied;
}

void CDocReviser::Release()
{
    m_pCheckResult = nullptr;
    m_pOwnedResult.reset();
    m_pPrevDelDoc = nullptr;
}

std::string CDocReviser::GenerateNewDocx(const std::map<std::string, std::string>& mapParts)
{
    std::string sName = CRevisedPackage::RevisedName(m_sUnzipFolder, m_pCheckResult->Filename(),
                                                     FormatLocalTime("_Revised_%Y%m%d%H%M%S"));
    CRevisedPackage package;
    std::string sWritten = package.Write(m_sUnzipFolder, mapParts, sName);
    if (sWritten.empty())
        SetLastError("Failed writing file " + sName + ": " + package.Error());
    return sWritten;
}

int CDocReviser::ParagraphRevise(std::string& sDoc, const _tCheckResult& finding, bool bHtml)
{
    m_eOutcome = EOutcome::Applied;
    if (finding.para_id == kDocumentLevel) {
        AddInfoInEnding(sDoc, bHtml);
        return 2;
    }
    if (NothingToDo(finding))
        return 1;
    size_t nStart = 0;
    size_t nEnd = 0;
    if (!GetParagraphBoundry(sDoc, finding.para_id, bHtml, nStart, nEnd)) {
        if (bHtml) {
            char sBuf[64];
            std::snprintf(sBuf, sizeof sBuf, "Cannot locate para name=\"%08X\"", finding.para_id);
            WriteError(sBuf);
        }
        ReportMissing(finding);
        return -2;
    }
    switch (finding.field_id) {
    case FIELD_TEXT:
        TextRevise(sDoc, nStart, nEnd, finding, bHtml);
        break;
    case FIELD_FONT:
        bHtml ? (void)InsertHtmlText(sDoc, nEnd, finding) : ReviseFont(sDoc, nStart, nEnd, finding);
        break;
    case FIELD_FONTSIZE:
        bHtml ? (void)InsertHtmlText(sDoc, nEnd, finding) : ReviseFontSize(sDoc, nStart, nEnd, finding);
        break;
    case FIELD_LEVEL:
        bHtml ? (void)InsertHtmlText(sDoc, nEnd, finding) : ReviseLevel(sDoc, nStart, nEnd, finding);
        break;
    case FIELD_LINE_SPACE:
        bHtml ? (void)InsertHtmlText(sDoc, nEnd, finding) : ReviseLineSpace(sDoc, nStart, nEnd, finding);
        break;
    default:  // content: shown in the pages only
        if (bHtml)
            InsertHtmlText(sDoc, nEnd, finding);
        break;
    }
    return 1;
}

bool CDocReviser::GetParagraphBoundry(const std::string& sDoc, uint32_t nParaId, bool bHtml, size_t& nStart,
                                      size_t& nEnd)
{
    if (bHtml)
        return CParagraphAddress::HtmlBounds(sDoc, nParaId, nStart, nEnd);
    nStart = CParagraphAddress::DocStart(sDoc, nParaId);
    if (nStart == CParagraphAddress::NPOS)
        return false;
    nEnd = CParagraphAddress::DocEnd(sDoc, nStart);
    return nEnd != CParagraphAddress::NPOS;
}

std::vector<_tSegInfo> CDocReviser::GetTextSegments(const std::string& sDoc, size_t nStart, size_t nEnd, bool bHtml)
{
    return CReviseLocator::GetTextSegments(sDoc, nStart, nEnd, bHtml);
}

_tReviseLocation CDocReviser::GetReviseLocation(const std::vector<_tSegInfo>& vecSegs, size_t nOffset,
                                                const std::string& sOrg, bool bHtml)
{
    return CReviseLocator::GetReviseLocation(vecSegs, nOffset, sOrg, bHtml);
}

int CDocReviser::OutputHtml(const std::string& sText)
{
    std::FILE* fp = std::fopen("debug.htm", "wb");
    if (!fp) {
        SetLastError("Failed writing file debug.htm");
        return -1;
    }
    bool bOk = std::fwrite("\xEF\xBB\xBF", 1, 3, fp) == 3 && std::fwrite(sText.data(), 1, sText.size(), fp) == sText.size();
    bOk = std::fclose(fp) == 0 && bOk;
    if (!bOk)
        SetLastError("Failed writing file debug.htm");
    return bOk ? 1 : -1;
}
