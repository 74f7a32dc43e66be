#pragma once
#include "platform/lazy_query_model.h"
#include <QString>
#include <functional>
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
// digits, highest first), read a month at a time down the index on the issue date, so that a
// list of years of documents opens at once and holds only the months near what is shown. A
// document row's text (column 0) is the kind, two blanks and the number; column 1 is the number.
class DocumentListModel : public LazyQueryModel {
    Q_OBJECT
public:
    enum Column { Dokument, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, RazBrutto, Wystawil };

    explicit DocumentListModel(App& app, QObject* parent = nullptr);

    // Reads the list again from the open database: "<Nowy dokument>" and the first part of the
    // documents. A failed read is thrown, the rows shown before kept.
    void refill();
    // Document `numer` was just stored (or replaced) from this workstation: its month alone is
    // read and the document shown where a whole reading would list it, the months between those
    // read and that one counted, not read; the rows read before are kept. When another
    // workstation has written to the database since the list was read, the list is read again
    // first. Gives the document's row when its number is `numer` letter for letter, else -1.
    // Throws AppError.
    int stored(const QString& numer);
    // The row of document `numer` (exact text) among the rows held; -1 when none is.
    int rowOf(const QString& numer) const;
    // Counts the documents not read yet, so that the list holds its whole length (its scroll
    // bar and its last row are right at once) and a save into an old month needs no count of
    // its own; the list does it by itself after a reading, its count of every document made in
    // the background (countInBackground) or, without one, when the program is idle. Throws
    // AppError.
    void countRest();

    // A read on another connection to the open file, run in another thread: it gives what is to
    // be done with its result on the list's thread.
    using BackgroundRead = std::function<std::function<void()>(db::Database&)>;
    // Where the list has its count of every document made, so that the window's thread never
    // waits for it (at a million documents it reads for a tenth of a second): false when it cannot
    // be queued, and then the list counts by itself when the program is idle.
    void countInBackground(std::function<bool(BackgroundRead)> queue) { background_ = std::move(queue); }

    // True for the first row, "<Nowy dokument>".
    bool isNew(int row) const;
    QString text(int row) const { return index(row, Dokument).data().toString(); }
    QString numer(int row) const { return index(row, Numer).data().toString(); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The view scrolled to the end before the rest was counted: it is counted now, not read.
    void fetchMore(const QModelIndex& parent) override;

protected:
    qint64 rowIdentity(const db::Row& row) const override;

private:
    // The rest counted once the list is shown: the count of every document in the background
    // when it can be, the rest then here, which costs little once that count is known.
    void countLater();
    void countQuietly();
    // Counts again the gaps between months that were counted from an earlier list's total.
    void recountGaps();
    class Rows;
    // The row of the stored document `rowid` among the rows held; -1 when none is.
    int heldRowOf(qint64 rowid) const;

    App& app_;
    std::shared_ptr<Rows> rows_;
    qint64 dataVersion_ = 0;  // the file's change count as this connection last saw it
    std::function<bool(BackgroundRead)> background_;
    quint64 stores_ = 0;  // documents stored from here: a count made meanwhile may miss one
};
