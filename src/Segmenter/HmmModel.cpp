// Building, saving, loading and decoding the unknown-word model. The file:
// an 8-byte signature, 4 start and 16 transition log probabilities
// (doubles), the character count, the codes (ascending u32) and for each
// code its 4 emission log probabilities (doubles).
#include "Segmenter/HmmModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kModelFile = "HmmModel.bin";
const char kSignature[8] = {'V', 'S', 'K', 'H', 'M', 'M', '1', '\0'};
const char kStateNames[kHmmStates] = {'B', 'E', 'M', 'S'};
// The log probability of what never happens; sums of it stay finite.
const double kNever = -3.14e100;
const uint32_t kMaxCode = 0x10FFFF;

// The states each state may follow.
const uint8_t kPrevious[kHmmStates][2] = {{kHmmE, kHmmS}, {kHmmB, kHmmM}, {kHmmB, kHmmM}, {kHmmE, kHmmS}};

bool IsLogProb(double dValue)
{
    return std::isfinite(dValue) && dValue <= 0.0;
}

}  // namespace

void CHmmModel::Clear()
{
    for (size_t s = 0; s < kHmmStates; ++s) {
        m_arStart[s] = kNever;
        for (size_t t = 0; t < kHmmStates; ++t)
            m_arTrans[s][t] = kNever;
    }
    m_vecCodes.clear();
    m_vecEmit.clear();
}

bool CHmmModel::Build(const _tHmmTables& tables, std::string& sError)
{
    Clear();
    std::map<uint32_t, std::array<double, kHmmStates>> mapRows;
    for (size_t s = 0; s < kHmmStates; ++s) {
        char cState = kStateNames[s];
        auto start = tables.mapStart.find(cState);
        auto trans = tables.mapTrans.find(cState);
        auto emit = tables.mapEmit.find(cState);
        if (start == tables.mapStart.end() || trans == tables.mapTrans.end() || emit == tables.mapEmit.end()) {
            sError = std::string("the model has no state ") + cState;
            return false;
        }
        m_arStart[s] = start->second;
        for (size_t t = 0; t < kHmmStates; ++t) {
            auto to = trans->second.find(kStateNames[t]);
            if (to != trans->second.end())
                m_arTrans[s][t] = to->second;
        }
        for (const auto& codeProb : emit->second) {
            if (codeProb.first > kMaxCode || !IsLogProb(codeProb.second)) {
                sError = std::string("a bad emission of state ") + cState;
                return false;
            }
            auto row = mapRows.find(codeProb.first);
            if (row == mapRows.end())
                row = mapRows.emplace(codeProb.first, std::array<double, kHmmStates>{kNever, kNever, kNever, kNever}).first;
            row->second[s] = codeProb.second;
        }
    }
    for (size_t s = 0; s < kHmmStates; ++s) {
        if (!IsLogProb(m_arStart[s])) {
            sError = "a start probability is no log probability";
            return false;
        }
    }
    for (const auto& row : mapRows) {
        m_vecCodes.push_back(row.first);
        m_vecEmit.insert(m_vecEmit.end(), row.second.begin(), row.second.end());
    }
    if (m_vecCodes.empty()) {
        sError = "the model has no characters";
        return false;
    }
    return true;
}

bool CHmmModel::Save(const std::string& sDir, std::string& sError) const
{
    CBinaryWriter writer;
    writer.WriteBytes(std::string(kSignature, sizeof(kSignature)));
    for (double dValue : m_arStart)
        writer.Write(dValue);
    for (const auto& row : m_arTrans)
        for (double dValue : row)
            writer.Write(dValue);
    writer.Write(static_cast<uint32_t>(m_vecCodes.size()));
    for (uint32_t nCode : m_vecCodes)
        writer.Write(nCode);
    for (double dValue : m_vecEmit)
        writer.Write(dValue);
    std::string sPath = JoinPath(sDir, kModelFile);
    if (!WriteFileAtomic(sPath, writer.Data())) {
        sError = "cannot write " + sPath;
        return false;
    }
    return true;
}

bool CHmmModel::Load(const std::string& sDir, std::string& sError)
{
    std::string sPath = JoinPath(sDir, kModelFile), sData;
    if (!ReadWholeFile(sPath, sData)) {
        Clear();
        sError = "cannot read " + sPath;
        return false;
    }
    if (!LoadFromBytes(sData)) {
        sError = sPath + " is truncated or corrupt";
        return false;
    }
    return true;
}

bool CHmmModel::LoadFromBytes(const std::string& sData)
{
    Clear();
    CBinaryReader reader(sData);
    std::string sSignature;
    uint32_t nCount = 0;
    if (!reader.ReadBytes(sizeof(kSignature), sSignature) ||
        std::memcmp(sSignature.data(), kSignature, sizeof(kSignature)) != 0)
        return false;
    bool bGood = true;
    for (double& dValue : m_arStart)
        bGood = bGood && reader.Read(dValue) && IsLogProb(dValue);
    for (auto& row : m_arTrans)
        for (double& dValue : row)
            bGood = bGood && reader.Read(dValue) && IsLogProb(dValue);
    const uint64_t nPerCode = sizeof(uint32_t) + kHmmStates * sizeof(double);
    if (!bGood || !reader.Read(nCount) || nCount == 0 || reader.Remaining() != nCount * nPerCode) {
        Clear();
        return false;
    }
    m_vecCodes.resize(nCount);
    m_vecEmit.resize(static_cast<size_t>(nCount) * kHmmStates);
    for (size_t i = 0; i < nCount && bGood; ++i)
        bGood = reader.Read(m_vecCodes[i]) && m_vecCodes[i] <= kMaxCode && (i == 0 || m_vecCodes[i - 1] < m_vecCodes[i]);
    for (size_t i = 0; i < m_vecEmit.size() && bGood; ++i)
        bGood = reader.Read(m_vecEmit[i]) && IsLogProb(m_vecEmit[i]);
    if (!bGood)
        Clear();
    return bGood;
}

// The emission row of a character, null when the model never saw it.
const double* CHmmModel::EmitRow(uint32_t nCode) const
{
    auto it = std::lower_bound(m_vecCodes.begin(), m_vecCodes.end(), nCode);
    if (it == m_vecCodes.end() || *it != nCode)
        return nullptr;
    return &m_vecEmit[static_cast<size_t>(it - m_vecCodes.begin()) * kHmmStates];
}

// Viterbi over the four states. Ties go to the later state letter, and the
// last character ends a word (E or S), so the cuts are those of the model's
// own decoder.
void CHmmModel::Decode(const std::vector<uint32_t>& vecCodes, std::vector<double>& vecScore,
                       std::vector<uint8_t>& vecBack, std::vector<uint8_t>& vecStates) const
{
    static const double kUnseen[kHmmStates] = {kNever, kNever, kNever, kNever};
    size_t n = vecCodes.size();
    vecStates.assign(n, kHmmS);
    if (n == 0 || IsEmpty())
        return;
    vecScore.assign(n * kHmmStates, 0.0);
    vecBack.assign(n * kHmmStates, 0);
    const double* pEmit = EmitRow(vecCodes[0]);
    if (!pEmit)
        pEmit = kUnseen;
    for (size_t s = 0; s < kHmmStates; ++s)
        vecScore[s] = m_arStart[s] + pEmit[s];
    for (size_t t = 1; t < n; ++t) {
        pEmit = EmitRow(vecCodes[t]);
        if (!pEmit)
            pEmit = kUnseen;
        const double* pPrev = &vecScore[(t - 1) * kHmmStates];
        for (size_t s = 0; s < kHmmStates; ++s) {
            uint8_t nBest = kPrevious[s][0];
            double dBest = pPrev[nBest] + m_arTrans[nBest][s] + pEmit[s];
            uint8_t nOther = kPrevious[s][1];
            double dOther = pPrev[nOther] + m_arTrans[nOther][s] + pEmit[s];
            if (dOther > dBest || (dOther == dBest && nOther > nBest)) {
                dBest = dOther;
                nBest = nOther;
            }
            vecScore[t * kHmmStates + s] = dBest;
            vecBack[t * kHmmStates + s] = nBest;
        }
    }
    const double* pLast = &vecScore[(n - 1) * kHmmStates];
    uint8_t nState = pLast[kHmmS] >= pLast[kHmmE] ? kHmmS : kHmmE;
    for (size_t t = n; t-- > 0;) {
        vecStates[t] = nState;
        nState = vecBack[t * kHmmStates + nState];
    }
}
