#include "platform/qor_controls.h"
#include "platform/message_box.h"
#include <QColorDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

QFont fittingFont(QFont font, const QString& text, int room)
{
    // Letters do not shrink quite in proportion to their size: a few steps make sure.
    for (int step = 0; step < 4 && room > 0; ++step) {
        const int width = QFontMetrics(font).horizontalAdvance(text);
        const qreal size = font.pointSizeF();
        if (width <= room || size <= 1) break;
        font.setPointSizeF(std::max(1.0, std::min(size * room / width, size - 0.25)));
    }
    return font;
}

int textRoom(const QLineEdit& field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    const QRect r = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    const QMargins m = field.textMargins();
    // The field keeps a margin of its own on either side of the text, and room for the caret.
    return r.width() - m.left() - m.right() - 2 * 2 - 1;
}

QorNumber::QorNumber(QWidget* parent) : QLineEdit(parent)
{
    ownFont_ = font();
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!showing_) value_ = Decimal::parse(text());
        if (!eventLock) emit Change();
    });
}

void QorNumber::setValue(const OptDecimal& v)
{
    value_ = v;
    showValue();
}

void QorNumber::showValue()
{
    showing_ = true;
    setText(value_ ? value_->toDisplay(decimals_) : QString());
    showing_ = false;
    fitText();
}

void QorNumber::fitText()
{
    const QFont f = isReadOnly() ? fittingFont(ownFont_, text(), textRoom(*this)) : ownFont_;
    if (f == font()) return;
    fitting_ = true;
    setFont(f);
    fitting_ = false;
}

void QorNumber::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    fitText();
}

void QorNumber::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange && !fitting_) {
        ownFont_ = font();
        fitText();
    } else if (e->type() == QEvent::ReadOnlyChange) {
        fitText();
    }
}

void QorNumber::setDecimals(int decimals)
{
    decimals_ = decimals;
}

void QorNumber::focusOutEvent(QFocusEvent* e)
{
    // What was typed is shown in the field's format once the user leaves it.
    if (!isReadOnly()) {
        QString shown = value_ ? value_->toDisplay(decimals_) : QString();
        if (shown != text()) {
            bool was = eventLock;
            eventLock = true;  // same value, only its form changes
            showValue();
            eventLock = was;
        }
    }
    QLineEdit::focusOutEvent(e);
}

QorUpDown::QorUpDown(QWidget* parent) : QSpinBox(parent)
{
    connect(this, &QSpinBox::valueChanged, this, [this] {
        if (!eventLock) emit Change();
    });
}

void QorUpDown::setMaxDigits(int digits)
{
    int limit = 1;
    for (int i = 0; i < digits && limit < 100000000; ++i) limit *= 10;
    setMaximum(std::min(maximum(), limit - 1));
}

QorColor::QorColor(QWidget* parent) : QToolButton(parent)
{
    setValue(value_);
    connect(this, &QToolButton::clicked, this, &QorColor::choose);
}

QColor QorColor::toColor(qint32 n)
{
    return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF);
}

qint32 QorColor::fromColor(const QColor& c)
{
    return qint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void QorColor::setValue(qint32 colorNumber)
{
    bool changed = colorNumber != value_;
    value_ = colorNumber;
    QPixmap swatch(32, 16);
    swatch.fill(toColor(value_));
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    if (changed && !eventLock) emit Change();
}

void QorColor::choose()
{
    QColorDialog dialog(toColor(value_), this);
    if (ui::execDialog(dialog) == QDialog::Accepted && dialog.selectedColor().isValid())
        setValue(fromColor(dialog.selectedColor()));
}

QorClick::QorClick(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), button_(new QPushButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    button_->setText(QStringLiteral("..."));
    connect(button_, &QPushButton::clicked, this, &QorClick::Click);
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        if (!eventLock) emit Change();
    });
}

QString QorClick::text() const
{
    return edit_->text();
}
void QorClick::setText(const QString& text)
{
    edit_->setText(text);
}
void QorClick::setButtonText(const QString& text)
{
    button_->setText(text);
}
