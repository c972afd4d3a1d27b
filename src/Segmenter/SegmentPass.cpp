// The segmentation of one text. The word graph is never stored: the best
// route is computed from the end of a run backwards, each atom asking the
// dictionary for the words that start at it, as the well-known
// maximum-probability approach does.
#include "Segmenter/SegmentPass.h"

#include <cstring>

#include "Segmenter/CoreDict.h"
#include "Segmenter/HmmModel.h"
#include "Segmenter/TokenPatterns.h"
#include "Segmenter/UnknownWords.h"
#include "Segmenter/UserDict.h"
#include "Utility/Blanks.h"

namespace {

const char* const kTagNumber = "m";
const char* const kTagTime = "t";
const char* const kTagOther = "x";
const char* const kTagDeng = "udeng";
// Characters at least this frequent as words of their own (他, 来, 的, 是)
// never make an unknown word together.
const int kCommonWordFreq = 50000;

bool IsEllipsisCode(uint32_t nCode)
{
    return nCode == 0x2026 || nCode == 0x22EF;
}

bool IsDashCode(uint32_t nCode)
{
    return nCode == 0x2014 || nCode == 0x2015 || nCode == 0x2E3A || nCode == 0x2E3B;
}

bool IsSameAs(const _tSegToken& token, const unsigned char* p, const char* sWord)
{
    size_t nLen = std::strlen(sWord);
    return token.nLen == nLen && std::memcmp(p + token.nStart, sWord, nLen) == 0;
}

bool IsAnyOf(const _tSegToken& token, const unsigned char* p, const char* const* pWords)
{
    for (; *pWords; ++pWords)
        if (IsSameAs(token, p, *pWords))
            return true;
    return false;
}

// Marks after which 等 starts a new clause, so it is the verb "wait".
bool IsClauseMark(const char* sTag)
{
    static const char* const kTags[] = {"wd", "wj", "ww", "wt", "wf", "wm", "wkz", "wyz", nullptr};
    for (const char* const* p = kTags; *p; ++p)
        if (std::strcmp(sTag, *p) == 0)
            return true;
    return false;
}

}  // namespace

void CSegmentPass::Run(const CCoreDict& core, const CUserDict* pUser, const char* sText, size_t nLen,
                       std::vector<_tSegToken>& vecTokens, const CHmmModel* pHmm)
{
    m_pCore = &core;
    m_pHmm = pHmm;
    m_nGuessed = 0;
    m_pUser = pUser && !pUser->IsCompiledEmpty() ? pUser : nullptr;
    m_p = reinterpret_cast<const unsigned char*>(sText);
    m_nLen = nLen;
    m_pTokens = &vecTokens;
    m_bDoubleQuoteOpen = m_bSingleQuoteOpen = false;
    vecTokens.clear();
    m_vecAtoms.clear();
    size_t nStretch = 0, nPos = 0;
    while (m_pUser && nPos < nLen) {
        int nId = -1;
        size_t nWordLen = UserWordAt(nPos, nId);
        if (nWordLen == 0) {
            nPos += ReadSegChar(m_p, nLen, nPos).nLen;
            continue;
        }
        RunStretch(nStretch, nPos);
        Emit(nPos, nPos + nWordLen, m_pUser->Tag(nId).c_str(), true);
        nPos += nWordLen;
        nStretch = nPos;
    }
    RunStretch(nStretch, nLen);
    MarkClosingDeng();
}

// True when nPos falls between two letters or between two digits.
bool CSegmentPass::CutsRun(size_t nPos) const
{
    if (nPos == 0 || nPos >= m_nLen)
        return false;
    ESegCharClass eNext = ReadSegChar(m_p, m_nLen, nPos).eClass;
    if (eNext != ESegCharClass::Letter && eNext != ESegCharClass::Digit)
        return false;
    size_t nPrev = nPos - 1;
    while (nPrev > 0 && nPos - nPrev < 4 && (m_p[nPrev] & 0xC0) == 0x80)
        --nPrev;
    _tSegChar prev = ReadSegChar(m_p, m_nLen, nPrev);
    if (prev.nLen != nPos - nPrev)
        return false;  // the byte before is a stray one
    return prev.eClass == eNext;
}

// Length of the user word to take at nPos (0 for none): the longest that
// leaves letter and digit runs whole.
// A user word of one ideograph is not forced on the text: rule sets name
// single characters (局, 要, 作) that would otherwise cut every word holding
// them (主要, 管理局, 工作作风). The route gives it where it stands alone, and
// the unknown-word model never glues it to its neighbours (壹拾亿零伍仟 stay
// characters a rule can read one by one).
bool CSegmentPass::MayForce(size_t nPos, int nLen) const
{
    return !IsUserHan(nPos, static_cast<size_t>(nLen));
}

// True when bytes [nPos, nPos + nLen) are one ideograph that is a user word.
bool CSegmentPass::IsUserHan(size_t nPos, size_t nLen) const
{
    if (!m_pUser)
        return false;
    _tSegChar ch = ReadSegChar(m_p, m_nLen, nPos);
    if (ch.eClass != ESegCharClass::Han || ch.nLen != nLen)
        return false;
    int nId = -1;
    return m_pUser->Longest(reinterpret_cast<const char*>(m_p + nPos), static_cast<int>(nLen), nId) ==
           static_cast<int>(nLen);
}

size_t CSegmentPass::UserWordAt(size_t nPos, int& nId)
{
    int nRest = static_cast<int>(m_nLen - nPos);
    const char* pText = reinterpret_cast<const char*>(m_p + nPos);
    int nLongest = m_pUser->Longest(pText, nRest, nId);
    if (nLongest <= 0 || CutsRun(nPos) || !MayForce(nPos, nLongest))
        return 0;
    if (!CutsRun(nPos + static_cast<size_t>(nLongest)))
        return static_cast<size_t>(nLongest);
    m_vecIds.clear();
    m_vecEnds.clear();
    m_pUser->Prefixes(pText, nRest, m_vecIds, m_vecEnds);
    for (size_t k = m_vecEnds.size(); k-- > 0;) {
        if (!CutsRun(nPos + static_cast<size_t>(m_vecEnds[k]))) {
            nId = m_vecIds[k];
            return static_cast<size_t>(m_vecEnds[k]);
        }
    }
    return 0;
}

void CSegmentPass::RunStretch(size_t nFrom, size_t nTo)
{
    size_t nPos = nFrom;
    while (nPos < nTo) {
        _tSegChar ch = ReadSegChar(m_p, nTo, nPos);
        size_t nEnd = nPos + ch.nLen;
        switch (ch.eClass) {
        case ESegCharClass::Digit:
            nEnd = MatchDateTime(m_p, nTo, nPos);
            if (nEnd > nPos) {
                FlushAtoms();
                Emit(nPos, nEnd, kTagTime);
                break;
            }
            [[fallthrough]];  // a number
        case ESegCharClass::Letter: {
            bool bNumber = false;
            nEnd = MatchLatinRun(m_p, nTo, nPos, bNumber);
            m_vecAtoms.push_back({static_cast<uint32_t>(nPos), static_cast<uint32_t>(nEnd),
                                  bNumber ? kTagNumber : kTagOther});
            break;
        }
        case ESegCharClass::Han:
        case ESegCharClass::Other:
            if (IsChineseDateNumeral(ch.nCode)) {
                size_t nDate = MatchChineseDate(m_p, nTo, nPos);
                if (nDate > nPos) {
                    FlushAtoms();
                    Emit(nPos, nDate, kTagTime);
                    nEnd = nDate;
                    break;
                }
            }
            if (ch.eClass == ESegCharClass::Han) {
                m_vecAtoms.push_back({static_cast<uint32_t>(nPos), static_cast<uint32_t>(nEnd), nullptr});
            } else {
                FlushAtoms();
                Emit(nPos, nEnd, kTagOther);
            }
            break;
        case ESegCharClass::Mark:
            FlushAtoms();
            nEnd = EmitMark(ch, nPos, nTo);
            break;
        case ESegCharClass::Space:
            FlushAtoms();
            break;
        case ESegCharClass::Invalid:
            FlushAtoms();
            Emit(nPos, nEnd, kTagOther);
            break;
        }
        nPos = nEnd;
    }
    FlushAtoms();
}

// One mark, or a run of them that reads as one (……, ——, ..., --).
// Straight quotes open and close in turn.
size_t CSegmentPass::EmitMark(const _tSegChar& ch, size_t nPos, size_t nTo)
{
    uint32_t nCode = ch.nCode;
    size_t nEnd = nPos + ch.nLen;
    int nCount = 1;
    bool bEllipsis = IsEllipsisCode(nCode), bDash = IsDashCode(nCode);
    bool bRepeatable = bEllipsis || bDash || nCode == '.' || nCode == '-' || nCode == 0xFF0D;
    while (bRepeatable && nEnd < nTo) {
        _tSegChar next = ReadSegChar(m_p, nTo, nEnd);
        bool bSame = bEllipsis ? IsEllipsisCode(next.nCode) : bDash ? IsDashCode(next.nCode) : next.nCode == nCode;
        if (!bSame)
            break;
        nEnd += next.nLen;
        ++nCount;
    }
    const char* sTag = PunctuationTag(nCode);
    if (nCode == '.' && nCount >= 3) {
        sTag = "ws";
    } else if ((nCode == '-' || nCode == 0xFF0D) && nCount >= 2) {
        sTag = "wp";
    } else if (!bEllipsis && !bDash) {
        nEnd = nPos + ch.nLen;  // one at a time
        if (nCode == '"' || nCode == 0xFF02) {
            sTag = m_bDoubleQuoteOpen ? "wyy" : "wyz";
            m_bDoubleQuoteOpen = !m_bDoubleQuoteOpen;
        } else if (nCode == '\'' || nCode == 0xFF07) {
            sTag = m_bSingleQuoteOpen ? "wyy" : "wyz";
            m_bSingleQuoteOpen = !m_bSingleQuoteOpen;
        }
    }
    Emit(nPos, nEnd, sTag);
    return nEnd;
}

void CSegmentPass::FlushAtoms()
{
    if (m_vecAtoms.empty())
        return;
    FindRoute(m_vecAtoms.front().nStart, m_vecAtoms.back().nEnd);
    EmitRoute();
    m_vecAtoms.clear();
}

void CSegmentPass::FindRoute(uint32_t nRunStart, uint32_t nRunEnd)
{
    size_t nAtoms = m_vecAtoms.size();
    m_vecAtomAt.assign(nRunEnd - nRunStart + 1, -1);
    for (size_t i = 0; i < nAtoms; ++i)
        m_vecAtomAt[m_vecAtoms[i].nStart - nRunStart] = static_cast<int32_t>(i);
    m_vecAtomAt[nRunEnd - nRunStart] = static_cast<int32_t>(nAtoms);
    m_vecRoute.assign(nAtoms + 1, 0.0);
    m_vecNext.assign(nAtoms, 0);
    m_vecWordId.assign(nAtoms, -1);
    const double dUnknown = m_pCore->UnknownLogProb();
    for (size_t i = nAtoms; i-- > 0;) {
        double dBest = dUnknown + m_vecRoute[i + 1];
        int32_t nBestNext = static_cast<int32_t>(i + 1), nBestId = -1;
        uint32_t nStart = m_vecAtoms[i].nStart;
        m_vecIds.clear();
        m_vecEnds.clear();
        m_pCore->PrefixWords(reinterpret_cast<const char*>(m_p + nStart), static_cast<int>(nRunEnd - nStart),
                             m_vecIds, m_vecEnds);
        for (size_t k = 0; k < m_vecIds.size(); ++k) {
            int32_t nNext = m_vecAtomAt[nStart - nRunStart + static_cast<uint32_t>(m_vecEnds[k])];
            if (nNext <= static_cast<int32_t>(i))
                continue;  // ends inside an atom
            double dScore = m_pCore->LogProb(m_vecIds[k]) + m_vecRoute[static_cast<size_t>(nNext)];
            if (dScore > dBest || (dScore == dBest && nNext >= nBestNext)) {
                dBest = dScore;
                nBestNext = nNext;
                nBestId = m_vecIds[k];
            }
        }
        m_vecRoute[i] = dBest;
        m_vecNext[i] = nBestNext;
        m_vecWordId[i] = nBestId;
    }
}

// The words of the best route in order; two or more Chinese characters in a
// row that it takes one by one go to the unknown-word model together.
void CSegmentPass::EmitRoute()
{
    size_t nAtoms = m_vecAtoms.size();
    auto isSingleHan = [this](size_t i) {
        return static_cast<size_t>(m_vecNext[i]) == i + 1 && !m_vecAtoms[i].sTag &&
               !IsUserHan(m_vecAtoms[i].nStart, m_vecAtoms[i].nEnd - m_vecAtoms[i].nStart);
    };
    for (size_t i = 0; i < nAtoms;) {
        if (isSingleHan(i)) {
            size_t nTo = i + 1;
            while (nTo < nAtoms && isSingleHan(nTo))
                ++nTo;
            EmitSingles(i, nTo);
            i = nTo;
            continue;
        }
        size_t nNext = static_cast<size_t>(m_vecNext[i]);
        const char* sTag = kTagOther;
        if (nNext == i + 1 && m_vecAtoms[i].sTag)
            sTag = m_vecAtoms[i].sTag;  // a Latin run or number keeps its own tag
        else if (!m_pCore->Tag(m_vecWordId[i]).empty())
            sTag = m_pCore->Tag(m_vecWordId[i]).c_str();
        EmitWord(m_vecAtoms[i].nStart, m_vecAtoms[nNext - 1].nEnd, sTag);
        i = nNext;
    }
}

// Atoms [nFrom, nTo), each a single character on the route. They stay
// single when there is one, when there is no model, or when together they
// are a word the dictionary knows but the route found unlikely.
void CSegmentPass::EmitSingles(size_t nFrom, size_t nTo)
{
    uint32_t nStart = m_vecAtoms[nFrom].nStart, nEnd = m_vecAtoms[nTo - 1].nEnd;
    bool bKeep = !m_pHmm || m_pHmm->IsEmpty() || nTo - nFrom < 2 ||
                 m_pCore->Freq(m_pCore->Find(reinterpret_cast<const char*>(m_p + nStart), nEnd - nStart)) > 0;
    if (!bKeep) {
        EmitGuessed(nFrom, nTo);
        return;
    }
    for (size_t k = nFrom; k < nTo; ++k)
        EmitWord(m_vecAtoms[k].nStart, m_vecAtoms[k].nEnd, SingleTag(k));
}

// Cuts atoms [nFrom, nTo) where the model's states end a word (E or S). A
// piece the dictionary knows keeps its tag; a piece made only of very
// common words (他来, where a user word cut 来到 apart) stays apart; any
// other longer piece is a guess, tagged by its kind.
void CSegmentPass::EmitGuessed(size_t nFrom, size_t nTo)
{
    m_vecCodes.clear();
    for (size_t k = nFrom; k < nTo; ++k)
        m_vecCodes.push_back(ReadSegChar(m_p, m_nLen, m_vecAtoms[k].nStart).nCode);
    m_pHmm->Decode(m_vecCodes, m_vecHmmScore, m_vecHmmBack, m_vecStates);
    size_t nWordFrom = nFrom;
    for (size_t k = nFrom; k < nTo; ++k) {
        uint8_t nState = m_vecStates[k - nFrom];
        if (nState != kHmmE && nState != kHmmS && k + 1 < nTo)
            continue;
        uint32_t nStart = m_vecAtoms[nWordFrom].nStart, nEnd = m_vecAtoms[k].nEnd;
        int nId = m_pCore->Find(reinterpret_cast<const char*>(m_p + nStart), nEnd - nStart);
        if (nWordFrom == k || IsCommonWords(nWordFrom, k + 1)) {
            for (; nWordFrom <= k; ++nWordFrom)
                EmitWord(m_vecAtoms[nWordFrom].nStart, m_vecAtoms[nWordFrom].nEnd, SingleTag(nWordFrom));
        } else if (m_pCore->Freq(nId) > 0) {
            EmitWord(nStart, nEnd, m_pCore->Tag(nId).empty() ? kTagOther : m_pCore->Tag(nId).c_str());
        } else {
            Emit(nStart, nEnd, GuessedWordTag(m_p + nStart, nEnd - nStart));
            m_nGuessed = m_pTokens->size();
        }
        nWordFrom = k + 1;
    }
}

// Whether every atom of [nFrom, nTo) is a very common word on its own.
bool CSegmentPass::IsCommonWords(size_t nFrom, size_t nTo) const
{
    for (size_t k = nFrom; k < nTo; ++k)
        if (m_pCore->Freq(m_vecWordId[k]) < kCommonWordFreq)
            return false;
    return true;
}

// The tag of atom k taken alone.
const char* CSegmentPass::SingleTag(size_t k) const
{
    const std::string& sTag = m_pCore->Tag(m_vecWordId[k]);
    return sTag.empty() ? kTagOther : sTag.c_str();
}

// One word of the route. Right after a guessed word, a word that names its
// kind (公司, 市 ...) joins it and gives the tag.
void CSegmentPass::EmitWord(size_t nStart, size_t nEnd, const char* sTag)
{
    if (m_nGuessed != 0 && m_nGuessed == m_pTokens->size()) {
        _tSegToken& last = m_pTokens->back();
        const char* sKind = last.nStart + last.nLen == nStart ? SuffixWordTag(m_p + nStart, nEnd - nStart) : nullptr;
        if (sKind) {
            last.nLen = static_cast<uint32_t>(nEnd - last.nStart);
            last.sTag = sKind;
            m_nGuessed = 0;
            return;
        }
    }
    Emit(nStart, nEnd, sTag);
}

void CSegmentPass::Emit(size_t nStart, size_t nEnd, const char* sTag, bool bUser)
{
    _tSegToken token;
    token.nStart = static_cast<uint32_t>(nStart);
    token.nLen = static_cast<uint32_t>(nEnd - nStart);
    token.sTag = sTag;
    token.bUser = bUser;
    m_pTokens->push_back(token);
}

// 等 and 等等 closing a list ("北京、上海等城市", "……等") get the tag
// udeng; as the verb "wait" (first in a clause, after 请, before 一下)
// they keep the dictionary's tag.
void CSegmentPass::MarkClosingDeng()
{
    static const char* const kDeng[] = {"\xE7\xAD\x89", "\xE7\xAD\x89\xE7\xAD\x89", nullptr};  // 等 等等
    static const char* const kVerbBefore[] = {
        "请", "再", "要", "先", "就", "还", "在", "会", "稍", "正", "不", "别", "没", "得", "你", "我", "他",
        "她", "们", "我们", "你们", "他们", "她们", "大家", "需要", "只能", "只好", "耐心", "一直", "继续", nullptr};
    static const char* const kVerbAfter[] = {
        "一下", "一会", "一会儿", "着", "了", "过", "待", "候", "到", "你", "我", "他", "她", "我们", "你们",
        "他们", "她们", "大家", nullptr};
    std::vector<_tSegToken>& vecTokens = *m_pTokens;
    for (size_t k = 0; k < vecTokens.size(); ++k) {
        _tSegToken& token = vecTokens[k];
        if ((token.nLen != 3 && token.nLen != 6) || token.bUser || k == 0 || !IsAnyOf(token, m_p, kDeng))
            continue;
        const _tSegToken& prev = vecTokens[k - 1];
        if (IsClauseMark(prev.sTag) || IsAnyOf(prev, m_p, kVerbBefore))
            continue;
        if (k + 1 < vecTokens.size() && IsAnyOf(vecTokens[k + 1], m_p, kVerbAfter))
            continue;
        token.sTag = kTagDeng;
    }
}

void AppendSegTokens(const char* sText, const std::vector<_tSegToken>& vecTokens, bool bTagged, std::string& sOut)
{
    for (const _tSegToken& token : vecTokens) {
        if (!sOut.empty())
            sOut.push_back(' ');
        const char* pWord = sText + token.nStart;
        bool bSpaced = false;
        for (uint32_t i = 0; token.bUser && i < token.nLen && !bSpaced; ++i)
            bSpaced = IsWhiteSpace(pWord[i]);
        if (!bSpaced) {
            sOut.append(pWord, token.nLen);
        } else {
            sOut.push_back('[');
            bool bInBlank = false;
            for (uint32_t i = 0; i < token.nLen; ++i) {
                bool bBlank = IsWhiteSpace(pWord[i]);
                if (!bBlank)
                    sOut.push_back(pWord[i]);
                else if (!bInBlank)
                    sOut.push_back(' ');
                bInBlank = bBlank;
            }
            sOut.push_back(']');
        }
        if (bTagged) {
            sOut.push_back('/');
            sOut.append(token.sTag);
        }
    }
}
