// The firmware download dialog's decisions: the two lists, their order and
// selections, what each button refuses or queues.
#include "maintenance/fw_dn_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/frame.h"

namespace qavo {
namespace {

using List = FwDnLogic::List;
using Strings = std::vector<std::string>;
using Sel = std::optional<size_t>;

// In the lists' text order.
const std::string kA = "192.168.1.10 - Ver1.0";
const std::string kB = "192.168.1.100 - Ver2.1";
const std::string kC = "192.168.1.9 - Ver1.0";
const std::string kD = "10.0.0.200 - Ver1.3";

void Announce(DeviceList& devices, const Strings& entries) {
    for (const auto& e : entries)
        devices.Append(e);
}

TEST(DeviceEntryOrder, AsText) {
    struct Case {
        std::string a, b;
        bool a_first;
    };
    const Case cases[] = {
        {"192.168.1.10 - Ver1.0", "192.168.1.9 - Ver1.0", true},
        {"192.168.1.9 - Ver1.0", "192.168.1.10 - Ver1.0", false},
        {"192.168.1.10 - Ver1.0", "192.168.1.100 - Ver1.0", true},
        {"192.168.1.9 - Ver1.0", "192.168.1.9 - Ver1.1", true},
        {"192.168.1.9 - Ver1.0", "192.168.1.9 - Ver1.0", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceEntryLess(c.a, c.b), c.a_first) << c.a << " / " << c.b;
    }
}

TEST(FwDnLogic, EquipmentListIsSortedWhateverTheOrderOfArrival) {
    DeviceList devices;
    Announce(devices, {kC, kB, kD, kA});
    FwDnLogic logic(devices);
    logic.Open(true);
    EXPECT_EQ(logic.equipment(), (Strings{kD, kA, kB, kC}));
    EXPECT_TRUE(logic.update().empty());
    EXPECT_EQ(logic.selection(List::kEquipment), std::nullopt);
}

// One step of the operator in the two lists.
struct Step {
    enum Kind { kSelectEq, kSelectUp, kRight, kLeft, kDoubleEq, kDoubleUp } kind;
    size_t row = 0;
};

TEST(FwDnLogic, MovesBetweenTheListsAndTheirSelections) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Strings equipment;
        Strings update;
        Sel equipment_sel;
        Sel update_sel;
    };
    using S = Step;
    const Case cases[] = {
        {"> with nothing selected moves the first", {{S::kRight}}, {kA, kB, kC}, {kD}, 0, {}},
        {"> moves the selected, the first remaining is selected",
         {{S::kSelectEq, 2}, {S::kRight}},
         {kD, kA, kC},
         {kB},
         0,
         {}},
        {"> on an emptied list does nothing",
         {{S::kRight}, {S::kRight}, {S::kRight}, {S::kRight}, {S::kRight}},
         {},
         {kD, kA, kB, kC},
         {},
         {}},
        {"the update list stays sorted",
         {{S::kSelectEq, 3}, {S::kRight}, {S::kSelectEq, 1}, {S::kRight}},
         {kD, kB},
         {kA, kC},
         0,
         {}},
        {"< with nothing selected moves the first back",
         {{S::kSelectEq, 1}, {S::kRight}, {S::kRight}, {S::kLeft}},
         {kD, kB, kC},
         {kA},
         1,  // still kB, now behind kD
         0},
        {"< moves the selected back to its sorted place",
         {{S::kSelectEq, 3}, {S::kRight}, {S::kRight}, {S::kSelectUp, 1}, {S::kLeft}},
         {kA, kB, kC},
         {kD},
         0,
         0},
        {"< on an empty update list does nothing", {{S::kLeft}}, {kD, kA, kB, kC}, {}, {}, {}},
        {"a selection outside the list counts as none",
         {{S::kSelectEq, 9}, {S::kRight}},
         {kA, kB, kC},
         {kD},
         0,
         {}},
        {"an insert before the selection keeps it on its entry",
         {{S::kSelectEq, 1},
          {S::kRight},
          {S::kSelectEq, 2},
          {S::kRight},
          {S::kSelectUp, 1},
          {S::kSelectEq, 1},
          {S::kRight}},
         {kD},
         {kA, kB, kC},
         0,
         2},
        {"a double click moves the entry clicked", {{S::kDoubleEq, 2}}, {kD, kA, kC}, {kB}, 0, {}},
        {"a double click in the update list moves it back",
         {{S::kDoubleEq, 2}, {S::kDoubleEq, 0}, {S::kDoubleUp, 1}},
         {kA, kB, kC},
         {kD},
         0,
         0},
        {"a double click beside the entries does nothing",
         {{S::kDoubleEq, 7}},
         {kD, kA, kB, kC},
         {},
         {},
         {}},
    };
    for (const Case& c : cases) {
        DeviceList devices;
        Announce(devices, {kA, kB, kC, kD});
        FwDnLogic logic(devices);
        logic.Open(true);
        for (const Step& s : c.steps) {
            switch (s.kind) {
                case Step::kSelectEq:
                    logic.Select(List::kEquipment, s.row);
                    break;
                case Step::kSelectUp:
                    logic.Select(List::kUpdate, s.row);
                    break;
                case Step::kRight:
                    logic.MoveToUpdate();
                    break;
                case Step::kLeft:
                    logic.MoveToEquipment();
                    break;
                case Step::kDoubleEq:
                    logic.DoubleClick(List::kEquipment, s.row);
                    break;
                case Step::kDoubleUp:
                    logic.DoubleClick(List::kUpdate, s.row);
                    break;
            }
        }
        EXPECT_EQ(logic.equipment(), c.equipment) << c.name;
        EXPECT_EQ(logic.update(), c.update) << c.name;
        EXPECT_EQ(logic.selection(List::kEquipment), c.equipment_sel) << c.name;
        EXPECT_EQ(logic.selection(List::kUpdate), c.update_sel) << c.name;
        // Moving never changes what was discovered.
        EXPECT_EQ(devices.Entries(), (Strings{kA, kB, kC, kD})) << c.name;
    }
}

TEST(FwDnLogic, ReopeningShowsEveryDiscoveredDeviceAndAnEmptyUpdateList) {
    DeviceList devices;
    Announce(devices, {kA, kB, kC});
    FwDnLogic logic(devices);
    logic.Open(true);
    logic.MoveToUpdate();
    logic.MoveToUpdate();
    logic.FileChosen("/tmp/fw.bin");
    ASSERT_EQ(logic.update().size(), 2u);

    logic.Open(true);
    EXPECT_EQ(logic.equipment(), (Strings{kA, kB, kC}));
    EXPECT_TRUE(logic.update().empty());
    EXPECT_EQ(logic.selection(List::kUpdate), std::nullopt);
    EXPECT_EQ(logic.path(), "/tmp/fw.bin");  // the chosen file stays chosen
}

TEST(FwDnLogic, ADeviceAnnouncedTwiceIsListedTwice) {
    DeviceList devices;
    FwDnLogic logic(devices);
    logic.Open(true);
    devices.Append(kB);
    logic.DevicesAnnounced();
    devices.Append(kA);
    devices.Append(kB);
    logic.DevicesAnnounced();
    logic.DevicesAnnounced();  // nothing new arrived: nothing added
    EXPECT_EQ(logic.equipment(), (Strings{kA, kB, kB}));

    // Both copies updated: the job's second device selects the second copy.
    logic.DoubleClick(List::kEquipment, 1);
    logic.DoubleClick(List::kEquipment, 1);
    logic.FileChosen("/tmp/fw.bin");
    const auto step = logic.Update();
    ASSERT_TRUE(step.job);
    EXPECT_EQ(step.job->firmware_devices, (Strings{kB, kB}));
    logic.FirmwareDevice(1);
    EXPECT_EQ(logic.selection(List::kUpdate), 1u);
}

TEST(FwDnLogic, RefreshEmptiesTheListsAndKeepsEveryLaterAnswer) {
    DeviceList devices;
    Announce(devices, {kA, kB});
    FwDnLogic logic(devices);
    logic.Open(true);
    logic.Select(List::kEquipment, 1);
    logic.MoveToUpdate();  // kB waits to be updated

    const Job job = logic.Refresh();
    EXPECT_EQ(job.job_kind, JobKind::kSingle);
    EXPECT_EQ(job.job_op, DISCOVER);
    EXPECT_TRUE(devices.Entries().empty());
    EXPECT_TRUE(logic.equipment().empty());
    EXPECT_EQ(logic.selection(List::kEquipment), std::nullopt);
    EXPECT_EQ(logic.update(), (Strings{kB}));

    // The first answer ends the wait; the ones after it are still added.
    for (const auto& e : {kC, kA, kD}) {
        devices.Append(e);
        logic.DevicesAnnounced();
    }
    EXPECT_EQ(logic.equipment(), (Strings{kD, kA, kC}));
}

TEST(FwDnLogic, AddDefaultDevice) {
    const std::string kDefault = "192.168.1.168 - Ver0.0";
    struct Case {
        const char* name;
        bool link_up;
        Strings discovered;
        int presses;
        std::optional<std::string> last_refusal;
        Strings equipment;
    };
    const Case cases[] = {
        {"added on an empty list while the host is silent", false, {}, 1, {}, {kDefault}},
        {"a second press is refused", false, {}, 2, "You have added a device address!", {kDefault}},
        {"refused next to discovered devices",
         false,
         {kA},
         1,
         "You have added a device address!",
         {kA}},
        {"refused while the host answers",
         true,
         {},
         1,
         "Use only when it is unable to establish a connection with the system host!",
         {}},
    };
    for (const Case& c : cases) {
        DeviceList devices;
        Announce(devices, c.discovered);
        FwDnLogic logic(devices);
        logic.Open(c.link_up);
        EXPECT_EQ(logic.default_visible(), !c.link_up) << c.name;
        std::optional<BoxRequest> box;
        for (int i = 0; i < c.presses; ++i)
            box = logic.AddDefault(c.link_up);
        if (c.last_refusal) {
            ASSERT_TRUE(box) << c.name;
            EXPECT_EQ(*box, (BoxRequest{*c.last_refusal, "Error prompt", BoxButtons::kOk,
                                        BoxIcon::kWarning, false}))
                << c.name;
        } else {
            EXPECT_FALSE(box) << c.name;
        }
        EXPECT_EQ(logic.equipment(), c.equipment) << c.name;
        // What was added is discovered: it shows again at the next opening.
        logic.Open(false);
        EXPECT_EQ(logic.equipment(), c.equipment) << c.name;
    }
}

TEST(FwDnLogic, UpdateFirmwareRefusalsAndJob) {
    struct Case {
        const char* name;
        std::optional<std::string> chosen;  // the chooser's answer, if asked
        int moved;                          // entries moved to the update list
        std::optional<std::string> refusal;
    };
    const Case cases[] = {
        {"no file chosen", {}, 2, "Please choose a binary file."},
        {"chooser cancelled", std::nullopt, 1, "Please choose a binary file."},
        {"no file and no device", {}, 0, "Please choose a binary file."},
        {"no device", "/tmp/fw.bin", 0, "Please select the IP address of the update device."},
        {"file and devices", "/tmp/fw.bin", 2, {}},
    };
    for (const Case& c : cases) {
        DeviceList devices;
        Announce(devices, {kC, kA, kB});
        FwDnLogic logic(devices);
        logic.Open(true);
        logic.FileChosen(c.chosen);
        for (int i = 0; i < c.moved; ++i)
            logic.MoveToUpdate();
        const auto step = logic.Update();
        if (c.refusal) {
            ASSERT_TRUE(step.refusal) << c.name;
            EXPECT_FALSE(step.job) << c.name;
            EXPECT_EQ(*step.refusal, (BoxRequest{*c.refusal, "Firmware download", BoxButtons::kOk,
                                                 BoxIcon::kError, false}))
                << c.name;
            continue;
        }
        ASSERT_TRUE(step.job) << c.name;
        EXPECT_FALSE(step.refusal) << c.name;
        EXPECT_EQ(step.job->job_kind, JobKind::kFirmware) << c.name;
        EXPECT_EQ(step.job->firmware_path, "/tmp/fw.bin") << c.name;
        // In the list's text order: 192.168.1.10 before 192.168.1.9.
        EXPECT_EQ(step.job->firmware_devices, (Strings{kA, kB})) << c.name;
        EXPECT_EQ(logic.selection(List::kUpdate), 0u) << c.name;
    }
}

TEST(FwDnLogic, TheSelectionFollowsTheDeviceBeingUpdated) {
    DeviceList devices;
    Announce(devices, {kA, kB, kC});
    FwDnLogic logic(devices);
    logic.Open(true);
    logic.FileChosen("/tmp/fw.bin");
    for (int i = 0; i < 3; ++i)
        logic.MoveToUpdate();
    ASSERT_TRUE(logic.Update().job);
    struct Case {
        size_t index;
        Sel selected;
    };
    // The operator takes kB out while the job runs: position 1 of the job
    // no longer has an entry to select, and position 2 is now row 1.
    logic.Select(List::kUpdate, 1);
    logic.MoveToEquipment();
    const Case cases[] = {{0, 0}, {2, 1}, {1, 1}, {7, 1}};
    for (const Case& c : cases) {
        logic.FirmwareDevice(c.index);
        EXPECT_EQ(logic.selection(List::kUpdate), c.selected) << c.index;
    }
}

TEST(FwDnLogic, BinaryFileChooser) {
    const FileRequest request = FwDnLogic::BinaryFileRequest();
    EXPECT_EQ(request.mode, FileRequest::Mode::kOpen);
    EXPECT_EQ(request.filter, "Binary file(*.bin)|*.bin");
    EXPECT_TRUE(request.hide_read_only);

    DeviceList devices;
    FwDnLogic logic(devices);
    logic.FileChosen("/data/a.bin");
    logic.FileChosen(std::nullopt);  // cancelled: the file stays chosen
    EXPECT_EQ(logic.path(), "/data/a.bin");
}

TEST(FwDnLogic, ExitEndsOnlyTheDiscoveryWait) {
    struct Case {
        const char* name;
        bool discovery_queued;
        bool discovery_done;
        int tries_left;
        bool ends;
    };
    const Case cases[] = {
        {"discovery waiting for its answer", true, false, 2, true},
        {"discovery on its second try", true, false, 1, true},
        {"discovery queued, nothing sent yet", true, false, 0, false},
        {"discovery over: the wait is another request's", true, true, 2, false},
        {"no discovery: a firmware or other wait", false, false, 2, false},
    };
    for (const Case& c : cases) {
        DeviceList devices;
        FwDnLogic logic(devices);
        CommandJob jobs;
        if (c.discovery_queued) {
            JobHandle ticket = jobs.Queue(logic.Refresh());
            if (c.discovery_done) ticket->Finish(1);
            logic.DiscoveryQueued(ticket);
        }
        EXPECT_EQ(logic.ExitEndsWait(c.tries_left), c.ends) << c.name;
    }
}

}  // namespace
}  // namespace qavo
