#pragma once

#include <QDialog>
#include <functional>

#include "link/device_list.h"
#include "maintenance/fw_dn_logic.h"
#include "platform/window_messages.h"
#include "shell/console_services.h"

class QLabel;
class QListWidget;

namespace qavo {

class ShadeButton;

// What the firmware dialog needs of the link besides the services: the
// devices that announced themselves, and a way to end the acknowledgement
// wait in progress.
struct FwDnLink {
    DeviceList& devices;
    // Tries left to the request in progress (0: none waits).
    std::function<int()> tries_left = [] { return 0; };
    // Ends the acknowledgement wait in progress at once.
    std::function<void()> end_wait = [] {};
};

// "Firmware Download": discovers the devices on the network, lets the
// operator pick the ones to update and a binary file, and queues the
// firmware job, which runs on the command worker while the dialog stays
// open and usable. Made once by the main window and reopened; the chosen
// file and the discovered devices persist between openings.
//
// The network parameter dialog belongs with this one (the operator sets up
// a device found here before updating it): when it exists, this dialog
// holds it and opens it from here.
class CFwDn : public QDialog {
    Q_OBJECT
  public:
    CFwDn(ConsoleServices& services, FwDnLink link, QWidget* parent = nullptr);

    // Shows the dialog modal, without a nested event loop, with the lists
    // as a new opening has them.
    void openDialog();
    // WM_DEVICE_ANNOUNCED and WM_FIRMWARE_DEVICE (wParam: the position).
    void notify(WindowMessage message, intptr_t wparam);

    const FwDnLogic& logic() const { return logic_; }
    QListWidget* equipmentList() const { return equipment_; }
    QListWidget* updateList() const { return update_; }
    QLabel* pathLabel() const { return path_; }

    void done(int result) override;

  private:
    void chooseFile();
    void refresh();
    void addDefault();
    void updateFirmware();
    // Shows the lists, their selections and the path as the logic has them.
    void showState();
    bool linkUp() const;

    ConsoleServices& services_;
    FwDnLink link_;
    FwDnLogic logic_;
    QLabel* path_ = nullptr;
    QListWidget* equipment_ = nullptr;
    QListWidget* update_ = nullptr;
    ShadeButton* default_ = nullptr;
    bool repainting_ = false;
};

}  // namespace qavo
