// Start, stop, imports and scans of the keyword scanner. The dictionary is
// swapped whole under a lock and shared with the scans that hold it, so an
// import never changes a dictionary a scan is reading.
#include "KeyScanner/KeyScanner.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "KeyScanner/KeywordDict.h"
#include "KeyScanner/KeywordList.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kErrorWordFile = "ErrorWord.txt";
const char* const kKeyClassFile = "KeyClass.txt";
const char* const kUserDictFile = "UserDict.txt";

struct _tScannerState {
    std::string sFolder;      // <init dir>/Data/KeyScanner
    CKeywordList baseList;    // the shipped lists
    CKeywordList userList;    // what imports added
    std::shared_ptr<const CKeywordDict> pDict;
};

std::mutex g_mutexImport;  // one start, stop or import at a time; guards g_state but pDict
std::mutex g_mutexDict;    // guards g_state.pDict
_tScannerState g_state;
std::atomic<bool> g_bUtf8 {true};
thread_local std::string t_sError;
thread_local std::string t_sAnswer;

bool Fail(const std::string& sWhy)
{
    t_sError = sWhy;
    return false;
}

int Refuse(const std::string& sWhy)
{
    t_sError = sWhy;
    return -1;
}

std::shared_ptr<const CKeywordDict> CurrentDict()
{
    std::lock_guard<std::mutex> lock(g_mutexDict);
    return g_state.pDict;
}

void SetDict(std::shared_ptr<const CKeywordDict> pDict)
{
    std::lock_guard<std::mutex> lock(g_mutexDict);
    g_state.pDict = std::move(pDict);
}

// Reads and appends a list file; a missing optional file adds nothing.
bool ReadList(const std::string& sPath, bool bRequired, CKeywordList& list)
{
    if (!FileExists(sPath))
        return bRequired ? Fail("Missing keyword list " + sPath) : true;
    std::string sText;
    std::string sError;
    if (!ReadWholeFile(sPath, sText, UINT64_C(1) << 28))
        return Fail("Fail read file " + sPath);
    return list.Parse(sText, sPath, sError) || Fail(sError);
}

std::shared_ptr<const CKeywordDict> Compile(const CKeywordList& base, const CKeywordList& user)
{
    CKeywordList all = base;
    all.Append(user);
    return std::make_shared<const CKeywordDict>(all);
}

}  // namespace

int KS_Init(const char* sInitDir, int nEncoding)
{
    std::lock_guard<std::mutex> lock(g_mutexImport);
    std::string sDir = (sInitDir && *sInitDir) ? sInitDir : GetCurrentDir();
    if (!IsDirectory(JoinPath(sDir, "Data")))
        return Fail("No data folder under " + sDir);
    std::string sFolder = JoinPath(JoinPath(sDir, "Data"), "KeyScanner");
    CKeywordList base;
    CKeywordList user;
    if (!ReadList(JoinPath(sFolder, kErrorWordFile), true, base) ||
        !ReadList(JoinPath(sFolder, kKeyClassFile), false, base) ||
        !ReadList(JoinPath(sFolder, kUserDictFile), false, user))
        return 0;
    std::shared_ptr<const CKeywordDict> pDict = Compile(base, user);
    g_state.sFolder = sFolder;
    g_state.baseList = std::move(base);
    g_state.userList = std::move(user);
    g_bUtf8 = nEncoding != 0;
    SetDict(std::move(pDict));
    return 1;
}

void KS_Exit()
{
    std::lock_guard<std::mutex> lock(g_mutexImport);
    SetDict(nullptr);
    g_state.sFolder.clear();
    g_state.baseList = CKeywordList();
    g_state.userList = CKeywordList();
}

const char* KS_GetLastErrorMsg()
{
    return t_sError.c_str();
}

int KS_ImportUserDict(const char* sFilename, bool bPinyinAbbrevNeeded, bool bOverwrite, int nHandle)
{
    std::lock_guard<std::mutex> lock(g_mutexImport);
    if (!CurrentDict())
        return Refuse("KeyScanner not init!");
    if (nHandle != 0)
        return Refuse("KS_ImportUserDict: no dictionary " + std::to_string(nHandle));
    CKeywordList imported;
    if (!sFilename || !ReadList(sFilename, true, imported))
        return -1;
    if (bPinyinAbbrevNeeded)
        imported.AddPinyinInitials();
    CKeywordList user = bOverwrite ? CKeywordList() : g_state.userList;
    user.Append(imported);
    std::shared_ptr<const CKeywordDict> pDict = Compile(g_state.baseList, user);
    std::string sUserFile = JoinPath(g_state.sFolder, kUserDictFile);
    if (!WriteFileAtomic(sUserFile, user.ToText()))
        return Refuse("Fail write file " + sUserFile);
    g_state.userList = std::move(user);
    SetDict(std::move(pDict));
    return static_cast<int>(imported.Entries().size());
}

const char* KS_ScanDetail(const char* sText, int nMode, int nHandle)
{
    t_sAnswer.clear();
    std::shared_ptr<const CKeywordDict> pDict = CurrentDict();
    if (pDict && sText && nHandle == 0)
        t_sAnswer = pDict->Scan(sText, nMode, g_bUtf8);
    return t_sAnswer.c_str();
}
