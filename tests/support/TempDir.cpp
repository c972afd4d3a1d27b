// Test folders live under the system temporary folder.
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

CTempDir::CTempDir()
{
    std::string sPattern = (fs::temp_directory_path() / "veskar-test-XXXXXX").string();
    if (!mkdtemp(&sPattern[0]))
        throw std::runtime_error("cannot create a temporary folder");
    m_sPath = sPattern;
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    fs::remove_all(m_sPath, ec);
}

bool WriteTestFile(const std::string& sPath, const std::string& sData)
{
    std::error_code ec;
    fs::create_directories(fs::path(sPath).parent_path(), ec);
    std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
    out.write(sData.data(), static_cast<std::streamsize>(sData.size()));
    return static_cast<bool>(out);
}

std::string ReadTestFile(const std::string& sPath)
{
    std::ifstream in(sPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool CopyTree(const std::string& sFrom, const std::string& sTo)
{
    std::error_code ec;
    fs::copy(sFrom, sTo, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return !ec;
}

std::string BuiltDataDir()
{
    return std::string(VESKAR_TEST_BUILD_DIR) + "/Data";
}
