#include "maintenance/net_card.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

#include "editors/editor_look.h"
#include "widgets/ipv4_edit.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

// A drop-down list that tells when its list closes, chosen or not.
class ClosingComboBox final : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> on_closed = [] {};
    void hidePopup() override {
        QComboBox::hidePopup();
        on_closed();
    }
};

}  // namespace

CNetCard::CNetCard(ConsoleServices& services, NetworkSettings& settings, LocalAdapters adapters,
                   QWidget* parent)
    : QDialog(parent),
      services_(services),
      settings_(settings),
      adapters_(std::move(adapters)),
      logic_(services.timings.net_params_wait) {
    setObjectName("netCard");
    setWindowTitle(NetCardLogic::kCaption);
    SetEditorBackground(this);

    auto* list = new ClosingComboBox(this);
    list->setObjectName("adapterList");
    list->setEditable(false);
    list->setFont(QFont("Arial"));
    list->setStyleSheet("QComboBox, QComboBox QAbstractItemView { background: rgb(204,204,255); }");
    list->on_closed = [this] { adapterListClosed(); };
    // Keys change the selection without opening the list: taken as well.
    connect(list, &QComboBox::activated, this, [this](int) { adapterListClosed(); });
    adapters_list_ = list;

    console_port_ = new QLineEdit(this);
    console_port_->setObjectName("consolePort");
    host_port_ = new QLineEdit(this);
    host_port_->setObjectName("hostPort");
    for (QLineEdit* edit : {console_port_, host_port_}) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] {
            (edit == console_port_ ? console_port_typed_ : host_port_typed_) = true;
        });
        connect(edit, &QLineEdit::returnPressed, this, [this, edit] { portLeft(edit); });
    }
    host_ip_ = new Ipv4Edit(this);
    host_ip_->setObjectName("hostAddress");
    host_mask_ = new Ipv4Edit(this);
    host_mask_->setObjectName("hostMask");
    host_gateway_ = new Ipv4Edit(this);
    host_gateway_->setObjectName("hostGateway");

    auto* pc = new QGroupBox("COMPUTER NETWORK ADAPTER", this);
    auto* pc_form = new QFormLayout(pc);
    pc_form->addRow("IP address", adapters_list_);
    pc_form->addRow("Port number", console_port_);
    auto* host = new QGroupBox("QAVO HOST NETWORK PARAMETERS", this);
    auto* host_form = new QFormLayout(host);
    host_form->addRow("IP address", host_ip_);
    host_form->addRow("Subnet mask", host_mask_);
    host_form->addRow("Default gateway", host_gateway_);
    host_form->addRow("Port number", host_port_);

    auto* apply_button = MakeEditorButton("Application", kEditorApplyIcon, "applyButton", this);
    auto* exit_button = MakeEditorButton("Exit", kEditorCancelIcon, "exitButton", this);
    connect(apply_button, &ShadeButton::clicked, this, &CNetCard::apply);
    connect(exit_button, &ShadeButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_button);
    buttons->addWidget(exit_button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pc);
    layout->addWidget(host);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void CNetCard::openDialog() {
    logic_.Open(settings_, adapters_);
    {
        const QSignalBlocker quiet(adapters_list_);
        adapters_list_->clear();
        for (const std::string& text : logic_.adapter_texts())
            adapters_list_->addItem(QString::fromStdString(text));
        adapters_list_->setCurrentIndex(logic_.adapter_texts().empty() ? -1
                                                                       : logic_.adapter_index());
    }
    const NetCardFields& shown = logic_.shown();
    console_port_->setText(QString::fromStdString(shown.console_port));
    host_port_->setText(QString::fromStdString(shown.host_port));
    host_ip_->setValue(shown.host_ip);
    host_mask_->setValue(shown.host_mask);
    host_gateway_->setValue(shown.host_gateway);
    console_port_typed_ = host_port_typed_ = false;
    open();
}

bool CNetCard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == console_port_ || watched == host_port_)) {
        // Only a move to another control of the dialog, not a box or
        // another window coming up over it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            portLeft(static_cast<QLineEdit*>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void CNetCard::ask(const std::optional<BoxRequest>& box) {
    if (box) services_.prompter.Ask(*box);
}

void CNetCard::adapterListClosed() {
    ask(logic_.AdapterListClosed(adapters_list_->currentIndex()));
}

void CNetCard::portLeft(QLineEdit* edit) {
    const std::string text = edit->text().toStdString();
    if (edit == console_port_) {
        console_port_typed_ = false;
        ask(logic_.ConsolePortLeft(text));
    } else {
        host_port_typed_ = false;
        ask(logic_.HostPortLeft(text));
    }
}

void CNetCard::apply() {
    // Pressing the button takes the focus from an edit; typing that has not
    // been taken that way (Enter, or a button that kept no focus) is taken now.
    if (console_port_typed_) portLeft(console_port_);
    if (host_port_typed_) portLeft(host_port_);
    const NetCardFields fields{console_port_->text().toStdString(),
                               host_port_->text().toStdString(), host_ip_->value(),
                               host_mask_->value(), host_gateway_->value()};
    NetCardOutcome outcome = logic_.Application(fields, settings_, services_.prompter);
    run(std::move(outcome.steps), 0, outcome.settings);
}

void CNetCard::run(std::vector<NetCardStep> steps, size_t from, NetworkSettings settings) {
    for (size_t i = from; i < steps.size(); ++i) {
        const NetCardStep& step = steps[i];
        switch (step.kind) {
            case NetCardStep::Kind::kSendNetParams:
                services_.jobs.QueueAndWait(step.job, step.duration, services_.wait);
                break;
            case NetCardStep::Kind::kCommit:
                settings_ = settings;
                break;
            case NetCardStep::Kind::kSendToMain:
                services_.send_to_main(step.message, 0);
                break;
            case NetCardStep::Kind::kClose:
                accept();
                break;
            case NetCardStep::Kind::kPause:
                QTimer::singleShot(step.duration, this,
                                   [this, steps = std::move(steps), i, settings]() mutable {
                                       run(std::move(steps), i + 1, settings);
                                   });
                return;
        }
    }
}

}  // namespace qavo
