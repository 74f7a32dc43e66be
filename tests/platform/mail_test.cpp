#include "platform/mail.h"
#include "support/fake_tools.h"
#include "support/system_input.h"
#include "support/typing.h"
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>

TEST(Mail, MailtoLinkEncodesEveryPart)
{
    mail::Message m{"pomoc@brenik.example", "Błąd & pytanie #1", "Ilość: 5 kg\r\nCena=2,50 zł?", {}};
    EXPECT_EQ(mail::mailtoUrl(m), "mailto:pomoc@brenik.example?subject=B%C5%82%C4%85d%20%26%20pytanie%20%231"
                                  "&body=Ilo%C5%9B%C4%87%3A%205%20kg%0D%0ACena%3D2%2C50%20z%C5%82%3F");
    EXPECT_EQ(mail::mailtoUrl({"a@b.pl", "", "", {}}), "mailto:a@b.pl");
}

TEST(Mail, EveryNonEmptyAttachmentIsKept)
{
    EXPECT_EQ(mail::splitAttachments("a.pdf;b.pdf"), QStringList({"a.pdf", "b.pdf"}));
    EXPECT_EQ(mail::splitAttachments("a.pdf;b.pdf;"), QStringList({"a.pdf", "b.pdf"}));
    EXPECT_EQ(mail::splitAttachments("jeden.pdf"), QStringList({"jeden.pdf"}));
    EXPECT_TRUE(mail::splitAttachments(";;").isEmpty());
}

// The hand-off through real helper programs: stand-ins on PATH that succeed or fail.
class MailHandOff : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeTools tools;
    int failures = 0;
    QString leftAt;  // where the last failure left the unsent message
    mail::Failed failed = [this](const QString& at) {
        ++failures;
        leftAt = at;
    };
    QString eml = dir.filePath("m.eml");

    QString attachment(const QString& name)
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write("%PDF-1.4 zawartość");
        return f.fileName();
    }
    QList<QStringList> opened() const { return tools.calls("xdg-open"); }
};

TEST_F(MailHandOff, ComposesThroughXdgEmailWithEveryAttachmentAndPlainLineEnds)
{
    tools.add("xdg-email", 0);
    tools.add("xdg-open", 0);
    QString a = attachment("a.pdf"), b = attachment("b.pdf");
    ASSERT_TRUE(mail::composeMessage({"x@y.pl", "Temat", "Wiersz 1\r\nWiersz 2", {a, b}}, eml, failed));
    ASSERT_EQ(tools.calls("xdg-email").size(), 1);
    EXPECT_EQ(tools.calls("xdg-email")[0], QStringList({"--utf8", "--subject", "Temat", "--body", "Wiersz 1\nWiersz 2",
                                                        "--attach", a, "--attach", b, "x@y.pl"}));
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_EQ(failures, 0);
}

// When xdg-email is missing or fails, the message is written as an .eml file and opened; when
// that fails too, the failure is reported once.
TEST_F(MailHandOff, FallsBackToAnEmlFileAndReportsWhenNothingTakesIt)
{
    struct Case {
        const char* name;
        std::optional<int> emailExit, openExit;
        bool taken;
    };
    for (const Case& c : {Case{"no xdg-email", std::nullopt, 0, true}, Case{"xdg-email fails", 3, 0, true},
                          Case{"both fail", 3, 4, false}}) {
        SCOPED_TRACE(c.name);
        FakeTools own;
        if (c.emailExit) own.add("xdg-email", *c.emailExit);
        own.add("xdg-open", *c.openExit);
        failures = 0;
        QFile::remove(eml);
        EXPECT_EQ(mail::composeMessage({"x@y.pl", "Zażółć", "Treść", {attachment("dokument.pdf")}}, eml, failed),
                  c.taken);
        EXPECT_EQ(failures, c.taken ? 0 : 1);
        EXPECT_EQ(own.calls("xdg-open"), QList<QStringList>({{eml}}));
        if (!c.taken) {
            EXPECT_EQ(leftAt, eml);
        }
    }
    QFile f(eml);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("X-Unsent: 1\r\n"));
    EXPECT_TRUE(text.contains("Subject: =?UTF-8?B?" + QString("Zażółć").toUtf8().toBase64() + "?="));
    EXPECT_TRUE(text.contains("filename=\"dokument.pdf\""));
    EXPECT_TRUE(text.contains(QByteArray("%PDF-1.4 zawartość").toBase64()));
}

TEST_F(MailHandOff, HtmlBodiesGoStraightToTheEmlFile)
{
    tools.add("xdg-email", 0);
    tools.add("xdg-open", 0);
    ASSERT_TRUE(mail::composeMessage({"x@y.pl", "T", "<html><body>Faktura</body></html>", {}}, eml, failed));
    EXPECT_TRUE(tools.calls("xdg-email").isEmpty());
    EXPECT_EQ(opened(), QList<QStringList>({{eml}}));
}

// A helper still running when the wait ends counts as having taken the message; when it fails
// later, the next way is tried then, and a failure of that one is reported.
TEST_F(MailHandOff, AHelperThatFailsLaterIsNotTakenForSuccess)
{
    for (int openExit : {0, 4}) {
        SCOPED_TRACE(openExit);
        FakeTools own;
        own.add("xdg-email", 3, QString(), 2.0 * FakeTools::kWaitMs / 1000);
        own.add("xdg-open", openExit);
        failures = 0;
        EXPECT_TRUE(mail::composeMessage({"x@y.pl", "T", "B", {}}, eml, failed));
        EXPECT_TRUE(own.calls("xdg-open").isEmpty());
        EXPECT_TRUE(FakeTools::waitFor([&] { return own.calls("xdg-open").size() == 1; }));
        QTest::qWait(50);
        EXPECT_EQ(failures, openExit == 0 ? 0 : 1);
    }
}

TEST_F(MailHandOff, AMailtoLinkThatNoProgramTakesFallsBackToTheEmlFile)
{
    tools.add("xdg-open", 0);
    mail::Message m{"x@y.pl", "Pytanie", "", {}};
    ASSERT_TRUE(mail::openMailto(m, eml, failed));
    EXPECT_EQ(opened(), QList<QStringList>({{mail::mailtoUrl(m)}}));

    FakeTools failing;
    failing.add("xdg-open", 3);
    EXPECT_FALSE(mail::openMailto(m, eml, failed));
    EXPECT_EQ(failing.calls("xdg-open"), QList<QStringList>({{mail::mailtoUrl(m)}, {eml}}));
    EXPECT_EQ(failures, 1);
}

// Clicks and keys given while the mail program is waited for are dropped, not handed in after the
// wait: a second click on a send button would send the message again.
TEST_F(MailHandOff, InputMadeDuringTheWaitIsDropped)
{
    struct Counting : QWidget {
        int keys = 0, clicks = 0;
        void keyPressEvent(QKeyEvent*) override { ++keys; }
        void mousePressEvent(QMouseEvent*) override { ++clicks; }
    } w;
    ASSERT_TRUE(showFocused(w));

    const QPointF at(20, 20);
    const auto inputs = systemInputs(w, at, Qt::Key_Return, QStringLiteral("\r"));
    for (const auto& [name, give] : inputs) {
        SCOPED_TRACE(name);
        FakeTools own;
        own.add("xdg-email", 0, QString(), 0.5 * FakeTools::kWaitMs / 1000);
        QTimer::singleShot(FakeTools::kWaitMs / 10, give);
        EXPECT_TRUE(mail::composeMessage({"x@y.pl", "T", "B", {}}, eml, failed));
        QAbstractEventDispatcher::instance()->wakeUp();
        QApplication::processEvents();
        EXPECT_EQ(w.keys + w.clicks, 0);
        give();  // the same input after the wait arrives
        QApplication::processEvents();
        EXPECT_EQ(w.keys + w.clicks, 1);
        w.keys = w.clicks = 0;
    }
}
