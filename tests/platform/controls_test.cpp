#include "platform/instance_channel.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(QorComboTest, RefillRaisesChangeOnlyWithoutTheLock)
{
    QorCombo c;
    QSignalSpy changes(&c, &QorCombo::Change);
    c.setRowSource("LIST 0;Outlook Express (Mail)|1;Inny program pocztowy|2;Outlook|3;Outlook 2010");
    c.eventLock = true;
    c.Refill();
    c.setBoundValue("2");
    c.eventLock = false;
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(c.count(), 4);
    EXPECT_EQ(c.text(), "Outlook");

    c.Refill();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(c.boundValue().toString(), "2");  // the chosen key survives the refill
    c.setBoundValue("3");
    EXPECT_EQ(changes.count(), 2);
}

TEST(QorComboTest, NullBoundValueChoosesNothing)
{
    QorCombo c;
    c.setRowSource("LIST html;Dokument HTML|pdf;Dokument PDF");
    c.Refill();
    EXPECT_TRUE(c.boundValue().isNull());  // a fresh list chooses nothing
    c.setBoundValue("pdf");
    EXPECT_EQ(c.text(), "Dokument PDF");
    c.setBoundValue(QVariant());
    EXPECT_EQ(c.currentIndex(), -1);
    EXPECT_TRUE(c.boundValue().isNull());
    c.setText("Dokument HTML");
    EXPECT_EQ(c.boundValue().toString(), "html");
    c.setBoundValue("nieznany");
    EXPECT_TRUE(c.boundValue().isNull());
}

TEST(QorComboTest, QueryRowSourceTakesKeyAndText)
{
    TempDatabase t;
    t.db().execute("INSERT INTO dbpar (Indpar, Wartosc) VALUES ('A', 'pierwszy'), ('B', 'O''Brien')");
    QorCombo c;
    c.setDatabase(&t.db());
    c.setRowSource("SELECT Indpar, Wartosc FROM dbpar ORDER BY Indpar");
    c.Refill();
    ASSERT_EQ(c.count(), 2);
    c.setBoundValue("B");
    EXPECT_EQ(c.text(), "O'Brien");
    c.setRowSource("SELECT nic FROM brak");
    EXPECT_THROW(c.Refill(), AppError);
    EXPECT_EQ(c.count(), 0);
}

TEST(QorComboTest, GuardsNestAndOutlastALoweredLock)
{
    QorCombo c;
    c.setRowSource("LIST A;a|B;b");
    QSignalSpy changes(&c, &QorCombo::Change);
    {
        ChangeGuard outer{&c};
        {
            ChangeGuard inner{&c};
            c.Refill();  // a refill inside a refill's guard
        }
        c.eventLock = true;
        c.setBoundValue("A");
        c.eventLock = false;  // the flag is lowered, the guard still holds
        c.setBoundValue("B");
        EXPECT_TRUE(c.changeSuppressed());
    }
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(c.changeSuppressed());
    c.setBoundValue("A");
    EXPECT_EQ(changes.count(), 1);
}

TEST(QorComboTest, EmptyTextItemStandsForNoKey)
{
    QorCombo c;
    c.setRowSource("LIST 1;Mleko|2;Drób");
    c.setEmptyText("(brak)");
    c.Refill();
    ASSERT_EQ(c.count(), 3);
    EXPECT_EQ(c.text(), "(brak)");  // nothing chosen shows the empty item
    EXPECT_TRUE(c.boundValue().isNull());
    c.setBoundValue("2");
    c.Refill();
    EXPECT_EQ(c.boundValue().toString(), "2");
    c.setBoundValue(QString());
    EXPECT_EQ(c.currentIndex(), 0);
    EXPECT_TRUE(c.boundValue().isNull());
    c.setBoundValue("9");
    EXPECT_EQ(c.currentIndex(), -1);
}

TEST(QorComboTest, QueryWithoutADatabaseIsAnError)
{
    QorCombo c;
    c.setRowSource("LIST A;a");
    c.Refill();
    c.setRowSource("SELECT Numer, Numer FROM fadok");
    EXPECT_THROW(c.Refill(), AppError);
    EXPECT_EQ(c.count(), 0);
}

TEST(QorFields, NumberIsEmptyForNullAndLockedWritesRaiseNoChange)
{
    QorNumber n;
    QSignalSpy changes(&n, &QorNumber::Change);
    n.eventLock = true;
    n.setValue(Decimal::parse("1234.5"));
    n.eventLock = false;
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(n.value(), Decimal::parse("1234.5"));
    n.setValue(std::nullopt);
    EXPECT_EQ(n.text(), "");
    EXPECT_FALSE(n.value().has_value());
    EXPECT_EQ(changes.count(), 1);
    QTest::keyClicks(&n, "12,75");
    EXPECT_EQ(n.value(), Decimal::parse("12.75"));
}

TEST(QorFields, NumberKeepsTheExactValueTheProgramWrote)
{
    QorNumber n;
    n.setValue(Decimal::parse("2.0025"));
    EXPECT_EQ(n.text(), "2,00");
    EXPECT_EQ(n.value(), Decimal::parse("2.0025"));  // not the rounded text
    n.clear();
    QTest::keyClicks(&n, "3,5");
    EXPECT_EQ(n.value(), Decimal::parse("3.5"));
    n.setLocked(true);
    QTest::keyClicks(&n, "9");
    EXPECT_EQ(n.value(), Decimal::parse("3.5"));
}

TEST(QorFields, ColourNumberKeepsRedInTheLowestByte)
{
    EXPECT_EQ(QorColor::toColor(14811135), QColor(255, 255, 225));
    EXPECT_EQ(QorColor::fromColor(QColor(255, 255, 225)), 14811135);
    EXPECT_EQ(QorColor::fromColor(QColor(255, 0, 0)), 255);
    QorColor c;
    QSignalSpy changes(&c, &QorColor::Change);
    c.eventLock = true;
    c.setValue(255);
    c.eventLock = false;
    c.setValue(255);  // same colour: no change
    EXPECT_EQ(changes.count(), 0);
    c.setValue(0xFF0000);
    EXPECT_EQ(changes.count(), 1);
}

TEST(QorFields, SpinnerAndPathFieldObeyTheLock)
{
    QorUpDown u;
    u.setRange(0, 1000);
    u.setMaxDigits(3);
    EXPECT_EQ(u.maximum(), 999);
    QSignalSpy spins(&u, &QorUpDown::Change);
    u.eventLock = true;
    u.setValue(10);
    u.eventLock = false;
    u.setValue(20);
    EXPECT_EQ(spins.count(), 1);

    QorClick p;
    QSignalSpy clicks(&p, &QorClick::Click), edits(&p, &QorClick::Change);
    p.eventLock = true;
    p.setText("/dane/kopie");
    p.eventLock = false;
    QTest::mouseClick(p.button(), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(edits.count(), 0);
    EXPECT_EQ(p.text(), "/dane/kopie");
}

TEST(InstanceChannelTest, ASecondCopyFindsTheFirstAndAsksItToTheFront)
{
    QString title = QStringLiteral("RolkwitTest%1").arg(QCoreApplication::applicationPid());
    InstanceChannel first(title);
    EXPECT_FALSE(first.signalRunningCopy(200));
    ASSERT_TRUE(first.listen());
    QSignalSpy asked(&first, &InstanceChannel::activationRequested);

    InstanceChannel second(title);
    EXPECT_TRUE(second.signalRunningCopy());
    EXPECT_TRUE(asked.wait(2000) || asked.count() > 0);
    EXPECT_FALSE(second.listen());  // the name belongs to the live first copy

    InstanceChannel otherProgram(title + "X");
    EXPECT_FALSE(otherProgram.signalRunningCopy(200));
}
