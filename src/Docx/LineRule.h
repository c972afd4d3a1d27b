// How a paragraph's w:line is meant (w:lineRule) and the height of its lines
// in points, so spacings stated in different ways can be compared.
#pragma once

#include <string_view>

namespace LineRule {
constexpr int AUTO = 0;      // 240ths of a line (240 single, 360 one and a half)
constexpr int EXACT = 1;     // twips, exactly
constexpr int AT_LEAST = 2;  // twips, at least

// "exact" and "atLeast"; anything else, or nothing, is auto.
int FromName(std::string_view sName);
// "auto", "exact" or "atLeast".
const char* Name(int nRule);

// The distance between lines in points of a paragraph whose text is
// nSizeHalfPoints (0: 小四, the usual body size). A single line is taken
// as 1.3 times the size, which is what 宋体 and the other Chinese fonts
// give in a word processor.
double PitchPoints(int nLine, int nRule, int nSizeHalfPoints);
// The w:line under nRule that gives a pitch of dPoints.
int LineForPitch(double dPoints, int nRule, int nSizeHalfPoints);
}  // namespace LineRule
