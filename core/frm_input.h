#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QorCombo;

// The frame of the input boxes: a description over the fields, OK and Anuluj at the right. OK
// and Anuluj set Wynik and close the box; the caller reads the fields.
class InputBox : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InputBox)
public:
    bool Wynik = false;
    QLabel* labOpis;
    QPushButton* cmdOk;
    QPushButton* cmdAnuluj;
    void cmdOk_Click();
    void cmdAnuluj_Click();

protected:
    InputBox(const char* name, QWidget* parent);
    // Places the fields under the description and the buttons at the right.
    void layOut(const QList<QWidget*>& fields);
};

// A one-line input box.
class frmInput final : public InputBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmInput)
public:
    explicit frmInput(QWidget* parent = nullptr);
    QLineEdit* txtInput;
};

// A choice box over a QorCombo list.
class frmInCmb final : public InputBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmInCmb)
public:
    explicit frmInCmb(QWidget* parent = nullptr);
    QLabel* labOpisCmb;
    QorCombo* cmbInput;
};

// Asks for one line of text: the text when confirmed with OK, else "" (also when a default was
// given). left and top place the box in twips; negative keeps the default place.
QString InputText(const QString& prompt, const QString& caption, const QString& defaultText = QString(), int left = -1,
                  int top = -1, QWidget* parent = nullptr);
