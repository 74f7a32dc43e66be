#include "core/dlg_user_haslo.h"
#include "core/dlg_baza_haslo.h"
#include "core/haslo.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Login : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    dlgUserHaslo d{t.app};

    void SetUp() override
    {
        auto user = [&](const char* id, const char* imie, const char* haslo, bool aktywny, bool admin) {
            t.db().execute(
                "INSERT INTO dboso (Indoso, Imie, Nazwisko, Haslo, Aktywny, Admin) VALUES (?, ?, 'Nowak', ?, ?, ?)",
                {id, imie, haslo ? db::Value(HasloKoduj(kHasloKlucz, haslo, 20)) : db::Value(), aktywny, admin});
        };
        user("ANNA", "Anna", "Tajne#1", true, false);
        user("O'B", "Ola", nullptr, true, false);
        user("STARY", "Jan", nullptr, false, false);
        user("OBCY", "Piotr", nullptr, true, false);
        user("ADM", "Ewa", "szef", true, true);
        for (const char* id : {"ANNA", "O'B", "STARY"})
            t.db().execute("INSERT INTO dbupr (Indoso, Indprg, Poziom) VALUES (?, 'FR', '2')", {id});
        t.db().execute("INSERT INTO dbupr (Indoso, Indprg, Poziom) VALUES ('OBCY', 'XX', '1')");
        d.BazaHasla(&t.db());
    }

    // Types the id and the password as a person does, presses OK and tells whether it let in.
    bool login(const QString& id, const QString& haslo)
    {
        d.txtIndoso->clear();
        QTest::keyClicks(d.txtIndoso, id);
        d.txtHaslo->setText(haslo);
        d.Tag.clear();
        d.cmdOk->click();
        return d.Tag == "Ok";
    }
};

}  // namespace

TEST_F(Login, LetsInOnlyAFoundUserWithTheExactPassword)
{
    const struct {
        QString id, haslo;
        bool in;
        const char* name;
    } cases[] = {
        {"O'B", "", true, "Nowak Ola"},  // no stored password: any text, also none
        {"O'B", "cokolwiek", true, "Nowak Ola"},
        {"ANNA", "Tajne#1", true, "Nowak Anna"},
        {"ANNA", "", false, "Nowak Anna"},
        {"ANNA", "Taj", false, "Nowak Anna"},  // a leading part is not the password
        {"ANNA", "tajne#1", false, "Nowak Anna"},
        {"ADM", "szef", true, "Nowak Ewa"},  // an administrator needs no rights row
        {"STARY", "", false, ""},            // inactive
        {"OBCY", "", false, ""},             // rights in another program only
        {"NIKT", "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id.toStdString() + " / " + c.haslo.toStdString());
        r.seen.clear();
        EXPECT_EQ(login(c.id, c.haslo), c.in);
        EXPECT_EQ(d.txtNazwisko->text(), QString::fromUtf8(c.name));
        if (!c.in) {
            ASSERT_EQ(r.seen.size(), 1u);
            EXPECT_EQ(r.seen[0].text, "Błędne hasło, brak dostępu.");
            EXPECT_TRUE(d.txtHaslo->text().isEmpty());
        }
    }
    // A look-up that finds nobody forgets the user found before.
    login("ANNA", "");
    QTest::keyClick(d.txtIndoso, Qt::Key_X);
    EXPECT_TRUE(d.txtNazwisko->text().isEmpty());
    d.cmdAnuluj->click();
    EXPECT_EQ(d.Tag, "Anuluj");
}

TEST_F(Login, ChangingThePasswordNeedsTheCurrentOneAndStoresTheNewScrambled)
{
    QString nowe = "Nowe!2";
    r.dialog = [&](QDialog& dialog) {
        auto& h = dynamic_cast<dlgBazaHaslo&>(dialog);
        EXPECT_EQ(h.windowTitle(), "Hasło: Nowak Anna");
        h.txtOpis->setText(nowe);
        h.txtHaslo->setText(nowe);
        h.cmdOk->click();
        return int(QDialog::Accepted);
    };
    auto stored = [&] { return t.db().scalar("SELECT Haslo FROM dboso WHERE Indoso = 'ANNA'"); };
    const db::Value before = stored();

    QTest::keyClicks(d.txtIndoso, "ANNA");
    d.txtHaslo->setText("Taj");
    d.cmdZmien->click();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, "Aby zmienić hasło należy podać aktualnie obowiązujące hasło.");
    EXPECT_EQ(r.seen[0].title, "Błędne hasło");
    EXPECT_EQ(stored().toText(), before.toText());

    d.txtHaslo->setText("Tajne#1");
    d.cmdZmien->click();
    EXPECT_EQ(d.Tag, "Zmien");
    EXPECT_EQ(stored().toText(), HasloKoduj(kHasloKlucz, nowe, 20));
    EXPECT_EQ(d.txtHaslo->text(), nowe);
    d.cmdOk->click();  // the new password is the one in force at once
    EXPECT_EQ(d.Tag, "Ok");
    EXPECT_TRUE(passwordMatches(kHasloKlucz, nowe, stored().toText()));

    nowe.clear();  // an empty new password is stored as NULL
    d.txtHaslo->setText("Nowe!2");
    d.cmdZmien->click();
    EXPECT_TRUE(stored().isNull());
}
