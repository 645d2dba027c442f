#pragma once

#include <QDialog>
#include <QString>

namespace qavo {

class ShadeButton;

// The look shared by the login, password and account dialogs: the main
// window's grey behind them, and shaded buttons with small icons.
void SetUserDialogBackground(QDialog* dialog);

// A shaded button showing `icon` (a resource path) on its left.
ShadeButton* MakeUserDialogButton(const QString& text, const QString& icon,
                                  const QString& object_name, QWidget* parent);

inline constexpr const char* kOkIcon = ":/users/ok.svg";
inline constexpr const char* kCancelIcon = ":/users/cancel.svg";
inline constexpr const char* kSaveIcon = ":/users/save.svg";

}  // namespace qavo
