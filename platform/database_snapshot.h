#pragma once
#include <QString>
#include <atomic>
#include <functional>

namespace db {

// How a snapshot is taken: the piece read under one short read lock, what runs after each piece
// (tests land a commit there), and a flag that stops it (AppError then).
struct SnapshotOptions {
    qint64 pieceBytes = 1 << 20;
    std::function<void()> betweenPieces;
    const std::atomic<bool>* cancel = nullptr;
};

// What a snapshot cost: the passes over the file, the bytes written to the copy and the longest
// time the file's read lock was held at once.
struct SnapshotCost {
    int passes = 0;
    qint64 written = 0;
    qint64 longestLockMs = 0;
};

// Copies the database file `path` (opened with `password`) byte for byte to `destination`
// without holding its read lock for long: the file is read in pieces, each under a read lock of
// its own, and the copy is consistent because every piece it holds was read at the same version
// of the file (`PRAGMA data_version`). After a commit elsewhere the pieces read before it are
// read again and those that changed are written anew; when that keeps failing under a stream of
// saves, the next pass is made under one lock, when the whole file can be read in a quarter of a
// second, and that lock is let go after a quarter of a second in any case; a file that never stays
// unchanged for a pass is given up (AppError 3045). A protected file keeps its
// encryption and key as they are. A hot journal of a crashed writer is rolled back first (the
// connection may write for that alone). An existing destination is replaced; on failure it is
// removed and the AppError of the step that failed is thrown.
SnapshotCost snapshotFile(const QString& path, const QString& password, const QString& destination,
                          const SnapshotOptions& options = {});

}  // namespace db
