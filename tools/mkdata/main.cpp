// veskar_mkdata: writes the binary files of the data folder at build time.
//   veskar_mkdata catalogue TEXT DAT   text catalogue -> binary catalogue
//   veskar_mkdata manager DAT          an empty report-type manager file
//   veskar_mkdata rules SOURCE INITDIR N
//                                      rule source -> compiled rule set N in
//                                      INITDIR/Data, listed in the manager file
//   veskar_mkdata segmenter DICT WORDS DIR  the segmenter's core dictionary
//                                      (word freq tag list) and English words
//   veskar_mkdata hmm START TRANS EMIT DIR  the segmenter's unknown-word
//                                      model from its three table texts
//   veskar_mkdata querydict STEM TEXT FOLDER
//                                      FOLDER/STEM.pdat, .wordlist, .map from a
//                                      similar-word or spelling-error list
//   veskar_mkdata readings UNIHAN_BZ2 FILE
//                                      the spelling service's character readings
//                                      from Unihan_Readings.txt.bz2
//   veskar_mkdata standards DB FOLDER  the search service's standards
//                                      catalogue from the "*.tsv" sources
//                                      of FOLDER
//   veskar_mkdata templates STORE SAMPLES  writes the sample documents into
//                                      SAMPLES and learns the default
//                                      templates ("*" keys) into the store
//                                      folder STORE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "Bz2File.h"
#include "TemplateSamples.h"
#include "Docx/DocxTemplate.h"
#include "Utility/FileUtility.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/Audit.h"
#include "RUX/RUXManager.h"
#include "Segmenter/CoreDict.h"
#include "Segmenter/EnglishWords.h"
#include "Segmenter/HmmModel.h"
#include "Segmenter/HmmModelText.h"
#include "Spelling/CharReadings.h"
#include "StandardCatalogue.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "Utility/ID2Message.h"
#include "Utility/QueryExpand.h"

namespace {

int BuildCatalogue(const char* sText, const char* sDat)
{
    CID2Message catalogue;
    int nCount = catalogue.Import(sText);
    if (nCount <= 0 || catalogue.Save(sDat) != nCount) {
        std::fprintf(stderr, "veskar_mkdata: %s\n", g_sLastErrorMessage.c_str());
        return 1;
    }
    std::printf("catalogue: %d messages -> %s\n", nCount, sDat);
    return 0;
}

int BuildEmptyManager(const char* sDat)
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint64_t>(0));
    if (!WriteFileAtomic(sDat, writer.Data())) {
        std::fprintf(stderr, "veskar_mkdata: cannot write %s\n", sDat);
        return 1;
    }
    return 0;
}

int BuildSegmenter(const char* sDictText, const char* sWordsText, const char* sDir)
{
    std::string sDict, sWords, sError;
    if (!ReadWholeFile(sDictText, sDict) || !ReadWholeFile(sWordsText, sWords)) {
        std::fprintf(stderr, "veskar_mkdata: cannot read %s or %s\n", sDictText, sWordsText);
        return 1;
    }
    CCoreDict core;
    CEnglishWords english;
    int nWords = core.BuildFromText(sDict);
    int nEnglish = english.BuildFromText(sWords);
    if (nWords <= 0 || nEnglish <= 0 || !core.Save(sDir, sError) || !english.Save(sDir, sError)) {
        std::fprintf(stderr, "veskar_mkdata: segmenter dictionaries not built: %s\n",
                     sError.empty() ? "no words" : sError.c_str());
        return 1;
    }
    std::printf("segmenter: %d core words, %d English words -> %s\n", nWords, nEnglish, sDir);
    return 0;
}

int BuildHmmModel(const char* sStartText, const char* sTransText, const char* sEmitText, const char* sDir)
{
    std::string sStart, sTrans, sEmit, sError;
    if (!ReadWholeFile(sStartText, sStart) || !ReadWholeFile(sTransText, sTrans) || !ReadWholeFile(sEmitText, sEmit)) {
        std::fprintf(stderr, "veskar_mkdata: cannot read %s, %s or %s\n", sStartText, sTransText, sEmitText);
        return 1;
    }
    _tHmmTables tables;
    CHmmModel model;
    if (!ReadHmmTables(sStart, sTrans, sEmit, tables, sError) || !model.Build(tables, sError) ||
        !model.Save(sDir, sError)) {
        std::fprintf(stderr, "veskar_mkdata: unknown-word model not built: %s\n", sError.c_str());
        return 1;
    }
    std::printf("segmenter: unknown-word model of %zu characters -> %s\n", model.CharCount(), sDir);
    return 0;
}

// A spelling-error dictionary also gets its segmenter user dictionary.
int BuildQueryDict(const char* sStem, const char* sText, const char* sFolder)
{
    CQueryExpand dict(sFolder, sStem);
    int nGroups = dict.Import(sText);
    bool bUserDict = dict.Kind() != CQueryExpand::QUERY_SPELLERROR ||
                     dict.WriteUserDict(dict.FileStem() + "_userdict.txt", "srclist");
    if (nGroups <= 0 || !bUserDict) {
        std::fprintf(stderr, "veskar_mkdata: %s\n", g_sLastErrorMessage.c_str());
        return 1;
    }
    std::printf("%s: %d groups, %zu words -> %s\n", sStem, nGroups, dict.WordCount(), dict.FileStem().c_str());
    return 0;
}

// Compiled through the manager, as the library imports it: extraction
// rules, then the audit section (a source without one is fine here).
int BuildRuleSet(const char* sSource, const char* sInitDir, const char* sSet)
{
    int nSet = std::atoi(sSet);
    CRUXManager manager(sInitDir);
    manager.Load();
    int nResult = manager.ImportRUXRules(sSource, true, nSet);
    std::string sMessages = manager.GetMessages(nSet);
    if (nResult != 1 && nResult != -2) {
        std::fprintf(stderr, "veskar_mkdata: rule set %d not built from %s (%d): %s\n%s", nSet, sSource, nResult,
                     g_sLastErrorMessage.c_str(), sMessages.c_str());
        return 1;
    }
    CAudit* pAudit = manager.GetProcesser(nSet);
    // A rule the build refuses would silently never run: fail the build.
    if (!sMessages.empty()) {
        std::fprintf(stderr, "veskar_mkdata: rule set %d from %s has refused rules:\n%s", nSet, sSource,
                     sMessages.c_str());
        return 1;
    }
    std::printf("rule set %d: %s -> %zu extraction rules, %zu audit rules\n", nSet, sSource,
                pAudit->GetRUX()->GetRuleOrgs().size(), pAudit->GetRuleOrgs().size());
    return 0;
}

int BuildReadings(const char* sUnihan, const char* sFile)
{
    std::string sText, sError;
    CCharReadings readings;
    if (!ReadBz2File(sUnihan, sText, sError) || readings.BuildFromUnihan(sText) <= 0 ||
        !readings.Save(sFile, sError)) {
        std::fprintf(stderr, "veskar_mkdata: readings not built: %s\n",
                     sError.empty() ? "no readings in the file" : sError.c_str());
        return 1;
    }
    std::printf("readings: %zu characters -> %s\n", readings.CharCount(), sFile);
    return 0;
}

int BuildTemplates(const char* sStore, const char* sSamples)
{
    std::error_code ec;
    std::filesystem::create_directories(sSamples, ec);
    std::filesystem::create_directories(sStore, ec);
    // A rebuild starts from an empty store, so the defaults keep indexes 0..5.
    for (const char* sName : {"docTemplate.dat", "docTemplate2.dat", "docTemplate.pdat", "docTemplate.wordlist",
                              "docTemplate.index", "docTemplate_export.txt"})
        std::filesystem::remove(JoinPath(sStore, sName), ec);
    CDocxTemplate store(sStore);
    for (int nType : CTemplateSamples::Types()) {
        std::string sSample = JoinPath(sSamples, CTemplateSamples::Name(nType) + ".docx");
        if (!CTemplateSamples::Write(nType, sSample)) {
            std::fprintf(stderr, "veskar_mkdata: cannot write the sample %s\n", sSample.c_str());
            return 1;
        }
        int nIndex = store.ImportTemplate(nType, "*", "*", "*", sSample.c_str());
        if (nIndex < 0) {
            std::fprintf(stderr, "veskar_mkdata: no template learnt from %s\n", sSample.c_str());
            return 1;
        }
        std::printf("templates: type %d from %s -> template %d\n", nType, sSample.c_str(), nIndex);
    }
    return 0;
}

int BuildStandards(const char* sDb, const char* sFolder)
{
    // Built beside the final name and moved over it, so a failed build
    // leaves no half-filled catalogue.
    std::string sTemp = std::string(sDb) + ".tmp";
    std::error_code ec;
    std::filesystem::remove(sTemp, ec);
    std::string sError;
    int nRecords = -1, nStandards = 0, nValues = 0;
    {
        CStandardCatalogue catalogue;
        if (catalogue.Open(sTemp, sError))
            nRecords = catalogue.ImportFolder(sFolder, sError);
        nStandards = catalogue.CountStandards();
        nValues = catalogue.CountClauseValues();
    }
    if (nRecords < 0 || nStandards <= 0) {
        std::fprintf(stderr, "veskar_mkdata: standards catalogue not built: %s\n",
                     sError.empty() ? "no standards in the sources" : sError.c_str());
        std::filesystem::remove(sTemp, ec);
        return 1;
    }
    std::filesystem::rename(sTemp, sDb, ec);
    if (ec) {
        std::fprintf(stderr, "veskar_mkdata: cannot write %s: %s\n", sDb, ec.message().c_str());
        return 1;
    }
    std::printf("standards: %d standards, %d clause values -> %s\n", nStandards, nValues, sDb);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    g_bLog = false;  // a build never writes log files
    if (argc == 4 && std::strcmp(argv[1], "catalogue") == 0)
        return BuildCatalogue(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "manager") == 0)
        return BuildEmptyManager(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "segmenter") == 0)
        return BuildSegmenter(argv[2], argv[3], argv[4]);
    if (argc == 6 && std::strcmp(argv[1], "hmm") == 0)
        return BuildHmmModel(argv[2], argv[3], argv[4], argv[5]);
    if (argc == 5 && std::strcmp(argv[1], "rules") == 0)
        return BuildRuleSet(argv[2], argv[3], argv[4]);
    if (argc == 5 && std::strcmp(argv[1], "querydict") == 0)
        return BuildQueryDict(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "readings") == 0)
        return BuildReadings(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "templates") == 0)
        return BuildTemplates(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "standards") == 0)
        return BuildStandards(argv[2], argv[3]);
    std::fprintf(stderr, "usage: veskar_mkdata catalogue TEXT DAT | manager DAT | segmenter DICT WORDS DIR | "
                         "hmm START TRANS EMIT DIR | querydict STEM TEXT FOLDER | rules SOURCE INITDIR N | "
                         "readings UNIHAN_BZ2 FILE | templates STORE SAMPLES | standards DB FOLDER\n");
    return 2;
}
