#include "widgets/shade_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPixmap>

namespace qavo {
namespace {

QImage Render(ShadeButton& button) {
    return button.grab().toImage();
}

int Lightness(QRgb rgb) {
    return QColor(rgb).lightness();
}

struct InkCase {
    const char* name;
    QColor tint;
    QColor ink;
};

TEST(ShadeButtonTest, TextReadsOnEveryTint) {
    const InkCase cases[] = {
        {"red", {255, 55, 55}, Qt::white},          {"yellow", {255, 255, 100}, Qt::black},
        {"green", {55, 255, 55}, Qt::black},        {"cyan", {55, 255, 255}, Qt::black},
        {"blue", {55, 55, 255}, Qt::white},         {"orange", {255, 102, 0}, Qt::white},
        {"light grey", {220, 220, 220}, Qt::black}, {"black", {0, 0, 0}, Qt::white},
    };
    for (const InkCase& c : cases) {
        EXPECT_EQ(ShadeButton::textColourFor(c.tint), c.ink) << c.name;
    }
}

TEST(ShadeButtonTest, ShadingByState) {
    const QColor tint(55, 55, 255);
    const auto normal = ShadeButton::shadingFor(tint, false, false, true);
    const auto hovered = ShadeButton::shadingFor(tint, true, false, true);
    const auto pressed = ShadeButton::shadingFor(tint, false, true, true);
    const auto disabled = ShadeButton::shadingFor(tint, true, false, false);
    EXPECT_GT(normal.top.lightness(), normal.bottom.lightness());  // lit from above
    EXPECT_GT(hovered.top.lightness(), normal.top.lightness());
    EXPECT_GT(hovered.bottom.lightness(), normal.bottom.lightness());
    EXPECT_LT(pressed.top.lightness(), normal.top.lightness());
    EXPECT_LT(pressed.top.lightness(), pressed.bottom.lightness());  // sunken
    EXPECT_EQ(disabled.top.saturation(), 0);
    EXPECT_EQ(disabled.top, ShadeButton::shadingFor(tint, false, false, false).top);
}

class ShadeButtonPaintTest : public ::testing::Test {
  protected:
    ShadeButtonPaintTest() {
        button.setTint(QColor(55, 255, 55));
        button.resize(144, 40);
    }
    ShadeButton button{"OK"};
};

TEST_F(ShadeButtonPaintTest, FaceIsShadedTopToBottom) {
    const QImage image = Render(button);
    const int x = button.width() - 15;
    EXPECT_GT(Lightness(image.pixel(x, 6)), Lightness(image.pixel(x, button.height() - 6)));
    // The tint shows through: green dominates the face.
    const QColor middle(image.pixel(x, button.height() / 2));
    EXPECT_GT(middle.green(), middle.red() + 60);
}

TEST_F(ShadeButtonPaintTest, HoverAndPressChangeTheFace) {
    const QPoint probe(button.width() - 15, button.height() - 8);
    const int normal = Lightness(Render(button).pixel(probe));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovered());
    EXPECT_GT(Lightness(Render(button).pixel(probe)), normal);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isHovered());
    EXPECT_EQ(Lightness(Render(button).pixel(probe)), normal);

    const QPoint top(button.width() - 15, 6);
    const int top_normal = Lightness(Render(button).pixel(top));
    button.setDown(true);
    EXPECT_LT(Lightness(Render(button).pixel(top)), top_normal);
}

TEST_F(ShadeButtonPaintTest, DotOrIconOnTheLeft) {
    const QPoint spot(10 + 7, button.height() / 2);
    const QColor plain(Render(button).pixel(spot));

    button.setDot(QColor(230, 20, 20));
    ASSERT_TRUE(button.dot().has_value());
    const QColor dotted(Render(button).pixel(spot));
    EXPECT_GT(dotted.red(), dotted.green() + 80);

    // A dot wins over an icon; without the dot the icon shows.
    QPixmap square(24, 24);
    square.fill(QColor(0, 0, 200));
    button.setIcon(QIcon(square));
    button.setIconSize(QSize(24, 24));
    EXPECT_GT(QColor(Render(button).pixel(spot)).red(), 150);
    button.setDot(std::nullopt);
    const QColor iconic(Render(button).pixel(spot));
    EXPECT_GT(iconic.blue(), iconic.green() + 80);

    button.setIcon(QIcon());
    EXPECT_EQ(QColor(Render(button).pixel(spot)), plain);
}

TEST_F(ShadeButtonPaintTest, SizeHintMakesRoomForTheDecoration) {
    const int bare = button.sizeHint().width();
    button.setDot(QColor(Qt::red));
    const int with_dot = button.sizeHint().width();
    EXPECT_GT(with_dot, bare);
    button.setDot(std::nullopt);
    QPixmap square(32, 32);
    square.fill(Qt::blue);
    button.setIcon(QIcon(square));
    button.setIconSize(QSize(32, 32));
    EXPECT_GT(button.sizeHint().width(), bare + 32);
    EXPECT_GE(button.sizeHint().height(), 32 + 12);
}

}  // namespace
}  // namespace qavo
