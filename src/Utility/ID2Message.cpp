// Error catalogue files. Binary layout (u64 counts and lengths, strings
// scrambled, no terminators): N, N x (code, message), M, M x (code, each
// float, max float). Text layout: a header line, then "code msg each max".
#include "Utility/ID2Message.h"

#include <cstdint>
#include <cstdio>
#include <json/json.h>
#include <sstream>

#include "Global/Globals.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/Scrambler.h"

namespace {

bool ReadScrambled(CBinaryReader& reader, std::string& sOut)
{
    if (!reader.ReadSizedString(sOut))
        return false;
    ScrambleString(sOut);
    return true;
}

void WriteScrambled(CBinaryWriter& writer, std::string sText)
{
    ScrambleString(sText);
    writer.WriteSizedString(sText);
}

// Splits one text line into code, message and the two scores, reading them
// as two words and two numbers; what is missing stays empty or 0.
bool ParseCatalogueLine(const std::string& sLine, std::string& sCode, std::string& sMsg, _tScore& score)
{
    std::istringstream in(sLine);
    if (!(in >> sCode))
        return false;
    in >> sMsg;
    std::string sEach, sMax;
    in >> sEach >> sMax;
    score.each_score = sEach.empty() ? 0 : std::strtof(sEach.c_str(), nullptr);
    score.max_score = sMax.empty() ? 0 : std::strtof(sMax.c_str(), nullptr);
    return true;
}

}  // namespace

int CID2Message::Load(const char* sFilename)
{
    std::string sData;
    if (!ReadWholeFile(sFilename, sData)) {
        SetLastError(std::string("Fail read file ") + sFilename);
        return -1;
    }
    if (!LoadFromBuffer(sData)) {
        SetLastError(std::string("Fail read file ") + sFilename + ": truncated or corrupt catalogue");
        return -1;
    }
    return 1;
}

bool CID2Message::LoadFromBuffer(const std::string& sData)
{
    CBinaryReader reader(sData);
    std::map<std::string, std::string> mapMessages;
    std::map<std::string, _tScore> mapScores;
    uint64_t nCount = 0;
    if (!reader.Read(nCount))
        return false;
    for (uint64_t i = 0; i < nCount; ++i) {
        std::string sCode, sMsg;
        if (!ReadScrambled(reader, sCode) || !ReadScrambled(reader, sMsg))
            return false;
        mapMessages[sCode] = sMsg;
    }
    if (!reader.Read(nCount))
        return false;
    for (uint64_t i = 0; i < nCount; ++i) {
        std::string sCode;
        _tScore score;
        if (!ReadScrambled(reader, sCode) || !reader.Read(score.each_score) || !reader.Read(score.max_score))
            return false;
        mapScores[sCode] = score;
    }
    for (auto& item : mapMessages)
        m_mapId2Message[item.first] = item.second;
    for (auto& item : mapScores)
        m_mapId2Score[item.first] = item.second;
    return true;
}

std::string CID2Message::SaveToBuffer() const
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(m_mapId2Message.size()));
    for (const auto& item : m_mapId2Message) {
        WriteScrambled(writer, item.first);
        WriteScrambled(writer, item.second);
    }
    writer.Write(static_cast<uint64_t>(m_mapId2Score.size()));
    for (const auto& item : m_mapId2Score) {
        WriteScrambled(writer, item.first);
        writer.Write(item.second.each_score);
        writer.Write(item.second.max_score);
    }
    return writer.Data();
}

int CID2Message::Save(const char* sFilename)
{
    if (!WriteFileAtomic(sFilename, SaveToBuffer())) {
        SetLastError(std::string("Fail write file ") + sFilename);
        return -1;
    }
    return static_cast<int>(m_mapId2Message.size());
}

int CID2Message::Import(const char* sFilename)
{
    std::string sText;
    if (!ReadWholeFile(sFilename, sText)) {
        SetLastError(std::string("Fail read file ") + sFilename);
        return -1;
    }
    return ImportFromBuffer(sText);
}

int CID2Message::ImportFromBuffer(const std::string& sText)
{
    m_mapId2Message.clear();
    std::istringstream in(sText);
    std::string sLine;
    std::getline(in, sLine);  // the header, whatever it holds
    while (std::getline(in, sLine)) {
        std::string sCode, sMsg;
        _tScore score;
        if (!ParseCatalogueLine(sLine, sCode, sMsg, score))
            continue;
        m_mapId2Message[sCode] = sMsg;
        m_mapId2Score[sCode] = score;
    }
    return static_cast<int>(m_mapId2Message.size());
}

int CID2Message::Export(const char* sFilename)
{
    std::string sText = "ErrId\tErrorMsg\tEachScore\tMaxScore\n";
    for (const auto& item : m_mapId2Message) {
        float fMax = 0;
        float fEach = GetScore(item.first.c_str(), fMax);
        char sScores[128];
        std::snprintf(sScores, sizeof sScores, "\t%.2f\t%.2f\n", fEach, fMax);
        sText += item.first + "\t" + item.second + sScores;
    }
    if (!WriteFileAtomic(sFilename, sText)) {
        SetLastError(std::string("Fail write file ") + sFilename);
        return -1;
    }
    return static_cast<int>(m_mapId2Message.size());
}

std::string CID2Message::Export2Json() const
{
    Json::Value root(Json::arrayValue);
    for (const auto& item : m_mapId2Message) {
        float fMax = 0;
        float fEach = GetScore(item.first.c_str(), fMax);
        Json::Value entry(Json::objectValue);
        entry["each_score"] = fEach;
        entry["max_score"] = fMax;
        entry["id"] = item.first;
        entry["msg"] = item.second;
        root.append(entry);
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    // Scores are floats: six significant digits print 0.1 as 0.1.
    builder["precision"] = 6;
    return Json::writeString(builder, root);
}

const char* CID2Message::GetText(const char* sTextID) const
{
    auto it = m_mapId2Message.find(sTextID ? sTextID : "");
    if (it != m_mapId2Message.end())
        return it->second.c_str();
    SetLastError(std::string("Wrong text id ") + (sTextID ? sTextID : ""));
    return g_sLastErrorMessage.c_str();
}

float CID2Message::GetScore(const char* sTextID, float& max_score) const
{
    auto it = m_mapId2Score.find(sTextID ? sTextID : "");
    if (it == m_mapId2Score.end()) {
        max_score = 0;
        return 0;
    }
    max_score = it->second.max_score;
    return it->second.each_score;
}
