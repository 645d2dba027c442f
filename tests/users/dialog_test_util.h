#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x "
         << rect.height() << ")";
}

namespace qavo::testing {

// Runs `answer` on the modal dialog that the code under test is about to
// show, once its event loop runs. Fails the test when no modal dialog comes
// up, and rejects a dialog that `answer` left open so that the test goes on.
inline void AnswerNextDialog(std::function<void(QDialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog is shown";
            return;
        }
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

// Clicks the button with `object_name` in `dialog`.
inline void ClickButton(QWidget& dialog, const char* object_name) {
    auto* button = dialog.findChild<QPushButton*>(object_name);
    ASSERT_NE(button, nullptr) << object_name;
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace qavo::testing
