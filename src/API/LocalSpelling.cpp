// Loading the spelling engine once per data folder and sharing it between
// threads: a caller holds the engine by a shared pointer while it
// suggests, so a release or a reload never pulls it away mid-sentence.
#include "API/LocalSpelling.h"

#include <memory>
#include <mutex>

#include "API/SharedServices.h"
#include "Spelling/SpellSuggester.h"
#include "Spelling/SpellingChecker.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"


namespace {

std::mutex g_mutexLocalSpelling;
std::shared_ptr<const CSpellSuggester> g_pLocalSpelling;
std::string g_sLocalSpellingDir;

std::shared_ptr<const CSpellSuggester> LoadedEngine(std::string& sError)
{
    if (!g_bVESKARInit) {
        sError = "VESKAR not init!";
        return nullptr;
    }
    std::string sDataDir = JoinPath(g_sInitDir, "Data");
    std::lock_guard<std::mutex> lock(g_mutexLocalSpelling);
    if (g_pLocalSpelling && g_sLocalSpellingDir == sDataDir)
        return g_pLocalSpelling;
    auto pEngine = std::make_shared<CSpellSuggester>();
    if (!pEngine->Load(sDataDir, sError)) {
        sError = "Cannot load the spelling data: " + sError;
        return nullptr;
    }
    g_pLocalSpelling = std::move(pEngine);
    g_sLocalSpellingDir = sDataDir;
    return g_pLocalSpelling;
}

}  // namespace

bool LocalSpellingAnswer(const std::string& sSentence, std::string& sAnswer, std::string& sError)
{
    std::shared_ptr<const CSpellSuggester> pEngine = LoadedEngine(sError);
    if (!pEngine)
        return false;
    sAnswer = CSpellSuggester::AnswerJson(pEngine->Suggest(sSentence));
    return true;
}

std::function<std::string(const std::string&)> LocalSpellingProvider()
{
    return [](const std::string& sSentence) {
        std::string sAnswer, sError;
        if (LocalSpellingAnswer(sSentence, sAnswer, sError))
            return sAnswer;
        WriteError(sError);
        return CSpellSuggester::AnswerJson({});
    };
}

void RegisterLocalSpelling()
{
    SetLocalSpellingProvider(LocalSpellingProvider());
}

void ReleaseLocalSpelling()
{
    std::lock_guard<std::mutex> lock(g_mutexLocalSpelling);
    g_pLocalSpelling.reset();
    g_sLocalSpellingDir.clear();
}
