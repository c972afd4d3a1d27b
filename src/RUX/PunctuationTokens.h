// What the punctuation pass asks of a token: its kind of mark from the tag
// ("/wd" comma, "/wj" full stop, "/wkz" opening bracket ...), numerals,
// time words, and whether its text begins or ends with a Chinese character.
#pragma once

#include <string>

#include "RUX/PunctuationPass.h"

namespace punctuation {

inline bool IsMark(const _tPassToken& t)
{
    return t.pos.size() >= 2 && t.pos[0] == '/' && t.pos[1] == 'w';
}
// The letter naming the mark: d, j, n, p, s, w, k, y ...; 0 for other
// marks and symbols ("/w": * # % / and the like), which the neighbour rules
// do not count as punctuation.
inline char MarkKind(const _tPassToken& t)
{
    return IsMark(t) && t.pos.size() >= 3 ? t.pos[2] : 0;
}
inline bool IsOpening(const _tPassToken& t)
{
    return IsMark(t) && t.pos.size() == 4 && t.pos[3] == 'z';
}
inline bool IsClosing(const _tPassToken& t)
{
    return IsMark(t) && t.pos.size() == 4 && t.pos[3] == 'y';
}
inline bool IsQuotation(const _tPassToken& t)
{
    return MarkKind(t) == 'y';
}
inline bool IsNumeral(const _tPassToken& t)
{
    return t.pos.size() >= 2 && t.pos[1] == 'm';
}
inline bool IsTimeWord(const _tPassToken& t)
{
    return t.pos.size() >= 2 && t.pos[1] == 't';
}
inline bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
inline bool IsAsciiAlnum(char c)
{
    return IsAsciiLetter(c) || IsDigit(c);
}
// A mark of one ASCII character (",", ".", "(" ...).
inline bool IsAsciiMark(const _tPassToken& t)
{
    return IsMark(t) && t.word.size() == 1 && static_cast<unsigned char>(t.word[0]) < 0x80;
}

// The code point of the UTF-8 character starting at s[i] (0 when it is none).
unsigned long CodePointAt(const std::string& s, size_t i);
// The code point of the last UTF-8 character of s (0 when none).
unsigned long LastCodePoint(const std::string& s);
// A Chinese character (the unified ideographs and their extension A, and 〇).
bool IsHan(unsigned long c);
inline bool BeginsWithHan(const std::string& s)
{
    return !s.empty() && IsHan(CodePointAt(s, 0));
}
inline bool EndsWithHan(const std::string& s)
{
    return IsHan(LastCodePoint(s));
}
// One Chinese character and nothing else.
inline bool IsSingleHan(const std::string& s)
{
    return s.size() == 3 && BeginsWithHan(s);
}

}  // namespace punctuation
