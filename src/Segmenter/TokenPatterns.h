// The tokens the segmenter recognises by their form rather than from the
// dictionary: runs of Latin letters and digits (numbers among them), and
// dates and times written with digits or Chinese numerals.
#pragma once

#include <cstddef>

// A run of Latin letters and digits starting at nPos (a letter or digit),
// with the joiners that belong inside one: decimal points and thousands
// groups of numbers ("3.14", "1,000"), "-", "_" and "." inside names
// ("GB50016-2014", "e-mail"), apostrophes inside words ("don't"), a
// percent sign after a number, "++" or "#" after a name ("C++").
// Returns the end of the run; bNumber says it is a number.
size_t MatchLatinRun(const unsigned char* p, size_t nLen, size_t nPos, bool& bNumber);

// A date or time in digits starting at nPos (a digit): 2023年5月12日 and
// its leading parts (a year of four digits, months 1-12, days 1-31 after a
// month or alone), hours with minutes and seconds (12时30分, 8点15分, and
// after a day 8点), 12:30 and 12:30:45, and 2023-05-12 (also with "." or
// "/"). Returns its end, or nPos when there is none.
size_t MatchDateTime(const unsigned char* p, size_t nLen, size_t nPos);

// A date in Chinese numerals starting at nPos: 二〇二三年, 五月, 十二月十二日
// and their combinations (a day only after a month). Returns its end, or
// nPos when there is none.
size_t MatchChineseDate(const unsigned char* p, size_t nLen, size_t nPos);
