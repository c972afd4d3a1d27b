// Values taken from the text around a matched word: label values, text
// between anchors (across paragraphs when needed), e-mail addresses,
// country names, whole paragraphs, sections under a title, and converted
// lines.
#include <cstring>

#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "CountryDetect/CountryDetector.h"
#include "RUX/EmailFinder.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "RUX/RUXGrammer.h"
#include "Segmenter/Segmenter.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"

namespace {

// Byte length of the UTF-8 character at i (1 for a stray byte).
size_t CharLen(const std::string& s, size_t i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    return i + n <= s.size() ? n : 1;
}

bool IsWhite(const std::string& sChar)
{
    return sChar == "\r" || sChar == "\n" || sChar == "\t" || sChar == " " || sChar == "　";
}

bool IsSeparator(const std::string& sChar)
{
    return IsWhite(sChar) || sChar == ":" || sChar == "：";
}

bool EndsWith(const std::string& s, const std::string& sEnd)
{
    return s.size() >= sEnd.size() && s.compare(s.size() - sEnd.size(), sEnd.size(), sEnd) == 0;
}

// Where the earliest of the anchors occurs in s from nFrom; the anchor's
// index in nAnchor (the earlier anchor on equal positions).
size_t FindFirstAnchor(const std::string& s, size_t nFrom, const std::vector<std::string>& vecAnchors, int& nAnchor)
{
    size_t nBest = std::string::npos;
    nAnchor = -1;
    for (size_t k = 0; k < vecAnchors.size(); ++k) {
        if (vecAnchors[k].empty())
            continue;
        size_t nPos = s.find(vecAnchors[k], nFrom);
        if (nPos != std::string::npos && (nBest == std::string::npos || nPos < nBest)) {
            nBest = nPos;
            nAnchor = static_cast<int>(k);
        }
    }
    return nBest;
}

}  // namespace

int CRUXAgent::NextParagraphText(int nLevel, int& nCursor, std::string& sText) const
{
    ++nCursor;
    if (m_pDocxParser && nLevel == DocLevel::TABLE_COL) {
        const _tTable* pTable = CurrentTable();
        if (!pTable || static_cast<size_t>(m_nRowIndex) >= pTable->rows.size() ||
            static_cast<size_t>(m_nColIndex) >= pTable->rows[static_cast<size_t>(m_nRowIndex)].size())
            return -1;
        const _tCell& cell = pTable->rows[static_cast<size_t>(m_nRowIndex)][static_cast<size_t>(m_nColIndex)];
        if (nCursor < 0 || static_cast<size_t>(nCursor) >= cell.size())
            return -1;
        sText = TextStandard(cell[static_cast<size_t>(nCursor)].text);
        return 1;
    }
    if (m_pDocxParser) {
        const std::vector<_tParagraph>& vecParas = m_pDocxParser->Model().Paragraphs();
        while (nCursor >= 0 && static_cast<size_t>(nCursor) < vecParas.size() &&
               vecParas[static_cast<size_t>(nCursor)].IsPlaceholder())
            ++nCursor;
        if (nCursor < 0 || static_cast<size_t>(nCursor) >= vecParas.size())
            return -1;
        sText = TextStandard(vecParas[static_cast<size_t>(nCursor)].text);
        return 1;
    }
    // Plain text: the lines read so far cannot include the next one, so the
    // scans that know the whole text keep it here.
    if (nCursor < 0 || static_cast<size_t>(nCursor) >= m_vecPlainLines.size())
        return -1;
    sText = TextStandard(m_vecPlainLines[static_cast<size_t>(nCursor)]);
    return 1;
}

int CRUXAgent::ExtractUnitData(const std::string& sText, _tRUX_Result& hit, int nToken, int /*nLevel*/,
                               uint32_t nOffset)
{
    const _tKnowledge& knowledge = Rule(hit.rule_index).knowledge;
    const std::string sLabel = m_scan.tokens[static_cast<size_t>(nToken)].word;
    if (!knowledge.grids.empty() && knowledge.grids[0].blocks.size() == 1 && knowledge.grids[0].is_selected)
        hit.AddSelected(sLabel, hit.para_id, hit.offset + nOffset);
    size_t nPos = sLabel.empty() ? std::string::npos : sText.find(sLabel, nOffset);
    if (nPos == std::string::npos)
        return -1;
    size_t i = nPos + sLabel.size();
    size_t nSkipped = 0;
    while (i < sText.size()) {
        size_t n = CharLen(sText, i);
        if (!IsSeparator(sText.substr(i, n)))
            break;
        i += n;
        ++nSkipped;
    }
    if (nSkipped == 0)
        return -1;
    for (size_t g = 1; g < knowledge.grids.size() && i < sText.size(); ++g) {
        size_t nStart = i;
        while (i < sText.size() && !IsWhite(sText.substr(i, CharLen(sText, i))))
            i += CharLen(sText, i);
        hit.AddSelected(sText.substr(nStart, i - nStart), hit.para_id,
                        hit.offset + nOffset + static_cast<uint32_t>(nStart - nPos));
        while (i < sText.size() && IsWhite(sText.substr(i, CharLen(sText, i))))
            i += CharLen(sText, i);
    }
    AddResult(hit);
    return 1;
}

int CRUXAgent::ExtractBetweenData(const std::string& sText, _tRUX_Result& hit, int nToken, int nLevel,
                                  uint32_t nOffset)
{
    if (hit.rule_index < 0)
        return -1;
    const _tRule& rule = Rule(hit.rule_index);
    const _tKnowledge& knowledge = rule.knowledge;
    if (knowledge.grids.size() != 3)
        return -1;
    const std::string sStart = m_scan.tokens[static_cast<size_t>(nToken)].word;
    if (knowledge.grids[0].blocks.size() == 1 && knowledge.grids[0].is_selected)
        hit.AddSelected(sStart, hit.para_id, hit.offset + nOffset);
    std::vector<std::string> vecAnchors;
    if (knowledge.grids[2].blocks.size() == 1)
        for (int nId : Values(knowledge.grids[2].blocks[0].elems))
            if (nId >= 0 && static_cast<size_t>(nId) < m_vecElemStr.size())
                vecAnchors.push_back(m_vecElemStr[static_cast<size_t>(nId)]);
    if (vecAnchors.empty())
        return -1;
    size_t nPos = sStart.empty() ? std::string::npos : sText.find(sStart, nOffset);
    if (nPos == std::string::npos)
        return -1;
    size_t nValueStart = nPos + sStart.size();
    uint32_t nValueOffset = hit.offset + static_cast<uint32_t>(nValueStart);
    int nAnchor = -1;
    size_t nEnd = FindFirstAnchor(sText, nValueStart, vecAnchors, nAnchor);
    std::string sValue;
    size_t nAnchorPos = 0;
    if (nEnd != std::string::npos) {
        sValue = sText.substr(nValueStart, nEnd - nValueStart);
        nAnchorPos = nEnd - nValueStart;
    } else {
        if (rule.field != 0)
            return -1;
        sValue = sText.substr(nValueStart);
        int nCursor = nLevel == DocLevel::TABLE_COL ? m_nRowColParaIndex : m_nParaIndex;
        std::string sNext;
        bool bFound = false;
        // A bound keeps a missing end anchor from reading the whole document.
        for (int nRead = 0; nRead < 64 && NextParagraphText(nLevel, nCursor, sNext) == 1; ++nRead) {
            size_t nHere = FindFirstAnchor(sNext, 0, vecAnchors, nAnchor);
            if (nHere != std::string::npos) {
                nAnchorPos = sValue.size() + 2 + nHere;
                sValue += "\r\n" + sNext.substr(0, nHere);
                bFound = true;
                break;
            }
            sValue += "\r\n" + sNext;
        }
        if (!bFound)
            return -1;
    }
    hit.AddSelected(sValue, hit.para_id, nValueOffset);
    if (knowledge.grids[2].is_selected && nAnchor >= 0)
        hit.AddSelected(vecAnchors[static_cast<size_t>(nAnchor)], hit.para_id, static_cast<uint32_t>(nAnchorPos));
    AddResult(hit);
    return 1;
}

int CRUXAgent::ExtractCountry(const std::string& sText, _tRUX_Result& hit, uint32_t nOffset)
{
    if (!g_bCountryDetect) {
        SetLastError("RUX-Configure.json must set CountryDetect on before execute country_extract ");
        return -1;
    }
    std::string sGbk;
    Utf8ToGbk(sText, sGbk);
    std::vector<std::string> vecCountries, vecEnglish;
    if (CountryDetect_Compute(sGbk.c_str(), vecCountries, vecEnglish) < 0)
        return -1;
    std::string sCountry, sEnglish;
    if (!vecCountries.empty())
        GbkToUtf8(vecCountries[0], sCountry);
    if (!vecEnglish.empty())
        GbkToUtf8(vecEnglish[0], sEnglish);
    hit.AddSelected(sCountry, hit.para_id, nOffset);
    hit.AddSelected(sEnglish, hit.para_id, nOffset);
    hit.AddSelected(sText, hit.para_id, nOffset);
    AddResult(hit);
    return 1;
}

namespace {

// 29 for an organisation (a token tagged /nt longer than 3 bytes), else 0.
int GetNameType(const std::string& sName)
{
    if (sName.empty())
        return 0;
    const char* sSegmented = PELNOR_ParagraphProcess(sName.c_str(), 1);
    std::string sCopy = sSegmented ? sSegmented : "";
    size_t i = 0;
    while (i < sCopy.size()) {
        size_t nEnd = sCopy.find(' ', i);
        std::string sToken = sCopy.substr(i, nEnd == std::string::npos ? std::string::npos : nEnd - i);
        size_t nSlash = sToken.rfind('/');
        if (nSlash != std::string::npos && nSlash > 3 && sToken.compare(nSlash, 3, "/nt") == 0)
            return 29;
        i = nEnd == std::string::npos ? sCopy.size() : nEnd + 1;
    }
    return 0;
}

}  // namespace

int CRUXAgent::ExtractEmailData(const std::string& sText, _tRUX_Result& hit, int /*nLevel*/, uint32_t nOffset)
{
    // The finder works on UTF-8 and reads "&lt;" and "&gt;" itself.
    std::vector<_email> vecEmails = FindEmails(sText);
    bool bDictChanged = false;
    for (const _email& email : vecEmails) {
        bool bOrganisation = GetNameType(email.cnName) == 29;
        std::string sAddress = email.username + "@" + email.domainname;
        uint32_t nRunning = nOffset + static_cast<uint32_t>(email.offset);
        auto add = [&](const std::string& sValue) { hit.AddSelected(sValue, hit.para_id, nRunning); };
        add(bOrganisation ? "" : email.cnName);
        add(email.enName);
        add(sAddress);
        add(email.username);
        add(email.domainname);
        add(email.direction);
        if (bOrganisation)
            add(email.cnName);
        if (email.cnName.size() >= 4 && email.cnName.size() <= 17) {
            bDictChanged |= PELNOR_AddUserWord((email.cnName + (bOrganisation ? " nt" : " nr")).c_str()) == 1;
        }
        AddResult(hit);
        hit.ClearSelected();
    }
    if (bDictChanged)
        PELNOR_SaveTheUsrDic();
    return static_cast<int>(vecEmails.size());
}

int CRUXAgent::ExtractParagraphData(_tRUX_Result& hit, int nLevel)
{
    ReadResultFromRule(hit.rule_index, hit);
    static const char* const kEnds[] = {";", ":", ".", ")", "。", "！", "）"};
    auto isEnd = [](const std::string& s) {
        for (const char* sEnd : kEnds)
            if (EndsWith(s, sEnd))
                return true;
        return false;
    };
    std::string sValue = m_scan.text_stand;
    std::string sNext;
    int nCursor = nLevel == DocLevel::TABLE_COL ? m_nRowColParaIndex : m_nParaIndex;
    for (int nRead = 0; !isEnd(sValue) && nRead < 64 && NextParagraphText(nLevel, nCursor, sNext) == 1; ++nRead)
        sValue += "\r\n" + sNext;
    hit.AddSelected(sValue, hit.para_id, hit.offset);
    AddResult(hit);
    return 1;
}

int CRUXAgent::ExtractSectionData(_tRUX_Result& hit, int nLevel)
{
    // The section under a title: its paragraphs up to the next title of the
    // same or a higher level.
    std::string sValue;
    if (m_pDocxParser) {
        const std::vector<_tParagraph>& vecParas = m_pDocxParser->Model().Paragraphs();
        for (size_t i = static_cast<size_t>(m_nParaIndex) + 1; i < vecParas.size(); ++i) {
            int nNext = vecParas[i].level;
            if (nNext >= 1 && nNext <= nLevel)
                break;
            if (vecParas[i].IsPlaceholder())
                continue;
            sValue += (sValue.empty() ? "" : "\r\n") + TextStandard(vecParas[i].text);
        }
    }
    hit.AddSelected(sValue, hit.para_id, hit.offset);
    AddResult(hit);
    return 1;
}

int CRUXAgent::ConvertData(int nRule, _tRUX_Result& hit)
{
    if (!LineMatch(nRule))
        return -1;
    std::vector<int> vecArgs = Values(Rule(nRule).arguments_id);
    if (vecArgs.size() < 2)
        return -1;
    int nKey = vecArgs[0] < 0 ? ~vecArgs[0] : m_pRUX->GetKeyId(m_pRUX->GetArgument(vecArgs[0], false).c_str());
    const char* sNo = m_pRUX->GetStr(Rule(nRule).rule_no_id);
    m_vecSingleKeyVal.emplace_back(nKey, m_pRUX->GetArgument(vecArgs[1], false), hit.para_id, 0, m_scan.text_stand,
                                   sNo ? sNo : "");
    return 1;
}
