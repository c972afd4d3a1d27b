// The content key of the queue's results: SHA-256 digests of the standard
// examples, of lengths at each padding boundary, of bytes outside ASCII,
// and the same digest whether the bytes come at once or in pieces.
#include <gtest/gtest.h>

#include <string>

#include "veskar/Sha256.h"

TEST(Sha256, StandardExamples)
{
    EXPECT_EQ(CSha256::Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(CSha256::Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(CSha256::Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(CSha256::Of(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, LengthsAroundTheBlockEnd)
{
    const std::pair<size_t, const char*> kCases[] = {
        {55, "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {56, "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {63, "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {64, "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {119, "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {120, "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
    };
    for (const auto& testCase : kCases)
        EXPECT_EQ(CSha256::Of(std::string(testCase.first, 'a')), testCase.second) << testCase.first << " bytes";
}

TEST(Sha256, HighBytesAndPiecesGiveTheSameDigest)
{
    const std::string sText = "论文.docx";
    EXPECT_EQ(CSha256::Of(sText), "9298e984f719b28783b26f6b5216d2d728eb220ef2c8c3be993de1ea26b582f3");
    std::string sLong;
    for (int i = 0; i < 1000; ++i)
        sLong += static_cast<char>(i * 37);
    CSha256 pieces;
    for (size_t nAt = 0; nAt < sLong.size(); nAt += 61)
        pieces.Add(sLong.substr(nAt, 61));
    EXPECT_EQ(pieces.HexDigest(), CSha256::Of(sLong));
}
