// One name per Chinese typeface. Word processors write the same face under
// its Chinese name, its English name (SimSun, SimHei) or its old GB2312
// edition (仿宋_GB2312), and a document in SimSun is set in 宋体.
#pragma once

#include <string>

// The Chinese name of the face sFont names; sFont itself when it is no
// known Chinese face.
std::string CanonicalFontName(const std::string& sFont);
// Both name the same face.
bool IsSameFont(const std::string& sA, const std::string& sB);
