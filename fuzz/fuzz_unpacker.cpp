// Fuzz target: arbitrary bytes as a .docx package. Unpacking must refuse
// bad packages cleanly and never write outside its folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Docx/DocxPackage.h"
#include "FuzzScratch.h"

namespace {

std::string g_sRoot;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_sRoot = FuzzScratchDir("veskar-fuzz-unpack");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sPackage = g_sRoot + "/input.docx";
    FILE* fp = std::fopen(sPackage.c_str(), "wb");
    if (!fp)
        return 0;
    std::fwrite(pData, 1, nSize, fp);
    std::fclose(fp);
    CDocxPackage package;
    package.Unpack(sPackage, g_sRoot + "/input_unzip");
    CDocxPackage::RemoveFolder(g_sRoot + "/input_unzip");
    return 0;
}
