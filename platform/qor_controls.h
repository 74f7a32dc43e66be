#pragma once
#include "platform/decimal.h"
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

class QPushButton;

// The small edit controls of the program's windows. Each has an event lock: while it is true,
// a value written by the program raises no Change.

// `font`, or a smaller size of it where `text` is wider than `room` pixels: a value too wide for
// its field or column reads whole in smaller letters instead of being cut.
QFont fittingFont(QFont font, const QString& text, int room);
// The pixels a one-line field has for its text.
int textRoom(const QLineEdit& field);

// A numeric field: a number or nothing (an empty field), shown with grouping and a fixed
// number of decimals; typing accepts either decimal mark. A value written by the program is
// kept exactly (an amount of more places than shown reads back whole) until the text changes.
// A locked field shows its whole value, in smaller letters where it is too wide.
class QorNumber : public QLineEdit {
    Q_OBJECT
public:
    explicit QorNumber(QWidget* parent = nullptr);
    bool eventLock = false;

    OptDecimal value() const { return value_; }
    void setValue(const OptDecimal& v);
    void setDecimals(int decimals);
    int decimals() const { return decimals_; }
    // A locked field takes no typing, and so is no stop for Tab (a click still selects its text).
    void setLocked(bool locked)
    {
        setReadOnly(locked);
        setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
    }

signals:
    void Change();

protected:
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void showValue();
    void fitText();

    int decimals_ = 2;
    OptDecimal value_;
    bool showing_ = false;  // the text is being written from value_, not typed
    QFont ownFont_;         // the font set for the field, before any fitting
    bool fitting_ = false;  // the font is being fitted, not set
};

// A whole-number spinner with a minimum, a maximum and a maximum number of digits.
class QorUpDown : public QSpinBox {
    Q_OBJECT
public:
    explicit QorUpDown(QWidget* parent = nullptr);
    bool eventLock = false;
    void setMaxDigits(int digits);

signals:
    void Change();
};

// A colour chooser. Its value is the 32-bit colour number with red in the lowest byte, green in
// the next and blue in the third, as the stored settings keep colours.
class QorColor : public QToolButton {
    Q_OBJECT
public:
    explicit QorColor(QWidget* parent = nullptr);
    bool eventLock = false;

    qint32 value() const { return value_; }
    void setValue(qint32 colorNumber);
    static QColor toColor(qint32 colorNumber);
    static qint32 fromColor(const QColor& color);

signals:
    void Change();

private:
    void choose();
    qint32 value_ = 0xFFFFFF;
};

// A text with a browse button; a click on the button raises Click, whose handler lets the user
// choose a new text (a folder where it is used).
class QorClick : public QWidget {
    Q_OBJECT
public:
    explicit QorClick(QWidget* parent = nullptr);
    bool eventLock = false;

    QString text() const;
    void setText(const QString& text);
    void setButtonText(const QString& text);
    QLineEdit* edit() const { return edit_; }
    QPushButton* button() const { return button_; }

signals:
    void Click();
    void Change();

private:
    QLineEdit* edit_;
    QPushButton* button_;
};
