#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace qavo {

// "a.b.c.d - VerM.m", the text of a device entry of the firmware dialog.
std::string FormatDeviceEntry(uint32_t address, unsigned major, unsigned minor);

// The devices that announced themselves, in order of arrival. Appended by
// the receive thread, read and emptied by the firmware dialog.
//
// The list keeps at most kMaxEntries: a network that announces more (a
// flood, a loop) cannot grow it without bound. When it is full, later
// announcements are not kept, so the devices the operator already sees stay
// put; "< Refresh" empties it and discovery starts afresh.
class DeviceList {
  public:
    static constexpr size_t kMaxEntries = 256;

    // False when the list is full and `entry` was not kept.
    bool Append(std::string entry);
    void Clear();
    std::vector<std::string> Entries() const;
    // Announcements not kept since the last Clear.
    size_t dropped() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
    size_t dropped_ = 0;
};

}  // namespace qavo
