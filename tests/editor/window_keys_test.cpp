#include "register/register_page.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include <QPlainTextEdit>

// The main window's keys: Enter as Tab, Ctrl+Enter saving, Ctrl+N starting a new document.

namespace {

struct KeysFixture : EditingFixture {
    void press(QWidget* w, int key, Qt::KeyboardModifiers m = {})
    {
        w->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), m);
    }
    qint64 stored() { return t.db().scalar("SELECT count(*) FROM fadok").toInt(); }
    // Where Tab takes the focus from `w` (a notes field taken as one that Tab leaves).
    QWidget* afterTab(QWidget* w)
    {
        controls(form).txtUwagi->setTabChangesFocus(true);
        press(w, Qt::Key_Tab);
        controls(form).txtUwagi->setTabChangesFocus(false);
        return QApplication::focusWidget();
    }
};

}  // namespace

TEST_F(KeysFixture, EnterMovesOnAsTabWouldExceptInANotesFieldThatHoldsTextAndInTheGrid)
{
    open();
    controls(form).tabPoz->setCurrentIndex(2);
    const std::tuple<QWidget*, QString, int, bool, QString> cases[] = {
        // field, notes text, caret, moves on, notes after
        {controls(form).txtNazkon, "", 0, true, ""},
        {controls(form).cmbPlatFor, "", 0, true, ""},
        {controls(form).txtUwagi, "", 0, true, ""},
        {controls(form).txtUwagi, "Uwaga", 5, false, "Uwaga\n"},
        {controls(form).txtUwagi, "Uwaga\n", 6, true, "Uwaga\n"},
        {controls(form).txtUwagi, "Uwaga\n", 0, false, "\nUwaga\n"},
    };
    for (bool setting : {true, false}) {
        t.app.gPrgPar.EnterToTab = setting;
        for (const auto& [field, notes, caret, movesOn, after] : cases) {
            SCOPED_TRACE(field->objectName().toStdString() + " '" + notes.toStdString() + "' " +
                         std::to_string(setting));
            QWidget* next = afterTab(field);
            controls(form).txtUwagi->setPlainText(notes);
            QTextCursor cur = controls(form).txtUwagi->textCursor();
            cur.setPosition(caret);
            controls(form).txtUwagi->setTextCursor(cur);
            controls(form).cmbPlatFor->setEditText("czekiem");
            const int items = controls(form).cmbPlatFor->count();
            press(field, Qt::Key_Return);
            const bool moved =
                !(QApplication::focusWidget() == field || field->isAncestorOf(QApplication::focusWidget()));
            EXPECT_EQ(moved, setting && movesOn);
            if (moved) {
                EXPECT_EQ(QApplication::focusWidget(), next);
            }
            if (setting) {
                EXPECT_EQ(controls(form).txtUwagi->toPlainText(), field == controls(form).txtUwagi ? after : notes);
                EXPECT_EQ(controls(form).cmbPlatFor->count(), items) << "Enter adds nothing to a list";
            }
        }
    }
    t.app.gPrgPar.EnterToTab = true;  // the grid keeps its Enter
    controls(form).tabPoz->setCurrentIndex(0);
    press(controls(form).gridPoz, Qt::Key_Return);
    EXPECT_TRUE(controls(form).gridPoz->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == controls(form).gridPoz);
}

// Enter is the grid's Tab: from the last cell of the last row it opens a new row, and what is
// typed next goes there, never over the first position.
TEST_F(KeysFixture, TabAndEnterInTheLastCellOfTheLastRowAppendARow)
{
    open();
    t.app.gPrgPar.EnterToTab = true;
    PositionGrid* grid = controls(form).gridPoz;
    for (int key : {Qt::Key_Tab, Qt::Key_Return}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        form->NowyDokument();
        typeRow(0, "Owies", "2", "kg", "5", "7");
        const int rows = grid->model()->rowCount();
        grid->setCurrentIndex(grid->model()->index(rows - 1, PositionModel::WartBrutto));
        press(grid, key);
        EXPECT_EQ(grid->model()->rowCount(), rows + 1);
        EXPECT_EQ(grid->currentIndex().row(), rows);
        press(grid, key);  // on to the name
        for (QChar c : QString::fromUtf8("Jęczmień")) typeText(QApplication::focusWidget(), c);
        press(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(t.db().scalar("SELECT Nazwa FROM dopoz WHERE Pozycja = 1").toText(), "Owies");
        EXPECT_EQ(t.db().scalar("SELECT Nazwa FROM dopoz WHERE Pozycja = ?", {rows + 1}).toText(),
                  QString::fromUtf8("Jęczmień"));
    }
}

// Tab and Enter from the header's last field lead past the tab bar to the first row's name of the
// grid shown: the product typed next is its name, and the next key takes it on to the quantity.
TEST_F(KeysFixture, TabAndEnterFromTheLastHeaderFieldLeadToTheFirstNameOfTheGridShown)
{
    open();
    t.app.gPrgPar.EnterToTab = true;
    const std::tuple<int, bool> cases[] = {
        // key, on a correction (its positions before the correction shown)
        {Qt::Key_Tab, false},
        {Qt::Key_Return, false},
        {Qt::Key_Return, true},
    };
    for (const auto& [key, correction] : cases) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString() + (correction ? " correction" : ""));
        form->NowyDokument();
        PositionGrid* grid = controls(form).gridPoz;
        if (correction) {
            controls(form).cmbDokument->setBoundValue("KFR");
            controls(form).tabPoz->setCurrentIndex(1);
            grid = controls(form).gridKor;
        }
        grid->setCurrentIndex(grid->model()->index(1, PositionModel::Cenanet));  // where the clerk was before
        press(controls(form).txtPlatRach, key);
        auto typed = [](const QString& text) {
            for (QChar c : text) typeText(QApplication::focusWidget(), c);
        };
        typed("Owies");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        typed("10");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        const Position& first = grid->positions()->position(0);
        EXPECT_EQ(first.Nazwa, "Owies");
        EXPECT_EQ(first.Ilosc.value_or(Decimal()).toString(), "10");
    }
}

TEST_F(KeysFixture, CtrlEnterSavesCtrlNStartsAnewAndTheArchiveLockStopsBoth)
{
    open();
    const std::tuple<int, Qt::KeyboardModifiers, bool, bool, bool> cases[] = {
        // key, modifiers, archive, saves, starts a new document
        {Qt::Key_Return, Qt::ControlModifier, false, true, true},
        {Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, false, true, true},
        {Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, false, true, true},
        {Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier, false, false, false},
        {Qt::Key_Return, Qt::AltModifier, false, false, false},
        {Qt::Key_N, Qt::ControlModifier, false, false, true},
        {Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier, false, false, false},
        {Qt::Key_N, Qt::ControlModifier, true, false, false},
    };
    for (const auto& [key, mods, archive, saves, starts] : cases) {
        SCOPED_TRACE(QKeySequence(int(mods & ~Qt::KeypadModifier) | key).toString().toStdString() +
                     (archive ? " archive" : ""));
        t.db().execute("DELETE FROM fadok");
        BaseParSave(t.app, t.db(), "BazaOdczyt", archive ? "1" : "0");
        window->Przylacz();
        form->NowyDokument();
        typeSeller();
        if (!archive) typeRow(0, "Owies", "2", "kg", "5", "7");
        press(controls(form).txtAdrkon, key, mods);
        EXPECT_EQ(stored(), saves ? 1 : 0);
        EXPECT_EQ(controls(form).txtNazkon->text().isEmpty(), starts);
        EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    }
}

TEST_F(KeysFixture, CtrlEnterOnTheRegisterPageSavesTheEnteredDocument)
{
    open();
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    window->btnKartoteka->trigger();
    press(pages->picKartoteka->txtFNazwa(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(stored(), 1);
    EXPECT_TRUE(page->isHidden()) << "the register stays shown";
}
