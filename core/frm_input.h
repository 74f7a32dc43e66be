#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QorCombo;

// A one-line input box. OK and Cancel set Wynik and hide the box; the caller reads txtInput.
class frmInput : public QDialog {
    Q_OBJECT
public:
    explicit frmInput(QWidget* parent = nullptr);
    bool Wynik = false;
    QLabel* labOpis;
    QLineEdit* txtInput;
    QPushButton* cmdOk;
    QPushButton* cmdAnuluj;
    void cmdOk_Click();
    void cmdAnuluj_Click();
};

// A choice box over a QorCombo list. OK and Cancel set Wynik and hide the box.
class frmInCmb : public QDialog {
    Q_OBJECT
public:
    explicit frmInCmb(QWidget* parent = nullptr);
    bool Wynik = false;
    QLabel* labOpis;
    QLabel* labOpisCmb;
    QorCombo* cmbInput;
    QPushButton* cmdOk;
    QPushButton* cmdAnuluj;
    void cmdOk_Click();
    void cmdAnuluj_Click();
};

// Asks for one line of text: the text when confirmed with OK, else "" (also when a default was
// given). left and top place the box in twips; negative keeps the default place.
QString InputText(const QString& prompt, const QString& caption, const QString& defaultText = QString(), int left = -1,
                  int top = -1, QWidget* parent = nullptr);
