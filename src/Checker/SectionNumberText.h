// Small helpers over heading numbers read by CNumUtility, shared by the
// order checks and the format pass: the number as written, its depth, the
// number of a formula line, and chapter-part comparison.
#pragma once

#include <string>

#include "Utility/SectionFormat.h"

class CNumUtility;

// GBK bytes of a record field as UTF-8 (unchanged when they do not convert).
std::string GbkFieldToUtf8(const std::string& sGbk);
// prefix + chapter part + separator + number (+ post), as UTF-8.
std::string WrittenNumber(const _tSection_Info& info, bool bWithPost);
// How many parts the number has (1 for "2", 3 for "1.2.3"); -1 for a number
// in brackets, 0 when there is none.
int NumberDepth(const _tSection_Info& info);
// How many groups a chapter part ("2.1") holds; 0 when empty.
int ChapterDepth(const std::string& sChapter);
// True when sChapter is sHead or begins with sHead and a separator.
bool ChapterBeginsWith(const std::string& sChapter, const std::string& sHead);
// Reads the number of a caption, reference or (bFormula) a formula line,
// whose number stands after its last '('. The num_format found, -1 for none.
int ReadPartNumber(CNumUtility& numbers, const std::string& sText, bool bFormula, _tSection_Info& info);
// The first UTF-8 character of a text ("" for an empty one).
std::string FirstCharacter(const std::string& sText);
