#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/file_picker.h"
#include "platform/prompter.h"
#include "shell/gui_dispatch.h"

namespace qavo {

// Message boxes over the main window, shown on the GUI thread whichever
// thread asks.
class QtPrompter final : public Prompter {
  public:
    explicit QtPrompter(GuiDispatch& dispatch) : dispatch_(dispatch) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    BoxAnswer Ask(const BoxRequest& request) override;

  private:
    GuiDispatch& dispatch_;
    QPointer<QWidget> parent_;
};

// The file chooser, on the GUI thread.
class QtFilePicker final : public FilePicker {
  public:
    explicit QtFilePicker(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> Pick(const FileRequest& request) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace qavo
