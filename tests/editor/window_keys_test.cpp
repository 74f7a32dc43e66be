#include "register/register_page.h"
#include "support/editing_window.h"
#include <QDialog>
#include <QPlainTextEdit>
#include <QVBoxLayout>

// The main window's keys: Enter as Tab, Ctrl+Enter saving, Ctrl+N starting a new document.

namespace {

struct KeysFixture : EditingFixture {
    // Where Tab takes the focus from `w` (a notes field taken as one that Tab leaves).
    QWidget* afterTab(QWidget* w)
    {
        auto* notes = qobject_cast<QPlainTextEdit*>(w);
        if (notes) notes->setTabChangesFocus(true);
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (notes) notes->setTabChangesFocus(false);
        return QApplication::focusWidget();
    }
    void press(QWidget* w, int key, Qt::KeyboardModifiers m = {})
    {
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), m);
    }
    qint64 stored() { return t.db().scalar("SELECT count(*) FROM fadok").toInt(); }
};

} // namespace

TEST_F(KeysFixture, EnterMovesOnAsTabWouldExceptInANotesFieldThatHoldsTextAndInTheGrid)
{
    open();
    struct Case {
        const char* name;
        QWidget* field;
        std::function<void()> prepare;
        bool movesOn;
        QString notesAfter;  // for the notes field
    } cases[] = {
        {"text field", form->txtNazkon, [] {}, true, ""},
        {"date field", form->txtDatawyst, [] {}, true, ""},
        {"combo box with a new text", form->cmbPlatFor, [&] { form->cmbPlatFor->setEditText("czekiem"); }, true, ""},
        {"empty notes", form->txtUwagi, [&] { form->txtUwagi->clear(); }, true, ""},
        {"notes, caret after the text", form->txtUwagi,
         [&] {
             form->txtUwagi->setPlainText("Uwaga");
             form->txtUwagi->moveCursor(QTextCursor::End);
         },
         false, "Uwaga\n"},
        {"notes, caret after an empty last line", form->txtUwagi,
         [&] {
             form->txtUwagi->setPlainText("Uwaga\n");
             form->txtUwagi->moveCursor(QTextCursor::End);
         },
         true, "Uwaga\n"},
        {"notes ending in a line break, caret at the start", form->txtUwagi,
         [&] {
             form->txtUwagi->setPlainText("Uwaga\n");
             form->txtUwagi->moveCursor(QTextCursor::Start);
         },
         false, "\nUwaga\n"},
    };
    for (bool enterToTab : {true, false}) {
        t.app.gPrgPar.EnterToTab = enterToTab;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (enterToTab ? "" : ", setting off"));
            form->tabPoz->setCurrentIndex(c.field == form->txtUwagi ? 2 : 0);
            c.prepare();
            QWidget* tabTarget = afterTab(c.field);
            c.prepare();
            const int items = form->cmbPlatFor->count();
            press(c.field, Qt::Key_Return);
            const bool moved = QApplication::focusWidget() != c.field && !c.field->isAncestorOf(QApplication::focusWidget());
            EXPECT_EQ(moved, enterToTab && c.movesOn);
            if (moved) EXPECT_EQ(QApplication::focusWidget(), tabTarget);
            if (enterToTab) EXPECT_EQ(form->cmbPlatFor->count(), items) << "no item added by Enter";
            if (c.field == form->txtUwagi && enterToTab) EXPECT_EQ(form->txtUwagi->toPlainText(), c.notesAfter);
        }
    }
    // The grid keeps its Enter.
    t.app.gPrgPar.EnterToTab = true;
    form->tabPoz->setCurrentIndex(0);
    form->gridPoz->setCurrentIndex(form->dataPoz->index(0, PositionModel::Nazwa));
    press(form->gridPoz, Qt::Key_Return);
    EXPECT_TRUE(form->gridPoz->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == form->gridPoz);
}

TEST_F(KeysFixture, CtrlEnterSavesCtrlNStartsAnewAndTheArchiveLockStopsBoth)
{
    open();
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        bool archive;
        bool saves;
        bool starts;  // a new document replaced the typed one
    } cases[] = {
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, false, true, true},
        {"Ctrl+Shift+Enter", Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, false, true, true},
        {"Ctrl+Enter on the keypad", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, false, true, true},
        {"Ctrl+Alt+Enter", Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier, false, false, false},
        {"Alt+Enter", Qt::Key_Return, Qt::AltModifier, false, false, false},
        {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, false, false, true},
        {"Ctrl+Shift+N", Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier, false, false, false},
        {"Ctrl+Enter on an archive", Qt::Key_Return, Qt::ControlModifier, true, false, false},
        {"Ctrl+N on an archive", Qt::Key_N, Qt::ControlModifier, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.db().execute("DELETE FROM fapoz");
        t.db().execute("DELETE FROM fadok");
        BaseParSave(t.app, t.db(), "BazaOdczyt", "0");
        window->Przylacz();
        form->NowyDokument();
        typeSeller();
        typeRow(0, "Owies", "2", "kg", "5", "7");
        if (c.archive) {
            BaseParSave(t.app, t.db(), "BazaOdczyt", "1");
            window->Przylacz();
            typeSeller();
        }
        answers.seen.clear();
        press(form->txtAdrkon, c.key, c.mods);
        EXPECT_EQ(stored(), c.saves ? 1 : 0);
        EXPECT_EQ(form->txtNazkon->text().isEmpty(), c.starts);
        EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    }
}

TEST_F(KeysFixture, CtrlEnterOnTheRegisterPageSavesTheEnteredDocumentAndDialogsKeepTheirKeys)
{
    open();
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    window->btnKartoteka->trigger();
    ASSERT_TRUE(page->isHidden());
    // A window of its own over the main window: its keys are its own.
    QDialog dialog(window.get());
    auto* field = new QLineEdit(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(field);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    press(field, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->txtNazkon->text(), "Jan O'Brien");
    dialog.hide();
    QApplication::setActiveWindow(window.get());

    press(pages->picKartoteka->txtFNazwa, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(stored(), 1);
    EXPECT_TRUE(form->txtNazkon->text().isEmpty());
    EXPECT_TRUE(page->isHidden()) << "the page shown stays";
}
