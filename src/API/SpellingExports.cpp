// Exported spelling suggestions: the library's own spelling engine, for
// hosts and the command-line spelling service.
#include <string>

#include "API/ExportGuard.h"
#include "API/LocalSpelling.h"
#include "Utility/Log.h"
#include "veskar.h"

extern "C" {

VESKAR_API const char* VESKAR_SuggestSpelling(const char* sSentenceUtf8)
{
    return GuardExport<const char*>("VESKAR_SuggestSpelling", nullptr, [&]() -> const char* {
        if (!sSentenceUtf8) {
            SetLastError("VESKAR_SuggestSpelling: no sentence given");
            return nullptr;
        }
        thread_local std::string t_sAnswer;
        std::string sError;
        if (!LocalSpellingAnswer(sSentenceUtf8, t_sAnswer, sError)) {
            SetLastError(sError);
            return nullptr;
        }
        return t_sAnswer.c_str();
    });
}

}  // extern "C"
