// The build-time tree of a dictionary and its placement into a double array.
// Words go in as lists of character codes; Build lays the tree out so that
// the same words always give the same array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Utility/CharTable.h"

// One entry of the double array: base for the children (negative at a word
// end), index of the parent (-2 under the root, -1 when free), word id.
struct state {
    int32_t base;
    int32_t check;
    int32_t handle;
};

const state PDAT_FREE_STATE = {-1, -1, -1};

// A node of the build tree. Children are kept in the order they were first
// added (that order steers placement), linked through next_sibling.
struct trie_elem {
    uint32_t node = 0;        // character code
    int32_t child_count = 0;
    int32_t first_child = -1;
    int32_t last_child = -1;
    int32_t next_sibling = -1;
    int32_t position = 0;     // state index once placed
    int32_t check = -1;       // parent's state index once placed
    int32_t handle = -1;      // word id, -1 when no word ends here
    bool filter = false;      // a filter word of term-frequency counting ends here
};

// What the placement produces; CPDAT keeps these.
struct _tDoubleArray {
    CCharTable charset;                   // code -> charset id, -1 when unused
    int32_t nCharsetSize = 0;
    std::vector<state> vecStates;
    int32_t nLowerBound = 0;              // highest state index in use
};

class CTrieBuilder {
public:
    CTrieBuilder();

    // Walks the codes from the root, creating missing nodes and counting
    // every unit, and returns the node of the last code. With bStopAtFilter
    // the walk ends early at an inner node that carries a filter word.
    int32_t Insert(const int32_t* pCodes, int nCount, bool bStopAtFilter);
    // The node of the codes, or -1 when the path does not exist.
    int32_t FindNode(const int32_t* pCodes, int nCount) const;

    trie_elem& Node(int32_t nNode) { return m_vecNodes[static_cast<size_t>(nNode)]; }
    const trie_elem& Node(int32_t nNode) const { return m_vecNodes[static_cast<size_t>(nNode)]; }

    // Lays the tree out; nItemCount sizes the first array.
    void Build(uint32_t nItemCount, _tDoubleArray& out);

private:
    int32_t FindChild(int32_t nParent, uint32_t nCode) const;
    int32_t AddChild(int32_t nParent, uint32_t nCode);
    void GetCharMap(_tDoubleArray& out) const;

    std::vector<trie_elem> m_vecNodes;  // node 0 is the root
    // (parent << 16 | code) -> child, for parents with many children.
    std::unordered_map<uint64_t, int32_t> m_mapWideChildren;
    CCharTable m_freq{0};               // occurrences of each code over all added words
};
