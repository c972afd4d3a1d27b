// Build tree and double-array placement. The placement takes the node with
// the most children first and gives each the smallest base at which all its
// children fit; a free-slot index keeps that search short without changing
// which base is chosen.
#include "Utility/TrieBuilder.h"

#include <algorithm>
#include <queue>
#include <utility>

namespace {

// Children past this count are found through the hash index.
const int32_t kWideNode = 8;

uint64_t ChildKey(int32_t nParent, uint32_t nCode)
{
    return (static_cast<uint64_t>(nParent) << 16) | nCode;
}

// Which state indices are free, kept twice: a union-find where an occupied
// slot points past itself (the next free slot at once), and a bit set (one
// = free) that tests 64 candidate bases in one step. Indices past the end
// of the array are free.
class CFreeSlots {
public:
    explicit CFreeSlots(size_t nSize) { Grow(nSize); }

    void Grow(size_t nSize)
    {
        size_t nOld = m_vecNext.size();
        if (nSize + 1 <= nOld)
            return;
        m_vecNext.resize(nSize + 1);
        for (size_t i = nOld; i < m_vecNext.size(); ++i)
            m_vecNext[i] = static_cast<int32_t>(i);
        m_vecBits.resize(nSize / 64 + 2, ~UINT64_C(0));
    }

    int32_t FindFrom(int32_t nIndex)
    {
        if (static_cast<size_t>(nIndex) >= m_vecNext.size())
            return nIndex;
        while (m_vecNext[static_cast<size_t>(nIndex)] != nIndex) {
            int32_t& nNext = m_vecNext[static_cast<size_t>(nIndex)];
            nNext = m_vecNext[static_cast<size_t>(nNext)];
            nIndex = nNext;
        }
        return nIndex;
    }

    // Bit i tells whether index nFrom + i is free.
    uint64_t Bits64(int64_t nFrom) const
    {
        size_t nWord = static_cast<size_t>(nFrom >> 6);
        unsigned nShift = static_cast<unsigned>(nFrom & 63);
        uint64_t nLow = nWord < m_vecBits.size() ? m_vecBits[nWord] : ~UINT64_C(0);
        if (nShift == 0)
            return nLow;
        uint64_t nHigh = nWord + 1 < m_vecBits.size() ? m_vecBits[nWord + 1] : ~UINT64_C(0);
        return (nLow >> nShift) | (nHigh << (64 - nShift));
    }

    // The array always has room for nIndex + 1 here (see CPlacement::Ensure).
    void Occupy(int32_t nIndex)
    {
        m_vecNext[static_cast<size_t>(nIndex)] = nIndex + 1;
        m_vecBits[static_cast<size_t>(nIndex) >> 6] &= ~(UINT64_C(1) << (nIndex & 63));
    }

private:
    std::vector<int32_t> m_vecNext;  // one past the array: a free sentinel
    std::vector<uint64_t> m_vecBits;
};

// An entry of the work list: the node with the most children goes first,
// and among equals the one that stands earlier in the list.
struct _tWorkItem {
    int32_t nChildCount;
    int64_t nOrder;
    int32_t nNode;
};

struct WorkItemLess {
    bool operator()(const _tWorkItem& a, const _tWorkItem& b) const
    {
        if (a.nChildCount != b.nChildCount)
            return a.nChildCount < b.nChildCount;
        return a.nOrder > b.nOrder;
    }
};

class CPlacement {
public:
    CPlacement(std::vector<trie_elem>& vecNodes, _tDoubleArray& out)
        : m_vecNodes(vecNodes), m_out(out), m_free(out.vecStates.size())
    {
    }

    void Run()
    {
        PlaceFirstLevel();
        while (!m_queue.empty()) {
            _tWorkItem item = m_queue.top();
            m_queue.pop();
            SetState(item);
        }
    }

private:
    trie_elem& Node(int32_t n) { return m_vecNodes[static_cast<size_t>(n)]; }
    state& State(int32_t n) { return m_out.vecStates[static_cast<size_t>(n)]; }

    void Ensure(int32_t nIndex)
    {
        if (static_cast<size_t>(nIndex) >= m_out.vecStates.size()) {
            m_out.vecStates.resize(static_cast<size_t>(nIndex) + 100, PDAT_FREE_STATE);
            m_free.Grow(m_out.vecStates.size());
        }
    }

    // Puts a node at its state under a parent; a childless node is a leaf.
    void Place(int32_t nNode, int32_t nIndex, int32_t nParentState)
    {
        Ensure(nIndex);
        trie_elem& elem = Node(nNode);
        elem.position = nIndex;
        elem.check = nParentState;
        state& st = State(nIndex);
        st.check = nParentState;
        if (elem.child_count == 0) {
            st.base = -nIndex;
            st.handle = elem.handle;
        }
        m_free.Occupy(nIndex);
        m_out.nLowerBound = std::max(m_out.nLowerBound, nIndex);
    }

    void Enqueue(int32_t nNode, int64_t nOrder)
    {
        int32_t nChildren = Node(nNode).child_count;
        if (nChildren > 0)
            m_queue.push({nChildren, nOrder, nNode});
    }

    void PlaceFirstLevel()
    {
        for (int32_t c = Node(0).first_child; c >= 0; c = Node(c).next_sibling) {
            Place(c, m_out.charset.Get(static_cast<int>(Node(c).node)), -2);
            Enqueue(c, m_nNextOrder++);
        }
    }

    // The smallest base b >= 1 at which every child finds a free slot (and,
    // for a word end, b is not the node's own index, as -b would read as a
    // leaf). Bases are tried 64 at a time; the start skips straight to the
    // first free slot of the smallest-id child.
    int32_t FindBase(int32_t nOwnState, bool bWordEnd)
    {
        auto itMin = std::min_element(m_vecIds.begin(), m_vecIds.end());
        std::iter_swap(m_vecIds.begin(), itMin);  // test the anchor first
        int32_t nMinId = m_vecIds.front();
        int64_t nFrom = m_free.FindFrom(1 + nMinId) - nMinId;
        if (m_vecIds.size() == 1 && !(bWordEnd && nFrom == nOwnState))
            return static_cast<int32_t>(nFrom);
        for (;; nFrom += 64) {
            uint64_t nFit = ~UINT64_C(0);
            for (int32_t nId : m_vecIds) {
                nFit &= m_free.Bits64(nFrom + nId);
                if (!nFit)
                    break;
            }
            if (bWordEnd && nOwnState >= nFrom && nOwnState < nFrom + 64)
                nFit &= ~(UINT64_C(1) << (nOwnState - nFrom));
            if (nFit)
                return static_cast<int32_t>(nFrom + __builtin_ctzll(nFit));
        }
    }

    void SetState(const _tWorkItem& item)
    {
        trie_elem& elem = Node(item.nNode);
        int32_t nOwn = elem.position;
        bool bWordEnd = elem.handle >= 0;
        m_vecIds.clear();
        for (int32_t c = elem.first_child; c >= 0; c = Node(c).next_sibling)
            m_vecIds.push_back(m_out.charset.Get(static_cast<int>(Node(c).node)));
        int32_t nBase = FindBase(nOwn, bWordEnd);
        State(nOwn).base = bWordEnd ? -nBase : nBase;
        if (bWordEnd)
            State(nOwn).handle = elem.handle;
        bool bFirst = true;
        for (int32_t c = Node(item.nNode).first_child; c >= 0; c = Node(c).next_sibling) {
            Place(c, nBase + m_out.charset.Get(static_cast<int>(Node(c).node)), nOwn);
            Enqueue(c, bFirst ? item.nOrder : m_nNextOrder++);
            bFirst = false;
        }
    }

    std::vector<trie_elem>& m_vecNodes;
    _tDoubleArray& m_out;
    CFreeSlots m_free;
    std::priority_queue<_tWorkItem, std::vector<_tWorkItem>, WorkItemLess> m_queue;
    std::vector<int32_t> m_vecIds;
    int64_t m_nNextOrder = 0;
};

}  // namespace

CTrieBuilder::CTrieBuilder() : m_vecNodes(1) {}

int32_t CTrieBuilder::FindChild(int32_t nParent, uint32_t nCode) const
{
    const trie_elem& parent = Node(nParent);
    if (parent.child_count >= kWideNode) {
        auto it = m_mapWideChildren.find(ChildKey(nParent, nCode));
        return it == m_mapWideChildren.end() ? -1 : it->second;
    }
    for (int32_t c = parent.first_child; c >= 0; c = Node(c).next_sibling)
        if (Node(c).node == nCode)
            return c;
    return -1;
}

int32_t CTrieBuilder::AddChild(int32_t nParent, uint32_t nCode)
{
    int32_t nChild = static_cast<int32_t>(m_vecNodes.size());
    m_vecNodes.emplace_back();
    m_vecNodes.back().node = nCode;
    trie_elem& parent = Node(nParent);
    if (parent.last_child >= 0)
        Node(parent.last_child).next_sibling = nChild;
    else
        parent.first_child = nChild;
    parent.last_child = nChild;
    ++parent.child_count;
    if (parent.child_count == kWideNode) {
        for (int32_t c = parent.first_child; c >= 0; c = Node(c).next_sibling)
            m_mapWideChildren[ChildKey(nParent, Node(c).node)] = c;
    } else if (parent.child_count > kWideNode) {
        m_mapWideChildren[ChildKey(nParent, nCode)] = nChild;
    }
    return nChild;
}

int32_t CTrieBuilder::Insert(const int32_t* pCodes, int nCount, bool bStopAtFilter)
{
    int32_t nCur = 0;
    for (int i = 0; i < nCount; ++i) {
        int32_t nCode = pCodes[i];
        m_freq.Add(nCode, 1);
        int32_t nChild = FindChild(nCur, static_cast<uint32_t>(nCode));
        nCur = nChild >= 0 ? nChild : AddChild(nCur, static_cast<uint32_t>(nCode));
        if (bStopAtFilter && i + 1 < nCount && Node(nCur).filter)
            break;
    }
    return nCur;
}

int32_t CTrieBuilder::FindNode(const int32_t* pCodes, int nCount) const
{
    int32_t nCur = 0;
    for (int i = 0; i < nCount && nCur >= 0; ++i)
        nCur = FindChild(nCur, static_cast<uint32_t>(pCodes[i]));
    return nCur;
}

void CTrieBuilder::GetCharMap(_tDoubleArray& out) const
{
    out.charset.Clear();
    std::vector<std::pair<int32_t, int32_t>> vecCodes;  // (code, count)
    m_freq.ForEach([&vecCodes](int nCode, int32_t nCount) { vecCodes.emplace_back(nCode, nCount); });
    // Falling count, the lower code first among equals.
    std::sort(vecCodes.begin(), vecCodes.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    for (size_t i = 0; i < vecCodes.size(); ++i)
        out.charset.Set(vecCodes[i].first, static_cast<int32_t>(i));
    out.nCharsetSize = static_cast<int32_t>(vecCodes.size());
}

void CTrieBuilder::Build(uint32_t nItemCount, _tDoubleArray& out)
{
    GetCharMap(out);
    size_t nInitial = static_cast<size_t>(nItemCount) + nItemCount / 2;  // 1.5 per word, truncated
    out.vecStates.assign(std::max<size_t>(nInitial, 1), PDAT_FREE_STATE);
    out.nLowerBound = 0;
    CPlacement placement(m_vecNodes, out);
    placement.Run();
}
