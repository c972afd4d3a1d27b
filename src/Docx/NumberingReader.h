// Reads the list definitions of word/numbering.xml (abstract lists, their
// levels, the list instances with their overrides) and the list properties
// of the styles in word/styles.xml, so the numbers Word draws in front of
// numbered paragraphs can be counted again.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// One level of a list: how its number is counted and written.
struct _tListLevel {
    int nStart = 1;
    std::string sFormat = "decimal";  // w:numFmt
    std::string sText;                // w:lvlText, "%1.%2" or "第%1章"
    int nRestart = -1;                // w:lvlRestart: -1 after any higher level, 0 never
    bool bLegal = false;              // w:isLgl: every number in decimal
    std::string sSuffix = "tab";      // w:suff: tab, space or nothing
    std::string sStyle;               // w:pStyle: the style that takes this level
};

struct _tAbstractList {
    std::vector<_tListLevel> vecLevels;    // by w:ilvl, 9 levels
    std::string sNumStyleLink;             // the numbering style that defines it
};

// A w:num: the abstract list it draws from and what it overrides.
struct _tListInstance {
    int nAbstract = -1;
    std::map<int, int> mapStartOverride;        // level -> restart value
    std::map<int, _tListLevel> mapLevelOverride;  // level -> replaced definition
};

// The list properties a style sets itself; numId -1 and level -1 when unset.
struct _tStyleList {
    int nNumId = -1;
    int nLevel = -1;
    std::string sBasedOn;
};

struct _tNumberingDefs {
    std::map<int, _tAbstractList> mapAbstract;
    std::map<int, _tListInstance> mapInstance;
    std::map<std::string, _tStyleList> mapStyles;
};

class CNumberingReader {
public:
    static constexpr int MAX_LEVELS = 9;

    // Abstract lists and instances from the text of numbering.xml.
    static void ReadNumbering(std::string_view sText, _tNumberingDefs& defs);
    // The list properties (numId, ilvl, basedOn) of every style of styles.xml.
    static void ReadStyleLists(std::string_view sText, _tNumberingDefs& defs);

private:
    static void ReadLevel(std::string_view sText, size_t nStart, size_t nEnd, _tListLevel& level);
    static void ReadAbstract(std::string_view sText, size_t nStart, size_t nEnd, _tAbstractList& list);
    static void ReadInstance(std::string_view sText, size_t nStart, size_t nEnd, _tListInstance& num);
};
