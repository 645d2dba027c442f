#pragma once

#include "shell/console_view.h"

class QSvgRenderer;

namespace qavo {

// A view that shows the picture of the system stretched over its whole area:
// the SYSTEM CONFIGURATION view (500) and the OTHER view (320). Views that
// are not built yet show it too, under their own id.
class PictureView : public ConsoleView {
    Q_OBJECT
  public:
    PictureView(int id, QWidget* parent = nullptr);
    int viewId() const override { return id_; }

  signals:
    // The configuration view's context menu: "Reflash".
    void reflashRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    int id_;
    QSvgRenderer* picture_;
};

}  // namespace qavo
