#include "documents/save.h"
#include "editor/document_list_events.h"
#include "platform/clipboard_link.h"
#include "platform/date_text.h"
#include "platform/qor_controls.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/sibling_databases.h"
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>

// "Wklej z...": a document that another program of the family put on the clipboard, taken into
// the document form.

namespace {

struct Paste : EditingFixture {
    SiblingDatabases files{t.dir.path()};

    void TearDown() override { QApplication::clipboard()->clear(); }

    // The form's header fields that a take-over may fill, and a few it must leave alone.
    QString fields()
    {
        return QStringList{form->txtNumer->text(), form->txtDatawyst->text(), form->txtDatasprz->text(),
                           form->txtNazkon->text(),  form->txtAdrkon->text(),   form->txtNipkon->text(),
                           form->txtPodstawa->text(), form->txtWydane->text(),  form->cmbPlatFor->currentText(),
                           form->txtUwagi->toPlainText()}
            .join(" | ");
    }
    QString buffered()
    {
        return t.db().scalar("SELECT group_concat(Pozycja || ' ' || Nazwa || ' ' || ifnull(WartBrutto, '-'), ', ') FROM "
                             "(SELECT * FROM dopoz WHERE Stanowisko = 0 AND Nazwa IS NOT NULL ORDER BY Pozycja)")
            .toText();
    }
    QString shownRows()
    {
        QStringList names;
        for (int r = 0; r < form->dataPoz->rowCount(); ++r) {
            const QString n = form->dataPoz->index(r, PositionModel::Nazwa).data().toString();
            if (!n.isEmpty()) names << n;
        }
        return names.join(", ");
    }
    void selectRow(int i) { lst->setCurrentItem(lst->topLevelItem(i)); }
};

} // namespace

TEST_F(Paste, TheEditorsPasteFillsTheDatesTheSellerTheBasisAndThePositions)
{
    open();
    form->txtUwagi->setPlainText("Uwagi zostaja");
    const QString numer = form->txtNumer->text();
    clipboard::writeLink(">Wirlan Data|MG|" + files.mg + "||WZ |12/2024");
    EXPECT_EQ(editing->DokumentWklej("nazwa"), "WZ Nr 12/2024");
    window->mnuPopDokWklej->trigger();
    const QString data = dateText(QDate(2024, 5, 3));
    EXPECT_EQ(fields(), QStringList({numer, data, data, "Jan Rolnik", "Wola 5", "85010112345", "Umowa 7", "WZ Nr 12/2024",
                                     "przelew", "Uwagi zostaja"})
                            .join(" | "));
    EXPECT_EQ(buffered(), "1 Pszenica -, 2 Owies 2160049");
    EXPECT_EQ(shownRows(), "Pszenica, Owies");
    EXPECT_EQ(form->txtRazBrutto->value(), OptDecimal(*Decimal::parse("216,0049")));
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();

    // The same reference again gives the same document, not twice the positions.
    window->mnuPopDokWklej->trigger();
    EXPECT_EQ(buffered(), "1 Pszenica -, 2 Owies 2160049");
}

TEST_F(Paste, TheListsPasteReplacesTheContentOfTheSelectedStoredDocumentUnderItsOwnNumber)
{
    DocHeader h = invoiceHeader("1/05/2024");
    h.Uwagi = "zapisane";
    bufferDocument(t.app, h, {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    selectRow(1);
    clipboard::writeLink(">Wirlan Data|FA|" + files.fa + "||FV |7/05/2024");
    window->mnuPopKarWklej->trigger();
    EXPECT_FALSE(form->labPoprawa->isHidden());
    EXPECT_EQ(fields(), QStringList({"1/05/2024", dateText(QDate(2024, 5, 6)), dateText(QDate(2024, 5, 2)), "Anna O'Hara",
                                     "Lipowa 3", "5270103391", "Zlecenie 3", "Kwit 9", "przelew", "zapisane"})
                            .join(" | "));
    EXPECT_EQ(buffered(), "1 Rzepak 32100000, 2 Rzepak -21400000");

    // Saved without a question: it is the document that was reopened.
    editing->Zapisz();
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT Nazkon || ' ' || Uwagi FROM fadok WHERE Numer = '1/05/2024'").toText(), "Anna O'Hara zapisane");
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Nazwa) FROM fapoz").toText(), "Rzepak,Rzepak");
}

TEST_F(Paste, ThisProgramsOwnReferenceIsServedFromTheOpenDatabaseWhateverFileItNames)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    const QString numer = form->txtNumer->text();
    clipboard::writeLink(">Wirlan Data|FR|/nie/ma/takiej.mdb||FR |1/05/2024");
    selectRow(0);
    window->mnuPopKarWklej->trigger();
    EXPECT_EQ(form->txtNumer->text(), numer);  // a copy, under the new document's number
    EXPECT_TRUE(form->labPoprawa->isHidden());
    EXPECT_EQ(form->txtNazkon->text(), "Jan O'Brien");
    EXPECT_EQ(shownRows(), "Pszenica");
    EXPECT_TRUE(answers.seen.empty());
}

TEST_F(Paste, WhatIsNotAWellFormedReferenceOrNotThereChangesNothing)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    type(form->txtNazkon, "Wpisany");
    const QString before = fields();
    const QString rows = buffered();
    const QStringList texts{
        "xWirlan Data|MG|" + files.mg + "||WZ |12/2024",
        ">Wirlan Data|MG|" + files.mg + "|WZ |12/2024",
        ">Wirlan Data|MG|" + files.mg + "||WZ |",
        ">Wirlan Data|XX|" + files.mg + "||WZ |12/2024",
        ">Wirlan Data|MG|" + files.mg + "||WZ |99/2024",
        ">Wirlan Data|FR|" + files.mg + "||FR |99/2024",
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        clipboard::writeLink(text);
        window->mnuPopDokWklej->trigger();
        selectRow(1);
        window->mnuPopKarWklej->trigger();
        EXPECT_EQ(fields(), before);
        EXPECT_EQ(buffered(), rows);
        EXPECT_TRUE(form->labPoprawa->isHidden());
    }
    // A reference as plain text is not one.
    auto* plain = new QMimeData;
    plain->setText(">Wirlan Data|MG|" + files.mg + "||WZ |12/2024");
    QApplication::clipboard()->setMimeData(plain);
    window->mnuPopDokWklej->trigger();
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(editing->DokumentWklej("nazwa"), "");
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
}

TEST_F(Paste, ASendersFileThatCannotBeReadIsReportedAndTheFormKeptWhole)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    const QString before = fields();
    const QString rows = buffered();
    SiblingDatabases::protect(files.zm, "tajne");
    clipboard::writeLink(">Wirlan Data|ZM|" + files.zm + "|inne|ZAM|Z/3");
    selectRow(1);
    window->mnuPopKarWklej->trigger();
    EXPECT_EQ(answers.dialogs, 1);  // the error report
    EXPECT_EQ(fields(), before);
    EXPECT_EQ(buffered(), rows);
    EXPECT_TRUE(form->labPoprawa->isHidden());

    clipboard::writeLink(">Wirlan Data|ZM|" + files.zm + "|tajne|ZAM|Z/3");
    window->mnuPopDokWklej->trigger();
    EXPECT_EQ(form->txtPodstawa->text(), QString::fromUtf8("Zamówienie Nr Z/3"));
    EXPECT_EQ(buffered(), QString::fromUtf8("1 Jęczmień 1220000, 2 Owies 122600, 3 Bez ceny -"));
    EXPECT_EQ(answers.dialogs, 1);
}
