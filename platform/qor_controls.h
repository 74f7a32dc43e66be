#pragma once
#include "platform/decimal.h"
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

class QPushButton;

// The small edit controls of the program's windows. Each has an event lock: while it is true,
// a value written by the program raises no Change.

// A numeric field: a number or nothing (an empty field), shown with grouping and a fixed
// number of decimals; typing accepts either decimal mark. A value written by the program is
// kept exactly (an amount of more places than shown reads back whole) until the text changes.
class QorNumber final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QorNumber)
public:
    explicit QorNumber(QWidget* parent = nullptr);
    bool eventLock = false;

    OptDecimal value() const { return value_; }
    void setValue(const OptDecimal& v);
    void setDecimals(int decimals);
    int decimals() const { return decimals_; }
    // A locked field takes no typing.
    void setLocked(bool locked) { setReadOnly(locked); }

signals:
    void Change();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    void showValue();

    int decimals_ = 2;
    OptDecimal value_;
    bool showing_ = false;  // the text is being written from value_, not typed
};

// A whole-number spinner with a minimum, a maximum and a maximum number of digits.
class QorUpDown final : public QSpinBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QorUpDown)
public:
    explicit QorUpDown(QWidget* parent = nullptr);
    bool eventLock = false;
    void setMaxDigits(int digits);

signals:
    void Change();
};

// A colour chooser. Its value is the 32-bit colour number with red in the lowest byte, green in
// the next and blue in the third, as the stored settings keep colours.
class QorColor final : public QToolButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QorColor)
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
class QorClick final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QorClick)
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
