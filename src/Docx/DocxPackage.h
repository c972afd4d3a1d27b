// Unpacks a .docx (a ZIP package) into a folder, refusing anything that
// could write outside that folder or fill the disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

class CDocxPackage {
public:
    // A package larger than this is refused before it is opened.
    static constexpr uint64_t MAX_PACKAGE_BYTES = UINT64_C(256) << 20;
    // Unpacked bytes over all items (real documents hold pictures of tens of MB).
    static constexpr uint64_t MAX_UNPACKED_BYTES = UINT64_C(1) << 30;
    static constexpr uint64_t MAX_ENTRIES = 20000;

    // Results of Unpack; every failure has its own message in GetError().
    enum : int {
        UNPACK_OK = 1,
        ERR_CANNOT_OPEN = -1,
        ERR_EMPTY = -2,
        ERR_NOT_ZIP = -3,
        ERR_TRUNCATED = -4,
        ERR_TOO_LARGE = -5,
        ERR_NO_DOCUMENT = -6,
        ERR_UNSAFE_NAME = -7,
        ERR_TOO_MANY_ENTRIES = -8,
        ERR_UNPACKED_TOO_LARGE = -9,
        ERR_CANNOT_WRITE = -10,
        ERR_DAMAGED = -11,
    };

    // Items whose names pass the test are also kept in memory as they are
    // unpacked, so a reader need not read them back from the folder.
    using KeepTest = bool (*)(const std::string& sName);

    // Empties sFolder (created with mode 0777 when missing) and unpacks every
    // item of sDocx into it. On failure the folder is removed again, so no
    // half-unpacked package is left behind.
    int Unpack(const std::string& sDocx, const std::string& sFolder, KeepTest isKept = nullptr);
    const std::string& GetError() const { return m_sError; }
    // The kept items by name (as a path inside the folder, "word/styles.xml");
    // a name that occurs twice holds the item written last, as on disk.
    std::map<std::string, std::string> TakeKept() { return std::move(m_mapKept); }

    // False for names that are empty, absolute, or climb out with "..".
    static bool IsSafeEntryName(const std::string& sName);
    // True when the working folder may be emptied: missing, empty, or an
    // earlier unpacked package (it holds [Content_Types].xml).
    static bool IsReplaceableFolder(const std::string& sFolder);
    // Removes a folder and everything in it (symbolic links are not followed).
    static bool RemoveFolder(const std::string& sFolder);

private:
    int Fail(int nCode, const std::string& sMessage);
    int CheckPackageFile(const std::string& sDocx);
    static uint64_t DeclaredSize(void* pZip);
    int ExtractAll(void* pZip, const std::string& sDocx, const std::string& sFolder);
    int ExtractCurrent(void* pZip, const std::string& sName, const std::string& sFolder,
                       uint64_t& nUnpacked);
    // Copies the open item into fp, and into pKeep unless it is null.
    static int CopyCurrent(void* pZip, FILE* fp, std::string* pKeep, uint64_t& nUnpacked);

    std::string m_sError;
    KeepTest m_isKept = nullptr;
    std::map<std::string, std::string> m_mapKept;
    bool m_bEmptyArchive = false;
};
