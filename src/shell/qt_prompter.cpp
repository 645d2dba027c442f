#include "shell/qt_prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace qavo {

namespace {

QMessageBox::StandardButtons ButtonsOf(BoxButtons b) {
    switch (b) {
        case BoxButtons::kOk:
            return QMessageBox::Ok;
        case BoxButtons::kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case BoxButtons::kYesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case BoxButtons::kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case BoxButtons::kRetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case BoxButtons::kAbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(BoxIcon i) {
    switch (i) {
        case BoxIcon::kError:
            return QMessageBox::Critical;
        case BoxIcon::kWarning:
            return QMessageBox::Warning;
        case BoxIcon::kInformation:
            return QMessageBox::Information;
        case BoxIcon::kQuestion:
            return QMessageBox::Question;
        case BoxIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

BoxAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return BoxAnswer::kCancel;
        case QMessageBox::Yes:
            return BoxAnswer::kYes;
        case QMessageBox::No:
            return BoxAnswer::kNo;
        case QMessageBox::Abort:
            return BoxAnswer::kAbort;
        case QMessageBox::Retry:
            return BoxAnswer::kRetry;
        case QMessageBox::Ignore:
            return BoxAnswer::kIgnore;
        default:
            return BoxAnswer::kOk;
    }
}

}  // namespace

BoxAnswer QtPrompter::Ask(const BoxRequest& request) {
    BoxAnswer answer = BoxAnswer::kCancel;
    const bool shown = dispatch_.RunAndWait([&] {
        QMessageBox box(IconOf(request.icon), QString::fromStdString(request.caption),
                        QString::fromStdString(request.text), ButtonsOf(request.buttons),
                        parent_.data());
        if (request.foreground) {
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        }
        answer = AnswerOf(box.exec());
    });
    // A box that can no longer be shown (the console is closing) counts as Cancel.
    return shown ? answer : BoxAnswer::kCancel;
}

std::optional<std::string> QtFilePicker::Pick(const FileRequest& request) {
    // "Binary file(*.bin)|*.bin" becomes Qt's "Binary file(*.bin)".
    QString filter = QString::fromStdString(request.filter);
    filter = filter.section('|', 0, 0);
    QFileDialog dialog(parent_.data());
    dialog.setNameFilter(filter);
    dialog.setAcceptMode(request.mode == FileRequest::Mode::kSave ? QFileDialog::AcceptSave
                                                                  : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mode == FileRequest::Mode::kSave ? QFileDialog::AnyFile
                                                                : QFileDialog::ExistingFile);
    if (!request.default_suffix.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.default_suffix));
    }
    if (request.hide_read_only) dialog.setOption(QFileDialog::ReadOnly, false);
    // The console asks itself where replacing a file needs a question.
    if (request.mode == FileRequest::Mode::kSave) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    if (!request.initial_name.empty())
        dialog.selectFile(QString::fromStdString(request.initial_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace qavo
