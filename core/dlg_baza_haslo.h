#pragma once
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The database password dialog. Prompt mode (NoweHaslo(false)) shows the database in txtOpis
// and takes the password in txtHaslo; new-password mode (NoweHaslo(true)) takes a new password
// in txtOpis and its confirmation in txtHaslo. OK and Cancel set Wynik and hide the dialog; the
// caller reads the fields afterwards.
class dlgBazaHaslo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgBazaHaslo)
public:
    explicit dlgBazaHaslo(QWidget* parent = nullptr);

    bool Wynik = false;
    void NoweHaslo(bool nowe);

    QLabel* labOpis;
    QLineEdit* txtOpis;
    QLabel* labHaslo;
    QLineEdit* txtHaslo;
    QPushButton* cmdOk;
    QPushButton* cmdAnuluj;

    void cmdOk_Click();
    void cmdAnuluj_Click();
    void reject() override;  // Esc and the close box act as "Anuluj"

private:
    bool newPassword_ = false;
};

// Asks for the password of the protected database `opis` (its path without the extension).
// Empty optional when the user cancelled.
std::optional<QString> askDatabasePassword(QWidget* parent, const QString& opis);
// Asks for a new database password with its confirmation; empty optional when cancelled.
std::optional<QString> askNewDatabasePassword(QWidget* parent, const QString& current = QString());
