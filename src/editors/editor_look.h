#pragma once

#include <QString>

class QAbstractItemView;
class QDialog;
class QLabel;
class QWidget;

namespace qavo {

class ShadeButton;

// The look every configuration editor shares: the main window's grey behind
// the dialog, lists in the console's list look, shaded grey buttons with
// small icons, and the red cursor labels ("Host 01", "Paging 01", "Key 01").
void SetEditorBackground(QDialog* dialog);
// Light grey background (204,204,204), blue text, full-row selection.
void ApplyEditorListLook(QAbstractItemView* list);
// A shaded grey button with `icon` (a resource path, or empty) on its left.
ShadeButton* MakeEditorButton(const QString& text, const QString& icon, const QString& object_name,
                              QWidget* parent);
// A label drawn in red, bold: the cursor of a dialog.
QLabel* MakeCursorLabel(const QString& object_name, QWidget* parent);

inline constexpr const char* kEditorOkIcon = ":/users/ok.svg";
inline constexpr const char* kEditorCancelIcon = ":/users/cancel.svg";
inline constexpr const char* kEditorApplyIcon = ":/users/save.svg";

}  // namespace qavo
