// Share of a document by a mixed FNV-1a hash of its relative path.
#include "ShardSplit.h"

#include <cstdlib>

namespace {

bool ReadUnsigned(const std::string& sText, unsigned& nValue)
{
    if (sText.empty() || sText.size() > 6 || sText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    nValue = static_cast<unsigned>(std::strtoul(sText.c_str(), nullptr, 10));
    return true;
}

}  // namespace

bool CShardSplit::Parse(const std::string& sText, std::string& sError)
{
    size_t nSlash = sText.find('/');
    unsigned nIndex = 0;
    unsigned nCount = 0;
    if (nSlash == std::string::npos || !ReadUnsigned(sText.substr(0, nSlash), nIndex) ||
        !ReadUnsigned(sText.substr(nSlash + 1), nCount) || nCount == 0 || nCount > 100000 || nIndex == 0 ||
        nIndex > nCount) {
        sError = "--shard takes i/n with 1 <= i <= n <= 100000, not '" + sText + "'";
        return false;
    }
    m_nIndex = nIndex;
    m_nCount = nCount;
    return true;
}

bool CShardSplit::Contains(const std::string& sRelativePath) const
{
    return ShareOf(sRelativePath, m_nCount) + 1 == m_nIndex;
}

unsigned CShardSplit::ShareOf(const std::string& sRelativePath, unsigned nCount)
{
    uint64_t nHash = 14695981039346656037ULL;
    for (unsigned char c : sRelativePath) {
        nHash ^= c;
        nHash *= 1099511628211ULL;
    }
    // Names that differ only in a trailing number (scan001.pdf, scan002.pdf)
    // leave FNV's bits correlated; a final mix spreads them over the shares.
    nHash ^= nHash >> 33;
    nHash *= 0xff51afd7ed558ccdULL;
    nHash ^= nHash >> 33;
    nHash *= 0xc4ceb9fe1a85ec53ULL;
    nHash ^= nHash >> 33;
    return static_cast<unsigned>(nHash % nCount);
}
