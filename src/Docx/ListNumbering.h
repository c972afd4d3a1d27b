// The automatic numbers of a document's lists: Word draws "1.2", "第三章" or
// "(a)" in front of a numbered paragraph without that text being in the
// paragraph's runs. Counted here in reading order, so the text a check
// reads starts with the number a reader sees.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/NumberingReader.h"

// The numbering a paragraph states itself (w:numPr); unset values are -1.
struct _tParaList {
    int nNumId = -1;
    int nLevel = -1;
};

class CListNumbering {
public:
    // Forgets definitions and counters (a new document).
    void Clear();
    // The definitions of numbering.xml and the list properties of styles.xml.
    void ReadNumbering(std::string_view sText);
    void ReadStyles(std::string_view sText);
    bool Empty() const { return m_defs.mapInstance.empty(); }

    // Counts one paragraph, in reading order, and gives the number text
    // drawn before it, with its suffix ("2.3\t", "第一章 "); empty when the
    // paragraph is not numbered or its list draws a bullet or nothing.
    std::string Next(const _tParaList& own, const std::string& sStyleId);

    // A value written in a list number format (decimal, upperRoman,
    // chineseCounting, decimalEnclosedCircle ...); unknown formats in decimal.
    static std::string FormatValue(int nValue, const std::string& sFormat);

private:
    // What one abstract list has counted so far; -1 is not counted yet.
    struct _tCounters {
        std::vector<int> vecValue = std::vector<int>(CNumberingReader::MAX_LEVELS, -1);
        std::map<int, int> mapStart;  // restart values a list instance set
    };

    // The list and level a paragraph takes, from itself and its styles.
    bool Resolve(const _tParaList& own, const std::string& sStyleId, int& nNumId, int& nLevel) const;
    int AbstractOf(int nNumId) const;
    const _tListLevel* LevelOf(int nNumId, int nLevel) const;
    int StartOf(const _tCounters& counters, int nNumId, int nLevel) const;
    std::string Render(const _tCounters& counters, int nNumId, int nLevel) const;

    _tNumberingDefs m_defs;
    std::map<int, _tCounters> m_mapCounters;  // by abstract list
    std::set<std::pair<int, int>> m_setInstanceLevelUsed;  // (list instance, level) met so far
};
