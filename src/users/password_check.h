#pragma once

#include <QDialog>

#include "users/user_session.h"

class QLineEdit;

namespace qavo {

// "User Password Check": one hidden password field, empty at every opening.
// OK stores it into the session's check_password.
class CPasswordCheck : public QDialog {
    Q_OBJECT
  public:
    explicit CPasswordCheck(UserSession& session, QWidget* parent = nullptr);

    void accept() override;

  private:
    UserSession& session_;
    QLineEdit* password_edit_;
};

}  // namespace qavo
