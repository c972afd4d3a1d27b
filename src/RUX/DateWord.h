// Whether a date or time word of running text could name a real moment:
// "2023年13月", "2月30日" and "25:10" cannot; "到2030年", "2035年", "3月",
// "12:30" can. Years are not compared with the clock, since texts name
// plans and targets in the future. Forms it does not know pass.
#pragma once

#include <string>

bool IsPossibleDateWord(const std::string& sWord);
