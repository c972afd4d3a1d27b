// Chinese numerals (一百零五, 三万, 贰拾) to integers and back, for the
// heading-number reader, the audit rules, the rule engine and the reference
// check. Characters are examined as GBK bytes; bUTF8 says the texts passed in
// and handed back are UTF-8 instead.
#pragma once

#include <string>

// The value of the first character of sChar: 0-9 for 零○一壹二两贰 ... 九玖,
// 10 十拾, 100 百佰, 1000 千仟, 10000 万, 100000000 亿; -2 for anything else.
int ChineseNum2Digit(const char* sChar, bool bUTF8);

// The value of a Chinese numeral expression (十二 12, 一百零五 105, 三万
// 30000); -1 for an empty text, a character that is no numeral, a badly
// formed expression (一二, a lone 百) or a value above INT_MAX. Failures
// are written to the error log.
int Str2Integer(const char* sText, bool bUTF8);

// The Chinese numeral text of nValue into sOut (12 十二, 105 一百零五;
// bUpper: 拾贰, 壹佰零伍); a negative value is preceded by 负.
void Integer2Str(long long nValue, std::string& sOut, bool bUpper, bool bUTF8);
// The same from a decimal text ("-12", "00105"); false, and sOut empty, when
// it is not a decimal integer of at most 18 digits.
bool Integer2Str(const char* sDecimal, std::string& sOut, bool bUpper, bool bUTF8);
