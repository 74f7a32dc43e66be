#include "platform/mail.h"
#include "platform/shell.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Mail, MailtoLinkEncodesEveryPart)
{
    mail::Message m{"pomoc@brenik.example", "Błąd & pytanie #1", "Ilość: 5 kg\r\nCena=2,50 zł?", {}};
    EXPECT_EQ(mail::mailtoUrl(m),
              "mailto:pomoc@brenik.example?subject=B%C5%82%C4%85d%20%26%20pytanie%20%231"
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

class MailHandOff : public ::testing::Test {
protected:
    QTemporaryDir dir;
    shell::Hooks hooks;
    QStringList toolArgs;
    QList<QUrl> opened;
    shell::ToolResult toolResult = shell::ToolResult::Succeeded;
    bool openResult = true;
    void SetUp() override
    {
        hooks.runTool = [this](const QString& program, const QStringList& args) {
            EXPECT_EQ(program, "xdg-email");
            toolArgs = args;
            return toolResult;
        };
        hooks.openUrl = [this](const QUrl& u) { opened << u; return openResult; };
        shell::setHooks(&hooks);
    }
    void TearDown() override { shell::setHooks(nullptr); }
    QString attachment(const QString& name)
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write("%PDF-1.4 zawartość");
        return f.fileName();
    }
};

TEST_F(MailHandOff, ComposesThroughXdgEmailWithEveryAttachment)
{
    QString a = attachment("a.pdf"), b = attachment("b.pdf");
    ASSERT_TRUE(mail::composeMessage({"x@y.pl", "Temat", "Treść", {a, b}}, dir.filePath("m.eml")));
    EXPECT_EQ(toolArgs, QStringList({"--utf8", "--subject", "Temat", "--body", "Treść", "--attach", a, "--attach", b, "x@y.pl"}));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MailHandOff, FallsBackToAnEmlFileAndReportsWhenNothingTakesIt)
{
    toolResult = shell::ToolResult::NotFound;
    QString eml = dir.filePath("m.eml");
    ASSERT_TRUE(mail::composeMessage({"x@y.pl", "Zażółć", "Treść", {attachment("dokument.pdf")}}, eml));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), eml);
    QFile f(eml);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("X-Unsent: 1\r\n"));
    EXPECT_TRUE(text.contains("Subject: =?UTF-8?B?" + QString("Zażółć").toUtf8().toBase64() + "?="));
    EXPECT_TRUE(text.contains("filename=\"dokument.pdf\""));
    EXPECT_TRUE(text.contains(QByteArray("%PDF-1.4 zawartość").toBase64()));

    toolResult = shell::ToolResult::Failed;
    openResult = false;
    EXPECT_FALSE(mail::composeMessage({"x@y.pl", "T", "B", {}}, eml));
}

TEST_F(MailHandOff, HtmlBodiesGoStraightToTheEmlFile)
{
    toolArgs = {"nie wywołano"};
    ASSERT_TRUE(mail::composeMessage({"x@y.pl", "T", "<html><body>Faktura</body></html>", {}}, dir.filePath("m.eml")));
    EXPECT_EQ(toolArgs, QStringList({"nie wywołano"}));
    EXPECT_EQ(opened.size(), 1);
}
