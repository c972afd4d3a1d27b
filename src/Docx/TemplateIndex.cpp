// Template index file: building, writing and checked reading.
#include "Docx/TemplateIndex.h"

#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"

namespace {

constexpr size_t kRecordBytes = 48;
constexpr size_t kTermBytes = 16;

bool ValidId(int32_t nId, size_t nWords)
{
    return nId >= -1 && (nId < 0 || static_cast<size_t>(nId) < nWords);
}

bool ReadRecord(CBinaryReader& reader, size_t nWords, uint64_t nDataSize, _tTemplate& record)
{
    int32_t nPad = 0;
    if (!reader.Read(record.reportType) || !reader.Read(nPad) || !reader.Read(record.template_data_offset) ||
        !reader.Read(record.template_data_size) || !reader.Read(record.insert_time) ||
        !reader.Read(record.organization_id) || !reader.Read(record.area_id) || !reader.Read(record.argu_id) ||
        !reader.Read(nPad))
        return false;
    if (record.reportType < -1 || record.reportType >= CTemplateIndex::kTypeTerms)
        return false;
    if (record.template_data_offset > nDataSize || record.template_data_size > nDataSize - record.template_data_offset)
        return false;
    return ValidId(record.organization_id, nWords) && ValidId(record.area_id, nWords) &&
           ValidId(record.argu_id, nWords);
}

}  // namespace

void CTemplateIndex::Clear()
{
    m_nWords = 0;
    m_vecTerms.clear();
    m_vecPostings.clear();
}

void CTemplateIndex::Build(const std::vector<_tTemplate>& vecTemplates, size_t nWords)
{
    m_nWords = nWords;
    std::vector<std::vector<int32_t>> vecLists(2 * (nWords + 10));
    auto add = [&vecLists](size_t nTerm, int32_t nIndex) {
        std::vector<int32_t>& list = vecLists[nTerm];
        if (list.empty() || list.back() != nIndex)  // argument and area may share an id
            list.push_back(nIndex);
    };
    for (size_t i = 0; i < vecTemplates.size(); ++i) {
        const _tTemplate& record = vecTemplates[i];
        int32_t nIndex = static_cast<int32_t>(i);
        if (record.reportType >= 0 && record.reportType < kTypeTerms)
            add(TypeTerm(record.reportType), nIndex);
        // Empty texts (id -1) are in no list: lookups compare those ids directly.
        if (record.organization_id >= 0)
            add(OrgTerm(record.organization_id), nIndex);
        if (record.argu_id >= 0)
            add(ArguAreaTerm(record.argu_id), nIndex);
        if (record.area_id >= 0)
            add(ArguAreaTerm(record.area_id), nIndex);
    }
    m_vecTerms.assign(vecLists.size(), _tFormatInvertList());
    m_vecPostings.clear();
    for (size_t t = 0; t < vecLists.size(); ++t) {
        m_vecTerms[t].start = static_cast<int32_t>(m_vecPostings.size());
        m_vecPostings.insert(m_vecPostings.end(), vecLists[t].begin(), vecLists[t].end());
        m_vecTerms[t].end = static_cast<int32_t>(m_vecPostings.size());
        m_vecTerms[t].df = vecLists[t].size();
    }
}

std::string CTemplateIndex::Write(const std::vector<_tTemplate>& vecTemplates) const
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(vecTemplates.size()));
    const int32_t nPad = 0;
    for (const _tTemplate& record : vecTemplates) {
        writer.Write(static_cast<int32_t>(record.reportType));
        writer.Write(nPad);
        writer.Write(record.template_data_offset);
        writer.Write(record.template_data_size);
        writer.Write(record.insert_time);
        writer.Write(record.organization_id);
        writer.Write(record.area_id);
        writer.Write(record.argu_id);
        writer.Write(nPad);
    }
    writer.Write(static_cast<uint64_t>(m_vecTerms.size()));
    for (const _tFormatInvertList& term : m_vecTerms) {
        writer.Write(term.df);
        writer.Write(term.start);
        writer.Write(term.end);
    }
    writer.Write(static_cast<int32_t>(m_vecPostings.size()));
    for (int32_t nValue : m_vecPostings)
        writer.Write(nValue);
    writer.WriteSizedString(std::string());  // the string pool: templates keep no strings there
    return writer.Data();
}

bool CTemplateIndex::Read(const std::string& sFile, size_t nWords, uint64_t nDataSize,
                          std::vector<_tTemplate>& vecTemplates)
{
    Clear();
    vecTemplates.clear();
    CBinaryReader reader(sFile);
    uint64_t nCount = 0;
    bool bOk = reader.Read(nCount) && nCount <= reader.Remaining() / kRecordBytes;
    if (bOk)
        vecTemplates.resize(static_cast<size_t>(nCount));
    for (size_t i = 0; bOk && i < vecTemplates.size(); ++i)
        bOk = ReadRecord(reader, nWords, nDataSize, vecTemplates[i]);
    uint64_t nTerms = 0;
    bOk = bOk && reader.Read(nTerms) && nTerms == 2 * (nWords + 10) && nTerms <= reader.Remaining() / kTermBytes;
    if (bOk)
        m_vecTerms.resize(static_cast<size_t>(nTerms));
    for (size_t t = 0; bOk && t < m_vecTerms.size(); ++t)
        bOk = reader.Read(m_vecTerms[t].df) && reader.Read(m_vecTerms[t].start) && reader.Read(m_vecTerms[t].end);
    int32_t nPostings = 0;
    bOk = bOk && reader.Read(nPostings) && nPostings >= 0 &&
          static_cast<size_t>(nPostings) <= reader.Remaining() / sizeof(int32_t);
    if (bOk)
        m_vecPostings.resize(static_cast<size_t>(nPostings));
    for (size_t i = 0; bOk && i < m_vecPostings.size(); ++i)
        bOk = reader.Read(m_vecPostings[i]) && m_vecPostings[i] >= 0 &&
              static_cast<uint64_t>(m_vecPostings[i]) < nCount;
    for (const _tFormatInvertList& term : m_vecTerms)
        bOk = bOk && term.start >= 0 && term.start <= term.end && term.end <= nPostings &&
              term.df == static_cast<uint64_t>(term.end - term.start);
    std::string sPool;
    bOk = bOk && reader.ReadSizedString(sPool);
    if (!bOk) {
        Clear();
        vecTemplates.clear();
        return false;
    }
    m_nWords = nWords;
    return true;
}

std::vector<int> CTemplateIndex::Postings(size_t nTerm) const
{
    if (nTerm >= m_vecTerms.size())
        return {};
    const _tFormatInvertList& term = m_vecTerms[nTerm];
    return std::vector<int>(m_vecPostings.begin() + term.start, m_vecPostings.begin() + term.end);
}
