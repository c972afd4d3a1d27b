// Whether the table of contents still matches the headings, and the
// finding that asks for it to be updated when it does not.
#pragma once

#include <string>

class CDocModel;
class CFormatCheckContext;

class CContentsCheck {
public:
    // True when there are as many contents lines as headings and each
    // heading's text can be found in its contents line.
    static bool IsContentUpdated(const CDocModel& model);
    // Adds "1.6" when the contents are out of date.
    static void Check(CFormatCheckContext& context);
    // The text a heading and a contents line are compared in: without
    // blanks, dot leaders and the page number at the end.
    static std::string Comparable(const std::string& sText, bool bContentsLine);
};
