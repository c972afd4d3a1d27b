// Whether the table of contents still matches the headings, and the
// finding that asks for it to be updated when it does not.
#pragma once

#include <string>

class CDocModel;
struct _tParagraph;
class CFormatCheckContext;

class CContentsCheck {
public:
    // True when each contents line names a heading, in order, and no
    // heading at the levels the contents list is missing from them.
    static bool IsContentUpdated(const CDocModel& model);
    // Adds "1.6" when the contents are out of date.
    static void Check(CFormatCheckContext& context);
    // The text a heading and a contents line are compared in: without
    // blanks, dot leaders and the page number at the end.
    static std::string Comparable(const std::string& sText, bool bContentsLine);

private:
    static bool IsListOfCaptions(const std::string& sLine);
    static bool IsNumbered(const std::string& sText);
    static bool LineNamesHeading(const std::string& sLine, const _tParagraph& head);
};
