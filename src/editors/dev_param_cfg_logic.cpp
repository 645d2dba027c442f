#include "editors/dev_param_cfg_logic.h"

#include <algorithm>
#include <cstring>

#include "model/system_model.h"
#include "platform/text_format.h"

namespace qavo {
namespace {

constexpr unsigned kFireConsoleKeys = 4;
constexpr uint8_t kFireConsole = 1;
constexpr uint8_t kTouchConsole = 2;
constexpr unsigned kMaxMessages = 32;
constexpr unsigned kBgmTypes = 6;  // line inputs 1 to 6 after the built-in music

// The fields the dialog copies, writes back and compares one for one.
// paging_count and bgm_play_mode are handled apart.
constexpr std::array kPlainFields = {
    fields::host_count,         fields::group_count,   fields::mic_prompt_push,
    fields::mic_prompt_release, fields::paging_prompt, fields::zone_work_enable,
    fields::zone_detect_enable, fields::paging_type,   fields::key_zones,
    fields::key_bgm_type,       fields::key_message,   fields::key_mode_bits,
    fields::key_name,
};

std::vector<std::string> Numbers(unsigned from, unsigned to) {
    std::vector<std::string> entries;
    for (unsigned n = from; n <= to; ++n)
        entries.push_back(std::to_string(n));
    return entries;
}

int Position(uint32_t value, unsigned first, unsigned last) {
    return value >= first && value <= last ? static_cast<int>(value - first) : -1;
}

}  // namespace

DevParamLogic::DevParamLogic(SystemModel& model, CodePage code_page)
    : code_page_(std::move(code_page)) {
    {
        auto lock = model.Lock();
        copy_ = model.image;
        if (model.live.message_count > kMaxMessages) model.live.message_count = kMaxMessages;
        prompt_voices_ = model.live.prompt_voice_count;
        messages_ = model.live.message_count;
    }
    paging_count_ = static_cast<uint8_t>(copy_.Get(fields::paging_count));
    bgm_play_mode_ = copy_.Get(fields::bgm_play_mode) & 1;
    RefreshPaging();
    if (paging_count_ == 0) console_label_ = Format("Paging %.2d", current_console_ + 1);
}

std::span<uint8_t> DevParamLogic::Bytes(const Field& field) {
    return copy_.Block(field.block).subspan(field.offset, field.size());
}

std::span<const uint8_t> DevParamLogic::Bytes(const Field& field) const {
    return copy_.Block(field.block).subspan(field.offset, field.size());
}

uint32_t DevParamLogic::Get(const Field& field, uint32_t i, uint32_t j, uint32_t k) const {
    if (field.name == fields::paging_count.name) return paging_count_;
    if (field.name == fields::bgm_play_mode.name) return bgm_play_mode_;
    return copy_.Get(field, i, j, k);
}

void DevParamLogic::Set(const Field& field, uint32_t value, uint32_t i, uint32_t j, uint32_t k) {
    copy_.Set(field, value, i, j, k);
}

unsigned DevParamLogic::hosts() const {
    return std::clamp<uint32_t>(copy_.Get(fields::host_count), 1, kMaxHosts);
}

unsigned DevParamLogic::consoles() const {
    return std::min<unsigned>(paging_count_, kMaxPagingConsoles);
}

unsigned DevParamLogic::keys() const {
    return copy_.Get(fields::paging_type, current_console_) == kFireConsole ? kFireConsoleKeys
                                                                            : kKeysPerConsole;
}

bool DevParamLogic::console_is_touch() const {
    return copy_.Get(fields::paging_type, current_console_) == kTouchConsole;
}

bool DevParamLogic::key_plays_bgm() const {
    const uint32_t bits = copy_.Get(fields::key_mode_bits, current_console_, current_key_ / 8);
    return (bits >> (current_key_ % 8)) & 1;
}

DevParamView DevParamLogic::View() const {
    DevParamView v;
    const unsigned h = current_host_;
    const unsigned k = current_console_;
    const unsigned key = current_key_;

    v.host_number = {Numbers(1, kMaxHosts), Position(copy_.Get(fields::host_count), 1, kMaxHosts)};
    v.group_number = {Numbers(0, kMaxGroups),
                      Position(copy_.Get(fields::group_count), 0, kMaxGroups)};
    v.bgm_play_mode = {{"All repeat", "One repeat"}, bgm_play_mode_};
    const bool voices = prompt_voices_ != 0;
    v.mic_push = {Numbers(0, prompt_voices_),
                  Position(copy_.Get(fields::mic_prompt_push), 0, prompt_voices_), voices};
    v.mic_release = {Numbers(0, prompt_voices_),
                     Position(copy_.Get(fields::mic_prompt_release), 0, prompt_voices_), voices};

    v.host_cursor_visible = copy_.Get(fields::host_count) != 1;
    v.host_label = Format("Host %.2d", h + 1);
    const uint8_t work = static_cast<uint8_t>(copy_.Get(fields::zone_work_enable, h));
    const uint8_t detect = static_cast<uint8_t>(copy_.Get(fields::zone_detect_enable, h));
    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        v.work_checked[z] = (work >> z) & 1;
        v.detect_enabled[z] = v.work_checked[z];
        v.detect_checked[z] = v.work_checked[z] && ((detect >> z) & 1);
    }
    v.all_checked = work == 0xFF;

    const bool in_use = paging_count_ != 0;
    v.quantity = {Numbers(0, kMaxPagingConsoles), Position(paging_count_, 0, kMaxPagingConsoles)};
    v.address_enabled = in_use;
    const auto prompt = [&](unsigned i) {
        const uint32_t value = copy_.Get(fields::paging_prompt, k, i);
        return ListState{Numbers(0, prompt_voices_),
                         static_cast<int>(std::min<uint32_t>(value, prompt_voices_)),
                         in_use && voices};
    };
    v.console_push = prompt(0);
    v.console_release = prompt(1);
    const bool bgm = key_plays_bgm();
    v.work_mode = {{"Paging mode", "BGM play"}, bgm ? 1 : 0, in_use};
    std::vector<std::string> types{"Built-in music"};
    for (unsigned line = 1; line <= kBgmTypes; ++line)
        types.push_back(Format("Line %u", line));
    const uint32_t bgm_type = copy_.Get(fields::key_bgm_type, k, key);
    v.bgm_type = {types, Position(bgm_type, 0, kBgmTypes), in_use && bgm};
    const uint32_t message = copy_.Get(fields::key_message, k, key);
    v.message_index = {Numbers(1, messages_), Position(message, 1, messages_),
                       in_use && bgm && bgm_type == 0};
    v.name_visible = console_is_touch();
    v.name_text = name_shown_;
    v.name_version = name_version_;
    v.zone_summary = ZoneSummary();
    v.paging_enabled = in_use;
    v.key_label = Format("Key %u", key + 1);
    v.console_label = console_label_;
    return v;
}

std::vector<std::string> DevParamLogic::ZoneSummary() const {
    const unsigned k = current_console_;
    const unsigned key = current_key_;
    std::vector<std::string> lines;
    lines.push_back(Format("Paging - %.2d ", k + 1) + Format("key - %.2d:", key + 1));
    constexpr unsigned kHostsPerLine = 6;
    std::string line = " ";
    const unsigned count = hosts();
    for (unsigned i = 0; i < count; ++i) {
        line += Format("  host %.2d: ", i + 1);
        const uint32_t mask = copy_.Get(fields::key_zones, k, key, i);
        if (mask == 0) {
            line += " none";
        } else {
            bool first = true;
            for (unsigned z = 0; z < kZonesPerHost; ++z) {
                if (!((mask >> z) & 1)) continue;
                if (!first) line += ",";
                line += std::to_string(z + 1);
                first = false;
            }
        }
        line += ";  ";
        if ((i + 1) % kHostsPerLine == 0) {
            lines.push_back(line);
            line = " ";
        }
    }
    if (count % kHostsPerLine != 0) lines.push_back(line);
    return lines;
}

void DevParamLogic::ChooseHostNumber(int index) {
    if (index < 0 || index >= static_cast<int>(kMaxHosts)) return;
    const auto count = static_cast<unsigned>(index) + 1;
    const bool changed = count != copy_.Get(fields::host_count);
    Set(fields::host_count, count);
    // current_host stays where it is otherwise; the next "^" or "v" brings
    // it back into range.
    if (changed && count == 1) current_host_ = 0;
}

void DevParamLogic::ChooseGroupNumber(int index) {
    if (index >= 0 && index <= static_cast<int>(kMaxGroups)) Set(fields::group_count, index);
}

void DevParamLogic::ChooseBgmPlayMode(int index) {
    if (index == 0 || index == 1) bgm_play_mode_ = static_cast<uint8_t>(index);
}

void DevParamLogic::ChooseMicPush(int index) {
    if (index >= 0 && index <= static_cast<int>(prompt_voices_))
        Set(fields::mic_prompt_push, index);
}

void DevParamLogic::ChooseMicRelease(int index) {
    if (index >= 0 && index <= static_cast<int>(prompt_voices_))
        Set(fields::mic_prompt_release, index);
}

void DevParamLogic::ReduceKeyZones() {
    const unsigned h = current_host_;
    const uint32_t work = copy_.Get(fields::zone_work_enable, h);
    const uint32_t zones = copy_.Get(fields::key_zones, current_console_, current_key_, h);
    Set(fields::key_zones, zones & work, current_console_, current_key_, h);
}

void DevParamLogic::ClickWork(unsigned zone, bool checked) {
    if (zone >= kZonesPerHost) return;
    uint32_t work = copy_.Get(fields::zone_work_enable, current_host_);
    work = checked ? (work | (1u << zone)) : (work & ~(1u << zone));
    // The detection bits stay stored until a detection box of this host is
    // clicked; the boxes show them only where the zone works.
    Set(fields::zone_work_enable, work, current_host_);
    ReduceKeyZones();
}

void DevParamLogic::ClickDetect(unsigned zone, bool checked) {
    if (zone >= kZonesPerHost) return;
    const DevParamView shown = View();
    uint32_t detect = 0;
    for (unsigned z = 0; z < kZonesPerHost; ++z) {
        const bool box = z == zone ? checked : shown.detect_checked[z];
        if (shown.work_checked[z] && box) detect |= 1u << z;
    }
    Set(fields::zone_detect_enable, detect, current_host_);
}

void DevParamLogic::ClickAll() {
    const uint32_t work = copy_.Get(fields::zone_work_enable, current_host_);
    Set(fields::zone_work_enable, work == 0xFF ? 0 : 0xFF, current_host_);
}

void DevParamLogic::MoveHost(int step) {
    const unsigned count = hosts();
    if (copy_.Get(fields::host_count) == 1) return;
    ReduceKeyZones();
    const unsigned h = current_host_;
    if (step > 0) {
        current_host_ = h + 1 >= count ? 0 : h + 1;
    } else {
        current_host_ = h == 0 || h >= count ? count - 1 : h - 1;
    }
}

void DevParamLogic::HostUp() {
    MoveHost(-1);
}

void DevParamLogic::HostDown() {
    MoveHost(+1);
}

void DevParamLogic::ChooseQuantity(int index) {
    if (index < 0 || index > static_cast<int>(kMaxPagingConsoles)) return;
    const bool changed = index != paging_count_;
    paging_count_ = static_cast<uint8_t>(index);
    if (changed) console_label_ = Format("Paging %.2d", current_console_ + 1);
}

void DevParamLogic::ChooseWorkMode(int index) {
    if (index != 0 && index != 1) return;
    const unsigned byte = current_key_ / 8;
    const unsigned bit = current_key_ % 8;
    uint32_t bits = copy_.Get(fields::key_mode_bits, current_console_, byte);
    bits = index == 1 ? (bits | (1u << bit)) : (bits & ~(1u << bit));
    Set(fields::key_mode_bits, bits, current_console_, byte);
    RefreshPaging();
}

void DevParamLogic::ChooseBgmType(int index) {
    if (index >= 0 && index <= static_cast<int>(kBgmTypes))
        Set(fields::key_bgm_type, index, current_console_, current_key_);
}

void DevParamLogic::ChooseMessage(int index) {
    if (index >= 0 && index < static_cast<int>(messages_))
        Set(fields::key_message, index + 1, current_console_, current_key_);
}

void DevParamLogic::ChooseConsolePush(int index) {
    if (index >= 0 && index <= static_cast<int>(prompt_voices_))
        Set(fields::paging_prompt, index, current_console_, 0);
}

void DevParamLogic::ChooseConsoleRelease(int index) {
    if (index >= 0 && index <= static_cast<int>(prompt_voices_))
        Set(fields::paging_prompt, index, current_console_, 1);
}

std::string DevParamLogic::StoredNameText(unsigned key) const {
    const std::span<const uint8_t> name =
        copy_.Block(kPagingBlock).subspan(fields::key_name.At(key), kNameSize);
    if (std::find(name.begin(), name.end(), 0) == name.end()) return Format("Button %.2u", key + 1);
    return code_page_.DecodeName(name);
}

void DevParamLogic::RefreshPaging() {
    const unsigned k = current_console_;
    const unsigned key = current_key_;
    console_label_ = Format("Paging %u", k + 1);
    if (copy_.Get(fields::key_bgm_type, k, key) > kBgmTypes)
        Set(fields::key_bgm_type, kBgmTypes, k, key);
    uint32_t message = copy_.Get(fields::key_message, k, key);
    if (message == 0) message = 1;
    if (message > messages_) message = messages_;
    Set(fields::key_message, message, k, key);
    // The edit is given the stored name again: a name typed and not stored
    // by a key move is replaced.
    name_shown_ = StoredNameText(key);
    ++name_version_;
    if (paging_count_ == 0) console_label_ = Format("Paging %.2d", k + 1);
}

std::optional<BoxRequest> DevParamLogic::StoreName(const std::string& name_text) {
    // A name the operator did not touch keeps its bytes, those after its
    // terminator included.
    if (name_text == name_shown_) return std::nullopt;
    const std::optional<std::string> encoded = code_page_.Encode(name_text);
    if (!encoded) {
        BoxRequest refusal;
        refusal.text = "The button name \"" + name_text + "\" has the character \"" +
                       code_page_.FirstUnencodable(name_text) +
                       "\", which the code page of the console (" + code_page_.id() +
                       ") cannot hold. Choose another name, or another code page in the View menu.";
        refusal.icon = BoxIcon::kError;
        return refusal;
    }
    const std::string stored = code_page_.Truncate(*encoded, kNameSize - 1);
    std::span<uint8_t> slot =
        copy_.Block(kPagingBlock).subspan(fields::key_name.At(current_key_), kNameSize);
    std::fill(slot.begin(), slot.end(), 0);
    std::memcpy(slot.data(), stored.data(), stored.size());
    name_shown_ = StoredNameText(current_key_);
    ++name_version_;
    return std::nullopt;
}

std::optional<BoxRequest> DevParamLogic::MoveKey(const std::string& name_text, int step) {
    if (auto refusal = StoreName(name_text)) return refusal;
    const unsigned count = keys();
    const unsigned key = current_key_;
    if (step > 0) {
        current_key_ = key + 1 >= count ? 0 : key + 1;
    } else {
        current_key_ = key == 0 || key >= count ? count - 1 : key - 1;
    }
    RefreshPaging();
    return std::nullopt;
}

std::optional<BoxRequest> DevParamLogic::KeyUp(const std::string& name_text) {
    return MoveKey(name_text, -1);
}

std::optional<BoxRequest> DevParamLogic::KeyDown(const std::string& name_text) {
    return MoveKey(name_text, +1);
}

void DevParamLogic::MoveConsole(int step) {
    const unsigned count = consoles();
    if (count == 0) return;
    const unsigned k = current_console_;
    if (step > 0) {
        current_console_ = k + 1 >= count ? 0 : k + 1;
    } else {
        current_console_ = k == 0 || k >= count ? count - 1 : k - 1;
    }
    // A fire console has four keys: a key cursor beyond them moves back
    // into range with the next key move.
    RefreshPaging();
}

void DevParamLogic::ConsolePrevious() {
    MoveConsole(-1);
}

void DevParamLogic::ConsoleNext() {
    MoveConsole(+1);
}

ZoneSelInput DevParamLogic::ZoneRequest() const {
    ZoneSelInput request;
    request.caption = Format("Paging %.2d - Key %.2d Partition selection", current_console_ + 1,
                             current_key_ + 1);
    request.host_count = hosts();
    request.current_host = std::min(current_host_, request.host_count - 1);
    for (unsigned h = 0; h < kMaxHosts; ++h) {
        request.selected_zones[h] =
            static_cast<uint8_t>(copy_.Get(fields::key_zones, current_console_, current_key_, h));
        request.available_zones[h] = static_cast<uint8_t>(copy_.Get(fields::zone_work_enable, h));
    }
    return request;
}

void DevParamLogic::SetKeyZones(const std::array<uint8_t, kMaxHosts>& zones) {
    for (unsigned h = 0; h < kMaxHosts; ++h)
        Set(fields::key_zones, zones[h], current_console_, current_key_, h);
}

std::array<uint8_t, kMaxPagingConsoles> DevParamLogic::paging_types() const {
    std::array<uint8_t, kMaxPagingConsoles> types{};
    for (unsigned k = 0; k < kMaxPagingConsoles; ++k)
        types[k] = static_cast<uint8_t>(copy_.Get(fields::paging_type, k));
    return types;
}

PagingAdrInput DevParamLogic::AddressRequest(const SystemModel& model) const {
    PagingAdrInput input;
    input.count = paging_count_;
    input.types = paging_types();
    {
        auto lock = model.Lock();
        for (unsigned k = 0; k < kMaxPagingConsoles; ++k) {
            input.addresses[k] = static_cast<uint8_t>(model.image.Get(fields::paging_address, k));
            input.image_types[k] = static_cast<uint8_t>(model.image.Get(fields::paging_type, k));
        }
    }
    input.image_addresses = input.addresses;
    return input;
}

void DevParamLogic::AcceptAddresses(SystemModel& model,
                                    const std::array<uint8_t, kMaxPagingConsoles>& types,
                                    const std::array<uint8_t, kMaxPagingConsoles>& addresses) {
    for (unsigned k = 0; k < kMaxPagingConsoles; ++k)
        Set(fields::paging_type, types[k], k);
    // The addresses go into the image at once: they stay there even when
    // the equipment dialog is cancelled, and reach the host with the next
    // write of block 1.
    auto lock = model.Lock();
    for (unsigned k = 0; k < kMaxPagingConsoles; ++k)
        model.image.Set(fields::paging_address, addresses[k], k);
}

std::optional<BoxRequest> DevParamLogic::WriteBack(SystemModel& model,
                                                   const std::string& name_text) {
    if (auto refusal = StoreName(name_text)) return refusal;
    auto lock = model.Lock();
    for (const Field& field : kPlainFields) {
        const std::span<const uint8_t> from = Bytes(field);
        std::copy(from.begin(), from.end(),
                  model.image.Block(field.block).subspan(field.offset, field.size()).begin());
    }
    model.image.Set(fields::paging_count, paging_count_);
    model.image.Set(fields::bgm_play_mode, bgm_play_mode_);
    return std::nullopt;
}

std::optional<BoxRequest> DevParamLogic::CancelQuestion(const SystemModel& model,
                                                        const std::string& name_text) const {
    bool same = name_text == name_shown_;
    {
        auto lock = model.Lock();
        for (const Field& field : kPlainFields) {
            const std::span<const uint8_t> mine = Bytes(field);
            const std::span<const uint8_t> theirs =
                model.image.Block(field.block).subspan(field.offset, field.size());
            same = same && std::equal(mine.begin(), mine.end(), theirs.begin());
        }
        same = same && model.image.Get(fields::paging_count) == paging_count_ &&
               model.image.Get(fields::bgm_play_mode) == bgm_play_mode_;
    }
    if (same) return std::nullopt;
    BoxRequest question;
    question.text = kGiveUpQuestion;
    question.caption = kEquipmentCaption;
    question.buttons = BoxButtons::kOkCancel;
    question.icon = BoxIcon::kQuestion;
    return question;
}

}  // namespace qavo
