// The IPv4 address field: its value in host order, blank boxes, and typing
// from box to box.
#include "widgets/ipv4_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace qavo {
namespace {

TEST(Ipv4EditTest, ValueInHostOrder) {
    struct Case {
        uint32_t value;
        const char* boxes[4];
    };
    const Case cases[] = {
        {0xC0A86308, {"192", "168", "99", "8"}},
        {0xFFFFFF00, {"255", "255", "255", "0"}},
        {0x00000000, {"0", "0", "0", "0"}},
        {0x0A000001, {"10", "0", "0", "1"}},
    };
    Ipv4Edit edit;
    edit.setObjectName("hostAddress");
    EXPECT_EQ(edit.objectName(), "hostAddress");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        edit.setValue(c.value);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(edit.octet(i)->text(), c.boxes[i]);
        EXPECT_EQ(edit.value(), c.value);
    }
}

TEST(Ipv4EditTest, BlankBoxesReadAsZero) {
    Ipv4Edit edit;
    edit.setValue(0xC0A86308);
    edit.octet(2)->clear();
    EXPECT_EQ(edit.value(), 0xC0A80008u);
    edit.clear();
    EXPECT_EQ(edit.value(), 0u);
}

// Keys go where the focus is, as the operator's typing would.
void Type(QWidget& window, const QString& keys) {
    for (const QChar ch : keys) {
        QWidget* target = window.focusWidget();
        ASSERT_NE(target, nullptr);
        if (ch == '\b') {
            QTest::keyClick(target, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(target, QString(ch));
        }
    }
}

TEST(Ipv4EditTest, TypingMovesFromBoxToBox) {
    struct Case {
        const char* name;
        QString keys;
        uint32_t value;
        const char* boxes[4];
    };
    const Case cases[] = {
        {"dotted", "10.1.20.3", 0x0A011403, {"10", "1", "20", "3"}},
        // A third digit moves on; a dot right after it does not skip a box.
        {"full octets", "192.168.99.8", 0xC0A86308, {"192", "168", "99", "8"}},
        {"no dots", "192168001005", 0xC0A80105, {"192", "168", "001", "005"}},
        {"above 255", "300.7", 0xFF070000, {"255", "7", "", ""}},
        {"dot in an empty box", "..5", 0x05000000, {"5", "", "", ""}},
        {"letters refused", "1a.b2", 0x01020000, {"1", "2", "", ""}},
        {"backspace goes back", "12.\b\b3", 0x0D000000, {"13", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        auto* edit = new Ipv4Edit(&window);
        edit->clear();
        window.show();
        edit->setFocus();
        Type(window, c.keys);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(edit->octet(i)->text(), c.boxes[i]) << i;
        EXPECT_EQ(edit->value(), c.value);
    }
}

}  // namespace
}  // namespace qavo
