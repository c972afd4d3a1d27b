// Fuzz target: the reviser on arbitrary document.xml text and HTML pages,
// with findings of every field and letter on every paragraph the text
// holds (and on ids that name none): plain revision on paragraph windows,
// tracked revision, and the page marks. Nothing may crash, hang or read
// past the text, and a plain revision without findings changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Checker/CheckResult.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "Reviser/DocReviser.h"
#include "Reviser/TrackedReviser.h"
#include "Reviser/WindowedRevision.h"

namespace {

std::vector<_tCheckResult> Findings(const std::string& sText)
{
    std::vector<_tCheckResult> vecFindings;
    const char* const kNew[] = {"", "x<superscript>2</superscript>", "&<b>", "新"};
    size_t nIndex = 0;
    for (size_t nPos = sText.find("<w:p"); nPos != std::string::npos && vecFindings.size() < 64;
         nPos = sText.find("<w:p", nPos + 1), ++nIndex) {
        _tCheckResult finding;
        finding.para_id = static_cast<uint32_t>(nPos + (nIndex % 3 == 0 ? 0 : 3 + nIndex % 2));
        finding.offset = static_cast<uint32_t>(nIndex * 7 % 40);
        finding.field_id = static_cast<int>(nIndex % 6);
        finding.revise_type = static_cast<int>(nIndex / 6 % 5);
        size_t nText = sText.find('>', nPos);
        finding.org_str = nText == std::string::npos ? "" : sText.substr(nText + 1, nIndex % 5);
        finding.new_str = kNew[nIndex % 4];
        vecFindings.push_back(finding);
    }
    _tCheckResult whole;
    whole.para_id = 0xFFFFFFFF;
    whole.new_str = "摘要";
    vecFindings.push_back(whole);
    std::sort(vecFindings.begin(), vecFindings.end());
    return vecFindings;
}

void Plain(std::string sDoc, const std::vector<_tCheckResult>& vecFindings)
{
    CDocReviser reviser;
    CWindowedRevision windows(sDoc);
    for (auto it = vecFindings.rbegin(); it != vecFindings.rend(); ++it) {
        if (it->para_id != 0xFFFFFFFF)
            windows.Apply(*it, [&](std::string& sWindow, const _tCheckResult& relative) {
                reviser.ParagraphRevise(sWindow, relative, false);
            });
    }
    windows.Finish();
}

void Pages(const std::string& sText, const std::vector<_tCheckResult>& vecFindings)
{
    CDocxParser parser;
    parser.m_vecHtmlText = {sText, sText.substr(sText.size() / 2)};
    CCheckResult results;
    for (_tCheckResult finding : vecFindings)
        results.AddResult(finding);
    CDocReviser reviser;
    std::vector<_tKeyVal> vecKeys = {_tKeyVal(1, sText.substr(0, 4), 0, 2, "", "1")};
    reviser.ShowCheckInHtml(&parser, &results, vecKeys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    std::vector<_tCheckResult> vecFindings = Findings(sText);
    std::string sUnchanged = sText;
    CWindowedRevision(sUnchanged).Finish();
    if (sUnchanged != sText)
        __builtin_trap();
    Plain(sText, vecFindings);
    _tReviseReport report;
    CTrackedReviser("/nonexistent", sText).Apply(vecFindings, report);
    Pages(sText, vecFindings);
    return 0;
}
