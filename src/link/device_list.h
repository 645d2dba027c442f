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
class DeviceList {
  public:
    void Append(std::string entry);
    void Clear();
    std::vector<std::string> Entries() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
};

}  // namespace qavo
