#pragma once

#include <QColor>
#include <QPushButton>
#include <optional>

namespace qavo {

// A push button painted in a tint of its own: a vertical shading from a
// light top to a darker bottom, a brighter face and a glowing rim while the
// mouse is over it, a sunken darker face while pressed. On its left it may
// carry an icon (QPushButton::setIcon, drawn at iconSize()) or a coloured
// dot that shows a state; the text is centred in what remains.
class ShadeButton : public QPushButton {
    Q_OBJECT
  public:
    explicit ShadeButton(QWidget* parent = nullptr);
    explicit ShadeButton(const QString& text, QWidget* parent = nullptr);

    void setTint(const QColor& tint);
    QColor tint() const { return tint_; }

    // A state dot on the left, or none. A dot replaces the icon.
    void setDot(std::optional<QColor> colour);
    std::optional<QColor> dot() const { return dot_; }

    // True while the mouse is over the button.
    bool isHovered() const { return hovered_; }

    // The text colour that reads best on `tint`: black on light tints,
    // white on dark ones.
    static QColor textColourFor(const QColor& tint);
    // The top and bottom colours of the face for a tint and state.
    struct Shading {
        QColor top;
        QColor bottom;
    };
    static Shading shadingFor(const QColor& tint, bool hovered, bool pressed, bool enabled);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QColor tint_{200, 200, 200};
    std::optional<QColor> dot_;
    bool hovered_ = false;
};

}  // namespace qavo
