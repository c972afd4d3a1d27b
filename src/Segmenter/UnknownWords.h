// What kind of word the unknown-word model found: a person name, a place or
// an organisation, told by its surname or by the suffix that names its
// kind, or nothing known ("x", the tag of what the dictionary cannot name).
#pragma once

#include <cstddef>

// The tag of a word of two or more characters that the dictionary lacks:
// "ns" when it ends in a place suffix (省 市 县 区 镇 村 路 街 ...), "nr" when
// it is a common surname and one or two more characters, otherwise "x".
const char* GuessedWordTag(const unsigned char* pWord, size_t nLen);

// When the word that follows such a word names the kind of the two together
// ("nt" after 公司, 大学, 研究所 ...; "ns" after 市, 自治区, 开发区 ...), that
// tag; null otherwise.
const char* SuffixWordTag(const unsigned char* pWord, size_t nLen);
