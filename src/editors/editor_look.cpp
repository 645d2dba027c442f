#include "editors/editor_look.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QLabel>
#include <QPalette>

#include "users/user_dialog_look.h"
#include "widgets/shade_button.h"

namespace qavo {

void SetEditorBackground(QDialog* dialog) {
    SetUserDialogBackground(dialog);
    // On the grey background a disabled control must read as disabled.
    QPalette palette = dialog->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(200, 200, 200));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(170, 170, 170));
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(165, 165, 165));
    dialog->setPalette(palette);
}

void ApplyEditorListLook(QAbstractItemView* list) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, QColor(204, 204, 204));
    palette.setColor(QPalette::AlternateBase, QColor(204, 204, 204));
    palette.setColor(QPalette::Text, Qt::blue);
    list->setPalette(palette);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
}

ShadeButton* MakeEditorButton(const QString& text, const QString& icon, const QString& object_name,
                              QWidget* parent) {
    // An empty path gives a button without an icon.
    return MakeUserDialogButton(text, icon, object_name, parent);
}

QLabel* MakeCursorLabel(const QString& object_name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(object_name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 140, 140));
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace qavo
