#include "platform/mail.h"
#include "platform/private_file.h"
#include "platform/shell.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <QUuid>
#include <memory>
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

QStringList unreadableAttachments(const Message& m)
{
    QStringList out;
    for (const QString& path : m.attachments) {
        QFile f(path);
        if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) out << path;
    }
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

std::optional<QByteArray> emlText(const Message& m)
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
        if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
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

QString writeNewFile(const QString& wanted, const QByteArray& bytes)
{
    const QFileInfo info(wanted);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 1; n <= 100000; ++n) {
        const QString name =
            n == 1 ? info.fileName() : QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(n).arg(suffix);
        QFile f(info.absoluteDir().filePath(name));
        if (f.exists()) continue;
        // Made only when no file has the name, so that another copy of the program writing at
        // the same moment takes the next one.
        if (!createPrivate(f)) {
            if (f.exists()) continue;
            return QString();
        }
        const bool ok = f.write(bytes) == bytes.size() && f.flush();
        f.close();
        if (ok && f.error() == QFileDevice::NoError) return f.fileName();
        f.remove();
        return QString();
    }
    return QString();
}

namespace {

// One way of handing the message over: true when it was taken; a way that took it and fails
// later calls the given function.
using Way = std::function<bool(const shell::LateFailure&)>;

// Tries the ways in turn from `i`: one that fails, at once or later, hands over to the next;
// when the last one fails, `failed` runs.
bool tryInTurn(const std::vector<Way>& ways, size_t i, const std::function<void()>& failed)
{
    for (; i < ways.size(); ++i) {
        if (ways[i]([ways, i, failed] { tryInTurn(ways, i + 1, failed); })) return true;
    }
    if (failed) failed();
    return false;
}

// The message written as a new file and opened; `written` keeps where it was left.
Way emlFile(const Message& m, const QString& emlPath, const std::shared_ptr<QString>& written)
{
    return [m, emlPath, written](const shell::LateFailure& late) {
        const std::optional<QByteArray> text = emlText(m);
        if (!text) return false;
        *written = writeNewFile(emlPath, *text);
        return !written->isEmpty() && shell::openFile(*written, late);
    };
}

bool handOver(std::vector<Way> ways, const Message& m, const QString& emlPath, const Failed& failed)
{
    auto written = std::make_shared<QString>();
    ways.push_back(emlFile(m, emlPath, written));
    return tryInTurn(ways, 0, [failed, written] {
        if (failed) failed(*written);
    });
}

}  // namespace

bool openMailto(const Message& m, const QString& emlPath, const Failed& failed)
{
    Way link = [url = QUrl::fromEncoded(mailtoUrl(m).toLatin1(), QUrl::StrictMode)](const shell::LateFailure& late) {
        return shell::openUrl(url, late);
    };
    return handOver({link}, m, emlPath, failed);
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
    return handOver(std::move(ways), m, emlPath, failed);
}

}  // namespace mail
