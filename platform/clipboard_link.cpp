#include "platform/clipboard_link.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboard {

void writeLink(const QString& text)
{
    auto* data = new QMimeData;
    data->setData(kLinkFormat, text.toUtf8());
    QGuiApplication::clipboard()->setMimeData(data);
}

QString readLink()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kLinkFormat)) return {};
    return QString::fromUtf8(data->data(kLinkFormat));
}

}  // namespace clipboard
