// The exported document functions behind "veskar parse" and "veskar text".
#include <gtest/gtest.h>

#include <json/json.h>
#include <sstream>

#include "Docx/DocxTestUtil.h"
#include "veskar.h"

using B = CDocxBuilder;

TEST(DocumentExports, ParseSummaryAndText)
{
    CTempDir dir;
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("1.1 背景", "<w:outlineLvl w:val=\"1\"/>") + B::Para("正文") +
                 B::Table({{"a", "b"}}))
        .Footer(1, B::Para("1"));
    ASSERT_TRUE(builder.Write(dir.File("s.docx")));
    const char* sSummary = VESKAR_ParseFile(dir.File("s.docx").c_str(), 0, 1);
    ASSERT_NE(sSummary, nullptr) << VESKAR_GetLastErrorMsg();
    Json::Value summary;
    std::istringstream in(sSummary);
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &summary, nullptr));
    EXPECT_EQ(summary["result_file"].asString(), dir.File("s.json"));
    EXPECT_EQ(summary["paragraphs"].asUInt(), 3u);
    EXPECT_EQ(summary["tables"].asUInt(), 1u);
    EXPECT_EQ(summary["footers"].asUInt(), 1u);
    ASSERT_EQ(summary["headings"].size(), 2u);
    EXPECT_EQ(summary["headings"][1]["level"].asInt(), 2);
    EXPECT_EQ(summary["headings"][1]["text"].asString(), "1.1 背景");

    const char* sText = VESKAR_GetFileText(dir.File("s.docx").c_str());
    ASSERT_NE(sText, nullptr);
    EXPECT_STREQ(sText, "第一章 绪论\r\n1.1 背景\r\n正文\r\na \tb \t\r\n");

    EXPECT_EQ(VESKAR_ParseFile(dir.File("none.docx").c_str(), 0, 0), nullptr);
    EXPECT_NE(std::string(VESKAR_GetLastErrorMsg()).find("Cannot open file"), std::string::npos);
    EXPECT_EQ(VESKAR_ParseFile(nullptr, 0, 0), nullptr);
    EXPECT_EQ(VESKAR_GetFileText(""), nullptr);
}
