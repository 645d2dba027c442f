#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "link/command_job.h"
#include "link/device_list.h"
#include "platform/file_picker.h"
#include "platform/prompter.h"

namespace qavo {

// Whether device entry `a` comes before `b` in the lists of the firmware
// dialog: as text, as the devices' own list boxes sort them, so
// "192.168.1.10 - ..." comes before "192.168.1.9 - ..."; the devices are
// updated in that order.
bool DeviceEntryLess(const std::string& a, const std::string& b);

// The decisions of the firmware download dialog: the two lists and their
// selections, the chosen file, what each button does and which job it
// queues. The dialog forwards the operator's actions and shows what this
// answers.
//
// The discovered-device list (DeviceList) is the devices in order of
// arrival, appended by the receive thread and by "add default eqt ip",
// emptied by "< Refresh". Moving entries between the lists does not change
// it, so every opening shows all discovered devices in the equipment list
// again; the update list starts empty.
class FwDnLogic {
  public:
    enum class List { kEquipment, kUpdate };

    // 192.168.1.168, the address a device answers at before it is set up.
    static constexpr uint32_t kDefaultDeviceAddress = 0xC0A801A8;

    explicit FwDnLogic(DeviceList& devices) : devices_(devices) {}

    // The chooser "Binary file" opens.
    static FileRequest BinaryFileRequest();

    // Every opening: the equipment list shows the discovered devices, the
    // update list is empty, nothing is selected. "add default eqt ip" is
    // shown only while the host does not answer (`link_up` clear).
    void Open(bool link_up);
    // The operator's answer to the chooser (nullopt: cancelled).
    void FileChosen(const std::optional<std::string>& path);
    // A click in a list; nullopt when the click selected nothing.
    void Select(List list, std::optional<size_t> row);
    // ">": the selected entry (the first when none is) of the equipment
    // list goes to the update list; the first remaining entry is selected.
    void MoveToUpdate() { Move(List::kEquipment); }
    // "<": the same from the update list to the equipment list.
    void MoveToEquipment() { Move(List::kUpdate); }
    // A double click on `row`: selects it and moves it to the other list.
    void DoubleClick(List list, size_t row);
    // "< Refresh": the discovered devices and the equipment list are
    // emptied; returns the DISCOVER job to queue. Devices that answer
    // later (WM_DEVICE_ANNOUNCED) are all added.
    Job Refresh();
    // The job Refresh returned was queued with this ticket.
    void DiscoveryQueued(JobHandle ticket) { discovery_ = std::move(ticket); }
    // WM_DEVICE_ANNOUNCED: the devices that arrived since the last look at
    // the discovered-device list are added to the equipment list.
    void DevicesAnnounced();
    // "add default eqt ip": the box refusing it, or nothing when the
    // default device was added.
    std::optional<BoxRequest> AddDefault(bool link_up);

    // "Update firmware": either the box refusing it, or the firmware job
    // with the update list's entries and the file.
    struct UpdateStep {
        std::optional<BoxRequest> refusal;
        std::optional<Job> job;
    };
    UpdateStep Update();
    // WM_FIRMWARE_DEVICE: the job moved on to position `index` of the
    // entries it was given; that entry is selected while it is still in the
    // update list.
    void FirmwareDevice(size_t index);
    // "Exit" and closing: whether the acknowledgement wait in progress is
    // to be ended at once. Only the wait of this dialog's discovery is ended
    // early (its outcome is never shown); a firmware datagram is never
    // taken as acknowledged when it was not.
    bool ExitEndsWait(int tries_left) const;

    const std::vector<std::string>& equipment() const { return equipment_; }
    const std::vector<std::string>& update() const { return update_; }
    std::optional<size_t> selection(List list) const {
        return list == List::kEquipment ? equipment_selection_ : update_selection_;
    }
    const std::string& path() const { return path_; }
    bool default_visible() const { return default_visible_; }

  private:
    std::vector<std::string>& Entries(List list) {
        return list == List::kEquipment ? equipment_ : update_;
    }
    std::optional<size_t>& Selection(List list) {
        return list == List::kEquipment ? equipment_selection_ : update_selection_;
    }
    void Move(List from);
    // Adds `entry` at its sorted place; a selection stays on its entry.
    void Insert(List list, std::string entry);

    DeviceList& devices_;
    std::vector<std::string> equipment_;
    std::vector<std::string> update_;
    std::optional<size_t> equipment_selection_;
    std::optional<size_t> update_selection_;
    std::string path_;
    bool default_visible_ = false;
    // How many of the discovered devices the equipment list has taken.
    size_t seen_ = 0;
    // The entries the last firmware job was given, in its order.
    std::vector<std::string> job_devices_;
    JobHandle discovery_;
};

}  // namespace qavo
