// Building, exact and prefix lookups, and term frequencies of the
// double-array dictionary. Files live in PDATFile.cpp, segmentation and
// scanning in PDATScan.cpp.
#include "Utility/PDAT.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Utility/PDATWalk.h"

namespace {

const int kRootState = -2;

bool HasBom(const unsigned char* p, int n)
{
    return n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

}  // namespace

CPDAT::CPDAT(int nMode)
    : m_pData(1, PDAT_FREE_STATE), m_nLength(1),
      m_nMode(nMode == PDAT_MODE_BYTE || nMode == PDAT_MODE_NAME ? nMode : PDAT_MODE_GBK)
{
}

CPDAT::~CPDAT() = default;

void CPDAT::AddWordInit()
{
    SetEmpty();
    m_word_trie = std::make_unique<CTrieBuilder>();
}

void CPDAT::SetEmpty()
{
    m_word_trie.reset();
    m_pData.assign(1, PDAT_FREE_STATE);
    m_nLength = 1;
    m_nLowerBound = 0;
    m_nItemCount = 0;
    m_charset.Clear();
    m_charsetSize = 0;
    m_vecTermFreq.clear();
    m_bWordAddCompleted = false;
}

// The key of a word as lookups read text: units of the mode, any run of
// white space one space, separator runs of name mode left out.
bool CPDAT::MakeKey(const char* sWord, std::string& sStored, std::vector<int32_t>& vecKey) const
{
    vecKey.clear();
    if (!sWord)
        return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sWord);
    int n = static_cast<int>(std::strlen(sWord));
    if (HasBom(p, n)) {
        p += 3;
        n -= 3;
    }
    int nStoredEnd = 0;
    bool bPrevSpace = false;
    for (int nPos = 0; nPos < n;) {
        int nUnitLen = 0;
        int nCode = ReadCharUnit(m_nMode, p, nPos, n, nUnitLen);
        nPos += nUnitLen;
        if (m_nMode == PDAT_MODE_NAME && nCode == PDAT_SEPARATOR_CODE)
            continue;
        if (IsPdatWhiteSpace(nCode)) {
            if (bPrevSpace)
                continue;
            nCode = ' ';
        }
        bPrevSpace = nCode == ' ';
        vecKey.push_back(nCode);
        nStoredEnd = nPos;
    }
    // Name mode drops trailing separators from the stored text as well.
    sStored.assign(reinterpret_cast<const char*>(p), m_nMode == PDAT_MODE_NAME ? nStoredEnd : n);
    return !vecKey.empty();
}

void CPDAT::SetTermFreq(int nId, const std::string& sWord, int32_t nFreq)
{
    if (static_cast<size_t>(nId) >= m_vecTermFreq.size())
        m_vecTermFreq.resize(static_cast<size_t>(nId) + 1);
    m_vecTermFreq[static_cast<size_t>(nId)].word = sWord;
    m_vecTermFreq[static_cast<size_t>(nId)].freq = nFreq;
}

int CPDAT::AddKey(const char* sWord, int nNewId, bool bTermFreq, bool bFilter)
{
    if (m_bWordAddCompleted)
        return -1;  // completed dictionaries are read-only
    std::string sStored;
    if (!MakeKey(sWord, sStored, m_vecKey))
        return -1;
    if (!m_word_trie)
        m_word_trie = std::make_unique<CTrieBuilder>();
    int32_t nNode = m_word_trie->Insert(m_vecKey.data(), static_cast<int>(m_vecKey.size()), bTermFreq);
    trie_elem& elem = m_word_trie->Node(nNode);
    if (elem.handle >= 0) {
        int nId = elem.handle;
        bool bKnown = static_cast<size_t>(nId) < m_vecTermFreq.size() && !m_vecTermFreq[static_cast<size_t>(nId)].word.empty();
        if (bFilter || elem.filter)
            SetTermFreq(nId, bKnown ? m_vecTermFreq[static_cast<size_t>(nId)].word : sStored, -1);
        else if (bTermFreq && bKnown)
            ++m_vecTermFreq[static_cast<size_t>(nId)].freq;
        else if (bTermFreq)
            SetTermFreq(nId, sStored, 1);
        elem.filter = elem.filter || bFilter;
        return nId;
    }
    int nId = nNewId >= 0 ? nNewId : static_cast<int>(m_nItemCount);
    elem.handle = nId;
    elem.filter = bFilter;
    ++m_nItemCount;
    if (bTermFreq || bFilter)
        SetTermFreq(nId, sStored, bFilter ? -1 : 1);
    return nId;
}

int CPDAT::AddWord(const char* sWord, bool bTermFreq)
{
    return AddKey(sWord, -1, bTermFreq, false);
}

int CPDAT::AddWord(const char* sWord, int nId, bool bTermFreq)
{
    if (nId < 0)
        return -1;
    return AddKey(sWord, nId, bTermFreq, false);
}

int CPDAT::AddFilterWord(const char* sWord)
{
    return AddKey(sWord, -1, true, true);
}

int CPDAT::FindWord(const char* sWord) const
{
    std::string sStored;
    std::vector<int32_t> vecKey;
    if (!m_word_trie || !MakeKey(sWord, sStored, vecKey))
        return -1;
    int32_t nNode = m_word_trie->FindNode(vecKey.data(), static_cast<int>(vecKey.size()));
    return nNode < 0 ? -1 : m_word_trie->Node(nNode).handle;
}

int CPDAT::AddWordComplete()
{
    if (m_bWordAddCompleted)
        return 1;
    if (!m_word_trie)
        m_word_trie = std::make_unique<CTrieBuilder>();
    _tDoubleArray array;
    m_word_trie->Build(m_nItemCount, array);
    m_charset = std::move(array.charset);
    m_charsetSize = array.nCharsetSize;
    m_pData = std::move(array.vecStates);
    m_nLength = static_cast<int32_t>(m_pData.size());
    m_nLowerBound = array.nLowerBound;
    m_word_trie.reset();
    m_bWordAddCompleted = true;
    return 1;
}

// ---- lookups ----

// The state reached from nCur (kRootState for the root) on a code, or -1.
// Every target is checked, the one at index 0 included.
int CPDAT::Step(int nCur, int nCode) const
{
    int nId = m_charset.Get(nCode);
    if (nId < 0)
        return -1;
    int nTarget = nCur == kRootState ? nId : std::abs(m_pData[static_cast<size_t>(nCur)].base) + nId;
    if (nTarget > m_nLowerBound || m_pData[static_cast<size_t>(nTarget)].check != nCur)
        return -1;
    return nTarget;
}

bool CPDAT::IsWordEnd(int nState) const
{
    return m_pData[static_cast<size_t>(nState)].base <= 0;
}

bool CPDAT::IsLeaf(int nState) const
{
    int32_t nBase = m_pData[static_cast<size_t>(nState)].base;
    return nBase <= 0 && -nBase == nState;
}

int CPDAT::Find(const char* sText) const
{
    if (!sText)
        return -1;
    return Find(sText, static_cast<unsigned>(std::strlen(sText)));
}

int CPDAT::Find(const char* sText, unsigned int nLength) const
{
    if (!sText || nLength > 0x7FFFFFFFu)
        return -1;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    int n = static_cast<int>(nLength);
    if (n > 2 && HasBom(p, n)) {
        p += 3;
        n -= 3;
    }
    if (n > 1 && p[0] == '"' && p[n - 1] == '"') {
        ++p;
        n -= 2;
    }
    _tArrayView array = View();
    switch (m_nMode) {
    case PDAT_MODE_BYTE:
        return FindExact<PDAT_MODE_BYTE>(array, p, n);
    case PDAT_MODE_NAME:
        return FindExact<PDAT_MODE_NAME>(array, p, n);
    default:
        return FindExact<PDAT_MODE_GBK>(array, p, n);
    }
}

int CPDAT::Find(int nCharCode) const
{
    if (nCharCode < 0 || nCharCode > 65535)
        return -1;
    int nState = Step(kRootState, nCharCode);
    if (nState < 0 || !IsWordEnd(nState))
        return -1;
    return m_pData[static_cast<size_t>(nState)].handle;
}

_tArrayView CPDAT::View() const
{
    return {m_pData.data(), &m_charset, static_cast<uint32_t>(m_nLowerBound)};
}

int CPDAT::LongestMatch(const unsigned char* p, int n, int nStart, int nMaxLen, bool bScanUnits, int& nHandle,
                        bool& bSpansSpace) const
{
    _tArrayView array = View();
    _tMatch match;
    switch (m_nMode * 2 + (bScanUnits ? 1 : 0)) {
    case 0: match = MatchLongest<PDAT_MODE_GBK, false>(array, p, n, nStart, nMaxLen); break;
    case 1: match = MatchLongest<PDAT_MODE_GBK, true>(array, p, n, nStart, nMaxLen); break;
    case 2: match = MatchLongest<PDAT_MODE_BYTE, false>(array, p, n, nStart, nMaxLen); break;
    case 3: match = MatchLongest<PDAT_MODE_BYTE, true>(array, p, n, nStart, nMaxLen); break;
    case 4: match = MatchLongest<PDAT_MODE_NAME, false>(array, p, n, nStart, nMaxLen); break;
    default: match = MatchLongest<PDAT_MODE_NAME, true>(array, p, n, nStart, nMaxLen); break;
    }
    nHandle = match.nHandle;
    bSpansSpace = match.bSpansSpace;
    return match.nLength;
}

int CPDAT::GetMaxWord(const char* sText, int* pHandle, bool* pSpansSpace) const
{
    int nHandle = -1;
    bool bSpans = false;
    int nLen = sText ? GetMaxWord(sText, static_cast<int>(std::strlen(sText)), 0, nHandle, bSpans) : 0;
    if (pHandle)
        *pHandle = nHandle;
    if (pSpansSpace)
        *pSpansSpace = bSpans;
    return nLen;
}

int CPDAT::GetMaxWord(const char* sText, int nLength, int nMaxLen, int& nHandle, bool& bSpansSpace) const
{
    nHandle = -1;
    bSpansSpace = false;
    if (!sText || nLength <= 0)
        return 0;
    return LongestMatch(reinterpret_cast<const unsigned char*>(sText), nLength, 0, nMaxLen, false, nHandle,
                        bSpansSpace);
}

int CPDAT::GetWords(const char* sText, int nLength, std::vector<int>& vecIds, std::vector<int>& vecEnds,
                    int nMinimum) const
{
    if (!sText || nLength <= 0)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    int nAdded = 0;
    int nCur = kRootState;
    for (int nPos = 0; nPos < nLength;) {
        int nUnitLen = 0;
        int nCode = ReadCharUnit(m_nMode, p, nPos, nLength, nUnitLen);
        nPos += nUnitLen;
        if (m_nMode == PDAT_MODE_NAME && nCode == PDAT_SEPARATOR_CODE) {
            if (nCur == kRootState)
                break;
            continue;
        }
        nCur = Step(nCur, nCode);
        if (nCur < 0)
            break;
        if (IsWordEnd(nCur) && nPos > nMinimum) {
            vecIds.push_back(m_pData[static_cast<size_t>(nCur)].handle);
            vecEnds.push_back(nPos);
            ++nAdded;
        }
        if (IsLeaf(nCur))
            break;
    }
    return nAdded;
}

// ---- term frequencies ----

int CPDAT::WordFreq(const std::vector<std::string>& vecWords)
{
    ResetFreq();
    for (const std::string& sWord : vecWords)
        AddWord(sWord.c_str(), true);
    return static_cast<int>(m_nItemCount);
}

void CPDAT::ResetFreq()
{
    for (_stTermFreq& entry : m_vecTermFreq)
        if (entry.freq != -1)
            entry.freq = 0;
}

std::vector<_stTermFreq> CPDAT::GetTopWordVector() const
{
    std::vector<_stTermFreq> vecTop;
    for (const _stTermFreq& entry : m_vecTermFreq)
        if (!entry.word.empty())
            vecTop.push_back(entry);
    std::stable_sort(vecTop.begin(), vecTop.end(),
                     [](const _stTermFreq& a, const _stTermFreq& b) { return a.freq > b.freq; });
    return vecTop;
}

const char* CPDAT::GetTopWords(int n)
{
    std::vector<_stTermFreq> vecTop = GetTopWordVector();
    size_t nLimit = n < 0 ? vecTop.size() : std::min(vecTop.size(), static_cast<size_t>(n));
    m_sTopWords.clear();
    for (size_t i = 0; i < nLimit && vecTop[i].freq > 0; ++i) {
        const std::string& sWord = vecTop[i].word;
        bool bSkip = false;
        // A long word holding an earlier, already long one adds nothing.
        for (size_t j = 0; j < i && sWord.size() > 4 && !bSkip; ++j)
            bSkip = vecTop[j].word.size() > 3 && sWord.find(vecTop[j].word) != std::string::npos;
        if (!bSkip)
            m_sTopWords += sWord + "/" + std::to_string(vecTop[i].freq) + "#";
    }
    return m_sTopWords.c_str();
}

int CPDAT::AddTrie(const char*)
{
    return 1;
}

void CPDAT::GetPos(char*, int) {}
