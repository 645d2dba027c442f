#include "editors/send_edited_blocks.h"

namespace qavo {

int ChunksOf(WindowMessage request) {
    switch (request) {
        case WM_WRITE_EQUIPMENT:
            return 44;
        case WM_WRITE_FIRE_ALARM:
        case WM_WRITE_GROUPS:
            return 4;
        case WM_WRITE_AUDIO_PRIORITY:
            return 1;
        default:
            return 0;
    }
}

bool SendEditedBlocks(const EditorSendContext& context, WindowMessage request,
                      std::chrono::milliseconds limit) {
    const WaitFunction wait = context.wait ? context.wait : WaitFunction(BlockingWait);
    const ProgressSession session = BeginProgress(context.progress, context.bus,
                                                  ProgressState::kWritingToHost, ChunksOf(request));
    // The pause lets the dialog show itself; the GUI keeps running meanwhile.
    const Completion never;
    wait(never, context.timings.editor_progress_pause);

    bool ok = false;
    if (JobHandle ticket = context.request(request, session)) {
        ok = wait(ticket->job_done_event, limit) && ticket->job_result != -1;
    }
    CloseProgressNow(context.progress, context.bus, session);
    context.prompter.Ask(
        ok ? BoxRequest{kSyncDoneText, kAppTitle, BoxButtons::kOk, BoxIcon::kNone, true}
           : BoxRequest{kSyncFailedText, kAppTitle, BoxButtons::kOk, BoxIcon::kWarning, true});
    return ok;
}

}  // namespace qavo
