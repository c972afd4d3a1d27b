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

void CDocStructBuilder::ClassifyFirstPage(_tParagraph& para, std::vector<_tParagraph>& vecClasses,
                                          bool& bOpen)
{
    if (para.level != DocLevel::TEXT)
        return;
    for (size_t k = 0; k < vecClasses.size(); ++k) {
        if (IsSameFormat(para, vecClasses[k])) {
            para.level = -static_cast<int>(k + 1);
            return;
        }
    }
    vecClasses.push_back(para);
    para.level = -static_cast<int>(vecClasses.size());
    if (vecClasses.size() >= 3)
        bOpen = false;  // later cover lines keep level 0
}

void CDocStructBuilder::BuildContent()
{
    CDocxParser& p = m_parser;
    std::vector<_tParagraph>& vecParas = p.m_vecParagraph;
    std::vector<_tParagraph> vecClasses;
    bool bFirstPages = true;
    bool bInContents = false;
    int nMinLevel = 1000;
    for (size_t i = 0; i < vecParas.size(); ++i) {
        _tParagraph& para = vecParas[i];
        if (!p.m_mapParaId2Index.count(para.id)) {
            _tParaIndex index;
            index.para_index = static_cast<unsigned>(i);
            p.m_mapParaId2Index[para.id] = index;
        }
        if (bFirstPages && para.level > 0)
            bFirstPages = false;
        if (bFirstPages)
            ClassifyFirstPage(para, vecClasses, bFirstPages);
        if (para.level == DocLevel::FORMULA_INDEX)
            p.m_vecFormulaIndex.push_back(static_cast<int>(i));
        bool bContentLine = para.level > 4 && !para.text.empty();
        if (bInContents && !bContentLine)
            bInContents = false;
        if (!bInContents && bContentLine && p.m_vecContentStruct.empty() && i + 1 < vecParas.size() &&
            vecParas[i + 1].level > 4 && !vecParas[i + 1].text.empty())
            bInContents = true;
        if (bInContents) {
            para.level = DocLevel::CONTENT1;
            p.m_vecContentStruct.push_back(static_cast<int>(i));
        } else if (para.level >= 1 && para.level <= 4 && !para.text.empty()) {
            p.m_vecDocStruct.push_back(static_cast<int>(i));
            nMinLevel = std::min(nMinLevel, para.level);
        } else if (para.level >= 5) {
            para.level = DocLevel::TEXT;
        }
    }
    MapCellParagraphs();
    if (nMinLevel >= 2 && nMinLevel <= 4)
        LowerHeadings(nMinLevel);
}

void CDocStructBuilder::MapCellParagraphs()
{
    CDocxParser& p = m_parser;
    for (size_t t = 0; t < p.m_vecTable.size(); ++t) {
        const _tTable& table = p.m_vecTable[t];
        for (size_t r = 0; r < table.rows.size(); ++r) {
            for (size_t c = 0; c < table.rows[r].size(); ++c) {
                const _tCell& cell = table.rows[r][c];
                for (size_t k = 0; k < cell.size(); ++k) {
                    _tParaIndex index;
                    index.table_index = static_cast<int>(t);
                    index.row_index = static_cast<int>(r);
                    index.col_index = static_cast<int>(c);
                    index.para_index = static_cast<unsigned>(k);
                    p.m_mapParaId2Index[cell[k].id] = index;
                }
            }
        }
    }
}

void CDocStructBuilder::LowerHeadings(int nMinLevel)
{
    for (int nIndex : m_parser.m_vecDocStruct)
        m_parser.m_vecParagraph[static_cast<size_t>(nIndex)].level -= nMinLevel - 1;
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

void CDocStructBuilder::RemoveParagraph(size_t nIndex)
{
    CDocxParser& p = m_parser;
    p.m_vecParagraph.erase(p.m_vecParagraph.begin() + static_cast<std::ptrdiff_t>(nIndex));
    // Captions and placeholders after the removed entry move up by one.
    auto follow = [nIndex](unsigned& nValue) {
        if (nValue != NO_CAPTION && nValue > nIndex)
            --nValue;
    };
    for (_tTable& table : p.m_vecTable) {
        follow(table.caption_index);
        follow(table.para_index);
    }
    for (_tFigure& figure : p.m_vecFigure) {
        follow(figure.caption_index);
        follow(figure.para_index);
    }
}

void CDocStructBuilder::RebuildParagraph()
{
    std::vector<_tParagraph>& vecParas = m_parser.m_vecParagraph;
    for (size_t i = 0; i + 1 < vecParas.size();) {
        _tParagraph& para = vecParas[i];
        bool bJoinable = para.level == DocLevel::TEXT || para.level == DocLevel::TABLE_COL ||
                         para.level == DocLevel::TXTBOX;
        if (bJoinable && vecParas[i + 1].level == para.level && !IsCompleteParagraph(para.text) &&
            !IsShortNumbered(para.text)) {
            para.text += vecParas[i + 1].text;
            RemoveParagraph(i + 1);
            continue;
        }
        ++i;
    }
    for (_tTable& table : m_parser.m_vecTable) {
        for (_tRow& row : table.rows) {
            for (_tCell& cell : row) {
                for (size_t k = 0; k + 1 < cell.size();) {
                    if (!cell[k].text.empty() && !IsCompleteParagraph(cell[k].text)) {
                        cell[k].text += cell[k + 1].text;
                        cell.erase(cell.begin() + static_cast<std::ptrdiff_t>(k + 1));
                        continue;
                    }
                    ++k;
                }
            }
        }
    }
}

bool CDocStructBuilder::FindChapterTitle(size_t nChapter)
{
    std::vector<_tParagraph>& vecParas = m_parser.m_vecParagraph;
    size_t j = nChapter;
    while (j > 0) {
        size_t nLen = vecParas[j - 1].text.size();
        if (nLen >= 12 && nLen <= 120)
            break;
        --j;
    }
    if (j == 0)
        return false;
    size_t nLen = vecParas[j - 1].text.size();
    if (nLen < 13 || nLen > 119)
        return false;
    vecParas[j - 1].level = DocLevel::TITLE1;
    m_parser.m_vecDocStruct.push_back(static_cast<int>(j - 1));
    return true;
}

int CDocStructBuilder::ParseSection()
{
    static const std::string kZhang = Gbk("\xE7\xAB\xA0");   // 章
    static const std::string kFu = Gbk("\xE9\x99\x84");      // 附
    CDocxParser& p = m_parser;
    std::vector<_tParagraph>& vecParas = p.m_vecParagraph;
    int nType = p.m_nReportType;
    bool bReport = nType == 3 || nType == 4;
    p.m_vecDocStruct.clear();
    std::map<int, _tSection_Format> mapFormats;
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
        if (!bReport && (sText.size() < 12 || sText.size() > 60))
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
        if (!p.m_vecDocStruct.empty()) {
            for (const auto& item : mapFormats) {
                if (item.second.IsSameFormat(info)) {
                    nHeadingLevel = item.first;
                    break;
                }
            }
        }
        if (nHeadingLevel == 0) {
            nHeadingLevel = p.m_vecDocStruct.empty() ? 1 : nCurLevel + 1;
            mapFormats[nHeadingLevel] = info;
        }
        vecParas[i].level = bAppendix ? DocLevel::APPENDIX : nHeadingLevel;
        p.m_vecDocStruct.push_back(static_cast<int>(i));
        nCurLevel = nHeadingLevel;
    }
    return static_cast<int>(p.m_vecDocStruct.size());
}
