#include "editor/header_fields.h"
#include "documents/payment_terms.h"
#include "documents/position_math.h"
#include "editor/document_form.h"
#include "platform/date_text.h"
#include "platform/message_box.h"
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

HeaderFields::HeaderFields(DocumentForm* form) : QObject(form), form_(form)
{
    // Installed after the form's own filter, so it runs first and can keep a wrong date from
    // reaching the form's handling of a left issue date.
    for (QLineEdit* f : {form_->txtDatawyst, form_->txtDatasprz, form_->txtDatadok}) f->installEventFilter(this);
    connect(form_->cmbPlatTer, &QComboBox::editTextChanged, this, &HeaderFields::cmbPlatTer_Change);
    connect(form_->cmbPlatTer, &QComboBox::activated, this, &HeaderFields::cmbPlatTer_Click);
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
    return validate(form_->txtDatawyst);
}

bool HeaderFields::txtDatasprz_Validate()
{
    return validate(form_->txtDatasprz);
}

bool HeaderFields::txtDatadok_Validate()
{
    return validate(form_->txtDatadok);
}

void HeaderFields::cmbPlatTer_Change()
{
    if (form_->daysSetPaymentTerm()) return;
    if (auto days = daysToPaymentTerm(textDate(form_->txtDatawyst->text()), form_->cmbPlatTer->currentText()))
        form_->cmbPlatdni->setEditText(QString::number(*days));
}

void HeaderFields::cmbPlatTer_Click(int index)
{
    QComboBox* ter = form_->cmbPlatTer;
    if (index == 0) {
        const QDate issue = textDate(form_->txtDatawyst->text());
        if (!issue.isValid()) return;
        const qint64 days = Val(form_->cmbPlatdni->currentText()).wholeUnits();
        const QString date = dateText(issue.addDays(days));
        ter->setItemText(0, date);
        ter->setEditText(date);
    } else if (index == 1) {
        ter->setItemText(0, QStringLiteral("[data]"));
    }
}
