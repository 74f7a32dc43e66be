#include "platform/mail.h"
#include "platform/shell.h"
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QUrl>
#include <QUuid>
#include <vector>

namespace mail {
namespace {

QByteArray encoded(const QString& s)
{
    return QUrl::toPercentEncoding(s);
}

QByteArray base64Lines(const QByteArray& data)
{
    QByteArray b = data.toBase64(), out;
    for (int i = 0; i < b.size(); i += 76) out += b.mid(i, 76) + "\r\n";
    return out;
}

}  // namespace

QByteArray headerText(const QString& s)
{
    bool ascii = true;
    for (QChar c : s) ascii = ascii && c.unicode() >= 32 && c.unicode() < 127;
    if (ascii) return s.toLatin1();
    return "=?UTF-8?B?" + s.toUtf8().toBase64() + "?=";
}

QStringList splitAttachments(const QString& list)
{
    QStringList out;
    for (const QString& part : list.split(QLatin1Char(';')))
        if (!part.trimmed().isEmpty()) out << part.trimmed();
    return out;
}

bool isHtml(const QString& body)
{
    return body.contains(QLatin1String("<html>"));
}

QString mailtoUrl(const Message& m)
{
    QByteArray url = "mailto:" + encoded(m.to).replace("%40", "@");
    QList<QByteArray> query;
    if (!m.subject.isEmpty()) query << "subject=" + encoded(m.subject);
    if (!m.body.isEmpty()) {
        QString body = m.body;
        body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        query << "body=" + encoded(body);
    }
    if (!query.isEmpty()) url += "?" + query.join("&");
    return QString::fromLatin1(url);
}

QByteArray emlText(const Message& m)
{
    QByteArray boundary = "----=_Rolkwit_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    QByteArray out;
    out += "X-Unsent: 1\r\n";
    out += "To: " + m.to.toUtf8() + "\r\n";
    out += "Subject: " + headerText(m.subject) + "\r\n";
    out +=
        "Date: " +
        QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss t")).toLatin1() +
        "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n";
    out += QByteArray("Content-Type: ") + (isHtml(m.body) ? "text/html" : "text/plain") + "; charset=UTF-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    out += base64Lines(m.body.toUtf8());
    for (const QString& path : m.attachments) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        QByteArray name = headerText(QFileInfo(path).fileName());
        out += "--" + boundary + "\r\n";
        out += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
        out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
        out += "Content-Transfer-Encoding: base64\r\n\r\n";
        out += base64Lines(f.readAll());
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

namespace {

// One way of handing the message over: true when it was taken; a way that took it and fails
// later calls the given function.
using Way = std::function<bool(const shell::LateFailure&)>;

// Tries the ways in turn from `i`: one that fails, at once or later, hands over to the next;
// when the last one fails, `failed` runs.
bool tryInTurn(const std::vector<Way>& ways, size_t i, const Failed& failed)
{
    for (; i < ways.size(); ++i) {
        if (ways[i]([ways, i, failed] { tryInTurn(ways, i + 1, failed); })) return true;
    }
    if (failed) failed();
    return false;
}

Way emlFile(const Message& m, const QString& emlPath)
{
    return [m, emlPath](const shell::LateFailure& late) {
        QSaveFile f(emlPath);
        if (!f.open(QIODevice::WriteOnly)) return false;
        f.write(emlText(m));
        return f.commit() && shell::openFile(emlPath, late);
    };
}

}  // namespace

bool openMailto(const Message& m, const QString& emlPath, const Failed& failed)
{
    Way link = [url = QUrl::fromEncoded(mailtoUrl(m).toLatin1(), QUrl::StrictMode)](const shell::LateFailure& late) {
        return shell::openUrl(url, late);
    };
    return tryInTurn({link, emlFile(m, emlPath)}, 0, failed);
}

bool composeMessage(const Message& m, const QString& emlPath, const Failed& failed)
{
    std::vector<Way> ways;
    // xdg-email knows the common mail programs and passes attachments to them; it takes only
    // plain-text bodies, so an HTML message goes straight to the .eml route.
    if (!isHtml(m.body)) {
        QStringList args{QStringLiteral("--utf8")};
        if (!m.subject.isEmpty()) args << QStringLiteral("--subject") << m.subject;
        // It makes a mailto: link of the body itself, line ends included: given CR LF, every
        // line would arrive with a second CR.
        if (!m.body.isEmpty())
            args << QStringLiteral("--body") << QString(m.body).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        for (const QString& a : m.attachments) args << QStringLiteral("--attach") << QFileInfo(a).absoluteFilePath();
        if (!m.to.isEmpty()) args << m.to;
        ways.push_back([args](const shell::LateFailure& late) {
            auto r = shell::runTool(QStringLiteral("xdg-email"), args, late);
            return r == shell::ToolResult::Succeeded || r == shell::ToolResult::StillRunning;
        });
    }
    ways.push_back(emlFile(m, emlPath));
    return tryInTurn(ways, 0, failed);
}

}  // namespace mail
