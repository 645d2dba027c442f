// The editors' sending step with a scripted main window and worker.
#include "editors/send_edited_blocks.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/fake_ui_bus.h"

namespace qavo {
namespace {

using namespace std::chrono_literals;

// Records every box with whether the progress dialog was still open then.
class WatchingPrompter final : public Prompter {
  public:
    explicit WatchingPrompter(const ProgressState& progress) : progress_(progress) {}
    BoxAnswer Ask(const BoxRequest& request) override {
        asked.push_back(request);
        progress_open_when_asked.push_back(progress_.open);
        return BoxAnswer::kOk;
    }
    std::vector<BoxRequest> asked;
    std::vector<bool> progress_open_when_asked;

  private:
    const ProgressState& progress_;
};

struct SendFixture : ::testing::Test {
    // The main window's side: the write is handed to a "worker" thread that
    // ends it with `result` after `after`, or never when `result` is 0.
    EditorSendContext Context(int result, std::chrono::milliseconds after = 5ms) {
        EditorSendContext context{progress, bus, prompter, Timings::Scaled(0.01), {}, {}};
        context.request = [this, result, after](WindowMessage message, ProgressSession session) {
            requests.emplace_back(message, session);
            mode_at_request = progress.progress_mode;
            total_at_request = progress.progress_total;
            auto ticket = std::make_shared<JobTicket>();
            if (result != 0) {
                worker = std::thread([ticket, result, after] {
                    std::this_thread::sleep_for(after);
                    ticket->Finish(result);
                });
            }
            last = ticket;
            return ticket;
        };
        return context;
    }
    void TearDown() override {
        if (worker.joinable()) worker.join();
    }

    ProgressState progress;
    testing::FakeUiBus bus;
    WatchingPrompter prompter{progress};
    std::vector<std::pair<WindowMessage, ProgressSession>> requests;
    int mode_at_request = -1;
    int total_at_request = -1;
    JobHandle last;
    std::thread worker;
};

const BoxRequest kDone{kSyncDoneText, kAppTitle, BoxButtons::kOk, BoxIcon::kNone, true};
const BoxRequest kFailed{kSyncFailedText, kAppTitle, BoxButtons::kOk, BoxIcon::kWarning, true};

TEST(SendEditedBlocksChunks, EachRequestCountsTheChunksItWrites) {
    EXPECT_EQ(ChunksOf(WM_WRITE_EQUIPMENT), 44);
    EXPECT_EQ(ChunksOf(WM_WRITE_FIRE_ALARM), 4);
    EXPECT_EQ(ChunksOf(WM_WRITE_GROUPS), 4);
    EXPECT_EQ(ChunksOf(WM_WRITE_AUDIO_PRIORITY), 1);
    EXPECT_EQ(ChunksOf(WM_ACK_RESET), 0);
}

TEST_F(SendFixture, OneBoxForEachWayTheWriteEnds) {
    struct Case {
        const char* name;
        int result;  // 0: the write never ends
        std::chrono::milliseconds limit;
        bool ok;
        BoxRequest box;
    };
    for (const Case& c :
         {Case{"acknowledged", 1, 5000ms, true, kDone}, Case{"failed", -1, 5000ms, false, kFailed},
          Case{"timed out", 0, 30ms, false, kFailed}}) {
        SCOPED_TRACE(c.name);
        prompter.asked.clear();
        prompter.progress_open_when_asked.clear();
        requests.clear();
        EXPECT_EQ(SendEditedBlocks(Context(c.result), WM_WRITE_EQUIPMENT, c.limit), c.ok);
        if (worker.joinable()) worker.join();
        // The progress dialog was up in mode 1 with the chunk count when the
        // request went out, under the session the write steps.
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].first, WM_WRITE_EQUIPMENT);
        EXPECT_NE(requests[0].second, 0u);
        EXPECT_EQ(mode_at_request, ProgressState::kWritingToHost);
        EXPECT_EQ(total_at_request, 44);
        // Then it was closed, before the one box was asked.
        EXPECT_FALSE(progress.open);
        EXPECT_EQ(prompter.asked, std::vector<BoxRequest>{c.box});
        EXPECT_EQ(prompter.progress_open_when_asked, std::vector<bool>{false});
    }
    // The write that timed out was not dropped: it is still to end.
    EXPECT_FALSE(last->job_done_event.IsSignalled());
}

TEST_F(SendFixture, ALateEndAfterTheWaitGaveUpChangesNothing) {
    EXPECT_FALSE(SendEditedBlocks(Context(1, 1000ms), WM_WRITE_GROUPS, 20ms));
    worker.join();
    EXPECT_TRUE(last->job_done_event.IsSignalled());
    EXPECT_EQ(prompter.asked, std::vector<BoxRequest>{kFailed});
    EXPECT_FALSE(progress.open);
}

}  // namespace
}  // namespace qavo
