// The frames of the search protocol. A request is the total length that
// follows, then start, count and the query's length (32-bit big-endian)
// and the query bytes; an answer is a signed 32-bit big-endian length and
// that many bytes of one QuickLZ block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A request as the service reads it.
struct _tSearchRequest {
    int nStart = 0;
    int nCount = 0;
    std::string sQuery;
};

class CSearchFrame {
public:
    static constexpr size_t kLengthBytes = 4;
    static constexpr size_t kRequestFixed = 12;  // start, count, query length

    // The whole request: total length, start, count, query length, query.
    static std::string Request(const std::string& sQuery, int nStart, int nCount);
    // The body of a request (the bytes after its total length); false with
    // sError when its query length disagrees with the body's size.
    static bool ParseRequestBody(const std::string& sBody, _tSearchRequest& request, std::string& sError);
    // An answer frame around a block (the length, then the block).
    static std::string Answer(const std::string& sBlock);

    static void PutBE32(std::string& sOut, uint32_t nValue);
    static uint32_t ReadBE32(const void* pBytes);
};
