// The main window over fake sockets: login, log-out, navigation, Reflash,
// view switching, the link pane and the look.
#include "main_frame_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <QTreeWidget>

#include "console/host_st.h"
#include "console/log_view.h"
#include "console/state_view.h"
#include "editors/send_edited_blocks.h"
#include "link/frame.h"
#include "maintenance/sys_timing.h"
#include "persistence/console_database.h"
#include "shell/file_view.h"
#include "shell/msg_info.h"

namespace qavo {
namespace {

using testing::MainFrameTest;
using namespace std::chrono_literals;

// Queues a click on the toolbar button of `command`, as the window system
// queues the operator's click, to be handled whenever events are next run.
void PostClick(CMainFrame& frame, int command) {
    auto* bar = frame.findChild<QToolBar*>("mainToolBar");
    ASSERT_NE(bar, nullptr);
    QWidget* button = bar->widgetForAction(frame.action(command));
    ASSERT_NE(button, nullptr);
    const QPointF at = button->rect().center();
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier));
}

TEST_F(MainFrameTest, StartsLoggedOutOnThePicture) {
    EXPECT_EQ(frame->currentView(), kOtherView);
    EXPECT_EQ(frame->linkIcon(), kLinkIconNone);
    EXPECT_TRUE(frame->timerRunning());
    EXPECT_EQ(frame->windowTitle(), "EmergencyVoiceAlarmSystem");
    EXPECT_TRUE(frame->action(32818)->isEnabled());
    for (int id : {32819, 32781, 32825, 32824, 32773})
        EXPECT_FALSE(frame->action(id)->isEnabled());
    EXPECT_TRUE(frame->action(32779)->isEnabled());
}

TEST_F(MainFrameTest, NavigationWhileLoggedOutStaysOnControl) {
    for (NavItem item : {NavItem::kLog, NavItem::kState, NavItem::kGroup, NavItem::kImpedance}) {
        frame->navigation()->select(item);
        EXPECT_EQ(frame->navigation()->selected(), NavItem::kControl);
        EXPECT_EQ(frame->currentView(), kOtherView);
    }
}

TEST_F(MainFrameTest, LoginReadsTheHostAndShowsTheControlView) {
    LogIn();
    EXPECT_EQ(frame->linkIcon(), kLinkIconUp);
    EXPECT_EQ(frame->currentView(), kControlView);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    Settle();
    // Six block reads, then the whole status.
    auto sent = SentSince(0);
    ASSERT_GE(sent.size(), 7u);
    for (int id = 0; id < 6; ++id)
        EXPECT_EQ(sent[id], (std::vector<uint8_t>{9, 0, 0, 2, uint8_t(id)}));
    EXPECT_EQ(sent[6], (std::vector<uint8_t>{1, 0, 0, 0, 255}));
    EXPECT_TRUE(frame->action(32819)->isEnabled());
    EXPECT_FALSE(frame->action(32818)->isEnabled());
}

TEST_F(MainFrameTest, AClickQueuedBeforeTheLoginReadHasNoEffect) {
    {
        std::lock_guard lock(sockets.network->mutex);
        sockets.network->auto_ack = false;  // the read runs out its tries
    }
    // Exit is enabled once the login succeeds, before the read begins: a
    // click that reached it during the read would log the operator out.
    // (Had it come through, the locked account's password would be asked
    // for, and the scripted dialog fails the test.)
    PostClick(*frame, 32819);
    LogIn();
    EXPECT_TRUE(frame->session().logged_in);
    EXPECT_EQ(frame->currentView(), kControlView);
    PumpUntil([] { return false; }, 50ms);
    EXPECT_TRUE(frame->session().logged_in);

    // The same click outside a wait does log out: the click itself works.
    credentials.passwords = {std::string("qvl704219")};
    PostClick(*frame, 32819);
    EXPECT_TRUE(PumpUntil([&] { return !frame->session().logged_in; }));
}

TEST_F(MainFrameTest, AClickQueuedBeforeTheSensitivityReadHasNoEffect) {
    LogIn();
    Settle();
    {
        auto lock = frame->model().Lock();
        frame->model().live.link_up = true;
    }
    {
        std::lock_guard lock(sockets.network->mutex);
        sockets.network->auto_ack = false;  // the read waits out its limit
    }
    const size_t before = SentCount();
    PostClick(*frame, 32819);
    credentials.passwords = {std::string("qvl704219")};
    frame->navigation()->select(NavItem::kImpedance);
    EXPECT_TRUE(frame->session().logged_in);
    auto sent = SentSince(before);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], (std::vector<uint8_t>{IMPEDANCE, 0, 0, 0, 0}));
    PumpUntil([] { return false; }, 50ms);
    EXPECT_TRUE(frame->session().logged_in);
}

TEST_F(MainFrameTest, AWriteWaitedForOnTheGuiThreadNeedsNothingFromIt) {
    LogIn();
    Settle();
    ProgressState& progress = frame->services().progress;
    Job write;
    write.job_op = BLOCK_WRITE;
    write.job_param = kAudioPriorityBlock;
    write.progress_session =
        BeginProgress(progress, frame->services().bus, ProgressState::kWritingToHost, 1);
    // The GUI thread blocks outright: the worker steps the progress without
    // waiting for it, so the acknowledged write ends in time.
    const JobOutcome outcome = frame->jobs().QueueAndWait(write, 5000ms, BlockingWait);
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(progress.progress_count, 1);
}

TEST_F(MainFrameTest, AnEditorsWriteGoesThroughTheMainWindowUnderItsProgress) {
    LogIn();
    Settle();
    ConsoleServices& s = frame->services();
    const EditorSendContext context{s.progress, s.bus,  s.prompter,
                                    s.timings,  s.wait, s.request_write};
    const size_t before = SentCount();
    EXPECT_TRUE(SendEditedBlocks(context, WM_WRITE_AUDIO_PRIORITY, 5000ms));
    EXPECT_EQ(prompter.asked().back().text, kSyncDoneText);
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    EXPECT_EQ(s.progress.progress_count, 1);
    auto sent = SentSince(before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], BLOCK_WRITE);
    EXPECT_EQ(sent[0][4], kAudioPriorityBlock);
}

TEST_F(MainFrameTest, ReflashByView) {
    LogIn();
    Settle();
    struct Case {
        NavItem item;
        std::vector<uint8_t> request;  // empty: nothing sent
    };
    const Case cases[] = {
        {NavItem::kControl, {1, 0, 0, 0, 255}},
        {NavItem::kState, {1, 0, 0, 0, 255}},
        {NavItem::kLog, {11, 0, 0, 0}},
        {NavItem::kConfig, {}},
        {NavItem::kOther, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.item));
        frame->navigation()->select(c.item);
        const size_t before = SentCount();
        frame->onReflash();
        Settle();
        auto sent = SentSince(before);
        if (c.request.empty()) {
            EXPECT_TRUE(sent.empty());
        } else {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(sent[0], c.request);
        }
    }
}

TEST_F(MainFrameTest, TheLogViewShowsTheHostLogAndEmptiesIt) {
    LogIn();
    Settle();
    frame->navigation()->select(NavItem::kLog);
    auto* log = qobject_cast<CLog*>(frame->view());
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(frame->action(32787)->isEnabled());
    auto* list = log->findChild<QTreeWidget*>("logList");
    ASSERT_NE(list, nullptr);

    // A log of two records arrives in one last chunk.
    std::vector<uint8_t> chunk = {11, 1, 0, 2, 0, 0, 32, 0, 0, 0, 2, 0, 0, 0};
    for (uint8_t kind : {6, 3}) {
        const uint8_t record[14] = {kind, 0, 24, 5, 1, 8, 30, 0, 2, 0x18};
        chunk.insert(chunk.end(), std::begin(record), std::end(record));
    }
    sockets.made[0]->Inject(chunk, Endpoint{0x7F000001, 16888});
    PumpUntil([&] { return list->topLevelItemCount() >= 2; });
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(1)->text(3),
              "Host 02 main amplifier normal,spare amplifier normal.");

    // The view's menu asks the host for its log again.
    size_t before = SentCount();
    log->contextMenu()->actions().at(0)->trigger();
    Settle();
    EXPECT_EQ(SentSince(before), (std::vector<std::vector<uint8_t>>{{11, 0, 0, 0}}));

    // "Empty all log" empties the list and asks the host to clear its log.
    prompter.Script({BoxAnswer::kOk});
    before = SentCount();
    frame->action(32787)->trigger();
    Settle();
    EXPECT_EQ(SentSince(before), (std::vector<std::vector<uint8_t>>{{11, 0, 0, 1}}));
    EXPECT_EQ(list->topLevelItemCount(), 0);

    frame->navigation()->select(NavItem::kControl);
    EXPECT_FALSE(frame->action(32787)->isEnabled());
}

TEST_F(MainFrameTest, ReflashLoggedOutSendsNothing) {
    frame->onReflash();
    Settle();
    EXPECT_EQ(SentCount(), 0u);
}

TEST_F(MainFrameTest, ImpedanceSensitivityAsksThePasswordThenReadsTheLevel) {
    LogIn();
    Settle();
    struct Case {
        std::optional<std::string> password;
        bool link_up;
        bool read;
    };
    const Case cases[] = {
        {std::string("qvl704219"), true, true},
        {std::string("qvl704219"), false, false},  // the host does not answer: no read
        {std::nullopt, true, false},               // refused
    };
    for (const Case& c : cases) {
        {
            auto lock = frame->model().Lock();
            frame->model().live.link_up = c.link_up;
        }
        credentials.passwords = {c.password};
        const size_t before = SentCount();
        frame->navigation()->select(NavItem::kImpedance);
        Settle();
        auto sent = SentSince(before);
        const bool read =
            std::find(sent.begin(), sent.end(), std::vector<uint8_t>{17, 0, 0, 0, 0}) != sent.end();
        EXPECT_EQ(read, c.read);
        EXPECT_EQ(frame->navigation()->selected(), NavItem::kControl);
        EXPECT_EQ(frame->currentView(), kControlView);
        EXPECT_EQ(credentials.passwords.size(), 0u);
    }
}

TEST_F(MainFrameTest, ChoosingTheSameViewAgainMakesANewOne) {
    LogIn();
    frame->navigation()->select(NavItem::kConfig);
    QPointer<ConsoleView> first = frame->view();
    frame->handleMessage(WM_SWITCH_VIEW, static_cast<intptr_t>(NavItem::kConfig));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->currentView(), kConfigView);
    EXPECT_NE(frame->view(), first.data());
    EXPECT_TRUE(first.isNull());  // the previous view is gone
}

TEST_F(MainFrameTest, RelaySwitchOfTheHostDialogSendsSetRelaysForThatHost) {
    LogIn();
    Settle();
    {
        auto lock = frame->model().Lock();
        frame->model().image.Set(fields::host_count, 3);
        frame->model().live.relay_outputs[2] = 0x21;
    }
    frame->navigation()->select(NavItem::kState);
    auto* state = qobject_cast<CState*>(frame->view());
    ASSERT_NE(state, nullptr);
    ASSERT_TRUE(state->openHostDialog(2));
    const size_t before = SentCount();
    // Relay 2 goes on: the dialog sends WM_SET_RELAYS with host number 3.
    state->hostDialog()->findChild<QCheckBox*>("relay2")->click();
    Settle();
    std::vector<std::vector<uint8_t>> relays;
    for (const auto& d : SentSince(before)) {
        if (!d.empty() && d[0] == SET_RELAYS) relays.push_back(d);
    }
    ASSERT_EQ(relays.size(), 1u);
    ASSERT_EQ(relays[0].size(), 11u);
    EXPECT_EQ(relays[0][2], 3);      // the host number
    EXPECT_EQ(relays[0][10], 0x23);  // the relay byte
}

TEST_F(MainFrameTest, LinkGoesDownAfterFourSilentStepsAndUpOnAReply) {
    LogIn();
    {
        std::lock_guard lock(sockets.network->mutex);
        sockets.network->auto_ack = false;
    }
    for (int tick = 0; tick < 11; ++tick)
        frame->tick();
    EXPECT_EQ(frame->linkIcon(), kLinkIconUp);
    frame->tick();  // the fourth heartbeat step without a reply
    EXPECT_EQ(frame->linkIcon(), kLinkIconDown);
    sockets.made[0]->Inject({14, 1, 0, 14, 0}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] { return frame->linkIcon() == kLinkIconUp; }));
}

TEST_F(MainFrameTest, FaultBitSetsTheStateItemIcon) {
    LogIn();
    sockets.made[0]->Inject({0, 1, 0, kFlagFault, 0, 0}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] { return frame->navigation()->stateFault(); }));
    sockets.made[0]->Inject({0, 1, 0, 0, 0, 0}, Endpoint{0x7F000001, 16888});
    EXPECT_TRUE(PumpUntil([&] { return !frame->navigation()->stateFault(); }));
}

TEST_F(MainFrameTest, LogoutAndCloseFollowTheLock) {
    struct Case {
        bool lock;
        std::deque<std::optional<std::string>> passwords;
        bool logged_out;
    };
    const Case cases[] = {
        {true, {std::string("qvl704219")}, true},
        {true, {std::nullopt}, false},          // Cancel: still logged in
        {true, {std::string("wrong")}, false},  // wrong password: still logged in
        {false, {}, true},                      // no password asked
    };
    for (const Case& c : cases) {
        LogIn();
        frame->session().lock = c.lock;
        credentials.passwords = c.passwords;
        frame->onLogout();
        EXPECT_EQ(!frame->session().logged_in, c.logged_out);
        if (c.logged_out) {
            EXPECT_EQ(frame->currentView(), kOtherView);
            EXPECT_EQ(frame->linkIcon(), kLinkIconNone);
            EXPECT_FALSE(frame->timerRunning());
        } else {
            frame->session().logged_in = false;  // reset for the next case
        }
    }
    // Closing while logged out never asks.
    QCloseEvent close;
    QCoreApplication::sendEvent(frame.get(), &close);
    EXPECT_TRUE(close.isAccepted());
}

TEST_F(MainFrameTest, ClosingWhileLoggedInAsksWhenLocked) {
    LogIn();
    frame->session().lock = true;
    credentials.passwords = {std::nullopt};
    QCloseEvent refused;
    QCoreApplication::sendEvent(frame.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    credentials.passwords = {std::string("qvl704219")};
    QCloseEvent allowed;
    QCoreApplication::sendEvent(frame.get(), &allowed);
    EXPECT_TRUE(allowed.isAccepted());
}

TEST_F(MainFrameTest, LookIsKeptForTheNextStart) {
    frame->applyLook(216);
    Make();
    EXPECT_EQ(frame->look(), 216);
    frame->applyLook(999);
    EXPECT_EQ(frame->look(), 210);
}

TEST_F(MainFrameTest, ProgressDialogShowsAndClosesAndAnEarlyCloseWins) {
    ProgressState& progress = frame->services().progress;
    UiBus& bus = frame->services().bus;
    const ProgressSession read =
        BeginProgress(progress, bus, ProgressState::kReadingParameters, 56);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->progressDialog()->isVisible());
    progress.progress_count = 26;
    StepProgress(progress, bus, read);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->progressDialog()->text(), "Syncing system parameters, please wait ...48%");
    CloseProgress(progress, bus, read);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    // A close that comes before the dialog could show itself keeps it hidden.
    const ProgressSession write = BeginProgress(progress, bus, ProgressState::kWritingToHost, 4);
    CloseProgress(progress, bus, write);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->progressDialog()->isVisible());
    // The late end of an earlier exchange neither steps nor closes the next.
    const ProgressSession next = BeginProgress(progress, bus, ProgressState::kWritingToHost, 4);
    StepProgress(progress, bus, read);
    CloseProgress(progress, bus, write);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->progressDialog()->isVisible());
    EXPECT_EQ(progress.progress_count, 0);
    CloseProgress(progress, bus, next);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->progressDialog()->isVisible());
}

TEST_F(MainFrameTest, SystemTimingOpensWithoutAPasswordAndItsScheduleFiresOnce) {
    LogIn();
    const size_t boxes = prompter.asked().size();
    frame->navigation()->select(NavItem::kSystemTiming);
    auto* dialog = qobject_cast<CSysTiming*>(frame->sysTimingDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(prompter.asked().size(), boxes);  // no password asked

    // Schedule a moment one second ahead of a clock the test drives.
    long long now = *LocalToSeconds(CivilTime{2026, 12, 10, 8, 29, 59});
    frame->setClock([&now] { return now; });
    dialog->autoBox()->setChecked(true);
    dialog->schedulePicker()->setDateTime(QDateTime(QDate(2026, 12, 10), QTime(8, 30, 0)));
    dialog->apply();
    Settle();
    const size_t before = SentCount();
    for (int step = 0; step < 3; ++step) {
        frame->tick();
        frame->tick();  // a second tick in the same second
        ++now;
    }
    Settle();
    std::vector<std::vector<uint8_t>> clocks;
    for (const auto& d : SentSince(before))
        if (!d.empty() && d[0] == SET_CLOCK) clocks.push_back(d);
    ASSERT_EQ(clocks.size(), 1u);
    EXPECT_EQ(clocks[0], (std::vector<uint8_t>{SET_CLOCK, 0, 0, 0x07, 0xEA, 12, 10, 8, 30, 0}));
}

}  // namespace
}  // namespace qavo
