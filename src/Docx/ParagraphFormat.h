// The font, size and line spacing of one paragraph as a word processor
// shows them, gathered from its text runs through the style sheet.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct _tParagraph;
struct _tParagraphTags;
struct _tRunTags;
class CStyleSheet;

class CParagraphFormat {
public:
    // sText is the XML text the runs point into; sStyleId the paragraph's
    // style (empty: the default one).
    CParagraphFormat(const CStyleSheet& sheet, std::string_view sText, const std::string& sStyleId);

    // The raw w:line that applies to the paragraph (0 when none does) and
    // how it is meant, into para.
    void SetLineSpace(const _tParagraphTags& tags, _tParagraph& para) const;

    // One run with text. The size is the last run's; the font is the East
    // Asian font that sets the most Chinese characters (the first such on a
    // tie), or, while there is no Chinese text, the Latin (ASCII) font of
    // the first run.
    void AddRun(const _tRunTags& run, _tParagraph& para);

    const std::string& StyleId() const { return m_sStyleId; }

    // The text holds a character set in the East Asian font (Chinese,
    // Japanese, Korean, their punctuation and full-width forms).
    static bool HasEastAsianText(std::string_view sText);

private:
    const CStyleSheet& m_sheet;
    std::string_view m_sText;
    std::string m_sStyleId;
    bool m_bEastAsianFont = false;  // the font came from Chinese text
    std::vector<std::pair<std::string, size_t>> m_vecEastAsian;  // font -> Chinese characters, in order met
};
