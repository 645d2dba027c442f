// Feeds arbitrary datagrams to the message dispatcher over a fresh model.
//
// Input: one byte of host count, four bytes of paging console count (so the
// fuzzer reaches counts out of range too), then datagrams, each preceded by
// its length in two bytes (little-endian).
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/frame.h"
#include "link/message_dispatcher.h"

namespace {

class CountingBus final : public qavo::UiBus {
  public:
    void Post(qavo::UiTarget, qavo::WindowMessage, intptr_t) override { ++count; }
    void Send(qavo::UiTarget, qavo::WindowMessage, intptr_t) override { ++count; }
    size_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qavo;
    if (size < 5) return 0;
    SystemModel model;
    model.image.Set(fields::host_count, data[0]);
    model.image.Set(fields::paging_count,
                    ReadLe16(data + 1) | (uint32_t{ReadLe16(data + 3)} << 16));
    ProgressState progress;
    DeviceList devices;
    CountingBus bus;
    AutoResetEvent ack;
    MessageDispatcher dispatcher(model, progress, devices, bus, ack);

    std::span<const uint8_t> rest(data + 5, size - 5);
    while (rest.size() >= 2) {
        size_t length = ReadLe16(rest.data());
        rest = rest.subspan(2);
        if (length > rest.size()) length = rest.size();
        if (length > kMaxDatagram) length = kMaxDatagram;
        dispatcher.Dispatch(rest.first(length));
        rest = rest.subspan(length);
    }
    // Whatever arrived, the model keeps its shape.
    if (model.live.host_log.size() != kHostLogSize) __builtin_trap();
    for (unsigned id = 0; id < kBlockCount; ++id) {
        if (model.image.Block(id).size() != kBlockSize[id]) __builtin_trap();
    }
    return 0;
}
