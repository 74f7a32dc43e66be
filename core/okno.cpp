#include "core/okno.h"
#include "core/app.h"
#include "core/registry.h"
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <limits>

double twipsPerPixel(const QWidget& widget)
{
    int dpi = widget.logicalDpiX();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

void OknoRead(App& app, QWidget& window)
{
    const QString& key = app.gRegProgramKey;
    QString t = RegRead(key, QStringLiteral("OknoTop"), QStringLiteral("max"));
    if (t == QLatin1String("max") || t.isEmpty()) return;
    auto number = [&](const QString& text) -> qint64 {
        return numericValue(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()).value_or(0);
    };
    qint64 top = number(t);
    qint64 left = number(RegRead(key, QStringLiteral("OknoLeft"), QStringLiteral("max")));
    qint64 width = number(RegRead(key, QStringLiteral("OknoWidth"), QStringLiteral("max")));
    qint64 height = number(RegRead(key, QStringLiteral("OknoHeight"), QStringLiteral("max")));
    if (width <= 0 || height <= 0) return;
    top = std::max<qint64>(top, 0);
    left = std::max<qint64>(left, 0);

    double tpp = twipsPerPixel(window);
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen) {
        qint64 screenWidth = qint64(screen->geometry().width() * tpp);
        qint64 screenHeight = qint64(screen->geometry().height() * tpp);
        if (width > screenWidth) width = screenWidth;
        if (left + width > screenWidth) left = screenWidth - width;
        if (height > screenHeight) height = screenHeight;
        if (top + height > screenHeight) top = screenHeight - height;
    }
    window.setWindowState(Qt::WindowNoState);
    window.move(int(left / tpp + 0.5), int(top / tpp + 0.5));
    window.resize(int(width / tpp + 0.5), int(height / tpp + 0.5));
}

void OknoSave(App& app, QWidget& window)
{
    if (window.isMinimized()) return;
    QString left, top, width, height;
    if (window.isMaximized()) {
        left = top = width = height = QStringLiteral("max");
    } else {
        double tpp = twipsPerPixel(window);
        auto twips = [tpp](int pixels) { return QString::number(qint64(pixels * tpp + 0.5)); };
        left = twips(window.x());
        top = twips(window.y());
        width = twips(window.width());
        height = twips(window.height());
    }
    const QString& key = app.gRegProgramKey;
    RegSave(key, QStringLiteral("OknoLeft"), left);
    RegSave(key, QStringLiteral("OknoTop"), top);
    RegSave(key, QStringLiteral("OknoWidth"), width);
    RegSave(key, QStringLiteral("OknoHeight"), height);
}
