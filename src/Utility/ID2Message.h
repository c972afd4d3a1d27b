// The error catalogue: maps each error code ("1.1.1", "14.2", "1000") to its
// message and to the points a finding of that code deducts.
#pragma once

#include <map>
#include <string>

struct _tScore {
    float each_score = 0;  // points deducted per occurrence
    float max_score = 0;   // the most one code may deduct in total
};

class CID2Message {
public:
    // Binary catalogue: 1 on success, -1 when unreadable, short or corrupt.
    int Load(const char* sFilename);
    // Parses a binary catalogue held in memory; maps change only on success.
    bool LoadFromBuffer(const std::string& sData);
    // Writes the binary catalogue; the number of messages, or -1.
    int Save(const char* sFilename);
    // The binary catalogue as bytes.
    std::string SaveToBuffer() const;

    // Text catalogue ("ErrId\tErrorMsg\tEachScore\tMaxScore" and a line per
    // code): the number of messages afterwards, or -1.
    int Import(const char* sFilename);
    int ImportFromBuffer(const std::string& sText);
    int Export(const char* sFilename);

    // The catalogue as a JSON array.
    std::string Export2Json() const;
    // The message of a code, or "Wrong text id <code>" for an unknown one.
    const char* GetText(const char* sTextID) const;
    // each_score of a code, with max_score stored; both 0 when unknown.
    float GetScore(const char* sTextID, float& max_score) const;

    size_t MessageCount() const { return m_mapId2Message.size(); }
    size_t ScoreCount() const { return m_mapId2Score.size(); }

private:
    std::map<std::string, std::string> m_mapId2Message;
    std::map<std::string, _tScore> m_mapId2Score;
};
