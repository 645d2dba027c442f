#include "shell/picture_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QSvgRenderer>

namespace qavo {

PictureView::PictureView(int id, QWidget* parent)
    : ConsoleView(parent),
      id_(id),
      picture_(new QSvgRenderer(QString(":/shell/system_picture.svg"), this)) {
    setObjectName(id == kConfigView ? "configView" : "pictureView");
    picture_->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    picture_->render(&painter, QRectF(rect()));
}

void PictureView::contextMenuEvent(QContextMenuEvent* event) {
    if (id_ != kConfigView) return;
    QMenu menu(this);
    menu.addAction(tr("Reflash"), this, &PictureView::reflashRequested);
    menu.exec(event->globalPos());
}

}  // namespace qavo
