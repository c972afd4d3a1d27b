// QuickLZ level-1 codec: every reference block (and its 32-bit-pointer
// variant) decodes to its input; our encoder writes the expected greedy
// block byte for byte; round trips of edge and random inputs; corrupt
// blocks are refused without touching memory outside the buffers.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/QuickLZEncoder.h"
#include "support/TempDir.h"

namespace {

const char* const kVectors[] = {"b_a",      "c_hello",   "d_ab1000",  "e_chinese5000", "f_random20000",
                                "g_xml",    "h_run300",  "i_text215", "j_text216",     "k_abc12"};

std::string VectorPath(const std::string& sName)
{
    return std::string(VESKAR_TEST_SOURCE_DIR) + "/tests/data/quicklz/" + sName;
}

std::string FromHex(std::string sHex)
{
    while (!sHex.empty() && (sHex.back() == '\n' || sHex.back() == '\r'))
        sHex.pop_back();
    std::string sOut;
    for (size_t i = 0; i + 1 < sHex.size(); i += 2)
        sOut += static_cast<char>(std::stoi(sHex.substr(i, 2), nullptr, 16));
    return sOut;
}

std::string VectorInput(const std::string& sName)
{
    if (sName == "f_random20000")
        return FromHex(ReadTestFile(VectorPath(sName + ".input.hex")));
    return ReadTestFile(VectorPath(sName + ".txt"));
}

std::string Decode(const std::string& sBlock, bool& bOk)
{
    CQuickLZDecoder decoder;
    std::string sOut, sError;
    bOk = decoder.Decompress(sBlock, sOut, sError);
    return sOut;
}

std::string RoundTrip(const std::string& sIn)
{
    std::string sBlock = CQuickLZEncoder().Compress(sIn);
    bool bOk = false;
    std::string sOut = Decode(sBlock, bOk);
    EXPECT_TRUE(bOk) << "input of " << sIn.size() << " bytes";
    return sOut;
}

std::string RandomBytes(size_t nLen, unsigned nSeed, int nAlphabet = 256)
{
    std::mt19937 random(nSeed);
    std::string s(nLen, '\0');
    for (auto& c : s)
        c = static_cast<char>(random() % nAlphabet);
    return s;
}

}  // namespace

TEST(QuickLZ, ReferenceBlocksDecodeToTheirInputs)
{
    for (const char* sName : kVectors) {
        std::string sInput = VectorInput(sName);
        ASSERT_FALSE(sInput.empty()) << sName;
        for (std::string sDir : {"", "alt-ptr32/", "simple-compressor/"}) {
            std::string sHex = ReadTestFile(VectorPath(sDir + sName + ".qlz.hex"));
            if (sHex.empty())
                continue;  // alt-ptr32 holds only the blocks that differ
            bool bOk = false;
            EXPECT_EQ(Decode(FromHex(sHex), bOk), sInput) << sDir << sName;
            EXPECT_TRUE(bOk) << sDir << sName;
        }
    }
}

TEST(QuickLZ, EncoderWritesTheGreedyBlocksByteForByte)
{
    for (const char* sName : kVectors) {
        std::string sExpected = FromHex(ReadTestFile(VectorPath(std::string("simple-compressor/") + sName + ".qlz.hex")));
        EXPECT_EQ(CQuickLZEncoder().Compress(VectorInput(sName)), sExpected) << sName;
    }
}

TEST(QuickLZ, EdgeInputsRoundTrip)
{
    EXPECT_EQ(CQuickLZEncoder().Compress(std::string()), "");  // QuickLZ has no empty block
    std::vector<std::string> vecInputs = {"x", "ab", "abcde", "abcdef", std::string(11, 'q'), std::string(12, 'q'),
                                          std::string(215, 'r'), std::string(216, 'r'), std::string(100000, 'z'),
                                          RandomBytes(65536, 1), RandomBytes(5000, 2, 2), RandomBytes(5000, 3, 4)};
    for (size_t n = 1; n < 300; ++n)
        vecInputs.push_back(RandomBytes(n, static_cast<unsigned>(n), 3));
    for (const auto& sIn : vecInputs)
        EXPECT_EQ(RoundTrip(sIn), sIn) << sIn.size() << " bytes";
}

TEST(QuickLZ, BlocksAreNeverShorterThanNineBytesAndPickTheirHeaderBySize)
{
    for (size_t n = 1; n < 40; ++n)
        EXPECT_GE(CQuickLZEncoder().Compress(std::string(n, 'a')).size(), 9u) << n;
    EXPECT_EQ(CQuickLZEncoder().Compress(std::string(215, 'a'))[0] & 0x02, 0);
    EXPECT_EQ(CQuickLZEncoder().Compress(std::string(216, 'a'))[0] & 0x02, 2);
    std::string sRandom = RandomBytes(4000, 9);
    std::string sBlock = CQuickLZEncoder().Compress(sRandom);
    EXPECT_EQ(sBlock[0], 0x46) << "incompressible input is stored";
    EXPECT_EQ(sBlock.size(), sRandom.size() + 9);
}

TEST(QuickLZ, HeadersWhoseSizesDisagreeAreRefused)
{
    std::string sBlock = CQuickLZEncoder().Compress(std::string("hello hello hello hello"));
    bool bOk = true;
    Decode(sBlock.substr(0, sBlock.size() - 1), bOk);
    EXPECT_FALSE(bOk) << "block cut short";
    Decode(sBlock + "x", bOk);
    EXPECT_FALSE(bOk) << "bytes past the stated total";
    Decode(sBlock.substr(0, 2), bOk);
    EXPECT_FALSE(bOk) << "header cut off";
    std::string sLevel3 = sBlock;
    sLevel3[0] = static_cast<char>(sLevel3[0] | 0x0C);
    Decode(sLevel3, bOk);
    EXPECT_FALSE(bOk) << "another compression level";
    std::string sStored = CQuickLZEncoder().Compress(RandomBytes(300, 4));
    ASSERT_EQ(sStored[0], 0x46);
    sStored[5] = static_cast<char>(sStored[5] + 1);  // stated size one more than stored
    Decode(sStored, bOk);
    EXPECT_FALSE(bOk) << "stored size disagrees";
    std::string sHuge = CQuickLZEncoder().Compress(std::string(1000, 'a'));
    sHuge[5] = sHuge[6] = sHuge[7] = '\x7f';  // far more than the payload can hold
    Decode(sHuge, bOk);
    EXPECT_FALSE(bOk) << "impossible expansion";
}

TEST(QuickLZ, CorruptItemsAreRefusedInsideTheBuffers)
{
    // Every single-byte change to a compressed block either decodes to some
    // output of the stated size or is refused; AddressSanitizer runs watch
    // that nothing is read or written outside.
    std::string sText;
    for (int i = 0; i < 40; ++i)
        sText += "第" + std::to_string(i) + "条 建筑设计防火规范 GB 50016-2014\n";
    std::string sBlock = CQuickLZEncoder().Compress(sText);
    ASSERT_EQ(sBlock[0], 0x47);
    size_t nRefused = 0;
    for (size_t i = 9; i < sBlock.size(); ++i) {
        for (int nDelta : {1, 0x10, 0x80}) {
            std::string sBad = sBlock;
            sBad[i] = static_cast<char>(sBad[i] + nDelta);
            bool bOk = false;
            std::string sOut = Decode(sBad, bOk);
            if (bOk)
                EXPECT_EQ(sOut.size(), sText.size());
            else
                ++nRefused;
        }
    }
    EXPECT_GT(nRefused, 0u);
    // A match whose hash names an empty slot has no source.
    const char kNoSource[] = "\x45\x10\x0c\x01\x00\x00\x80\x31\x00\x00\x00\x00\x00\x00\x00\x00";
    std::string sNoSource(kNoSource, sizeof(kNoSource) - 1);
    bool bOk = true;
    Decode(sNoSource, bOk);
    EXPECT_FALSE(bOk);
}
