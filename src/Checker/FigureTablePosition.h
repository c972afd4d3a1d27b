// Where figures and tables stand: not inside the table of contents, in
// report type 4 not before its first appendix part, and after the contents
// never without a caption.
#pragma once

class CFormatCheckContext;

class CFigureTablePosition {
public:
    explicit CFigureTablePosition(CFormatCheckContext& context) : m_context(context) {}

    // Checks every figure and table placeholder of the body.
    void Check();

private:
    // The paragraph a finding about the placeholder at nIndex points at:
    // the nearest ordinary paragraph before it, null when there is none.
    const struct _tParagraph* Previous(long long nIndex) const;
    bool HasCaption(const struct _tParagraph& placeholder) const;

    CFormatCheckContext& m_context;
};
