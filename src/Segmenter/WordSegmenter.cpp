// Loading the segmenter's files, segmenting under a shared lock, and
// changing user words under an exclusive one.
#include "Segmenter/WordSegmenter.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "Segmenter/SegmentPass.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kSegmenterFolder = "Segmenter";
const char* const kUserDictFile = "UserDict.txt";
// Texts are cut into slices of at most this many bytes so token offsets
// stay small; a cut falls between characters.
const size_t kSliceBytes = size_t(1) << 26;

size_t SliceEnd(const unsigned char* p, size_t nLen, size_t nStart)
{
    if (nLen - nStart <= kSliceBytes)
        return nLen;
    size_t nEnd = nStart + kSliceBytes;
    for (int i = 0; i < 3 && (p[nEnd] & 0xC0) == 0x80; ++i)
        --nEnd;
    return nEnd;
}

}  // namespace

std::shared_lock<std::shared_mutex> CWordSegmenter::ReadLock() const
{
    { std::lock_guard<std::mutex> gate(m_gate); }
    return std::shared_lock<std::shared_mutex>(m_mutex);
}

std::unique_lock<std::shared_mutex> CWordSegmenter::WriteLock() const
{
    std::lock_guard<std::mutex> gate(m_gate);
    return std::unique_lock<std::shared_mutex>(m_mutex);
}

bool CWordSegmenter::Load(const std::string& sDataDir, std::string& sError)
{
    std::string sDir = JoinPath(sDataDir, kSegmenterFolder);
    if (!IsDirectory(sDir)) {
        sError = "no segmenter dictionaries in " + sDir;
        return false;
    }
    if (!m_core.Load(sDir, sError) || !m_hmm.Load(sDir, sError) || !m_english.Load(sDir, sError))
        return false;
    m_sUserDictPath = JoinPath(sDir, kUserDictFile);
    std::string sUserText;
    if (FileExists(m_sUserDictPath) && !ReadWholeFile(m_sUserDictPath, sUserText)) {
        sError = "cannot read " + m_sUserDictPath;
        return false;
    }
    ImportUserDict(sUserText, true);
    return true;
}

void CWordSegmenter::CompileUserWords()
{
    std::unique_lock<std::shared_mutex> lock = WriteLock();
    if (!m_bUserDirty.load(std::memory_order_relaxed))
        return;
    m_user.Compile();
    m_bUserDirty.store(false, std::memory_order_release);
}

void CWordSegmenter::Segment(const char* sText, size_t nLen, bool bTagged, std::string& sOut)
{
    thread_local CSegmentPass t_pass;
    thread_local std::vector<_tSegToken> t_vecTokens;
    sOut.clear();
    if (!sText || nLen == 0)
        return;
    if (m_bUserDirty.load(std::memory_order_acquire))
        CompileUserWords();
    std::shared_lock<std::shared_mutex> lock = ReadLock();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    for (size_t nStart = 0; nStart < nLen;) {
        size_t nEnd = SliceEnd(p, nLen, nStart);
        t_pass.Run(m_core, &m_user, sText + nStart, nEnd - nStart, t_vecTokens, &m_hmm);
        AppendSegTokens(sText + nStart, t_vecTokens, bTagged, sOut);
        nStart = nEnd;
    }
}

int CWordSegmenter::ImportUserDict(const std::string& sText, bool bOverwrite)
{
    std::unique_lock<std::shared_mutex> lock = WriteLock();
    if (bOverwrite)
        m_user.Clear();
    int nAdded = m_user.AddFromText(sText);
    m_bUserDirty.store(true, std::memory_order_release);
    return nAdded;
}

bool CWordSegmenter::AddUserWord(const std::string& sWord, const std::string& sTag)
{
    std::unique_lock<std::shared_mutex> lock = WriteLock();
    if (!m_user.Add(sWord, sTag))
        return false;
    m_bUserDirty.store(true, std::memory_order_release);
    return true;
}

size_t CWordSegmenter::UserWordCount() const
{
    std::shared_lock<std::shared_mutex> lock = ReadLock();
    return m_user.Size();
}

bool CWordSegmenter::SaveUserDict(std::string& sError) const
{
    std::string sText;
    {
        std::shared_lock<std::shared_mutex> lock = ReadLock();
        sText = m_user.ToText();
    }
    if (!WriteFileAtomic(m_sUserDictPath, sText)) {
        sError = "cannot write " + m_sUserDictPath;
        return false;
    }
    return true;
}

int CWordSegmenter::GetPairFreq(int nId1, int nId2) const
{
    const char* sWord1 = m_core.Word(nId1);
    const char* sWord2 = m_core.Word(nId2);
    if (!*sWord1 || !*sWord2)
        return 0;
    std::string sPair = std::string(sWord1) + sWord2;
    return m_core.Freq(m_core.Find(sPair.data(), sPair.size()));
}
