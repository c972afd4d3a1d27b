// File and path helpers: existence tests, whole-file reads, atomic writes,
// lexical path normalisation and the local spelling of UTF-8 file names.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

std::string GetCurrentDir();
bool FileExists(const std::string& sPath);
bool IsDirectory(const std::string& sPath);
// Size of a regular file, or -1.
int64_t GetFileSize(const std::string& sPath);

// Reads a whole regular file. False (and sData empty) when it cannot be
// opened or is larger than nMaxBytes.
bool ReadWholeFile(const std::string& sPath, std::string& sData,
                   uint64_t nMaxBytes = UINT64_C(1) << 31);

// Writes to a temporary file beside sPath and renames it into place, so a
// reader never sees a half-written file under the final name.
bool WriteFileAtomic(const std::string& sPath, const std::string& sData);
// The same with the content written by fnWrite into the open temporary
// file; false (nothing replaced) when fnWrite answers false.
bool WriteFileAtomic(const std::string& sPath, const std::function<bool(std::FILE*)>& fnWrite);

// True when sPath may be overwritten by an output of ours: it does not
// exist, or its first bytes hold sMarker (a file we wrote earlier). A user's
// own file of the same name is never replaced.
bool MayReplaceFile(const std::string& sPath, const std::string& sMarker);

// Folds "//", "/./" and "dir/.." lexically ("a/b/../c" -> "a/c"); keeps a
// leading "/" and leading ".." that cannot be folded.
std::string NormalisePath(const std::string& sPath);
// a + "/" + b without doubling the slash.
std::string JoinPath(const std::string& sDir, const std::string& sName);
// The folder part of a path ("." when there is none).
std::string DirName(const std::string& sPath);

// The name as given when such a file exists (result 0); otherwise its GBK
// spelling when that exists or bForce is set (result 1); else as given (0).
int GetAnsiFilename(const char* sName, std::string& sOut, bool bForce);
