#pragma once
#include <QObject>
#include <functional>

class QComboBox;
class QFocusEvent;
class QLineEdit;

// Warns, with the date message, when a date field holds a text that is not a date (an empty one
// passes); true after the warning.
bool isInvalidDate(const QLineEdit* field);

// The header's own rules on the document form: the three date fields refuse to be left with a
// text that is not a date, and the payment term follows the typed days and the days a typed
// payment date. (The days → term direction and leaving the issue date are the form's own.)
class HeaderFields final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeaderFields)
public:
    // The form's fields that these rules watch and write.
    struct Fields {
        QLineEdit* txtDatawyst;
        QLineEdit* txtDatasprz;
        QLineEdit* txtDatadok;
        QComboBox* cmbPlatdni;
        QComboBox* cmbPlatTer;
        // True while the days are setting the payment term: the term then leaves the days alone.
        std::function<bool()> daysSetPaymentTerm;
    };
    // Watches `fields` of the form `parent`; installed after the form's own handling of a left
    // issue date, so that a wrong date never reaches it.
    HeaderFields(QObject* parent, Fields fields);

    // Date validation of a field about to lose the focus: true (cancel: the focus stays) after
    // the warning when the text is neither empty nor a date.
    bool txtDatawyst_Validate();
    bool txtDatasprz_Validate();
    bool txtDatadok_Validate();
    // A typed payment date gives the days from the issue date.
    void cmbPlatTer_Change();
    // Picking "[data]" shows the payment date from the days; picking the delivery text brings
    // "[data]" back as the first item.
    void cmbPlatTer_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool validate(QLineEdit* field);
    static bool leavesTheWindow(const QFocusEvent* e);

    Fields f_;
    bool warning_ = false;  // a date warning is on screen: its own focus changes are not checked
};
