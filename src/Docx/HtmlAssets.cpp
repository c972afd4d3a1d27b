// Assets beside the pages. Many documents may share one output folder, so
// an asset that is already there as we would write it is left untouched.
#include "Docx/HtmlAssets.h"

#include <sys/stat.h>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"

namespace {

constexpr uint64_t kMaxAssetBytes = UINT64_C(1) << 20;

}  // namespace

const std::vector<std::string>& CHtmlAssets::Names()
{
    static const std::vector<std::string> s_vecNames = {
        "css/3.3.2bootatrap.min.css", "css/commen.css",         "css/error correction result5.css",
        "css/left_nav4.css",          "js/left_nav3.js",        "js/jquery-1.11.3.min.js",
        "js/3.3.2bootstrap.min.js"};
    return s_vecNames;
}

std::string CHtmlAssets::SourceFolder()
{
    if (g_sDefaultDir.empty())
        return std::string();
    std::string sFolder = JoinPath(g_sDefaultDir, "html");
    return IsDirectory(sFolder) ? sFolder : std::string();
}

int CHtmlAssets::WriteBeside(const std::string& sSource, const std::string& sFolder)
{
    if (sSource.empty())
        return 0;
    int nWritten = 0;
    for (const std::string& sName : Names()) {
        std::string sData, sOld;
        if (!ReadWholeFile(JoinPath(sSource, sName), sData, kMaxAssetBytes))
            continue;
        std::string sDest = JoinPath(sFolder, sName);
        ::mkdir(DirName(sDest).c_str(), 0777);
        if (ReadWholeFile(sDest, sOld, kMaxAssetBytes) && sOld == sData)
            continue;
        if (MayReplaceFile(sDest, MARKER) && WriteFileAtomic(sDest, sData))
            ++nWritten;
    }
    return nWritten;
}
