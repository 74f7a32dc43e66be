#include "core/polish_language.h"
#include "platform/date_text.h"
#include "platform/db_value.h"
#include "platform/decimal.h"
#include "register/register_columns.h"
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <gtest/gtest.h>

// Whatever language the machine is set to (played here by the locale a program gets by default),
// the standard buttons and the print dialog of Qt read Polish, and numbers and dates take the
// Polish form.
TEST(PolishLanguage, DialogButtonsNumbersAndDatesArePolishOnAMachineOfAnotherLanguage)
{
    const QLocale before;
    for (const QLocale& machine : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        SCOPED_TRACE(machine.name().toStdString());
        QLocale::setDefault(machine);
        {
            const PolishLanguage polish;
            ASSERT_TRUE(polish.translated()) << "Qt's Polish translations are not installed";

            QMessageBox box(QMessageBox::Question, "Pytanie", "Zapisać?",
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Tak");
            EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nie");
            EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Anuluj");

            QFileDialog dialog(nullptr, "Zapisz dokument do pliku");
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            EXPECT_EQ(buttons->button(QDialogButtonBox::Save)->text(), "&Zachowaj");
            EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "Anuluj");

            // The print dialog, including the texts that Qt's Polish catalogue lacks; the tab
            // of the printer's properties is made only when they are opened.
            QPrinter printer;
            QPrintDialog print(&printer);
            QStringList shown;
            for (auto* b : print.findChildren<QAbstractButton*>()) shown << b->text();
            for (auto* g : print.findChildren<QGroupBox*>()) shown << g->title();
            for (const char* text : {"Strony", "Drukowanie dwustronne", "Wyłączone", "Oprawa wzdłuż dłuższej krawędzi",
                                     "Oprawa wzdłuż krótszej krawędzi", "Wy&drukuj", "Zakres wydruku"})
                EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text;
            EXPECT_EQ(QCoreApplication::translate("QPrintPropertiesWidget", "Advanced"), "Zaawansowane");

            // The register's general-number column and its dates, and the form's dates.
            const RegisterColumn& doZaplaty = registerColumns()[size_t(registerColumn("DoZaplaty"))];
            EXPECT_EQ(cellText(doZaplaty, db::Value(*Decimal::parse("3934.6"))), "3934,6");
            const RegisterColumn& datawyst = registerColumns()[size_t(registerColumn("Datawyst"))];
            EXPECT_EQ(cellText(datawyst, db::Value(QDate(2024, 5, 2))), "2.05.2024");
            EXPECT_EQ(dateText(QDate(2024, 5, 2)), "2.05.2024");
            EXPECT_EQ(textDate("2.05.2024"), QDate(2024, 5, 2));
        }
        EXPECT_EQ(QLocale(), machine);  // the program's end puts the machine's language back
    }
    QLocale::setDefault(before);
}
