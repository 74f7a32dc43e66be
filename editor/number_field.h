#pragma once
#include "platform/decimal.h"
#include <QLineEdit>

// A read-only amount on the form: an exact value or nothing, shown as "#,##0.00".
class NumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr) : QLineEdit(parent)
    {
        setReadOnly(true);
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    OptDecimal value() const { return value_; }
    void setValue(OptDecimal v)
    {
        value_ = v;
        setText(v ? v->toDisplay(2) : QString());
    }

private:
    OptDecimal value_;
};
