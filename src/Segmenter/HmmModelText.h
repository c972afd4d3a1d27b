// Reading the unknown-word model's tables from their text form: files that
// each assign one literal dictionary ("P={'B': -0.26, ...}"), with string
// keys of one character ('B', '\u4e00') and number or dictionary values, as
// python3-jieba ships them (prob_start.py, prob_trans.py, prob_emit.py).
// Only the literals are read; nothing else in the files is run or trusted.
#pragma once

#include <string>

#include "Segmenter/HmmModel.h"

// Fills tables from the three texts; false with sError (naming the text and
// the byte where reading stopped) when one is not of that form.
bool ReadHmmTables(const std::string& sStart, const std::string& sTrans, const std::string& sEmit,
                   _tHmmTables& tables, std::string& sError);
