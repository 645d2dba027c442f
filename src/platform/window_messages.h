#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace qavo {

// Custom window messages, numbered from the user message base 0x400. The
// values are kept as the host console has always numbered them. A message
// exists only through this list: the enum, the table of all messages and
// the range the notification coalescer keeps a flag for all come from it,
// so a new message can never share another's flag.
#define QAVO_WINDOW_MESSAGES(X)                                               \
    X(WM_SAVE_NETWORK, 0x402)                                                 \
    X(WM_PROGRESS_STEP, 0x403)                                                \
    X(WM_PROGRESS_CLOSE, 0x404)                                               \
    X(WM_SWITCH_VIEW, 0x405)                                                  \
    X(WM_WRITE_EQUIPMENT, 0x406)                                              \
    X(WM_WRITE_FIRE_ALARM, 0x407)                                             \
    X(WM_WRITE_GROUPS, 0x408)                                                 \
    X(WM_WRITE_AUDIO_PRIORITY, 0x409)                                         \
    X(WM_SET_RELAYS, 0x40a)                                                   \
    X(WM_ACK_RESET, 0x40b)                                                    \
    X(WM_STATUS_CHANGED, 0x40c)                                               \
    X(WM_HOST_DETAIL_CHANGED, 0x40d)                                          \
    X(WM_SOURCES_CHANGED, 0x40e)                                              \
    X(WM_FLAGS_CHANGED, 0x40f)                                                \
    X(WM_READ_ALL_BLOCKS, 0x410)                                              \
    X(WM_RECREATE_SOCKETS, 0x411)                                             \
    X(WM_HOST_LOG_RECEIVED, 0x412)                                            \
    X(WM_LINK_STATE, 0x413)                                                   \
    X(WM_IMPEDANCE_LEVEL, 0x414)                                              \
    /* A device answered a discovery: the firmware dialog refreshes its */    \
    /* equipment list from the discovered-device list. */                     \
    X(WM_DEVICE_ANNOUNCED, 0x415)                                             \
    /* The fault bit of the system flags may have changed: the navigation */  \
    /* pane sets the icon of its STATE item. */                               \
    X(WM_STATE_ICON, 0x416)                                                   \
    /* A long exchange begins: the progress dialog shows itself unless the */ \
    /* exchange has already closed it (ProgressState::open). */               \
    X(WM_PROGRESS_SHOW, 0x417)                                                \
    /* A firmware job moves on to the device at position wParam of the */     \
    /* update list. */                                                        \
    X(WM_FIRMWARE_DEVICE, 0x418)

enum WindowMessage : uint32_t {
#define QAVO_MESSAGE_ENUM(name, value) name = value,
    QAVO_WINDOW_MESSAGES(QAVO_MESSAGE_ENUM)
#undef QAVO_MESSAGE_ENUM
};

inline constexpr std::array kAllWindowMessages = {
#define QAVO_MESSAGE_ENTRY(name, value) name,
    QAVO_WINDOW_MESSAGES(QAVO_MESSAGE_ENTRY)
#undef QAVO_MESSAGE_ENTRY
};

inline constexpr uint32_t kFirstWindowMessage =
    *std::min_element(kAllWindowMessages.begin(), kAllWindowMessages.end());
inline constexpr uint32_t kLastWindowMessage =
    *std::max_element(kAllWindowMessages.begin(), kAllWindowMessages.end());

namespace detail {
constexpr bool WindowMessagesAreDistinct() {
    for (size_t i = 0; i < kAllWindowMessages.size(); ++i) {
        for (size_t j = i + 1; j < kAllWindowMessages.size(); ++j) {
            if (kAllWindowMessages[i] == kAllWindowMessages[j]) return false;
        }
    }
    return true;
}
}  // namespace detail

static_assert(detail::WindowMessagesAreDistinct(), "two window messages share a value");
static_assert(kLastWindowMessage - kFirstWindowMessage + 1 == kAllWindowMessages.size(),
              "window messages must be numbered without gaps");

}  // namespace qavo
