// The block format of QuickLZ 1.5 at compression level 1 without a streaming
// buffer: header fields, the hash of three bytes and the limits on matches
// that both our encoder and our decoder keep.
#pragma once

#include <cstddef>
#include <cstdint>

namespace QuickLZ {

constexpr uint8_t kFlagCompressed = 0x01;
constexpr uint8_t kFlagLongHeader = 0x02;
constexpr uint8_t kFlagLevelMask = 0x3C;  // level and streaming bits
constexpr uint8_t kFlagLevel1 = 0x04;     // level 1, no streaming buffer
constexpr uint8_t kFlagAlways = 0x40;     // set by every writer
constexpr size_t kShortHeader = 3;
constexpr size_t kLongHeader = 9;
constexpr size_t kShortHeaderLimit = 216;  // sizes below this take the short header
constexpr size_t kMinPayload = 9;          // readers may look 4 bytes ahead at every item
constexpr size_t kGroupItems = 31;         // items per control word
constexpr uint32_t kControlMarker = 0x80000000u;
constexpr size_t kHashSize = 4096;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 255;
constexpr size_t kShortMatchMax = 17;  // longer matches take a third byte
constexpr size_t kTailBytes = 11;      // no match starts in the last 10 bytes
constexpr size_t kLiteralEnd = 4;      // no match covers the last 4 bytes
// A 3-byte match item yields at most 255 bytes, so no block expands by more.
constexpr size_t kMaxExpansion = 85;
// The long header's 32-bit total must hold the worst case of an input.
constexpr size_t kMaxInput = 0xFFFFFFFFu - 400;

// The hash of three bytes: the low 12 bits of their little-endian value
// combined with its high 12 bits.
inline uint32_t Hash3(const uint8_t* p)
{
    uint32_t v = p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    return (v ^ (v >> 12)) & 0xFFF;
}

inline uint32_t ReadLE32(const uint8_t* p)
{
    return p[0] | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace QuickLZ
