// One segmentation of one text: user words first (longest match, never
// cutting a run of letters or of digits), then in the stretches between
// them dates, numbers, Latin runs and marks by their form, and the runs of
// Chinese between those by maximum probability over the word graph of the
// core dictionary; where that route leaves two or more single characters
// in a row, the unknown-word model cuts them again, so names and new terms
// come out whole. Holds only scratch space, so each thread keeps one and
// reuses it; the dictionaries and the model must not change during Run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Segmenter/SegmenterChars.h"

class CCoreDict;
class CHmmModel;
class CUserDict;

// One token: bytes [nStart, nStart + nLen) of the text and its tag (a
// string owned by a dictionary or a literal; valid while they are).
struct _tSegToken {
    uint32_t nStart = 0;
    uint32_t nLen = 0;
    const char* sTag = "";
    bool bUser = false;  // a user word: may hold white space
};

class CSegmentPass {
public:
    // Replaces vecTokens with the tokens of the text; pUser may be null, and
    // so may pHmm (single characters then stay as the route leaves them).
    // White space gives no token.
    void Run(const CCoreDict& core, const CUserDict* pUser, const char* sText, size_t nLen,
             std::vector<_tSegToken>& vecTokens, const CHmmModel* pHmm = nullptr);

private:
    // A piece of a run of words: one Chinese character, or a whole Latin run
    // or number (sTag its own tag, used when it stands alone).
    struct _tAtom {
        uint32_t nStart;
        uint32_t nEnd;
        const char* sTag;
    };

    size_t UserWordAt(size_t nPos, int& nId);
    bool CutsRun(size_t nPos) const;
    bool MayForce(size_t nPos, int nLen) const;
    bool IsUserHan(size_t nPos, size_t nLen) const;
    void RunStretch(size_t nFrom, size_t nTo);
    size_t EmitMark(const _tSegChar& ch, size_t nPos, size_t nTo);
    void FlushAtoms();
    void FindRoute(uint32_t nRunStart, uint32_t nRunEnd);
    void EmitRoute();
    void EmitSingles(size_t nFrom, size_t nTo);
    void EmitGuessed(size_t nFrom, size_t nTo);
    bool IsCommonWords(size_t nFrom, size_t nTo) const;
    const char* SingleTag(size_t k) const;
    void EmitWord(size_t nStart, size_t nEnd, const char* sTag);
    void Emit(size_t nStart, size_t nEnd, const char* sTag, bool bUser = false);
    void MarkClosingDeng();

    const CCoreDict* m_pCore = nullptr;
    const CUserDict* m_pUser = nullptr;
    const CHmmModel* m_pHmm = nullptr;
    const unsigned char* m_p = nullptr;
    size_t m_nLen = 0;
    std::vector<_tSegToken>* m_pTokens = nullptr;
    bool m_bDoubleQuoteOpen = false;
    bool m_bSingleQuoteOpen = false;

    std::vector<_tAtom> m_vecAtoms;
    std::vector<int32_t> m_vecAtomAt;  // byte offset in the run -> atom starting there, -1 inside one
    std::vector<double> m_vecRoute;    // best log probability from an atom to the run's end
    std::vector<int32_t> m_vecNext;    // atom after the best word from an atom
    std::vector<int32_t> m_vecWordId;  // that word's id, -1 when no word
    std::vector<int> m_vecIds;
    std::vector<int> m_vecEnds;
    // The unknown-word model's input, scratch and states for one run of
    // single characters, and the token it last guessed (a following
    // suffix word such as 公司 or 市 joins it).
    std::vector<uint32_t> m_vecCodes;
    std::vector<double> m_vecHmmScore;
    std::vector<uint8_t> m_vecHmmBack;
    std::vector<uint8_t> m_vecStates;
    size_t m_nGuessed = 0;  // its index + 1, 0 when the last token is no guess
};

// Appends the tokens as "word/tag" (or "word" when untagged) separated by
// single spaces (with one before the first when sOut is not empty); a user word holding white space as "[a b]/tag" with every
// run of white space one space.
void AppendSegTokens(const char* sText, const std::vector<_tSegToken>& vecTokens, bool bTagged,
                     std::string& sOut);
