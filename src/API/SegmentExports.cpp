// Exported segmentation: the segmenter the library started, for hosts and
// the command-line tool.
#include "API/ExportGuard.h"
#include "Segmenter/Segmenter.h"
#include "Utility/Log.h"
#include "veskar.h"

extern "C" {

VESKAR_API const char* VESKAR_Segment(const char* sText, bool bTagged)
{
    return GuardExport<const char*>("VESKAR_Segment", nullptr, [&]() -> const char* {
        if (!sText) {
            SetLastError("VESKAR_Segment: no text given");
            return nullptr;
        }
        const char* sTokens = PELNOR_ParagraphProcess(sText, bTagged ? 1 : 0);
        if (!sTokens)
            SetLastError("VESKAR not init!");
        return sTokens;
    });
}

}  // extern "C"
