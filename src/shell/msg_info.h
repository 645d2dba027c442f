#pragma once

#include <QDialog>

#include "model/progress_state.h"
#include "platform/window_messages.h"

class QLabel;
class QProgressBar;

namespace qavo {

// The progress dialog: a caption-less box with the text of the exchange
// and a progress bar, shown while a longer exchange with the host runs.
class CMsgInfo : public QDialog {
    Q_OBJECT
  public:
    CMsgInfo(ProgressState& progress, QWidget* parent = nullptr);
    // WM_PROGRESS_SHOW, WM_PROGRESS_STEP, WM_PROGRESS_CLOSE.
    void handle(WindowMessage message);
    QString text() const;
    int value() const;

  private:
    void refresh();
    ProgressState& progress_;
    QLabel* label_;
    QProgressBar* bar_;
};

}  // namespace qavo
