#pragma once

#include <QDialog>
#include <vector>

#include "link/network_settings.h"
#include "maintenance/net_card_logic.h"
#include "shell/console_services.h"

class QComboBox;
class QLineEdit;

namespace qavo {

class Ipv4Edit;

// "Network Parameter": the console's UDP port and network adapter, the
// host's address, mask, gateway and UDP port. "Application" tells the host
// its new addresses, puts the settings into force, stores them and re-creates
// the sockets; "Exit" leaves everything as it was. Made once with the main
// window (its working copies outlast a closing); open it with openDialog():
// modal, without a nested event loop.
class CNetCard : public QDialog {
    Q_OBJECT
  public:
    // `settings`: the settings in force (the host link's), edited in place.
    CNetCard(ConsoleServices& services, NetworkSettings& settings, LocalAdapters adapters,
             QWidget* parent = nullptr);

    // Fills the controls from the settings in force, then opens.
    void openDialog();
    // "Application".
    void apply();

    const NetCardLogic& logic() const { return logic_; }
    QComboBox* adapterList() const { return adapters_list_; }
    QLineEdit* consolePort() const { return console_port_; }
    QLineEdit* hostPort() const { return host_port_; }
    Ipv4Edit* hostAddress() const { return host_ip_; }
    Ipv4Edit* hostMask() const { return host_mask_; }
    Ipv4Edit* hostGateway() const { return host_gateway_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void adapterListClosed();
    // A port edit lost the focus (or "Application" comes while its typing
    // has not been taken yet).
    void portLeft(QLineEdit* edit);
    void ask(const std::optional<BoxRequest>& box);
    // Runs `steps` from `from` on; a pause goes on from a timer.
    void run(std::vector<NetCardStep> steps, size_t from, NetworkSettings settings);

    ConsoleServices& services_;
    NetworkSettings& settings_;
    LocalAdapters adapters_;
    NetCardLogic logic_;
    QComboBox* adapters_list_ = nullptr;
    QLineEdit* console_port_ = nullptr;
    QLineEdit* host_port_ = nullptr;
    Ipv4Edit* host_ip_ = nullptr;
    Ipv4Edit* host_mask_ = nullptr;
    Ipv4Edit* host_gateway_ = nullptr;
    // Edits typed into since their text was last taken.
    bool console_port_typed_ = false;
    bool host_port_typed_ = false;
};

}  // namespace qavo
