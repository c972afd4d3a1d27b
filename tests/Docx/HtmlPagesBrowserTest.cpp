// The pages in a real browser (headless chromium, skipped without it): the
// side panel lists the marks of a page with their hints, a paragraph id in
// the address leads to its paragraph, and searchRule shows a standard.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Convert/ExternalProgram.h"
#include "Docx/DocxTestUtil.h"
#include "Global/Globals.h"

extern char** environ;

using B = CDocxBuilder;

namespace {

// Runs a program with its output into sOutFile; false when it cannot be
// started, fails or outlasts nSeconds (then it is killed).
bool RunToFile(const std::vector<std::string>& vecArgs, const std::string& sOutFile, int nSeconds)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, sOutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> vecArgv;
    for (const std::string& sArg : vecArgs)
        vecArgv.push_back(const_cast<char*>(sArg.c_str()));
    vecArgv.push_back(nullptr);
    pid_t pid = 0;
    int nError = posix_spawn(&pid, vecArgs[0].c_str(), &actions, nullptr, vecArgv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (nError != 0)
        return false;
    int nStatus = 0;
    for (int i = 0; i < nSeconds * 10; ++i) {
        if (waitpid(pid, &nStatus, WNOHANG) == pid)
            return WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &nStatus, 0);
    return false;
}

// The page's DOM after its scripts ran.
std::string RenderedDom(const std::string& sChromium, const CTempDir& dir, const std::string& sUrl)
{
    std::string sOut = dir.File("dom.html");
    std::vector<std::string> vecArgs = {sChromium, "--headless", "--no-sandbox", "--disable-gpu",
                                        "--user-data-dir=" + dir.File("profile"), "--virtual-time-budget=3000",
                                        "--dump-dom", sUrl};
    return RunToFile(vecArgs, sOut, 60) ? ReadTestFile(sOut) : std::string();
}

std::string Hex(uint32_t nId)
{
    char sBuf[16];
    std::snprintf(sBuf, sizeof sBuf, "%08X", nId);
    return sBuf;
}

// Marks as the reviser writes them: an insertion with its hint, and a
// deletion with its hint.
std::string Marked(std::string sPage, uint32_t nFirst, uint32_t nSecond)
{
    const std::string kHint = "<span lang=EN-US\r\nstyle='font-size:9.0pt;color:#00B050'>[提示信息:";
    std::string sInsert = "<span class=msoIns><ins name=\"" + Hex(nFirst) +
                          "-0-1.1.2\" cite=\"mailto:a@b\" datetime=\"2024-01-01T10:00\">新字</ins>" + kHint +
                          "字号不对]</span>";
    size_t nEnd = sPage.find("</p>", sPage.find("name=\"" + Hex(nFirst) + "\""));
    sPage.insert(nEnd, sInsert);
    std::string sDelete = "<span class=msoDel><del name=\"" + Hex(nSecond) +
                          "-0-1.5.2\" cite=\"mailto:a@b\" datetime=\"2024-01-01T10:00\">多余</del></span>" + kHint +
                          "删去多余的字]</span>";
    nEnd = sPage.find("</p>", sPage.find("name=\"" + Hex(nSecond) + "\""));
    sPage.insert(nEnd, sDelete);
    std::string sStandard = "<p class=MsoNormal><a href=\"javascript:void(0)\" "
                            "onclick=\"searchRule('GB/T 7714-2015')\">GB/T 7714-2015</a></p>"
                            "<script>window.addEventListener('load', function () { searchRule('GB/T 7714-2015'); });"
                            "</script>";
    sPage.insert(sPage.rfind("</body>"), sStandard);
    return sPage;
}

}  // namespace

TEST(HtmlPagesBrowser, TheSidePanelListsTheMarksOfAPage)
{
    std::string sChromium = CExternalProgram::Find("chromium");
    if (sChromium.empty())
        GTEST_SKIP() << "no chromium to render the pages";
    std::string sSaved = g_sDefaultDir;
    g_sDefaultDir = BuiltDataDir();
    CTempDir dir;
    CDocxParser parser;
    CDocxBuilder builder;
    builder.Body(OpeningHeading() + B::Para("第一段，引用了标准。") + B::Para("第二段，多余的字。") + B::Para("第三段"));
    ASSERT_EQ(ParseBuilt(parser, builder, dir), 1);
    ASSERT_NE(parser.OutputHtmlPages(), nullptr) << g_sLastErrorMessage;
    g_sDefaultDir = sSaved;
    const std::vector<_tParagraph>& vecParas = parser.Model().Paragraphs();
    ASSERT_GE(vecParas.size(), 3u);
    std::string sPage = Marked(ReadTestFile(dir.File("doc_0.htm")), vecParas[1].id, vecParas[2].id);
    ASSERT_TRUE(WriteTestFile(dir.File("doc_0.htm"), sPage));

    std::string sDom = RenderedDom(sChromium, dir, "file://" + dir.File("doc_0.htm") + "#" + Hex(vecParas[2].id));
    ASSERT_FALSE(sDom.empty());
    size_t nPanel = sDom.find("id=\"vk-panel\"");
    ASSERT_NE(nPanel, std::string::npos) << sDom.substr(0, 2000);
    std::string sPanel = sDom.substr(nPanel);
    EXPECT_NE(sPanel.find("本页问题（2）"), std::string::npos);
    EXPECT_NE(sPanel.find("字号不对"), std::string::npos);
    EXPECT_NE(sPanel.find("删去多余的字"), std::string::npos);
    EXPECT_NE(sPanel.find("href=\"#" + Hex(vecParas[1].id) + "\""), std::string::npos);
    // The standard clicked is shown in the panel, with the paragraph citing it.
    EXPECT_NE(sPanel.find("标准检索：<b>GB/T 7714-2015</b>"), std::string::npos);
    // The paragraph named in the address was brought into view.
    size_t nSecond = sDom.find("name=\"" + Hex(vecParas[2].id) + "\"");
    ASSERT_NE(nSecond, std::string::npos);
    EXPECT_NE(sDom.substr(nSecond, 200).find("vk-flash"), std::string::npos);
}
