// The hidden Markov model that finds the words the dictionary lacks (names,
// new terms): each character of a run is in one of four states, B (begins a
// word), E (ends it), M (inside it) or S (a word of its own), with start,
// transition and emission log probabilities. Built at build time from the
// model tables of python3-jieba (read as data) into HmmModel.bin; read-only
// once loaded, so any number of threads decode with it at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The states in letter order, which is also the order ties are settled in.
enum EHmmState : uint8_t { kHmmB = 0, kHmmE = 1, kHmmM = 2, kHmmS = 3 };
const size_t kHmmStates = 4;

// The tables as read from their text: state -> log probability; state ->
// state -> log probability; state -> character code -> log probability.
struct _tHmmTables {
    std::map<char, double> mapStart;
    std::map<char, std::map<char, double>> mapTrans;
    std::map<char, std::map<uint32_t, double>> mapEmit;
};

class CHmmModel {
public:
    CHmmModel() = default;
    CHmmModel(const CHmmModel&) = delete;
    CHmmModel& operator=(const CHmmModel&) = delete;

    // Takes the tables; false with sError when a state is missing or a value
    // is no log probability.
    bool Build(const _tHmmTables& tables, std::string& sError);
    bool Save(const std::string& sDir, std::string& sError) const;
    // Reads <sDir>/HmmModel.bin; false with sError when it is missing, short
    // or corrupt (the model is then empty).
    bool Load(const std::string& sDir, std::string& sError);
    // The same from the bytes of such a file.
    bool LoadFromBytes(const std::string& sData);

    bool IsEmpty() const { return m_vecCodes.empty(); }
    size_t CharCount() const { return m_vecCodes.size(); }

    // The most likely states of the characters vecCodes, into vecStates; a
    // word ends at every E and S. vecScore and vecBack are the caller's
    // scratch space.
    void Decode(const std::vector<uint32_t>& vecCodes, std::vector<double>& vecScore,
                std::vector<uint8_t>& vecBack, std::vector<uint8_t>& vecStates) const;

private:
    const double* EmitRow(uint32_t nCode) const;
    void Clear();

    double m_arStart[kHmmStates] = {};
    double m_arTrans[kHmmStates][kHmmStates] = {};
    std::vector<uint32_t> m_vecCodes;  // ascending
    std::vector<double> m_vecEmit;     // kHmmStates per code
};
