// A stable split of a folder's documents into n shares ("i/n", i from 1 to
// n), so n independent runs (a Slurm job array, say) check every document
// exactly once: a document's share depends only on its path relative to
// the folder, never on what else the folder holds.
#pragma once

#include <cstdint>
#include <string>

class CShardSplit {
public:
    // "i/n" with 1 <= i <= n <= 100000; false with the reason otherwise.
    bool Parse(const std::string& sText, std::string& sError);
    // Whether the document at this relative path belongs to share i.
    bool Contains(const std::string& sRelativePath) const;
    unsigned Index() const { return m_nIndex; }
    unsigned Count() const { return m_nCount; }
    // The share (0 to n-1) a relative path falls into.
    static unsigned ShareOf(const std::string& sRelativePath, unsigned nCount);

private:
    unsigned m_nIndex = 1;
    unsigned m_nCount = 1;
};
