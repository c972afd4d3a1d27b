// Siblings are found by asking for their names (as the extension is written
// in lower and in upper case), never by listing the folder, so a batch over
// a folder of thousands of documents stays linear.
#include "Docx/DocumentPlace.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <unistd.h>

#include "Utility/AsciiCase.h"
#include "Utility/CallContext.h"
#include "Utility/FileUtility.h"

namespace fs = std::filesystem;

namespace {

const char* const kPrecedence[] = {"docx", "docm", "doc", "wps", "rtf", "odt", "tex",
                                   "pdf", "htm", "html", "txt"};
constexpr int kCount = static_cast<int>(sizeof kPrecedence / sizeof kPrecedence[0]);

// Rank of an extension; unknown ones come last.
int Rank(const std::string& sExt)
{
    std::string sLower = AsciiLower(sExt);
    for (int i = 0; i < kCount; ++i) {
        if (sLower == kPrecedence[i])
            return i;
    }
    return kCount;
}

// True when a document of the same base name and an earlier format (or the
// same format spelled otherwise, sorting first) lies in sFolder.
bool YieldsBareName(const std::string& sFolder, const std::string& sBase, const std::string& sExt)
{
    int nOwn = Rank(sExt);
    for (int i = 0; i <= std::min(nOwn, kCount - 1); ++i) {
        for (const std::string& sSpelling : {std::string(kPrecedence[i]), AsciiUpper(kPrecedence[i])}) {
            if (sSpelling == sExt || (i == nOwn && sSpelling > sExt))
                continue;
            std::string sOther = JoinPath(sFolder, sBase + "." + sSpelling);
            if (FileExists(sOther) && !IsDirectory(sOther))
                return true;
        }
    }
    return false;
}

}  // namespace

CDocumentPlace CDocumentPlace::For(const std::string& sFile)
{
    size_t nSlash = sFile.find_last_of("/\\");
    std::string sOwnFolder = nSlash == std::string::npos ? "." : (nSlash == 0 ? "/" : sFile.substr(0, nSlash));
    std::string sFileName = nSlash == std::string::npos ? sFile : sFile.substr(nSlash + 1);
    size_t nDot = sFileName.rfind('.');
    std::string sBase = nDot == std::string::npos ? sFileName : sFileName.substr(0, nDot);
    std::string sExt = nDot == std::string::npos ? std::string() : sFileName.substr(nDot + 1);

    CDocumentPlace place;
    const std::string& sOut = CCallContext::Current().sOutputFolder;
    place.sFolder = sOut.empty() ? sOwnFolder : sOut;
    place.sName = !sExt.empty() && YieldsBareName(sOwnFolder, sBase, sExt) ? sFileName : sBase;
    return place;
}

std::string CDocumentPlace::OutputFileFor(const std::string& sFile)
{
    const std::string& sOut = CCallContext::Current().sOutputFolder;
    if (sOut.empty())
        return sFile;
    size_t nSlash = sFile.find_last_of("/\\");
    return JoinPath(sOut, nSlash == std::string::npos ? sFile : sFile.substr(nSlash + 1));
}

std::string CDocumentPlace::WorkFolder() const
{
    return NormalisePath(sFolder + "/" + sName + "_unzip");
}

bool CDocumentPlace::MakeFolder() const
{
    std::error_code ec;
    fs::create_directories(sFolder, ec);
    return IsDirectory(sFolder);
}

std::string CDocumentPlace::MakePrivateFolder() const
{
    if (!MakeFolder())
        return std::string();
    // The process id and a counter keep threads and processes apart; a
    // folder that already exists is never taken over.
    static std::atomic<unsigned> s_nCounter {0};
    for (int nTry = 0; nTry < 100; ++nTry) {
        std::string sPrivate = JoinPath(sFolder, "." + sName + ".veskar-" + std::to_string(getpid()) + "-" +
                                                     std::to_string(++s_nCounter));
        std::error_code ec;
        if (fs::create_directory(sPrivate, ec) && !ec)
            return sPrivate;
    }
    return std::string();
}
