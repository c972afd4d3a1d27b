// The paged character table against a plain array of 65,536 values: the
// same lookups, the same file bytes, and refusal of values out of range.
#include "Utility/CharTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::string FullTable(const std::vector<int32_t>& vecValues)
{
    return std::string(reinterpret_cast<const char*>(vecValues.data()), vecValues.size() * sizeof(int32_t));
}

TEST(CharTableTest, MatchesAFullArrayInLookupsOrderAndFileBytes)
{
    std::vector<int32_t> vecPlain(CCharTable::kCodes, -1);
    CCharTable table;
    const int aCodes[] = {0, 'a', 255, 256, 0xB0A1, 0xB0A2, 0xF7FE, 0xFFFF};
    int32_t nId = 0;
    for (int nCode : aCodes) {
        table.Set(nCode, nId);
        vecPlain[static_cast<size_t>(nCode)] = nId++;
    }
    for (int nCode = 0; nCode < CCharTable::kCodes; ++nCode)
        ASSERT_EQ(table.Get(nCode), vecPlain[static_cast<size_t>(nCode)]) << nCode;
    std::vector<int> vecSeen;
    table.ForEach([&vecSeen](int nCode, int32_t) { vecSeen.push_back(nCode); });
    EXPECT_EQ(vecSeen, std::vector<int>(std::begin(aCodes), std::end(aCodes)));
    std::string sFile;
    table.AppendTo(sFile);
    EXPECT_EQ(sFile, FullTable(vecPlain));

    CCharTable loaded;
    ASSERT_TRUE(loaded.ReadFrom(sFile.data(), -1, 65535));
    std::string sAgain;
    loaded.AppendTo(sAgain);
    EXPECT_EQ(sAgain, sFile);
}

TEST(CharTableTest, CountsFromZeroAndClearsToEmpty)
{
    CCharTable counts(0);
    counts.Add(0x4E00, 2);
    counts.Add(0x4E00, 1);
    EXPECT_EQ(counts.Get(0x4E00), 3);
    EXPECT_EQ(counts.Get(0x4E01), 0);
    counts.Clear();
    EXPECT_EQ(counts.Get(0x4E00), 0);
    int nSeen = 0;
    counts.ForEach([&nSeen](int, int32_t) { ++nSeen; });
    EXPECT_EQ(nSeen, 0);
}

TEST(CharTableTest, RefusesValuesOutOfRangeAndIsLeftEmpty)
{
    std::vector<int32_t> vecPlain(CCharTable::kCodes, -1);
    vecPlain[5] = 7;
    vecPlain[0x9000] = -2;
    CCharTable table;
    EXPECT_FALSE(table.ReadFrom(FullTable(vecPlain).data(), -1, 65535));
    EXPECT_EQ(table.Get(5), -1);
    vecPlain[0x9000] = 70000;
    EXPECT_FALSE(table.ReadFrom(FullTable(vecPlain).data(), -1, 65535));
    vecPlain[0x9000] = 65535;
    EXPECT_TRUE(table.ReadFrom(FullTable(vecPlain).data(), -1, 65535));
    EXPECT_EQ(table.Get(0x9000), 65535);
}

}  // namespace
