#pragma once
#include <QWidget>
#include <QtGui/qpa/qwindowsysteminterface.h>
#include <functional>
#include <utility>
#include <vector>

// A key press and a click on `w` as the window system hands them in: queued, and delivered only
// when the event loop next takes what the window system holds.
inline std::vector<std::pair<const char*, std::function<void()>>> systemInputs(QWidget& w, QPointF at, Qt::Key key,
                                                                               QString text)
{
    return {
        {"key",
         [&w, key, text] {
             QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
                 w.windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, text);
         }},
        {"click",
         [&w, at] {
             for (Qt::MouseButtons b : {Qt::MouseButtons(Qt::LeftButton), Qt::MouseButtons()})
                 QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                     w.windowHandle(), at, w.mapToGlobal(at), b, Qt::LeftButton,
                     b ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease);
         }},
    };
}
