#include "editor/drags.h"
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

// The refusing pointer: a circle crossed by a bar.
QPixmap refusePicture()
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(200, 0, 0), 4));
    g.drawEllipse(QRectF(4, 4, 24, 24));
    g.drawLine(QPointF(8.5, 8.5), QPointF(23.5, 23.5));
    return p;
}

}  // namespace

bool dragStarts(Qt::MouseButtons buttons, const QPoint& pressedAt, const QPoint& now)
{
    return buttons == Qt::LeftButton && (now - pressedAt).manhattanLength() >= QApplication::startDragDistance();
}

QMimeData* sideListDragData(const QString& kind)
{
    auto* d = new QMimeData;
    d->setData(kSideListDrag, kind.toUtf8());
    return d;
}

QMimeData* documentDragData(const QString& numer)
{
    auto* d = new QMimeData;
    d->setData(kDocumentDrag, numer.toUtf8());
    return d;
}

bool isSideListDrag(const QMimeData* data)
{
    return data && data->hasFormat(kSideListDrag);
}

std::optional<QString> draggedDocument(const QMimeData* data)
{
    if (!data || !data->hasFormat(kDocumentDrag)) return std::nullopt;
    return QString::fromUtf8(data->data(kDocumentDrag));
}

void runDrag(QWidget* source, QMimeData* data)
{
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->setDragCursor(refusePicture(), Qt::LinkAction);
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}
