#include "editor/header_fields.h"
#include "documents/payment_terms.h"
#include "documents/position_math.h"
#include "platform/date_text.h"
#include "platform/message_box.h"
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

HeaderFields::HeaderFields(QObject* parent, Fields fields) : QObject(parent), f_(std::move(fields))
{
    // Installed after the form's own filter, so it runs first and can keep a wrong date from
    // reaching the form's handling of a left issue date.
    for (QLineEdit* f : {f_.txtDatawyst, f_.txtDatasprz, f_.txtDatadok}) f->installEventFilter(this);
    connect(f_.cmbPlatTer, &QComboBox::editTextChanged, this, &HeaderFields::cmbPlatTer_Change);
    connect(f_.cmbPlatTer, &QComboBox::activated, this, &HeaderFields::cmbPlatTer_Click);
}

bool HeaderFields::eventFilter(QObject* watched, QEvent* event)
{
    // Only a move to another field of the window is checked: switching to another window or
    // opening a menu leaves the text to be finished afterwards.
    if (event->type() == QEvent::FocusOut && !warning_ && !leavesTheWindow(static_cast<QFocusEvent*>(event))) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field && validate(field)) {
            QTimer::singleShot(0, field, [field] { field->setFocus(); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool HeaderFields::leavesTheWindow(const QFocusEvent* e)
{
    return e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
}

bool isInvalidDate(const QLineEdit* field)
{
    if (field->text().trimmed().isEmpty() || textDate(field->text()).isValid()) return false;
    ui::msgBox(QStringLiteral("Błędna data. Wprowadź datę w formacie daty krótkiej ustawień lokalnych systemu, np: ") +
                   dateText(QDate::currentDate()),
               ui::Buttons::Ok, ui::Icon::Exclamation);
    return true;
}

bool HeaderFields::validate(QLineEdit* field)
{
    warning_ = true;
    const bool wrong = isInvalidDate(field);
    warning_ = false;
    return wrong;
}

bool HeaderFields::txtDatawyst_Validate()
{
    return validate(f_.txtDatawyst);
}

bool HeaderFields::txtDatasprz_Validate()
{
    return validate(f_.txtDatasprz);
}

bool HeaderFields::txtDatadok_Validate()
{
    return validate(f_.txtDatadok);
}

void HeaderFields::cmbPlatTer_Change()
{
    if (f_.daysSetPaymentTerm()) return;
    if (auto days = daysToPaymentTerm(textDate(f_.txtDatawyst->text()), f_.cmbPlatTer->currentText()))
        f_.cmbPlatdni->setEditText(QString::number(*days));
}

void HeaderFields::cmbPlatTer_Click(int index)
{
    QComboBox* ter = f_.cmbPlatTer;
    if (index == 0) {
        const QDate issue = textDate(f_.txtDatawyst->text());
        if (!issue.isValid()) return;
        const qint64 days = Val(f_.cmbPlatdni->currentText()).wholeUnits();
        const QString date = dateText(issue.addDays(days));
        ter->setItemText(0, date);
        ter->setEditText(date);
    } else if (index == 1) {
        ter->setItemText(0, QStringLiteral("[data]"));
    }
}
