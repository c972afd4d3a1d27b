// Cuts a labelled HTML export into pages: the head every page shares, the
// sections of the word processor (short ones joined, long ones cut at
// paragraph labels, never inside a table or a block), and the pager at the
// foot of each page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CHtmlPager {
public:
    // Tells a page file this library wrote from a file of the user's.
    static constexpr const char* PAGE_MARKER = "veskar pages";
    // A section shorter than this is joined with the next one.
    static constexpr size_t SHORT_SECTION = 1024;
    // A section longer than this is cut into pieces of about this size.
    static constexpr size_t LONG_SECTION = 102399;
    static constexpr size_t PIECE = 102400;

    // Position after the body start tag ("<body" ... ">"); 0 without one.
    static size_t BodyStart(std::string_view sHtml);
    // Position of the body end tag; the end of the text without one.
    static size_t BodyEnd(std::string_view sHtml, size_t nBodyStart);
    // Cuts a comment list off the end of the body and closes the text.
    static void CutComments(std::string& sHtml);
    // The head of every page: the HTML up to the end of the body start tag,
    // with the pages' style sheets and scripts linked right after <head>
    // and the styles of the revision marks before the first span style.
    static std::string PagePrefix(std::string_view sHtml, size_t nBodyStart);
    // Candidate pages [start, end): one per "<div class=WordSection", a
    // short one joined with the next; the whole body without any.
    static std::vector<std::pair<size_t, size_t>> Sections(std::string_view sHtml, size_t nBodyStart,
                                                           size_t nBodyEnd);
    // The pieces a long section is cut into (together the whole section);
    // each cut lies at least nPiece bytes after the one before.
    static std::vector<std::string_view> FurtherSegment(std::string_view sSection, size_t nPiece = PIECE);
    // The first paragraph label of a text (two blanks, name="0..."), read
    // as hexadecimal; false when there is none.
    static bool FirstLabel(std::string_view sText, uint32_t& nId);
    // The pager of page n of nCount (nothing for fewer than 2 pages);
    // sName is the page files' base name in UTF-8.
    static std::string Pager(size_t n, size_t nCount, const std::string& sName);

private:
    // The element (a block, else a table) that holds position nLabel, looked
    // for from nFrom on where no block or table is open: [start, end), or
    // false when the label stands in none.
    static bool EnclosingElement(std::string_view sText, size_t nFrom, size_t nLabel, size_t& nStart,
                                 size_t& nEnd);
    static size_t MatchingEnd(std::string_view sText, size_t nStart, std::string_view sName);
    // The '<' of the tag that holds the label at nLabel.
    static size_t TagStart(std::string_view sText, size_t nLabel);
    // The last label in [nFrom, nTo), or npos.
    static size_t LastLabel(std::string_view sText, size_t nFrom, size_t nTo);
};
