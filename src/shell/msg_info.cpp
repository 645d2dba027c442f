#include "shell/msg_info.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/shell_logic.h"

namespace qavo {

CMsgInfo::CMsgInfo(ProgressState& progress, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), progress_(progress) {
    setObjectName("progressDialog");
    setModal(true);
    setAutoFillBackground(true);
    setStyleSheet(
        "QDialog#progressDialog { background: rgb(153,153,153); border: 2px solid rgb(60,60,60); }"
        "QLabel { color: white; font-size: 11pt; }"
        "QProgressBar { border: 1px solid rgb(60,60,60); background: rgb(204,204,204); height: "
        "18px;"
        " text-align: center; }"
        "QProgressBar::chunk { background: rgb(55,55,255); }");
    label_ = new QLabel(this);
    label_->setObjectName("progressText");
    bar_ = new QProgressBar(this);
    bar_->setObjectName("progressBar");
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    setFixedSize(440, 96);
}

void CMsgInfo::refresh() {
    const int total = std::clamp(progress_.progress_total.load(), 0, 65535);
    const int count = std::clamp(progress_.progress_count.load(), 0, 65535);
    bar_->setRange(0, std::max(total, 1));
    bar_->setValue(std::min(count, std::max(total, 1)));
    label_->setText(
        QString::fromStdString(ProgressText(progress_.progress_mode, count, total, count > 0)));
}

void CMsgInfo::handle(WindowMessage message) {
    if (message != WM_PROGRESS_SHOW && message != WM_PROGRESS_STEP &&
        message != WM_PROGRESS_CLOSE) {
        return;
    }
    // Notifications are coalesced and may arrive late: whichever arrives,
    // the dialog shows what the progress state holds now. An exchange that
    // has already ended shows nothing.
    if (!progress_.open) {
        hide();
        return;
    }
    refresh();
    if (!isVisible()) {
        progress_.progress_event.Clear();
        if (parentWidget()) {
            move(parentWidget()->geometry().center() - rect().center());
        }
        show();
        raise();
    }
}

QString CMsgInfo::text() const {
    return label_->text();
}
int CMsgInfo::value() const {
    return bar_->value();
}

}  // namespace qavo
