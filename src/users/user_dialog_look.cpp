#include "users/user_dialog_look.h"

#include <QIcon>
#include <QPalette>

#include "widgets/shade_button.h"

namespace qavo {

void SetUserDialogBackground(QDialog* dialog) {
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, QColor(153, 153, 153));
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

ShadeButton* MakeUserDialogButton(const QString& text, const QString& icon,
                                  const QString& object_name, QWidget* parent) {
    auto* button = new ShadeButton(text, parent);
    button->setObjectName(object_name);
    button->setTint(QColor(214, 218, 226));
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    return button;
}

}  // namespace qavo
