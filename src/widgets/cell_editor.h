#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QWidget;

namespace qavo {

// The in-place control of a report list: a drop-down list or an edit box
// made as a child of the view's viewport, exactly over one cell and in the
// view's font, following the cell when columns are resized or the view
// scrolls. It writes nothing back by itself: the owner reads text() or
// currentIndex() and decides what the cell becomes, then calls Close().
// One control at a time; opening another replaces it.
class CellEditor : public QObject {
    Q_OBJECT
  public:
    explicit CellEditor(QObject* parent = nullptr);
    ~CellEditor() override;

    // A drop-down list "cellCombo" holding `entries` with `selected` current
    // (-1: none), dropped down unless told otherwise; it takes the focus.
    QComboBox* OpenCombo(QAbstractItemView* view, const QModelIndex& index,
                         const QStringList& entries, int selected, bool dropped_down = true);
    // An edit box "cellEdit" holding `text`, the caret at its end; it takes
    // the focus.
    QLineEdit* OpenLineEdit(QAbstractItemView* view, const QModelIndex& index, const QString& text);
    // Removes the control. Not to be called from the control's own signals.
    void Close();

    bool isOpen() const { return !control_.isNull(); }
    // The cell under the control; invalid when none is open.
    QModelIndex index() const { return isOpen() ? QModelIndex(index_) : QModelIndex(); }
    QWidget* control() const { return control_; }
    QComboBox* combo() const;
    QLineEdit* lineEdit() const;
    // The list's current entry or the edit box's text; empty when none is open.
    QString text() const;
    // The list's current entry; -1 without one or for an edit box.
    int currentIndex() const;
    // Gives the open control the focus.
    void focus();
    // Puts the control back over its cell.
    void reposition();

  signals:
    // The operator moved the list to another entry (-1: none).
    void comboIndexChanged(int index);
    // The operator changed the edit box's text.
    void lineEdited(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Places `control` over the cell and follows the view's changes.
    void attach(QAbstractItemView* view, const QModelIndex& index, QWidget* control);

    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
    QPointer<QWidget> control_;
};

}  // namespace qavo
