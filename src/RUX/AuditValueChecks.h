// Checks of single values that the audit commands run: dates, identity
// numbers, unified social credit codes, amounts written in digits and in
// Chinese capital numerals, and numbers written in Chinese numerals. All
// texts are UTF-8.
#pragma once

#include <string>

// A calendar date that really exists, in one of the forms 2023年5月8日,
// 2023年5月, 二〇二三年五月八日, 2023-05-08, 2023/5/8, 2023.5.8 or 20230508,
// with a year from 1900 up to nLatestYear (future years are invalid).
bool IsValidDate(const std::string& sText, int nLatestYear);
// The current year by the local clock.
int CurrentYear();

// An 18-character resident identity number: 17 digits and a check
// character (digit or X) by ISO 7064 MOD 11-2, with a real birth date
// from 1900 up to nLatestYear.
bool IsValidPersonId(const std::string& sText, int nLatestYear);

// An 18-character unified social credit code (GB 32100): characters from
// "0123456789ABCDEFGHJKLMNPQRTUWXY", the division code digits at places 3
// to 8, and the check character of the weighted sum modulo 31.
bool IsValidCreditCode(const std::string& sText);

// An amount in capital numerals (壹拾贰万叁仟元伍角整, 人民币贰佰元整); the
// plain numerals 一二三 and 十百千 are read as well. False when the text
// holds no such amount.
bool CapitalAmount(const std::string& sText, double& dValue);
// An amount in digits ("¥1,234.50", "12.5万元"): thousands separators
// dropped, a following 万 or 亿 multiplies. False without digits.
bool DigitAmount(const std::string& sText, double& dValue);
// The number written in digits from nStart on (a sign allowed first), its
// thousands separators skipped and a 万 or 亿 right after it applied.
double ScaledNumberAt(const std::string& sText, size_t nStart);
// The integer that a text's leading Chinese numerals spell (一百二十天
// gives 120); -1 when it starts with none.
long long LeadingChineseNumber(const std::string& sText);
// An amount printed as the audit findings propose it: no decimals for a
// whole amount, else two.
std::string FormatAmount(double dValue);
