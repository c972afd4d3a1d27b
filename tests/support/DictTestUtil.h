// Helpers for dictionary tests: GBK spellings of UTF-8 literals and
// dictionaries built from word lists.
#pragma once

#include <string>
#include <vector>

class CPDAT;

// The GBK bytes of a UTF-8 text.
std::string Gbk(const std::string& sUtf8);
// Builds dict from the words, in order.
void BuildDict(CPDAT& dict, const std::vector<std::string>& vecWords);
