#pragma once

#include <cstdint>
#include <span>

#include "link/device_list.h"
#include "model/link_supervision.h"
#include "model/progress_state.h"
#include "model/system_model.h"
#include "platform/auto_reset_event.h"
#include "platform/ui_bus.h"

namespace qavo {

// Applies every datagram that reaches the console to the model and tells
// the windows. Runs on the receive threads.
//
// Malformed input is never applied in part. A datagram shorter than its
// code's layout (as far as the counts in the image make it) is dropped
// whole: it changes nothing, notifies nobody and completes no request, so
// the view keeps the last complete report and an unanswered request goes
// out again. A block or log chunk that reaches past the end of its block
// or of the log area is cut at that end. A status selector that names no
// host (above 20) or no console (above 32) leaves that entry alone while
// the rest of the message is applied.
//
// The offset of a log chunk has 16 bits while the log area holds 70004
// bytes, so a host sending a full log wraps the offset past 65535. Chunks
// come in rising order: an offset that falls back by more than half of the
// 16-bit range continues past the wrap instead of overwriting the start of
// the log (and its record count).
class MessageDispatcher {
  public:
    MessageDispatcher(SystemModel& model, ProgressState& progress, DeviceList& devices, UiBus& bus,
                      AutoResetEvent& ack_event);

    // Byte 1 equal to 0: an acknowledgement, whatever the code. Otherwise
    // codes 0 to 17 go to their handler and the others are dropped.
    void Dispatch(std::span<const uint8_t> datagram);

    // A new host log transfer begins (LOG_COMMAND 0 is about to be sent).
    void BeginLogTransfer();

  private:
    size_t UnwrapLogOffset(uint16_t raw);

    void InputStatus(std::span<const uint8_t> d);
    void HostStatus(std::span<const uint8_t> d);
    void RelayStatus(std::span<const uint8_t> d);
    void DeviceInfo(std::span<const uint8_t> d);
    void BlockData(std::span<const uint8_t> d);
    void LogData(std::span<const uint8_t> d);
    void HeartbeatReply();
    void ImpedanceLevel(std::span<const uint8_t> d);

    SystemModel& model_;
    ProgressState& progress_;
    DeviceList& devices_;
    UiBus& bus_;
    AutoResetEvent& ack_event_;
    LinkSupervision supervision_;
    // Guarded by the model lock.
    size_t log_offset_base_ = 0;
    size_t log_last_offset_ = 0;
};

}  // namespace qavo
