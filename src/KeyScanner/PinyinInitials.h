// Pinyin initials of words, for keyword lists that must also catch a word
// written as its abbreviation (绝密 -> jm).
#pragma once

#include <string>

// The initials of a UTF-8 word, lower case: one letter per Chinese
// character of the first level of GB2312 (ordered by pinyin, so its code
// gives the initial) and ASCII letters and digits as they are. "" when the
// word holds any other character, or no Chinese character at all.
std::string PinyinInitials(const std::string& sWord);
