// Runs after the body scan, on the paragraph list as the scanner left it.
#include "Docx/DocStructBuilder.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "Docx/DocxParser.h"
#include "Utility/EncodingConverter.h"
#include "Utility/NumUtility.h"

namespace {

bool EndsWith(const std::string& sText, const char* sTail)
{
    size_t nLen = std::strlen(sTail);
    return sText.size() >= nLen && sText.compare(sText.size() - nLen, nLen, sTail) == 0;
}

// sTail ends at nEnd of sText.
bool EndsAt(const std::string& sText, size_t nEnd, const char* sTail)
{
    size_t nLen = std::strlen(sTail);
    return nEnd >= nLen && sText.compare(nEnd - nLen, nLen, sTail) == 0;
}

std::string Gbk(const char* sUtf8)
{
    std::string sOut;
    Utf8ToGbk(sUtf8, sOut);
    return sOut;
}

}  // namespace

bool CDocStructBuilder::IsCompleteParagraph(const std::string& sText)
{
    if (sText.empty())
        return false;
    unsigned char cLast = static_cast<unsigned char>(sText.back());
    if (cLast < 0x80)
        return cLast == ';' || cLast == '.' || cLast == ':' || cLast == ')';
    if (sText.size() <= 3)
        return false;
    for (const char* sEnd : {"\xE3\x80\x82", "\xEF\xBC\x9A", "\xEF\xBC\x81", "\xEF\xBC\x9B", "\xEF\xBC\x89"}) {
        if (EndsWith(sText, sEnd))  // 。 ： ！ ； ）
            return true;
    }
    return false;
}

bool CDocStructBuilder::IsContentsLine(const std::string& sText, int& nPage)
{
    size_t nEnd = sText.size();
    while (nEnd > 0 && (sText[nEnd - 1] == ' ' || sText[nEnd - 1] == '\t'))
        --nEnd;
    size_t nNum = nEnd;
    while (nNum > 0 && sText[nNum - 1] >= '0' && sText[nNum - 1] <= '9')
        --nNum;
    bool bArabic = nNum < nEnd;
    while (!bArabic && nNum > 0 && std::strchr("ivxlcIVXLC", sText[nNum - 1]))
        --nNum;
    size_t nLen = nEnd - nNum;
    if (nLen == 0 || nLen > (bArabic ? 4u : 7u))
        return false;
    // The leader: blanks, tabs and dots of any width (. … · ．) back to the text.
    size_t nLead = nNum;
    int nDots = 0;
    bool bTab = false;
    while (nLead > 0) {
        char c = sText[nLead - 1];
        if (c == '\t' || c == ' ' || c == '.') {
            bTab = bTab || c == '\t';
            nDots += c == '.';
            --nLead;
        } else if (EndsAt(sText, nLead, "\xE2\x80\xA6")) {  // …
            nDots += 3;
            nLead -= 3;
        } else if (EndsAt(sText, nLead, "\xEF\xBC\x8E")) {  // ．
            ++nDots;
            nLead -= 3;
        } else if (EndsAt(sText, nLead, "\xC2\xB7")) {  // ·
            ++nDots;
            nLead -= 2;
        } else {
            break;
        }
    }
    if ((!bTab && nDots < 3) || nLead < 2)
        return false;
    nPage = bArabic ? std::atoi(sText.c_str() + nNum) : -1;
    return true;
}

int CDocStructBuilder::CaptionLevel(const std::string& sText)
{
    struct _tLabel {
        const char* sLabel;
        int nLevel;
    };
    static const _tLabel kLabels[] = {{"\xE5\x9B\xBE", DocLevel::FIGURE_CAPTION},  // 图
                                      {"\xE8\xA1\xA8", DocLevel::TABLE_CAPTION},   // 表
                                      {"Figure", DocLevel::FIGURE_CAPTION},
                                      {"Fig.", DocLevel::FIGURE_CAPTION},
                                      {"Table", DocLevel::TABLE_CAPTION}};
    size_t nStart = sText.find_first_not_of(" \t");
    if (nStart == std::string::npos)
        return DocLevel::TEXT;
    for (const _tLabel& label : kLabels) {
        size_t nLen = std::strlen(label.sLabel);
        if (sText.compare(nStart, nLen, label.sLabel) != 0)
            continue;
        size_t nNum = sText.find_first_not_of(" \t", nStart + nLen);
        if (nNum != std::string::npos && sText[nNum] >= '0' && sText[nNum] <= '9')
            return label.nLevel;
    }
    return DocLevel::TEXT;
}

// Contents come in runs: one line that looks like a contents line is
// rather a line of text or a table written with tabs. In a run the page
// numbers do not fall; where they do, another list begins.
void CDocStructBuilder::MarkContentsLines()
{
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    auto candidate = [&vecParas](size_t i, int& nLastPage) {
        const _tParagraph& para = vecParas[i];
        bool bLevel = (para.level >= DocLevel::TEXT && para.level <= DocLevel::TITLE4) ||
                      para.level == DocLevel::CONTENT1;
        int nPage = -1;
        if (!bLevel || para.text.empty())
            return false;
        if (!IsContentsLine(para.text, nPage) && para.level != DocLevel::CONTENT1)
            return false;
        if (nPage >= 0 && nPage < nLastPage)
            return false;
        nLastPage = std::max(nLastPage, nPage);
        return true;
    };
    size_t i = 0;
    while (i < vecParas.size()) {
        size_t j = i;
        int nLastPage = 0;
        while (j < vecParas.size() && candidate(j, nLastPage))
            ++j;
        if (j - i >= 2) {
            for (size_t k = i; k < j; ++k)
                model.SetLevel(k, DocLevel::CONTENT1);
        }
        i = j > i ? j : i + 1;
    }
}

// The level a cover-page line gets: the class of the first three formats
// it shares, -1 to -3; the line is entered as a new class when it matches
// none. bOpen closes once three classes exist.
int CDocStructBuilder::ClassifyFirstPage(const _tParagraph& para, std::vector<_tParagraph>& vecClasses,
                                         bool& bOpen)
{
    for (size_t k = 0; k < vecClasses.size(); ++k) {
        if (IsSameFormat(para, vecClasses[k]))
            return -static_cast<int>(k + 1);
    }
    vecClasses.push_back(para);  // kept at level 0, as the lines it is compared with
    if (vecClasses.size() >= 3)
        bOpen = false;  // later cover lines keep level 0
    return -static_cast<int>(vecClasses.size());
}

void CDocStructBuilder::BuildContent()
{
    MarkContentsLines();
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    std::vector<_tParagraph> vecClasses;
    bool bFirstPages = true;
    bool bInContents = false;
    int nMinLevel = 1000;
    for (size_t i = 0; i < vecParas.size(); ++i) {
        const _tParagraph& para = vecParas[i];
        if (bFirstPages && para.level > 0)
            bFirstPages = false;
        if (bFirstPages && para.level == DocLevel::TEXT)
            model.SetLevel(i, ClassifyFirstPage(para, vecClasses, bFirstPages));
        if (para.level == DocLevel::FORMULA_INDEX)
            model.EnterFormula(i);
        bool bContentLine = para.level > 4 && !para.text.empty();
        if (bInContents && !bContentLine)
            bInContents = false;
        // Lists of figures and tables follow the table of contents as runs of their own.
        if (!bInContents && bContentLine && i + 1 < vecParas.size() &&
            vecParas[i + 1].level > 4 && !vecParas[i + 1].text.empty())
            bInContents = true;
        if (bInContents) {
            model.EnterContentLine(i);
        } else if (para.level >= 1 && para.level <= 4 && CaptionLevel(para.text) != DocLevel::TEXT) {
            // A caption set in a heading style is still a caption.
            model.SetLevel(i, CaptionLevel(para.text));
        } else if (para.level >= 1 && para.level <= 4 && !para.text.empty()) {
            model.EnterHeading(i, para.level);
            nMinLevel = std::min(nMinLevel, para.level);
        } else if (para.level >= 5) {
            model.SetLevel(i, DocLevel::TEXT);
        }
    }
    if (nMinLevel >= 2 && nMinLevel <= 4)
        LowerHeadings(nMinLevel);
}

void CDocStructBuilder::LowerHeadings(int nMinLevel)
{
    CDocModel& model = m_parser.EditModel();
    for (int nIndex : model.DocStruct()) {
        size_t i = static_cast<size_t>(nIndex);
        model.SetLevel(i, model.Paragraphs()[i].level - (nMinLevel - 1));
    }
}

bool CDocStructBuilder::IsShortNumbered(const std::string& sText) const
{
    if (sText.size() >= 120)
        return false;
    CNumUtility num(true);
    _tSection_Info info;
    if (num.ExtractOrder(sText.c_str(), info, -1) < 0)
        return false;
    return info.order >= 1 && info.order <= 99 && info.prefix.size() < 4;
}

void CDocStructBuilder::RebuildParagraph()
{
    CDocModel& model = m_parser.EditModel();
    model.JoinParagraphs([this](const _tParagraph& para) {
        bool bJoinable = para.level == DocLevel::TEXT || para.level == DocLevel::TABLE_COL ||
                         para.level == DocLevel::TXTBOX;
        return bJoinable && !IsCompleteParagraph(para.text) && !IsShortNumbered(para.text);
    });
    model.JoinCellParagraphs([](const _tParagraph& para) {
        return !para.text.empty() && !IsCompleteParagraph(para.text);
    });
}

bool CDocStructBuilder::FindChapterTitle(size_t nChapter)
{
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    size_t j = nChapter;
    // A figure placeholder carries its paragraph's text, but it is never a title.
    while (j > 0) {
        size_t nLen = vecParas[j - 1].text.size();
        if (nLen >= 12 && nLen <= 120 && !vecParas[j - 1].IsPlaceholder())
            break;
        --j;
    }
    if (j == 0)
        return false;
    size_t nLen = vecParas[j - 1].text.size();
    if (nLen < 13 || nLen > 119)
        return false;
    return model.EnterHeading(j - 1, DocLevel::TITLE1);
}

bool CDocStructBuilder::IsPaperHeadingText(const _tParagraph& para, const _tSection_Info& info)
{
    static const std::string kDi = Gbk("\xE7\xAC\xAC");     // 第
    static const std::string kZhang = Gbk("\xE7\xAB\xA0");  // 章
    static const std::string kJie = Gbk("\xE8\x8A\x82");    // 节
    static const std::string kFu = Gbk("\xE9\x99\x84");     // 附
    // Table cells, text boxes, captions and formula lines are no headings.
    if (para.level == DocLevel::TABLE_COL || para.level == DocLevel::TXTBOX ||
        para.level == DocLevel::TABLE_CAPTION || para.level == DocLevel::FORMULA_INDEX)
        return false;
    if (info.section_type != SECTION_TYPE_HEADING)
        return false;  // 图 or 表 before the number: a caption
    const std::string& sText = para.text;
    // A typed tab before the text indents it as body text is indented.
    if (!sText.empty() && sText[0] == '\t')
        return false;
    // A full stop or semicolon anywhere, or a colon at the end: a sentence
    // or the lead-in of a list.
    for (const char* sMark : {"\xE3\x80\x82", "\xEF\xBC\x9B"})  // 。 ；
        if (sText.find(sMark) != std::string::npos)
            return false;
    if (EndsWith(sText, "\xEF\xBC\x9A") || EndsWith(sText, ":"))  // ：
        return false;
    std::string sPrefix = info.prefix;
    while (!sPrefix.empty() && (sPrefix.back() == ' ' || sPrefix.back() == '\t'))
        sPrefix.pop_back();
    size_t nFirst = sPrefix.find_first_not_of(" \t");
    sPrefix.erase(0, nFirst == std::string::npos ? sPrefix.size() : nFirst);
    // Headings are numbered 1, 1.2, 第一章, (1), 附录A: any other text before
    // the number (等式, Fig., Vol., [ of a reference entry) is no heading number.
    bool bChapterWord = sPrefix == kDi;
    bool bBracket = sPrefix == "(" || sPrefix == Gbk("\xEF\xBC\x88");  // （
    if (!sPrefix.empty() && !bChapterWord && !bBracket && sPrefix.compare(0, kFu.size(), kFu) != 0)
        return false;
    if (bChapterWord && info.post != kZhang && info.post != kJie)
        return false;  // 第 42 卷: a volume, not a chapter
    // A Chinese numeral alone (二〇一八年) is a date or a count; as a
    // heading number it carries 、 章 节 or brackets.
    if (info.num_format == 2 && info.post.empty() && !bBracket)
        return false;
    return true;
}

bool CDocStructBuilder::ContinuesRun(std::map<int, _tLevelRun>& mapRuns, int nLevel,
                                     const _tSection_Info& info)
{
    auto it = mapRuns.find(nLevel);
    // Numbers that go on from a list item that went back (1, 2, 3 under
    // chapter 2) belong to that list.
    if (it != mapRuns.end() && it->second.nListOrder >= 0 && info.order == it->second.nListOrder + 1) {
        it->second.nListOrder = info.order;
        return false;
    }
    bool bRestart = it == mapRuns.end() || it->second.nOrder < 0 ||
                    (!info.chapter_id.empty() && info.chapter_id != it->second.sChapter);
    // A run may have lost one heading to the other rules; never two.
    if (bRestart)
        return info.order <= 2;
    if (info.order < it->second.nOrder) {
        it->second.nListOrder = info.order;
        return false;
    }
    // The same number twice is a slip the numbering check reports, not a list.
    return info.order <= it->second.nOrder + 2;
}

bool CDocStructBuilder::StartsList(size_t nIndex, const _tSection_Info& info) const
{
    const std::vector<_tParagraph>& vecParas = m_parser.Model().Paragraphs();
    if (nIndex + 1 >= vecParas.size())
        return false;
    CNumUtility num(true);
    _tSection_Info next;
    if (num.ExtractOrder(vecParas[nIndex + 1].text.c_str(), next, -1) < 0)
        return false;
    return next.IsSameFormat(info) && next.order == info.order + 1;
}

int CDocStructBuilder::ParseSection()
{
    static const std::string kZhang = Gbk("\xE7\xAB\xA0");   // 章
    static const std::string kFu = Gbk("\xE9\x99\x84");      // 附
    CDocModel& model = m_parser.EditModel();
    const std::vector<_tParagraph>& vecParas = model.Paragraphs();
    int nType = m_parser.m_nReportType;
    bool bReport = nType == 3 || nType == 4;
    model.ClearDocStruct();
    std::map<int, _tSection_Format> mapFormats;
    std::map<int, _tLevelRun> mapRuns;
    int nCurLevel = 0;
    bool bChapterFound = false;
    bool bAppendix = false;
    CNumUtility num(true);
    for (size_t i = 0; i < vecParas.size(); ++i) {
        const std::string& sText = vecParas[i].text;
        int nLevel = vecParas[i].level;
        if (nLevel == DocLevel::TABLE_PLACEHOLDER || nLevel == DocLevel::FIGURE_PLACEHOLDER ||
            nLevel == DocLevel::FIGURE_CAPTION || (nLevel >= 13 && nLevel <= 39) || sText.empty())
            continue;
        _tSection_Info info;
        int nFormat = num.ExtractOrder(sText.c_str(), info, -1);
        if (nFormat < 0 || info.order < 1 || info.order > 100)
            continue;
        // Lengths count as a reader counts them: a Chinese character as two
        // (its GBK width), so 30 characters fit and "1 绪论" is long enough.
        size_t nWidth = Gbk(sText.c_str()).size();
        if (!bReport && (nWidth < 6 || nWidth > 60))
            continue;
        if (!bReport && !IsPaperHeadingText(vecParas[i], info))
            continue;
        if (nType == 4 && !bChapterFound) {
            if (info.order != 1 || info.post != kZhang)
                continue;
            if (FindChapterTitle(i))
                nCurLevel = 1;
            bChapterFound = true;
        }
        if (!bAppendix && info.prefix.compare(0, kFu.size(), kFu) == 0)
            bAppendix = true;
        unsigned char cLast = static_cast<unsigned char>(sText.back());
        if (cLast < 0x80) {
            if (nType != 4 && (cLast == ',' || cLast == ';' || cLast == '.' || cLast == ')'))
                continue;
        } else if (!bReport && sText.size() >= 4) {
            bool bSentence = false;
            for (const char* sEnd : {"\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9B", "\xEF\xBC\x8C"})
                bSentence = bSentence || EndsWith(sText, sEnd);  // 。 ！ ； ，
            if (bSentence)
                continue;
        }
        int nHeadingLevel = 0;
        if (!model.DocStruct().empty()) {
            for (const auto& item : mapFormats) {
                if (item.second.IsSameFormat(info)) {
                    nHeadingLevel = item.first;
                    break;
                }
            }
        }
        bool bNewFormat = nHeadingLevel == 0;
        if (bNewFormat)
            nHeadingLevel = model.DocStruct().empty() ? 1 : nCurLevel + 1;
        if (!bReport && bNewFormat && !model.DocStruct().empty() && info.chapter_id.empty() &&
            StartsList(i, info))
            continue;
        if (!bReport) {
            // A new level begins at 1; a known level continues its run, or
            // starts again under a new heading above it.
            if (bNewFormat ? info.order != 1 : !ContinuesRun(mapRuns, nHeadingLevel, info))
                continue;
            mapRuns[nHeadingLevel] = _tLevelRun{info.order, info.chapter_id, -1};
            for (auto it = mapRuns.upper_bound(nHeadingLevel); it != mapRuns.end(); ++it)
                it->second = _tLevelRun();
        }
        if (bNewFormat)
            mapFormats[nHeadingLevel] = info;
        model.EnterHeading(i, bAppendix ? DocLevel::APPENDIX : nHeadingLevel);
        nCurLevel = nHeadingLevel;
    }
    return static_cast<int>(model.DocStruct().size());
}
