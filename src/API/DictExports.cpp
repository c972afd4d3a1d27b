// Exported work on single ".pdat" dictionary files for the command-line
// tool: build, look up, scan and export. They need no started library.
#include <json/json.h>
#include <string>
#include <vector>

#include "API/ExportGuard.h"
#include "Utility/BufferManager.h"
#include "Utility/DictEncoding.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/PDAT.h"
#include "veskar.h"

namespace {

CBufferManager& DictBuffer()
{
    static CBufferManager s_buffer;
    return s_buffer;
}

bool CheckEncoding(int nEncoding)
{
    if (nEncoding == 0 || nEncoding == 1)
        return true;
    SetLastError("Unknown dictionary encoding " + std::to_string(nEncoding) + " (0 GB18030, 1 bytes as given)");
    return false;
}

// Text given by the caller in the dictionary's own bytes; pOffsets maps them back.
std::string ToDict(const std::string& sText, int nEncoding, std::vector<int>* pOffsets = nullptr)
{
    if (nEncoding == 1) {
        if (pOffsets) {
            pOffsets->clear();
            for (size_t i = 0; i <= sText.size(); ++i)
                pOffsets->push_back(static_cast<int>(i));
        }
        return sText;
    }
    std::string sDict;
    Utf8ToDictText(sText, sDict, pOffsets);
    return sDict;
}

bool LoadDict(const char* sPdatFile, CPDAT& dict)
{
    if (!sPdatFile || !*sPdatFile) {
        SetLastError("No dictionary file given");
        return false;
    }
    return dict.Load(sPdatFile) == 1;
}

int BuildDict(const char* sWordList, const char* sPdatFile, int nMode, int nEncoding)
{
    if (nMode < 0 || nMode > 2) {
        SetLastError("Unknown dictionary mode " + std::to_string(nMode) + " (0, 1 or 2)");
        return -1;
    }
    std::string sList;
    if (!sWordList || !sPdatFile || !ReadWholeFile(sWordList, sList)) {
        SetLastError(std::string("Failed reading file ") + (sWordList ? sWordList : ""));
        return -1;
    }
    if (nEncoding == 0 && IsValidUtf8(sList))
        sList = ToDict(sList, 0);
    CPDAT dict(nMode);
    int nWords = dict.ImportFromText(sList, nullptr, nullptr);
    if (nWords <= 0) {
        SetLastError(std::string("No words in ") + sWordList);
        return 0;
    }
    return dict.Save(sPdatFile) == 1 ? nWords : -1;
}

std::string ScanJson(const CPDAT& dict, const std::string& sText, int nScanMode, int nEncoding)
{
    std::vector<int> vecOffsets;
    std::string sDict = ToDict(sText, nEncoding, &vecOffsets);
    std::vector<_stTermPosition> vecHits;
    dict.MMScanPosition(sDict.c_str(), vecHits, nScanMode);
    Json::Value hits(Json::arrayValue);
    for (const _stTermPosition& hit : vecHits) {
        int nStart = vecOffsets[static_cast<size_t>(hit.iStartPos)];
        int nEnd = vecOffsets[static_cast<size_t>(hit.iStartPos + hit.nWordLen)];
        Json::Value item(Json::objectValue);
        item["id"] = hit.nHandle;
        item["offset"] = nStart;
        item["length"] = nEnd - nStart;
        item["word"] = sText.substr(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart));
        hits.append(item);
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, hits);
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_DictBuild(const char* sWordList, const char* sPdatFile, int nMode, int nEncoding)
{
    return GuardExport("VESKAR_DictBuild", -1, [&] {
        return CheckEncoding(nEncoding) ? BuildDict(sWordList, sPdatFile, nMode, nEncoding) : -1;
    });
}

VESKAR_API int VESKAR_DictFind(const char* sPdatFile, const char* sWord, int nEncoding)
{
    return GuardExport("VESKAR_DictFind", -2, [&] {
        CPDAT dict;
        if (!CheckEncoding(nEncoding) || !LoadDict(sPdatFile, dict))
            return -2;
        return sWord ? dict.Find(ToDict(sWord, nEncoding)) : -1;
    });
}

VESKAR_API const char* VESKAR_DictScan(const char* sPdatFile, const char* sText, int nScanMode, int nEncoding)
{
    return GuardExport<const char*>("VESKAR_DictScan", nullptr, [&]() -> const char* {
        if (nScanMode < 0 || nScanMode > 2) {
            SetLastError("Unknown scan mode " + std::to_string(nScanMode) + " (0, 1 or 2)");
            return nullptr;
        }
        CPDAT dict;
        if (!CheckEncoding(nEncoding) || !LoadDict(sPdatFile, dict))
            return nullptr;
        return DictBuffer().AddBuffer(ScanJson(dict, sText ? sText : "", nScanMode, nEncoding).c_str());
    });
}

VESKAR_API int VESKAR_DictExport(const char* sPdatFile, const char* sTextFile, int nEncoding)
{
    return GuardExport("VESKAR_DictExport", -1, [&] {
        CPDAT dict;
        if (!CheckEncoding(nEncoding) || !LoadDict(sPdatFile, dict))
            return -1;
        std::string sText = dict.ExportToText();
        if (nEncoding == 0)
            sText = DictTextToUtf8(sText);
        if (!sTextFile || !WriteFileAtomic(sTextFile, sText)) {
            SetLastError(std::string("Fail write file ") + (sTextFile ? sTextFile : ""));
            return -1;
        }
        return static_cast<int>(dict.GetItemCount());
    });
}

}  // extern "C"
