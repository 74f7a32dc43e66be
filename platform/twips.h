#pragma once
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <cmath>

// Window layouts are written in twips (1/1440 inch), the unit of the old forms; at the usual
// 96 dots per inch 15 twips make one pixel. Sizes are clamped at zero, so a very small window
// squeezes its controls instead of failing.
namespace twips {

constexpr int kPerPixel = 15;

// A layout drawn in twips and shown `factor` times larger, where the working font needs more
// room than the font the layout was drawn for.
class Scale final {
public:
    explicit Scale(double factor = 1.0) : f_(std::max(factor, 1.0)) {}
    double factor() const { return f_; }

    int px(int tw) const { return int(tw * f_ / kPerPixel); }
    int tw(int px) const { return int(std::lround(px * kPerPixel / f_)); }

    void place(QWidget* w, int left, int top, int width, int height) const
    {
        w->setGeometry(px(left), px(top), px(std::max(width, 0)), px(std::max(height, 0)));
    }
    void place(QWidget* w, const QRect& r) const { place(w, r.x(), r.y(), r.width(), r.height()); }
    int leftOf(const QWidget* w) const { return tw(w->x()); }
    int topOf(const QWidget* w) const { return tw(w->y()); }
    int widthOf(const QWidget* w) const { return tw(w->width()); }
    int heightOf(const QWidget* w) const { return tw(w->height()); }
    void setLeft(QWidget* w, int v) const { w->move(px(v), w->y()); }
    void setTop(QWidget* w, int v) const { w->move(w->x(), px(v)); }
    void setWidth(QWidget* w, int v) const { w->resize(px(std::max(v, 0)), w->height()); }
    void setHeight(QWidget* w, int v) const { w->resize(w->width(), px(std::max(v, 0))); }

private:
    double f_;
};

// The layouts drawn for the font the program's windows use as they are.
inline int px(int tw)
{
    return Scale().px(tw);
}
inline int tw(int px)
{
    return Scale().tw(px);
}
inline void place(QWidget* w, int left, int top, int width, int height)
{
    Scale().place(w, left, top, width, height);
}
inline int leftOf(const QWidget* w)
{
    return Scale().leftOf(w);
}
inline int topOf(const QWidget* w)
{
    return Scale().topOf(w);
}
inline int widthOf(const QWidget* w)
{
    return Scale().widthOf(w);
}
inline int heightOf(const QWidget* w)
{
    return Scale().heightOf(w);
}
inline void setLeft(QWidget* w, int v)
{
    Scale().setLeft(w, v);
}
inline void setTop(QWidget* w, int v)
{
    Scale().setTop(w, v);
}
inline void setWidth(QWidget* w, int v)
{
    Scale().setWidth(w, v);
}
inline void setHeight(QWidget* w, int v)
{
    Scale().setHeight(w, v);
}

}  // namespace twips
