#pragma once
#include "platform/lazy_query_model.h"
#include <QString>
#include <memory>

class App;
class NewestFirstCursor;

// A document's row text in the list: the kind, two blanks and the number.
inline QString rowText(const QString& inddok, const QString& numer)
{
    return inddok + QStringLiteral("  ") + numer;
}

// The text of the list's first row, which stands for a new, unsaved document.
inline const QString kNowyDokument = QStringLiteral("<Nowy dokument>");

// The rows of the document list (lstDok): first "<Nowy dokument>", then the stored documents
// newest period first (by year, then month of the issue date, then by the number's leading
// digits, highest first), read a part at a time down the index on the issue date, so that a
// list of years of documents opens at once. A document row's text (column 0) is the kind, two
// blanks and the number; column 1 is the number.
class DocumentListModel : public LazyQueryModel {
    Q_OBJECT
public:
    enum Column { Dokument, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, RazBrutto, Wystawil };

    explicit DocumentListModel(App& app, QObject* parent = nullptr);

    // Reads the list again from the open database: "<Nowy dokument>" and the first part of the
    // documents. A failed read is thrown, the rows shown before kept.
    void refill();
    // Document `numer` was just stored (or replaced) from this workstation: its row alone is
    // read and put where it now belongs, the rows read before kept. When another workstation
    // has written to the database since the list was read, the list is read again instead.
    // Throws AppError.
    void stored(const QString& numer);
    // The row of document `numer` (exact text), reading further parts until it comes; -1 when
    // no stored document has that number. Throws AppError.
    int rowOf(const QString& numer);

    // True for the first row, "<Nowy dokument>".
    bool isNew(int row) const;
    QString text(int row) const { return index(row, Dokument).data().toString(); }
    QString numer(int row) const { return index(row, Numer).data().toString(); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    App& app_;
    std::shared_ptr<NewestFirstCursor> cursor_;
    qint64 dataVersion_ = 0;  // the file's change count as this connection last saw it
};
