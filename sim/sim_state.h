#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "model/live_status.h"
#include "model/param_image.h"
#include "sim_clock.h"
#include "sim_event_log.h"
#include "sim_options.h"

namespace qavo::sim {

enum class PagingCondition { kOk, kFault, kOffline };

// Fitted equipment, as the host reports it in host_config.
inline constexpr uint8_t kMainHostConfig = 0x0B;       // supervision valid, DC, spare amplifier
inline constexpr uint8_t kExpansionHostConfig = 0x60;  // DC, spare amplifier
inline constexpr uint8_t kHostAllGood = 0xFF;
inline constexpr uint8_t kPagingGood = kPagingOnline | kPagingNoFault;

// The state of the simulated system: its configuration blocks, its live
// state and its event log. Indices are 0-based here. Not thread-safe: the
// owner serialises every call.
class SimState {
  public:
    explicit SimState(const SimOptions& options);

    const ParamImage& image() const { return image_; }
    const LiveStatus& live() const { return live_; }
    const EventLog& log() const { return log_; }
    SimClock& clock() { return clock_; }
    const SimClock& clock() const { return clock_; }

    unsigned HostCount() const { return image_.BoundedHostCount(); }
    unsigned PagingCount() const { return image_.BoundedPagingCount(); }
    bool FaultPresent() const { return (live_.system_flags & kFlagFault) != 0; }

    // Each returns true when the state changed.
    bool SetLine(unsigned host, unsigned zone, SpeakerLine line, LineState state);
    bool SetContact(unsigned host, unsigned input, ContactState state);
    bool SetEmergency(bool on);
    bool SetHostOnline(unsigned host, bool online);
    bool SetPower(unsigned host, bool dc, bool ok);
    bool SetAmplifier(unsigned host, bool spare, bool ok);
    bool SetPaging(unsigned console, PagingCondition condition);
    bool SetRelays(unsigned host, uint8_t relays);
    void SetImpedance(uint8_t level) { live_.impedance_level = level; }

    // The operator's ACK / RESET: the fault is acknowledged while present.
    void AckReset();
    // AUDIO_CONTROL: action 0 stop, 1 start `source` in the zones of `masks`
    // (one per host), 2 start a line input in the zones given, or, with no
    // zone given, in the zones already sounding. Returns false for an action
    // or source that makes no sense (nothing changes then).
    bool Audio(uint8_t action, uint8_t source, std::span<const uint8_t> masks);
    // A zone cell of the control view: row = host index, column 2 to 9 =
    // zones 1 to 8. Switches that zone on or off the air.
    bool Cell(unsigned row, unsigned column);

    // Copies a block chunk; false when the block is read-only or the chunk
    // does not fit it.
    bool WriteBlock(unsigned id, uint32_t offset, std::span<const uint8_t> data);

    void AddRandomEvents(size_t count);
    void ClearLog() { log_.Clear(); }

    std::vector<uint8_t> InputStatus() const;
    // selector 0: every host and console; n = 1 to 20: host n and console n.
    std::vector<uint8_t> HostStatus(unsigned selector) const;
    std::vector<uint8_t> RelayStatus(unsigned host_number) const;

    std::string Describe() const;

  private:
    void Configure(const SimOptions& options);
    void PreloadLog(size_t count);
    EventData RandomEvent(uint8_t kind);
    void Record(uint8_t kind, const EventData& data);
    void RecordHost(uint8_t kind, unsigned host);
    bool DcFitted(unsigned host) const;
    bool SpareFitted(unsigned host) const;
    // Recomputes the summary bits, the fault and emergency flags.
    void Refresh();
    std::vector<uint32_t> Faults() const;
    bool EmergencyActive() const;

    ParamImage image_;
    LiveStatus live_;
    EventLog log_;
    SimClock clock_;
    std::mt19937 rng_;
    bool manual_emergency_ = false;
    std::vector<uint32_t> faults_;  // sorted
};

}  // namespace qavo::sim
