#include "widgets/shade_button.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace qavo {
namespace {

constexpr qreal kRadius = 5.0;
constexpr int kSideMargin = 10;
constexpr int kDecorationGap = 6;
constexpr int kMaxDotDiameter = 14;

}  // namespace

ShadeButton::ShadeButton(QWidget* parent) : ShadeButton(QString(), parent) {}

ShadeButton::ShadeButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void ShadeButton::setTint(const QColor& tint) {
    tint_ = tint;
    update();
}

void ShadeButton::setDot(std::optional<QColor> colour) {
    dot_ = colour;
    update();
}

QColor ShadeButton::textColourFor(const QColor& tint) {
    const int luminance = (299 * tint.red() + 587 * tint.green() + 114 * tint.blue()) / 1000;
    return luminance > 150 ? QColor(Qt::black) : QColor(Qt::white);
}

ShadeButton::Shading ShadeButton::shadingFor(const QColor& tint, bool hovered, bool pressed,
                                             bool enabled) {
    QColor base = tint;
    if (!enabled) {
        const int grey = qGray(tint.rgb());
        base = QColor(grey, grey, grey);
    }
    if (pressed) return {base.darker(140), base.darker(105)};
    if (hovered && enabled) return {base.lighter(160), base.lighter(105)};
    return {base.lighter(135), base.darker(130)};
}

QSize ShadeButton::sizeHint() const {
    const QFontMetrics fm(font());
    int decoration = 0;
    if (dot_) {
        decoration = kMaxDotDiameter + kDecorationGap;
    } else if (!icon().isNull()) {
        decoration = iconSize().width() + kDecorationGap;
    }
    const int w = 2 * kSideMargin + decoration + fm.horizontalAdvance(text());
    const int h = std::max({32, fm.height() + 14, iconSize().height() + 12});
    return {w, h};
}

void ShadeButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QPushButton::enterEvent(event);
}

void ShadeButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QPushButton::leaveEvent(event);
}

void ShadeButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool pressed = isDown() || isChecked();
    const bool enabled = isEnabled();
    const Shading shading = shadingFor(tint_, hovered_, pressed, enabled);

    // Face with its shading and a dark rim.
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient face(outer.topLeft(), outer.bottomLeft());
    face.setColorAt(0.0, shading.top);
    face.setColorAt(1.0, shading.bottom);
    p.setPen(QPen(tint_.darker(enabled ? 220 : 160), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(outer, kRadius, kRadius);

    // A soft gloss over the upper half, gone while pressed.
    if (!pressed) {
        QRectF gloss = outer.adjusted(2, 2, -2, 0);
        gloss.setHeight(outer.height() * 0.45);
        QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
        shine.setColorAt(0.0, QColor(255, 255, 255, 110));
        shine.setColorAt(1.0, QColor(255, 255, 255, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawRoundedRect(gloss, kRadius - 1, kRadius - 1);
    }
    // The hover highlight: a light inner rim.
    if (hovered_ && enabled && !pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), kRadius - 1, kRadius - 1);
    }

    // Contents, pushed one pixel down and right while pressed.
    QRect content = rect().adjusted(kSideMargin, 2, -kSideMargin, -2);
    if (pressed) content.translate(1, 1);
    int left = content.left();
    if (dot_) {
        const int d = std::clamp(content.height() - 12, 6, kMaxDotDiameter);
        const QRectF circle(left, content.center().y() - d / 2.0 + 0.5, d, d);
        QColor colour = *dot_;
        if (!enabled)
            colour = QColor(qGray(colour.rgb()), qGray(colour.rgb()), qGray(colour.rgb()));
        QRadialGradient ball(circle.center() - QPointF(d / 5.0, d / 5.0), d * 0.7);
        ball.setColorAt(0.0, colour.lighter(170));
        ball.setColorAt(0.6, colour);
        ball.setColorAt(1.0, colour.darker(130));
        p.setPen(QPen(QColor(40, 40, 40), 1.0));
        p.setBrush(ball);
        p.drawEllipse(circle);
        left += d + kDecorationGap;
    } else if (!icon().isNull()) {
        const QSize size = iconSize().boundedTo(content.size());
        const QPixmap pixmap =
            icon().pixmap(size, devicePixelRatioF(), enabled ? QIcon::Normal : QIcon::Disabled);
        p.drawPixmap(QPoint(left, content.center().y() - size.height() / 2 + 1), pixmap);
        left += size.width() + kDecorationGap;
    }
    content.setLeft(left);

    // A disabled button's text is a mid grey, plainly apart from the black
    // or white of an enabled one on any tint.
    const QColor ink = enabled ? textColourFor(tint_) : QColor(150, 150, 150);
    p.setPen(ink);
    p.setFont(font());
    p.drawText(content, Qt::AlignCenter | Qt::TextSingleLine, text());

    if (hasFocus()) {
        QColor rim = ink;
        rim.setAlpha(120);
        p.setPen(QPen(rim, 1.0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(outer.adjusted(3, 3, -3, -3), kRadius - 2, kRadius - 2);
    }
}

}  // namespace qavo
