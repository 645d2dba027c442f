#include "users/password_check.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "users/user_dialog_look.h"
#include "widgets/shade_button.h"

namespace qavo {

CPasswordCheck::CPasswordCheck(UserSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle("User Password Check");
    SetUserDialogBackground(this);

    auto* label = new QLabel("Password:", this);
    label->setObjectName("passwordLabel");
    label->setFont(QFont("Courier New", 10));
    password_edit_ = new QLineEdit(this);
    password_edit_->setObjectName("passwordEdit");
    password_edit_->setEchoMode(QLineEdit::Password);

    auto* field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(password_edit_);

    ShadeButton* ok = MakeUserDialogButton("OK", kOkIcon, "okButton", this);
    ok->setDefault(true);
    ShadeButton* cancel = MakeUserDialogButton("Cancel", kCancelIcon, "cancelButton", this);
    connect(ok, &QPushButton::clicked, this, &CPasswordCheck::accept);
    connect(cancel, &QPushButton::clicked, this, &CPasswordCheck::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);

    password_edit_->setFocus();
}

void CPasswordCheck::accept() {
    session_.check_password = password_edit_->text().toStdString();
    QDialog::accept();
}

}  // namespace qavo
