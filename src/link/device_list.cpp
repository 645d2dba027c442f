#include "link/device_list.h"

#include <cstdio>

namespace qavo {

std::string FormatDeviceEntry(uint32_t address, unsigned major, unsigned minor) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u - Ver%u.%u", (address >> 24) & 0xFF,
                  (address >> 16) & 0xFF, (address >> 8) & 0xFF, address & 0xFF, major, minor);
    return text;
}

bool DeviceList::Append(std::string entry) {
    std::lock_guard lock(mutex_);
    if (entries_.size() >= kMaxEntries) {
        ++dropped_;
        return false;
    }
    entries_.push_back(std::move(entry));
    return true;
}

void DeviceList::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    dropped_ = 0;
}

size_t DeviceList::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

std::vector<std::string> DeviceList::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

}  // namespace qavo
