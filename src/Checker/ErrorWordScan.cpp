// Each finding's offset is where its written form occurs in the paragraph,
// searched from the previous item's offset so repeated words land in order.
#include "Checker/ErrorWordScan.h"

#include <algorithm>

#include "Checker/CheckRecord.h"
#include "Checker/CheckResult.h"
#include "Docx/DocxParser.h"
#include "KeyScanner/KeyScanner.h"

namespace {

size_t ScanParagraph(CDocxParser& parser, CCheckResult& results, const _tParagraph& para)
{
    if (para.text.empty() || para.IsPlaceholder())
        return 0;
    const char* sAnswer = KS_ScanDetail(para.text.c_str(), 3, 0);
    std::vector<WordPair> vecItems;
    if (!sAnswer || ParseKeyScanAnswer(sAnswer, vecItems) != 1)
        return 0;
    const char* sText = parser.GetText(para.id);
    return AddErrorWordFindings(para.id, para.text, sText ? sText : "", vecItems, results);
}

}  // namespace

int ParseKeyScanAnswer(const std::string& sAnswer, std::vector<WordPair>& vecItems)
{
    vecItems.clear();
    size_t nCheck = sAnswer.find("(Check ");
    if (nCheck == std::string::npos)
        return -1;
    size_t nClose = sAnswer.find(')', nCheck);
    if (nClose == std::string::npos)
        return -2;
    size_t nEnd = sAnswer.find('$', nClose);
    if (nEnd == std::string::npos)
        return -3;
    std::string sList = sAnswer.substr(nClose + 1, nEnd - nClose - 1);
    size_t nStart = 0;
    while (nStart < sList.size()) {
        size_t nSep = sList.find("##", nStart);
        std::string sItem = sList.substr(nStart, nSep == std::string::npos ? std::string::npos : nSep - nStart);
        size_t nArrow = sItem.find("-->");
        if (nArrow != std::string::npos)
            vecItems.emplace_back(sItem.substr(0, nArrow), sItem.substr(nArrow + 3));
        if (nSep == std::string::npos)
            break;
        nStart = nSep + 2;
    }
    return 1;
}

namespace {

// True when an earlier check (an update rule of the report type's rule set)
// already proposed this very correction at this place; one wrong word is
// one finding, whichever check saw it first.
bool AlreadyCorrected(const CCheckResult& results, const _tCheckResult& record)
{
    for (const _tCheckResult& seen : results.Results())
        if (seen.para_id == record.para_id && seen.offset == record.offset && seen.org_str == record.org_str &&
            seen.new_str == record.new_str)
            return true;
    return false;
}

}  // namespace

size_t AddErrorWordFindings(uint32_t nParaId, const std::string& sParaText, const std::string& sDocText,
                            const std::vector<WordPair>& vecItems, CCheckResult& results)
{
    size_t nOffset = 0;
    size_t nSearch = 0;
    size_t nAdded = 0;
    for (const auto& item : vecItems) {
        // The next search starts after the previous hit, so a word written
        // wrongly twice gives two findings instead of one found twice.
        size_t nHit = sParaText.find(item.second, nSearch);
        if (nHit != std::string::npos) {
            nOffset = nHit;
            nSearch = nHit + std::max<size_t>(item.second.size(), 1);
        }
        _tCheckResult record;
        record.para_id = nParaId;
        record.revise_type = REVISE_U;
        record.text = sDocText;
        record.field_id = FIELD_TEXT;
        record.error_id = "1.5.2";
        record.org_str = item.second;
        record.new_str = item.first;
        record.offset = static_cast<uint32_t>(nOffset);
        if (AlreadyCorrected(results, record))
            continue;
        size_t nBefore = results.Results().size();
        results.AddResult(record);
        nAdded += results.Results().size() - nBefore;
    }
    return nAdded;
}

size_t CheckErrorWord(CDocxParser& parser, CCheckResult& results)
{
    size_t nAdded = 0;
    for (int k = 0; k < 2; ++k)
        for (const auto& para : parser.Model().HeadFooter(k))
            nAdded += ScanParagraph(parser, results, para);
    for (const auto& para : parser.Model().Paragraphs())
        nAdded += ScanParagraph(parser, results, para);
    for (const auto& table : parser.Model().Tables())
        for (const auto& row : table.rows)
            for (const auto& cell : row)
                for (const auto& para : cell)
                    nAdded += ScanParagraph(parser, results, para);
    return nAdded;
}
