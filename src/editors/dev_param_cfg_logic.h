#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editors/paging_adr_cfg_logic.h"
#include "editors/zone_sel_logic.h"
#include "model/param_image.h"
#include "platform/code_page.h"
#include "platform/prompter.h"

namespace qavo {

class SystemModel;

inline constexpr const char* kEquipmentCaption = "Equipment parameter";
inline constexpr const char* kGiveUpQuestion =
    "Are you sure you give up the current configuration?";
inline constexpr int kKeyNameEditLimit = 13;  // characters the button-name edit accepts
inline constexpr const char* kKeyNameTooLongText = "Enter no more than 13 characters.";

// A drop-down list of the dialog: its entries, the entry shown (-1: none)
// and whether the operator may open it.
struct ListState {
    std::vector<std::string> entries;
    int selected = -1;
    bool enabled = true;
    friend bool operator==(const ListState&, const ListState&) = default;
};

// Everything the equipment dialog shows, as it must show it now.
struct DevParamView {
    // GLOBAL
    ListState host_number;
    ListState group_number;
    ListState bgm_play_mode;
    ListState mic_push;
    ListState mic_release;
    // LINE AUDIO AND PARTITION ENABLE CONFIGURATION
    bool host_cursor_visible = false;  // the host label with "^" and "v"
    std::string host_label;
    std::array<bool, kZonesPerHost> work_checked{};
    std::array<bool, kZonesPerHost> detect_checked{};
    std::array<bool, kZonesPerHost> detect_enabled{};
    bool all_checked = false;
    // PAGING
    ListState quantity;
    bool address_enabled = false;  // "Address assignment ..."
    ListState console_push;
    ListState console_release;
    ListState work_mode;
    ListState bgm_type;
    ListState message_index;
    bool name_visible = false;  // "Button name:" and its edit: touch consoles only
    std::string name_text;      // UTF-8
    // Grows each time the edit is to be given name_text again (a refresh of
    // the key's page, a name stored); other actions leave a typed name alone.
    unsigned name_version = 0;
    std::vector<std::string> zone_summary;
    bool paging_enabled = false;  // the zone summary, "...", the key and console cursors
    std::string key_label;
    std::string console_label;
};

// The decisions of the "Equipment Parameter" dialog: the working copy of
// blocks 0 and 1, the cursor (host, console, key) and the view state. The
// dialog shows View() after every action and forwards the operator's
// choices; the image is read when the dialog opens and written only by
// WriteBack ("Application", "OK") and by the address dialog's hand-over.
class DevParamLogic {
  public:
    // Takes the working copy under the model's lock. A live message count
    // above 32 is lowered to 32 there, as the message list offers no more.
    DevParamLogic(SystemModel& model, CodePage code_page);

    DevParamView View() const;

    // GLOBAL
    void ChooseHostNumber(int index);
    void ChooseGroupNumber(int index);
    void ChooseBgmPlayMode(int index);
    void ChooseMicPush(int index);
    void ChooseMicRelease(int index);

    // LINE AUDIO AND PARTITION ENABLE CONFIGURATION
    void ClickWork(unsigned zone, bool checked);
    void ClickDetect(unsigned zone, bool checked);
    void ClickAll();
    void HostUp();
    void HostDown();

    // PAGING. The moves of the key cursor store the button name typed in
    // the edit first; a name the code page cannot hold is refused with the
    // box returned, and the cursor stays.
    void ChooseQuantity(int index);
    void ChooseWorkMode(int index);
    void ChooseBgmType(int index);
    void ChooseMessage(int index);
    void ChooseConsolePush(int index);
    void ChooseConsoleRelease(int index);
    [[nodiscard]] std::optional<BoxRequest> KeyUp(const std::string& name_text);
    [[nodiscard]] std::optional<BoxRequest> KeyDown(const std::string& name_text);
    void ConsolePrevious();
    void ConsoleNext();

    // "...": what the zone selection opens with, and its masks on "OK".
    ZoneSelInput ZoneRequest() const;
    void SetKeyZones(const std::array<uint8_t, kMaxHosts>& zones);

    // "Address assignment ...": the console types of the working copy, and
    // the hand-over on "OK": the types into the copy, the addresses into
    // the image at once.
    unsigned paging_count() const { return paging_count_; }
    std::array<uint8_t, kMaxPagingConsoles> paging_types() const;
    // What the address dialog opens with: the copy's count and types, the
    // image's addresses, and the image's types and addresses that its
    // "Cancel" compares with (read under the model's lock).
    PagingAdrInput AddressRequest(const SystemModel& model) const;
    void AcceptAddresses(SystemModel& model, const std::array<uint8_t, kMaxPagingConsoles>& types,
                         const std::array<uint8_t, kMaxPagingConsoles>& addresses);

    // "Application" and "OK": the typed button name, then the working copy
    // into the image under the model's lock. Nothing is written when the
    // name is refused (the box to show is returned).
    [[nodiscard]] std::optional<BoxRequest> WriteBack(SystemModel& model,
                                                      const std::string& name_text);
    // "Cancel": the question to ask before the copy is given up, or none
    // when it equals the image. A button name typed and not yet stored
    // counts as a change.
    std::optional<BoxRequest> CancelQuestion(const SystemModel& model,
                                             const std::string& name_text) const;

    unsigned current_host() const { return current_host_; }
    unsigned current_console() const { return current_console_; }
    unsigned current_key() const { return current_key_; }
    // The working copy of a field (block 0 or 1), as the image would hold it.
    uint32_t Get(const Field& field, uint32_t i = 0, uint32_t j = 0, uint32_t k = 0) const;

  private:
    std::span<uint8_t> Bytes(const Field& field);
    std::span<const uint8_t> Bytes(const Field& field) const;
    void Set(const Field& field, uint32_t value, uint32_t i = 0, uint32_t j = 0, uint32_t k = 0);
    unsigned hosts() const;     // host_count as far as the arrays reach, at least 1
    unsigned consoles() const;  // paging_count as far as the arrays reach
    unsigned keys() const;      // keys of the console shown: 4 on a fire console, else 60
    bool console_is_touch() const;
    bool key_plays_bgm() const;
    void ReduceKeyZones();  // the key shown loses the zones of host h that are not enabled
    void MoveHost(int step);
    void MoveConsole(int step);
    std::optional<BoxRequest> MoveKey(const std::string& name_text, int step);
    std::optional<BoxRequest> StoreName(const std::string& name_text);
    // The corrections made when the key's page is shown, and the name read.
    void RefreshPaging();
    std::string StoredNameText(unsigned key) const;
    std::vector<std::string> ZoneSummary() const;
    // Blocks 0 and 1 of the working copy: paging_count and bgm_play_mode
    // are held apart (one byte, the bit alone), paging_address is unused.
    ParamImage copy_;
    uint8_t paging_count_ = 0;
    uint8_t bgm_play_mode_ = 0;
    unsigned prompt_voices_ = 0;  // N
    unsigned messages_ = 0;       // M, at most 32
    CodePage code_page_;

    unsigned current_host_ = 0;
    unsigned current_console_ = 0;
    unsigned current_key_ = 0;
    std::string console_label_;
    std::string name_shown_;  // what the button-name edit was given at the last refresh
    unsigned name_version_ = 0;
};

}  // namespace qavo
