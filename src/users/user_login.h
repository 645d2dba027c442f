#pragma once

#include <QDialog>

#include "users/user_session.h"

class QLineEdit;

namespace qavo {

// "User Login": the user name and the hidden password. Opens with
// `shown_user` in the name field and an empty password; OK stores both
// fields into the session.
class CUserLogin : public QDialog {
    Q_OBJECT
  public:
    CUserLogin(UserSession& session, const QString& shown_user, QWidget* parent = nullptr);

    void accept() override;

  private:
    UserSession& session_;
    QLineEdit* user_edit_;
    QLineEdit* password_edit_;
};

}  // namespace qavo
