#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "users/account_grid.h"

class QLineEdit;
class QTableWidget;

namespace qavo {

// "User Password Modification": the account in a two-column list whose cells
// are edited in place (double click opens an edit box over a cell, a click
// in the list writes it back). "Application" hands the list's texts to
// `apply` and closes; "Cancel" closes without writing.
class CUserMangerDlg : public QDialog {
    Q_OBJECT
  public:
    using ApplyFunction = std::function<void(const Account&)>;

    // Nothing in `account` shows an empty list.
    CUserMangerDlg(std::optional<Account> account, ApplyFunction apply, QWidget* parent = nullptr);

    // The edit box open over a cell, if any.
    QLineEdit* cellEdit() const { return cell_edit_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onDoubleClick(const QPoint& position);
    void onApplication();
    // Writes the open edit box back into its cell and removes it.
    void closeEdit();
    void openEdit(int column);
    QString editText() const;
    void showTexts();

    AccountGrid grid_;
    ApplyFunction apply_;
    QTableWidget* list_;
    QLineEdit* cell_edit_ = nullptr;
};

}  // namespace qavo
