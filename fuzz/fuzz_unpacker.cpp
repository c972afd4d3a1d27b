// Fuzz target: arbitrary bytes as a .docx package. Unpacking must refuse
// bad packages cleanly and never write outside its folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "Docx/DocxPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static const std::string s_sRoot = (std::filesystem::temp_directory_path() /
                                        ("veskar-fuzz-unpack-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(s_sRoot);
    std::string sPackage = s_sRoot + "/input.docx";
    FILE* fp = std::fopen(sPackage.c_str(), "wb");
    if (!fp)
        return 0;
    std::fwrite(pData, 1, nSize, fp);
    std::fclose(fp);
    CDocxPackage package;
    package.Unpack(sPackage, s_sRoot + "/input_unzip");
    CDocxPackage::RemoveFolder(s_sRoot + "/input_unzip");
    return 0;
}
