#pragma once
#include <QWidget>
#include <algorithm>

// Window layouts are written in twips (1/1440 inch), the unit of the old forms; at the usual
// 96 dots per inch 15 twips make one pixel. Sizes are clamped at zero, so a very small window
// squeezes its controls instead of failing.
namespace twips {

constexpr int kPerPixel = 15;
inline int px(int tw) { return tw / kPerPixel; }
inline int tw(int px) { return px * kPerPixel; }

inline void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(std::max(width, 0)), px(std::max(height, 0)));
}
inline int leftOf(const QWidget* w) { return tw(w->x()); }
inline int topOf(const QWidget* w) { return tw(w->y()); }
inline int widthOf(const QWidget* w) { return tw(w->width()); }
inline int heightOf(const QWidget* w) { return tw(w->height()); }
inline void setLeft(QWidget* w, int v) { w->move(px(v), w->y()); }
inline void setTop(QWidget* w, int v) { w->move(w->x(), px(v)); }
inline void setWidth(QWidget* w, int v) { w->resize(px(std::max(v, 0)), w->height()); }
inline void setHeight(QWidget* w, int v) { w->resize(w->width(), px(std::max(v, 0))); }

} // namespace twips
