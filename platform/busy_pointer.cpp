#include "platform/busy_pointer.h"
#include <QCursor>
#include <QGuiApplication>

namespace ui {

void setBusyPointer()
{
    if (!isBusyPointer()) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void setDefaultPointer()
{
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

bool isBusyPointer()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

}  // namespace ui
