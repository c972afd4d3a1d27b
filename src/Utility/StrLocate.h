// Finding a text inside another where the blanks may differ: a checker
// reports the text it saw after blanks were dropped, while the document
// still holds them (and the other way round).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// One place found: the bytes [nStart, nEnd) of the text searched.
struct _tStrHit {
    size_t nStart = 0;
    size_t nEnd = 0;
};

// Every place where sNeedle occurs in sHay. Exact occurrences when there
// is any; otherwise occurrences that match once blanks (space, tab, CR,
// LF) are dropped from both texts, each hit running from its first to its
// last matched byte. None for an empty needle. At most nMaxHits hits.
std::vector<_tStrHit> StrLocateAll(std::string_view sHay, std::string_view sNeedle, size_t nMaxHits = 4096);
