#pragma once
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <optional>

class QMimeData;
class QWidget;

// Drags on the entry page. A drag from the side list carries only its kind: the drop applies
// the entry selected in the list, as a double click does. A drag from the document list
// carries the dragged document's number (empty for the new document's row).
inline const QString kSideListDrag = QStringLiteral("application/x-rolkwit-lstslo");
inline const QString kDocumentDrag = QStringLiteral("application/x-rolkwit-lstdok");

// A drag starts once the pointer has moved the platform's drag distance from where the left
// button, and no other, was pressed.
bool dragStarts(Qt::MouseButtons buttons, const QPoint& pressedAt, const QPoint& now);

// What a drag of the side list or of a document carries.
QMimeData* sideListDragData(const QString& kind);
QMimeData* documentDragData(const QString& numer);
bool isSideListDrag(const QMimeData* data);
// The number of a dragged document, or nullopt when the drag holds no document.
std::optional<QString> draggedDocument(const QMimeData* data);

// Runs a drag from `source` until the button is released. A target shows that it takes the
// drag by accepting the copy action; one that would still apply a side list entry but is not
// its field accepts the link action, which shows the refusing pointer.
void runDrag(QWidget* source, QMimeData* data);
