#include "shell/looks.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace qavo {

namespace {

QPalette Palette(QColor window, QColor button, QColor highlight, QColor text) {
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::Base, QColor(250, 250, 250));
    p.setColor(QPalette::AlternateBase, window.lighter(108));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Text, QColor(20, 20, 20));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, Qt::black);
    // Disabled controls read as disabled: their text halfway to the face.
    const auto half = [](QColor a, QColor b) {
        return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2,
                      (a.blue() + b.blue()) / 2);
    };
    p.setColor(QPalette::Disabled, QPalette::WindowText, half(text, window));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, half(text, button));
    p.setColor(QPalette::Disabled, QPalette::Text, half(QColor(20, 20, 20), QColor(250, 250, 250)));
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

}  // namespace

void ApplyLook(int id) {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette p;
    switch (id) {
        case 215:
            p = Palette(QColor(214, 228, 245), QColor(196, 217, 243), QColor(51, 102, 204),
                        Qt::black);
            break;
        case 216:
            p = Palette(QColor(83, 83, 83), QColor(110, 110, 110), QColor(235, 140, 40), Qt::white);
            break;
        case 217:
            p = Palette(QColor(226, 230, 236), QColor(208, 212, 220), QColor(100, 120, 150),
                        Qt::black);
            break;
        case 218:
            p = Palette(QColor(212, 232, 238), QColor(190, 222, 232), QColor(40, 140, 170),
                        Qt::black);
            break;
        case 219:
            p = Palette(QColor(233, 239, 247), QColor(221, 231, 243), QColor(51, 153, 255),
                        Qt::black);
            break;
        default:
            p = Palette(QColor(236, 233, 216), QColor(224, 223, 227), QColor(49, 106, 197),
                        Qt::black);
            break;
    }
    QApplication::setPalette(p);
}

}  // namespace qavo
