// The imported ding dictionaries in the real window code. Runs only when
// VOKABIX_DING_DIR names a folder that vokabix-import wrote (a Windows path
// such as Z:\work\main\build\ding), since CI does not import them.
#include "gui_fixture.h"

#include <cstdlib>

namespace {

class RealDictionary : public ProgramTest {
protected:
    void CopyIn(const std::string& name)
    {
        const std::string from = std::string(std::getenv("VOKABIX_DING_DIR")) + "\\" + name;
        ASSERT_TRUE(CopyFileA(from.c_str(), (folder + "\\" + name).c_str(), FALSE)) << from;
    }
    void Search(const std::string& text)
    {
        SetDlgItemTextA(app.searchDialog, IDC_SEARCH_EDIT, text.c_str());
        SendMessageA(app.searchDialog, WM_COMMAND, IDOK, 0);
        Pump();
    }
};

TEST_F(RealDictionary, BothDirectionsOpenAndFindTheirWords)
{
    if (std::getenv("VOKABIX_DING_DIR") == nullptr)
        GTEST_SKIP() << "set VOKABIX_DING_DIR to a folder written by vokabix-import";
    CopyIn("GerEng.dat");
    CopyIn("EngGer.dat");
    Start();
    ASSERT_TRUE(boxes.Seen().empty());
    EXPECT_GT(app.dictionary.fileSize, 40u * 1000 * 1000);
    Search("Haus");
    EXPECT_EQ(app.results.resultCount, 500) << "over 500 German entries begin with Haus";
    const ResultRecord& haus = app.results.table.results[0];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(app.dictionary.view) + haus.source, 5), "Haus ")
        << "the entry of the word itself comes first";

    SendMessageA(app.searchDialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    Command(IDM_TRANS_ENG_GER);
    ASSERT_TRUE(boxes.Seen().empty());
    ASSERT_NE(app.searchDialog, nullptr);
    Search("house");
    EXPECT_GT(app.results.resultCount, 20);
    const ResultRecord& first = app.results.table.results[0];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(app.dictionary.view) + first.source, 6), "house ");
}

} // namespace
