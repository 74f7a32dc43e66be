#include "documents/hand_over_text.h"
#include "documents/loading.h"
#include "platform/clipboard_link.h"
#include "platform/date_text.h"
#include "platform/qor_controls.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/sibling_databases.h"
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDirIterator>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>

// "Wklej z...": a document that another program of the family put on the clipboard, taken into
// the document form.

namespace {

struct Paste : EditingFixture {
    SiblingDatabases files{t.dir.path()};

    void TearDown() override { QApplication::clipboard()->clear(); }
    // A stored invoice 1/05/2024 with notes, and the window open on it.
    void openWithStored()
    {
        DocHeader h = invoiceHeader("1/05/2024");
        h.Uwagi = "zapisane";
        bufferDocument(t.app, h, {{"Pszenica", "10", "kg", "800,00", "7"}});
        ASSERT_TRUE(saveBuffered(t.app).ok);
        bufferNewDocument(t.app, false);
        open();
    }
    // The header fields a take-over may fill, and two it must leave alone.
    QString fields()
    {
        return QStringList{controls(form).txtNumer->text(),       controls(form).txtDatawyst->text(),
                           controls(form).txtDatasprz->text(),    controls(form).txtNazkon->text(),
                           controls(form).txtAdrkon->text(),      controls(form).txtNipkon->text(),
                           controls(form).txtPodstawa->text(),    controls(form).txtWydane->text(),
                           controls(form).txtUwagi->toPlainText()}
            .join(" | ");
    }
    QString buffered()
    {
        return t.db()
            .scalar("SELECT group_concat(Pozycja || ' ' || Nazwa || ' ' || ifnull(WartBrutto, '-'), ', ') FROM "
                    "(SELECT * FROM dopoz WHERE Nazwa IS NOT NULL ORDER BY Pozycja)")
            .toText();
    }
    void paste(const QString& text, QAction* item, int row = 0)
    {
        clipboard::writeLink(text);
        lst->setCurrentIndex(rows->index(row, 0));
        item->trigger();
    }
};

}  // namespace

TEST_F(Paste, TheEditorsPasteFillsTheDatesTheSellerTheBasisAndThePositions)
{
    open();
    controls(form).txtUwagi->setPlainText("Uwagi zostaja");
    const QString numer = controls(form).txtNumer->text();
    const QString data = dateText(QDate(2024, 5, 3));
    for (int i = 0; i < 2; ++i) {  // the same reference again gives the same document, not twice the rows
        paste(">Wirlan Data|MG|" + files.mg + "||WZ |12/2024", window->mnuPopDokWklej);
        EXPECT_EQ(fields(), QStringList({numer, data, data, "Jan Rolnik", "Wola 5", "85010112345", "Umowa 7",
                                         "WZ Nr 12/2024", "Uwagi zostaja"})
                                .join(" | "));
        EXPECT_EQ(buffered(), "1 Pszenica -, 2 Owies 2160049");
        EXPECT_EQ(controls(form).dataPoz->index(1, PositionModel::Nazwa).data().toString(), "Owies");
        EXPECT_EQ(controls(form).txtRazBrutto->value(), OptDecimal(Decimal::fromUnits(2160049)));
        EXPECT_EQ(bufferedHeader(), shownHeader());
    }
    EXPECT_EQ(editing->DokumentWklej("nazwa"), "WZ Nr 12/2024");
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
}

TEST_F(Paste, TheListsPasteReplacesTheContentOfTheSelectedStoredDocumentUnderItsOwnNumber)
{
    openWithStored();
    paste(">Wirlan Data|FA|" + files.fa + "||FV |7/05/2024", window->mnuPopKarWklej, 1);
    EXPECT_FALSE(controls(form).labPoprawa->isHidden());
    EXPECT_EQ(fields(), QStringList({"1/05/2024", dateText(QDate(2024, 5, 6)), dateText(QDate(2024, 5, 2)),
                                     "Anna O'Hara", "Lipowa 3", "5270103391", "Zlecenie 3", "Kwit 9", "zapisane"})
                            .join(" | "));
    EXPECT_EQ(buffered(), "1 Rzepak 32100000, 2 Rzepak -21400000");

    // Saved without a question: it is the document that was reopened.
    editing->Zapisz();
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Numer || ' ' || Nazkon || ' ' || Uwagi) FROM fadok").toText(),
              "1/05/2024 Anna O'Hara zapisane");
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Nazwa) FROM fapoz").toText(), "Rzepak,Rzepak");

    // This program's own reference comes from the open database, whatever file it names.
    paste(">Wirlan Data|FR|/nie/ma/takiej.mdb||FR |1/05/2024", window->mnuPopKarWklej, 0);
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());
    EXPECT_EQ(controls(form).txtNazkon->text(), "Anna O'Hara");
    EXPECT_EQ(buffered(), "1 Rzepak 32100000, 2 Rzepak -21400000");
}

TEST_F(Paste, WhatIsNotAWellFormedReadableReferenceChangesNothing)
{
    openWithStored();
    type(controls(form).txtNazkon, "Wpisany");
    const QString before = fields(), rows = buffered();
    SiblingDatabases::protect(files.zm, "tajne");
    const QStringList texts{
        "xWirlan Data|MG|" + files.mg + "||WZ |12/2024",   ">Wirlan Data|MG|" + files.mg + "|WZ |12/2024",
        ">Wirlan Data|MG|" + files.mg + "||WZ |",          ">Wirlan Data|XX|" + files.mg + "||WZ |12/2024",
        ">Wirlan Data|MG|" + files.mg + "||WZ |99/2024",   ">Wirlan Data|FR|" + files.mg + "||FR |99/2024",
        ">Wirlan Data|ZM|" + files.zm + "|inne|ZAM|Z/3",    // a wrong password: reported once, by each paste
        ">Wirlan Data|ZM|" + files.zm + "|ta|jne|ZAM|Z/3",  // refused for its password, by each paste
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        paste(text, window->mnuPopDokWklej);
        paste(text, window->mnuPopKarWklej, 1);  // nor is the selected document reopened
        EXPECT_EQ(fields(), before);
        EXPECT_EQ(buffered(), rows);
        EXPECT_TRUE(controls(form).labPoprawa->isHidden());
    }
    EXPECT_EQ(answers.dialogs, 2);
    // This program's own document that is not stored here is not found; the password is refused
    // with the message its writer gives.
    QString refusal;
    handOverText({"ZM", files.zm, "ta|jne", "ZAM", "Z/3"}, &refusal);
    const QString notFound = documentNotFoundMessage("FR Nr 99/2024");
    EXPECT_EQ(answers.texts(), QStringList({notFound, notFound, refusal, refusal}));
    answers.seen.clear();
    // A reference as plain text is not one.
    auto* plain = new QMimeData;
    plain->setText(">Wirlan Data|MG|" + files.mg + "||WZ |12/2024");
    QApplication::clipboard()->setMimeData(plain);
    window->mnuPopDokWklej->trigger();
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(editing->DokumentWklej("nazwa"), "");
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
}

// The sender's password travels in the hand-over text only: a failed take-over, reported with
// the error log switched on, leaves it in no file of the program's folder, its settings or data.
TEST_F(Paste, TheSendersPasswordReachesNoLogNorFile)
{
    const QByteArray haslo = "Sekret-7707";
    SiblingDatabases::protect(files.zm, QString::fromLatin1(haslo));
    db::Database::open(files.zm, QString::fromLatin1(haslo))->execute("UPDATE zmpoz SET ilosc = 'abc'");
    open();
    answers.dialog = [&](QDialog& d) {
        ++answers.dialogs;
        if (auto* log = d.findChild<QCheckBox*>("cbrejestr")) log->setChecked(true);
        d.done(QDialog::Accepted);
        return 0;
    };
    // The right password with a value that cannot be read, and a wrong one.
    for (const QString& text : {">Wirlan Data|ZM|" + files.zm + "|" + haslo + "|ZAM|Z/3",
                                ">Wirlan Data|ZM|" + files.zm + "|" + haslo + "x|ZAM|Z/3"})
        paste(text, window->mnuPopDokWklej);
    ASSERT_EQ(answers.dialogs, 2);
    QStringList written;
    for (const QString& folder : {t.dir.path(), QString::fromLocal8Bit(qgetenv("HOME"))}) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            written << f.fileName();
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
            EXPECT_FALSE(f.readAll().contains(haslo)) << f.fileName().toStdString();
        }
    }
    EXPECT_TRUE(written.contains(t.dir.filePath("Error.log"))) << written.join(", ").toStdString();
}
