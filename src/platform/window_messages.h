#pragma once

#include <cstdint>

namespace qavo {

// Custom window messages, numbered from the user message base 0x400. The
// values are kept as the host console has always numbered them.
enum WindowMessage : uint32_t {
    WM_SAVE_NETWORK = 0x402,
    WM_PROGRESS_STEP = 0x403,
    WM_PROGRESS_CLOSE = 0x404,
    WM_SWITCH_VIEW = 0x405,
    WM_WRITE_EQUIPMENT = 0x406,
    WM_WRITE_FIRE_ALARM = 0x407,
    WM_WRITE_GROUPS = 0x408,
    WM_WRITE_AUDIO_PRIORITY = 0x409,
    WM_SET_RELAYS = 0x40a,
    WM_ACK_RESET = 0x40b,
    WM_STATUS_CHANGED = 0x40c,
    WM_HOST_DETAIL_CHANGED = 0x40d,
    WM_SOURCES_CHANGED = 0x40e,
    WM_FLAGS_CHANGED = 0x40f,
    WM_READ_ALL_BLOCKS = 0x410,
    WM_RECREATE_SOCKETS = 0x411,
    WM_HOST_LOG_RECEIVED = 0x412,
    WM_LINK_STATE = 0x413,
    WM_IMPEDANCE_LEVEL = 0x414,
    // A device answered a discovery: the firmware dialog refreshes its
    // equipment list from the discovered-device list.
    WM_DEVICE_ANNOUNCED = 0x415,
    // The fault bit of the system flags may have changed: the navigation
    // pane sets the icon of its STATE item.
    WM_STATE_ICON = 0x416,
    // A long exchange begins: the progress dialog shows itself unless the
    // exchange has already closed it (ProgressState::open).
    WM_PROGRESS_SHOW = 0x417,
    // A firmware job moves on to the device at position wParam of the update list.
    WM_FIRMWARE_DEVICE = 0x418,
};

inline constexpr uint32_t kFirstWindowMessage = WM_SAVE_NETWORK;
inline constexpr uint32_t kLastWindowMessage = WM_FIRMWARE_DEVICE;

}  // namespace qavo
