// The pieces a reference entry is read from: its type mark, its label, its
// parts between full stops, and the numbers (year, volume, issue, pages)
// inside a part. Everything works on UTF-8 bytes; only ASCII bytes are ever
// compared, and no UTF-8 byte of another character is ASCII, so no search
// can stop inside a Chinese character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Kinds of document a type mark names. The first ten are numbered as the
// result files know them; the rest read like the kind they resemble.
enum {
    REF_NONE = 0,
    REF_JOURNAL = 1,     // J
    REF_CONFERENCE = 2,  // C
    REF_BOOK = 3,        // M, and G (compilation), CM (map) read as books
    REF_THESIS = 4,      // D
    REF_REPORT = 5,      // R
    REF_STANDARD = 6,    // S
    REF_PATENT = 7,      // P
    REF_NEWSPAPER = 8,   // N
    REF_ELECTRONIC = 9,  // E, EB, DB, CP, DS
    REF_ARCHIVE = 10,    // A
    REF_OTHER = 11       // Z
};

struct _tTypeMark {
    int nType = REF_NONE;
    size_t nOpen = 0;   // position of "["
    size_t nClose = 0;  // position of "]"
};

struct _tYearPages {
    std::string sYearText;  // the text the year was read from, trimmed
    int nYear = 0;
    int nStartPage = 0;
    int nEndPage = 0;
};

class CReferenceText {
public:
    // The type named by a mark's inside ("J", "EB/OL", "m"); REF_NONE when
    // it is no mark of the standard (a date, "S.l.", "出版者不详").
    static int TypeOfMark(std::string_view sInside);
    // The last bracket pair of the text that holds a type mark; nType is
    // REF_NONE when there is none.
    static _tTypeMark FindTypeMark(std::string_view sText);
    // Where the entry starts after its label: "[12]", "12.", "(12)" with
    // the full stops and blanks after it.
    static size_t SkipLabel(std::string_view sText, size_t nFrom);
    // The text with web addresses and DOIs removed, so their dots split
    // nothing and their digits are read as no year.
    static std::string StripLinks(std::string_view sText);
    // The parts between full stops. A full stop between two digits
    // ("3972.4", "2.0", "2019.03.01") splits nothing; blank parts are dropped.
    static std::vector<std::string_view> SplitParts(std::string_view sText);
    // The pieces between any of the separators, trimmed, blank ones dropped.
    static std::vector<std::string_view> SplitPieces(std::string_view sText, std::string_view sSeparators);
    // The number at the start (after blanks); -1 when
    // none, with nPos moved past it.
    static int ReadInt(std::string_view sText, size_t& nPos);
    // "12-15", "12–15", "e0123", "2063" (a single page is its own end).
    static void ReadPages(std::string_view sText, int& nStart, int& nEnd);
    // Year and pages of a publication part: "北京: 出版社, 2010: 12-15",
    // "2010", "New York: Wiley, 2010".
    static _tYearPages ReadYearPages(std::string_view sPart);
    // Digits of the number at the start of a piece, after blanks and "(".
    static size_t LeadingDigits(std::string_view sPiece);
    // The whole part is one page range: "12-15".
    static bool IsPageRange(std::string_view sPart);
    static std::string_view TrimView(std::string_view sText);
};
