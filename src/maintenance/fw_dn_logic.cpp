#include "maintenance/fw_dn_logic.h"

#include <algorithm>

#include "link/firmware_transfer.h"
#include "link/frame.h"

namespace qavo {

namespace {

BoxRequest Refusal(const char* text, const char* caption, BoxIcon icon) {
    return BoxRequest{text, caption, BoxButtons::kOk, icon, false};
}

}  // namespace

bool DeviceEntryLess(const std::string& a, const std::string& b) {
    return a < b;
}

FileRequest FwDnLogic::BinaryFileRequest() {
    FileRequest request;
    request.mode = FileRequest::Mode::kOpen;
    request.filter = "Binary file(*.bin)|*.bin";
    request.hide_read_only = true;
    return request;
}

void FwDnLogic::Open(bool link_up) {
    equipment_.clear();
    update_.clear();
    equipment_selection_.reset();
    update_selection_.reset();
    seen_ = 0;
    DevicesAnnounced();
    default_visible_ = !link_up;
}

void FwDnLogic::FileChosen(const std::optional<std::string>& path) {
    if (path && !path->empty()) path_ = *path;
}

void FwDnLogic::Select(List list, std::optional<size_t> row) {
    if (row && *row >= Entries(list).size()) row.reset();
    Selection(list) = row;
}

void FwDnLogic::DoubleClick(List list, size_t row) {
    if (row >= Entries(list).size()) return;
    Selection(list) = row;
    Move(list);
}

void FwDnLogic::Move(List from) {
    std::vector<std::string>& source = Entries(from);
    if (source.empty()) return;
    std::optional<size_t>& selected = Selection(from);
    if (!selected || *selected >= source.size()) selected = 0;
    std::string entry = std::move(source[*selected]);
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(*selected));
    selected = source.empty() ? std::nullopt : std::optional<size_t>(0);
    Insert(from == List::kEquipment ? List::kUpdate : List::kEquipment, std::move(entry));
}

void FwDnLogic::Insert(List list, std::string entry) {
    std::vector<std::string>& entries = Entries(list);
    const auto at = std::upper_bound(entries.begin(), entries.end(), entry, DeviceEntryLess);
    const auto index = static_cast<size_t>(at - entries.begin());
    entries.insert(at, std::move(entry));
    std::optional<size_t>& selected = Selection(list);
    if (selected && *selected >= index) ++*selected;
}

Job FwDnLogic::Refresh() {
    devices_.Clear();
    equipment_.clear();
    equipment_selection_.reset();
    seen_ = 0;
    Job job;
    job.job_kind = JobKind::kSingle;
    job.job_op = DISCOVER;
    return job;
}

void FwDnLogic::DevicesAnnounced() {
    const std::vector<std::string> entries = devices_.Entries();
    if (entries.size() < seen_) {
        // Emptied behind this dialog's back: start again from what it holds.
        equipment_.clear();
        equipment_selection_.reset();
        seen_ = 0;
    }
    for (size_t i = seen_; i < entries.size(); ++i)
        Insert(List::kEquipment, entries[i]);
    seen_ = entries.size();
}

std::optional<BoxRequest> FwDnLogic::AddDefault(bool link_up) {
    if (link_up) {
        return Refusal("Use only when it is unable to establish a connection with the system host!",
                       "Error prompt", BoxIcon::kWarning);
    }
    if (!equipment_.empty()) {
        return Refusal("You have added a device address!", "Error prompt", BoxIcon::kWarning);
    }
    devices_.Append(FormatDeviceEntry(kDefaultDeviceAddress, 0, 0));
    DevicesAnnounced();
    return std::nullopt;
}

FwDnLogic::UpdateStep FwDnLogic::Update() {
    if (path_.empty()) {
        return {Refusal("Please choose a binary file.", kFirmwareCaption, BoxIcon::kError), {}};
    }
    if (update_.empty()) {
        return {Refusal("Please select the IP address of the update device.", kFirmwareCaption,
                        BoxIcon::kError),
                {}};
    }
    if (!update_selection_) update_selection_ = 0;
    Job job;
    job.job_kind = JobKind::kFirmware;
    job.firmware_devices = update_;
    job.firmware_path = path_;
    job_devices_ = update_;
    return {std::nullopt, std::move(job)};
}

void FwDnLogic::FirmwareDevice(size_t index) {
    if (index >= job_devices_.size()) return;
    // A device announced twice is in the list twice: the job's n-th copy of
    // an entry is the list's n-th.
    const std::string& entry = job_devices_[index];
    auto copy = std::count(job_devices_.begin(),
                           job_devices_.begin() + static_cast<std::ptrdiff_t>(index), entry);
    for (size_t i = 0; i < update_.size(); ++i) {
        if (update_[i] != entry) continue;
        if (copy-- == 0) {
            update_selection_ = i;
            return;
        }
    }
}

bool FwDnLogic::ExitEndsWait(int tries_left) const {
    return tries_left > 0 && discovery_ && !discovery_->job_done_event.IsSignalled();
}

}  // namespace qavo
