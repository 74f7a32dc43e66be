#pragma once
#include <QDialog>
#include <QString>

class App;
class QGroupBox;
class QLineEdit;
class QPushButton;
namespace db {
class Database;
}

// The user login (dlgUserHaslo): checks a user's password against the users of a database shared
// by the family's programs (dboso, with the rights in dbupr) and lets the user change it. The
// caller sets BazaHasla, shows the dialog modally and reads Tag ("Ok", "Anuluj" or "Zmien") and
// the user id afterwards; OK and Anuluj only hide it.
class dlgUserHaslo final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgUserHaslo)
public:
    explicit dlgUserHaslo(App& app, QWidget* parent = nullptr);

    void BazaHasla(db::Database* database) { userDatabase_ = database; }
    QString Tag;

    QGroupBox* Frame1;
    QLineEdit* txtIndoso;
    QLineEdit* txtNazwisko;
    QLineEdit* txtHaslo;
    QPushButton* cmdOk;
    QPushButton* cmdAnuluj;
    QPushButton* cmdZmien;

    // Looks up the active user of the id field who has rights in this program (or is an
    // administrator); what the previous look-up found is forgotten first.
    void Odczyt();
    // Stores a new password of a user, scrambled; an empty one is stored as NULL.
    bool ZapiszHaslo(const QString& indoso, const QString& haslo);

    void cmdOk_Click();
    void cmdAnuluj_Click();
    void cmdZmien_Click();
    void reject() override;  // Esc and the close box act as "Anuluj"

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool passwordCorrect() const;
    void odmowa(const QString& text, const QString& title);

    App& app_;
    db::Database* userDatabase_ = nullptr;
    bool userFound_ = false;
    QString rightsLevel_;  // the user's rights level; nothing reads it yet
    QString password_;     // the user's stored password as stored (scrambled); empty when none
};
