#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QLineEdit;

namespace qavo {

// An IPv4 address typed in four boxes with dots between them. Each box
// takes up to three digits (a value above 255 reads as 255); typing a dot,
// or a box's third digit, moves on to the next box; Backspace in an empty
// box goes back to the one before. A blank box reads as 0.
//
// The value is a 32-bit address in host order: the first octet (the
// leftmost box) in the most significant byte, so 192.168.99.8 is 0xC0A86308.
class Ipv4Edit : public QWidget {
    Q_OBJECT
  public:
    explicit Ipv4Edit(QWidget* parent = nullptr);

    uint32_t value() const;
    void setValue(uint32_t address);
    // Every box blank.
    void clear();

    // Box 0 to 3, left to right (named "octet0" to "octet3").
    QLineEdit* octet(int index) const { return boxes_[static_cast<size_t>(index)]; }

  signals:
    // The operator changed a box.
    void edited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int indexOf(QObject* box) const;
    void onTextEdited(int index);
    // Focus to box `index`, its text selected or the cursor at its end.
    void moveTo(int index, bool select_all);

    std::array<QLineEdit*, 4> boxes_{};
};

}  // namespace qavo
