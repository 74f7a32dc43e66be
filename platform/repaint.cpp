#include "platform/repaint.h"
#include <QCoreApplication>
#include <QEventLoop>

namespace ui {

void repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ui
