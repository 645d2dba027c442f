// The main window's code page: the View menu entries, the profile value
// and the group names of the control view.
#include <QAction>
#include <QSettings>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>

#include "main_frame_fixture.h"
#include "platform/code_page.h"

namespace qavo {
namespace {

using testing::MainFrameTest;

class MainFrameCodePageTest : public MainFrameTest {
  protected:
    QAction* Entry(const std::string& id) {
        return frame->findChild<QAction*>(QString::fromStdString("codePage_" + id));
    }
    // The ids of the checked entries.
    std::vector<std::string> Checked() {
        std::vector<std::string> ids;
        for (const CodePage::Choice& c : CodePage::Choices()) {
            QAction* a = Entry(c.id);
            EXPECT_NE(a, nullptr) << c.id;
            if (a && a->isChecked()) ids.push_back(c.id);
        }
        return ids;
    }
    QString Stored() {
        return QSettings(dir.filePath("profile.ini"), QSettings::IniFormat)
            .value("CodePage")
            .toString();
    }
    void SetGroupName(unsigned group, const std::vector<uint8_t>& bytes) {
        auto lock = frame->model().Lock();
        uint8_t* p = frame->model().image.Block(kGroupsBlock).data() + fields::group_name.At(group);
        std::memset(p, 0, kNameSize);
        std::copy(bytes.begin(), bytes.end(), p);
    }
    QTreeWidget* GroupList() {
        auto* list = frame->view() ? frame->view()->findChild<QTreeWidget*>("groupList") : nullptr;
        EXPECT_NE(list, nullptr);
        return list;
    }
};

TEST_F(MainFrameCodePageTest, DefaultIsCheckedOnAFreshProfile) {
    EXPECT_EQ(frame->codePage().id(), CodePage::kDefaultId);
    EXPECT_EQ(Checked(), std::vector<std::string>{CodePage::kDefaultId});
    EXPECT_EQ(frame->services().code_page().id(), CodePage::kDefaultId);
}

TEST_F(MainFrameCodePageTest, ChosenEntryIsStoredAndKeptForTheNextStart) {
    QAction* gbk = Entry("gbk");
    ASSERT_NE(gbk, nullptr);
    gbk->trigger();
    EXPECT_EQ(Stored(), "gbk");
    EXPECT_EQ(Checked(), std::vector<std::string>{"gbk"});
    EXPECT_EQ(frame->services().code_page().id(), "gbk");

    Make();
    EXPECT_EQ(frame->codePage().id(), "gbk");
    EXPECT_EQ(frame->services().code_page().id(), "gbk");
    EXPECT_EQ(Checked(), std::vector<std::string>{"gbk"});
}

TEST_F(MainFrameCodePageTest, EveryEntryChecksOnlyItself) {
    for (const CodePage::Choice& c : CodePage::Choices()) {
        SCOPED_TRACE(c.id);
        QAction* entry = Entry(c.id);
        ASSERT_NE(entry, nullptr);
        EXPECT_FALSE(entry->text().isEmpty());
        entry->trigger();
        EXPECT_EQ(Stored(), c.id);
        EXPECT_EQ(Checked(), std::vector<std::string>{c.id});
    }
}

TEST_F(MainFrameCodePageTest, UnknownStoredCodePageStartsWithTheDefault) {
    QSettings(dir.filePath("profile.ini"), QSettings::IniFormat).setValue("CodePage", "klingon");
    Make();
    EXPECT_EQ(frame->codePage().id(), CodePage::kDefaultId);
    EXPECT_EQ(Checked(), std::vector<std::string>{CodePage::kDefaultId});
}

TEST_F(MainFrameCodePageTest, ControlViewShowsGroupNamesInTheChosenCodePage) {
    SetGroupName(0, {0xD6, 0xD0, 0xCE, 0xC4});  // "中文" in GBK
    SetGroupName(1, {'H', 'a', 'l', 'l', ' ', 0xE9});
    frame->switchView(kControlView);
    QTreeWidget* list = GroupList();
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QString::fromUtf8("\u00d6\u00d0\u00ce\u00c4"));
    list->topLevelItem(1)->setSelected(true);

    // The view shown redraws its names at once, keeping its rows.
    Entry("gbk")->trigger();
    ASSERT_EQ(GroupList(), list);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QString::fromUtf8("\u4e2d\u6587"));
    EXPECT_EQ(list->topLevelItem(1)->text(2), QString::fromUtf8("Hall \uFFFD"));
    EXPECT_TRUE(list->topLevelItem(1)->isSelected());

    // A new control view reads them in the code page kept.
    Make();
    frame->switchView(kControlView);
    SetGroupName(0, {0xD6, 0xD0, 0xCE, 0xC4});
    frame->switchView(kControlView);
    list = GroupList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->topLevelItem(0)->text(2), QString::fromUtf8("\u4e2d\u6587"));
}

}  // namespace
}  // namespace qavo
