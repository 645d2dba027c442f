#include "users/user_login.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "users/user_dialog_look.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

QLabel* BlueLabel(const QString& text, const QString& object_name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(object_name);
    label->setFont(QFont("Arial", 10));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

}  // namespace

CUserLogin::CUserLogin(UserSession& session, const QString& shown_user, QWidget* parent)
    : QDialog(parent), session_(session) {
    setWindowTitle("User Login");
    SetUserDialogBackground(this);

    user_edit_ = new QLineEdit(shown_user, this);
    user_edit_->setObjectName("userNameEdit");
    password_edit_ = new QLineEdit(this);
    password_edit_->setObjectName("passwordEdit");
    password_edit_->setEchoMode(QLineEdit::Password);

    auto* fields = new QGridLayout;
    fields->addWidget(BlueLabel("User name:", "userNameLabel", this), 0, 0);
    fields->addWidget(user_edit_, 0, 1);
    fields->addWidget(BlueLabel("Password:", "passwordLabel", this), 1, 0);
    fields->addWidget(password_edit_, 1, 1);

    ShadeButton* ok = MakeUserDialogButton("OK", kOkIcon, "okButton", this);
    ok->setDefault(true);
    ShadeButton* cancel = MakeUserDialogButton("Cancel", kCancelIcon, "cancelButton", this);
    connect(ok, &QPushButton::clicked, this, &CUserLogin::accept);
    connect(cancel, &QPushButton::clicked, this, &CUserLogin::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    password_edit_->setFocus();
}

void CUserLogin::accept() {
    session_.entered_password = password_edit_->text().toStdString();
    session_.entered_user = user_edit_->text().toStdString();
    QDialog::accept();
}

}  // namespace qavo
