// Numbers of cited standards and documents ("GB/T 50016-2014",
// "GB50016—2014", "安监总管三〔2011〕95号", "国家安全生产监督管理总局令第40号")
// read into their parts, the name of a cited standard taken out of its
// book-title marks, and the test whether two numbers name the same edition.
#pragma once

#include <string>

class CQueryExpand;

// One parsed number. `org` is the number as compared (no "/T", no blanks,
// capitals); `type` the issuing code before the number; `no` the number;
// `part` what follows it up to the year (".1" of "GB 13495.1-2015"); `year`
// four digits (a two-digit year of an old standard is read as 19xx).
struct _tTiaowenHao {
    int year = 0;
    int no = 0;
    std::string type;
    std::string org;
    std::string part;
};

class CStandardNumber {
public:
    // The name between "《" and "》" (from the start when only "》" is
    // there, to the end when only "《" is). nFollowing gets the integer
    // directly after a "（" that follows the name, -1 when there is none.
    static std::string TiaowenStandard(const std::string& sCited, int& nFollowing);
    // Parses a number; false (and `org` only) when neither a dash form nor
    // a bracket form gives a number.
    static bool TiaowenHaoStandard(const std::string& sNumber, _tTiaowenHao& number);
    // Same number and year, and the same or a similar issuing code; or `b`
    // has only a year, and it is a's.
    static bool IsSameTiaowenHao(const _tTiaowenHao& a, const _tTiaowenHao& b, const CQueryExpand* pSimilar);
    // Numbers such as "试行" editions and abbreviations are not looked up.
    static bool IsExcluded(const std::string& sNumber);

private:
    static std::string Fold(const std::string& sNumber);
    static bool ParseDashForm(const std::string& sOrg, _tTiaowenHao& number);
    static bool ParseBracketForm(const std::string& sOrg, _tTiaowenHao& number);
    static bool SameType(const std::string& a, const std::string& b, const CQueryExpand* pSimilar);
};
