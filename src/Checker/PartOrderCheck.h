// Checks one list of numbered parts (the chapters, the sections under one
// heading, the captions of one chapter, the formulas, the references) for a
// gap-free order and turns every entry the numbering utility corrects into
// a finding.
#pragma once

#include <string>

class CFormatCheckContext;
class CNumUtility;

class CPartOrderCheck {
public:
    // List kinds besides the heading levels 1..4.
    enum : int { KIND_TABLE = -100, KIND_FIGURE = -200, KIND_REFERENCE = -510, KIND_FORMULA = -512 };

    explicit CPartOrderCheck(CFormatCheckContext& context) : m_context(context) {}

    // Checks list (records with their para_id set) whose entries must begin
    // with the chapter part sChapter (GBK; empty: the list's own majority),
    // numbered from nStart (-1: any start). nKind is a heading level or a
    // KIND_* value.
    void Check(CNumUtility& list, const std::string& sChapter, int nKind, int nStart);

    // The code of an entry whose number is wrong, by the kind of list.
    static const char* WrongOrderCode(int nKind);

private:
    CFormatCheckContext& m_context;
};
