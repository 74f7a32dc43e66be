#include "core/base_files.h"
#include "core/app.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "platform/database.h"
#include "platform/database_snapshot.h"
#include "platform/message_box.h"
#include "platform/repaint.h"
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

bool samePath(const QString& a, const QString& b)
{
    QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

std::filesystem::path fsPath(const QString& p)
{
    return std::filesystem::path(QFile::encodeName(p).toStdString());
}

// A free name beside `to` for a copy that must not replace it: "Firma (2).mdb", ...
QString freeName(const QString& to)
{
    if (!QFileInfo::exists(to)) return to;
    QFileInfo fi(to);
    QString suffix = fi.suffix().isEmpty() ? QString() : "." + fi.suffix();
    for (int n = 2;; ++n) {
        QString candidate =
            fi.dir().filePath(QStringLiteral("%1 (%2)%3").arg(fi.completeBaseName()).arg(n).arg(suffix));
        if (!QFileInfo::exists(candidate)) return candidate;
    }
}

}  // namespace

void copyDatabase(App& app, const QString& path, const QString& destination)
{
    QString part = destination + QStringLiteral(".part");
    db::Database* open =
        app.gBazaOtwarta && app.gBaseDb && samePath(app.gBaseDb->path(), path) ? app.gBaseDb.get() : nullptr;
    const QString haslo = app.gBazaHaslo;
    // The copy and its check read the whole file: the window keeps painting meanwhile.
    ui::runPainting([&] {
        if (open && open->isExclusive()) {
            // Nobody else can write while this connection holds the file: copy through it.
            open->backupTo(part);
        } else {
            // Read in short pieces, so that other workstations' saves are never held for long.
            db::snapshotFile(path, haslo, part);
        }
        // The copy holds every page as the file does: a damaged file never replaces a good copy.
        try {
            db::Database::open(part, haslo, {.readOnly = true})->checkWholeFile();
        } catch (...) {
            QFile::remove(part);
            throw;
        }
    });
    if (!replaceFile(part, destination)) {
        QFile::remove(part);
        throw AppError(err::kPathFileAccess, destination,
                       QStringLiteral("Nie można zapisać pliku %1.").arg(destination));
    }
}

bool replaceFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return !ec;
}

int FileCopySH(const QString& from, const QString& to)
{
    if (!QFileInfo(from).isFile()) return 2;
    QDir().mkpath(QFileInfo(to).absolutePath());
    return QFile::copy(from, freeName(to)) ? 0 : 1;
}

int FileMoveSH(const QString& from, const QString& to)
{
    if (!QFileInfo::exists(from)) return 2;
    QDir().mkpath(QFileInfo(to).absolutePath());
    QString target = freeName(to);
    if (QFile::rename(from, target)) return 0;
    // Another file system: copy, then remove the original.
    if (!QFile::copy(from, target)) return 1;
    return QFile::remove(from) ? 0 : 1;
}

bool BaseRename(App& app, const QString& path, const QString& oldName, const QString& newName)
{
    if (oldName == newName) return true;
    const QString title = QStringLiteral("Błąd zmiany bazy danych");
    if (newName.trimmed().isEmpty() || newName.contains('/') || newName.contains('\\')) {
        ui::msgBox(
            QStringLiteral("Nazwa bazy: ") + newName +
                QStringLiteral(" jest nieprawidłowa. Nazwa nie może być pusta ani zawierać znaków \"/\" i \"\\\"."),
            ui::Buttons::Ok, ui::Icon::Exclamation, title);
        return false;
    }
    // Only the file's own name changes, never a folder that happens to contain the old name.
    QString folder, file;
    PathSplit(path, folder, file);
    QString newPath = folder.isEmpty() ? newName + QStringLiteral(".mdb")
                                       : folder + path.at(folder.size()) + newName + QStringLiteral(".mdb");
    if (QFileInfo::exists(newPath)) {
        ui::msgBox(QStringLiteral("Plik: ") + newPath + QStringLiteral(" już istnieje. Podaj inną nazwę bazy."),
                   ui::Buttons::Ok, ui::Icon::Exclamation, title);
        return false;
    }
    try {
        copyDatabase(app, path, newPath);
    } catch (const AppError& e) {
        if (e.number() == err::kDamaged) {
            databaseDamaged(app, path);
            return false;
        }
        ui::msgBox(
            QStringLiteral("Błąd zmiany nazwy pliku: ") + path +
                QStringLiteral(
                    ". Sprawź czy baza nie jest otwarta przez inny program oraz ilość wolnego miejsca na dysku."),
            ui::Buttons::Ok, ui::Icon::Exclamation, title);
        return false;
    }
    // The copy was made private; as the database in the old one's place it is shared as that one was.
    QFile::setPermissions(newPath, QFile::permissions(path));
    app.gPrgPar.BazaPlik = newPath;
    app.gPrgPar.BazaNazwa = BaseNameFromPath(newPath);
    return true;
}

bool BaseCreate(App& app, const PasswordPrompt& prompt, QWidget* parent)
{
    const QString wzor = QDir(app.programFolder).filePath(app.title + QStringLiteral(".mbs"));
    QFileDialog dialog(parent, QStringLiteral("Utwórz bazę danych programu ") + app.title, app.programFolder,
                       QStringLiteral("Baza danych MS Access (*.mdb)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("mdb"));
    if (ui::execDialog(dialog) != QDialog::Accepted) return false;
    QString file = dialog.selectedFiles().value(0);
    if (file.isEmpty() || QFileInfo(file).fileName().isEmpty()) {
        ui::msgBox(QStringLiteral("Wprowadź nazwę bazy."), ui::Buttons::Ok, ui::Icon::Information);
        return false;
    }
    // The template is checked before anything is touched.
    if (!QFileInfo(wzor).isFile()) {
        ui::msgBox(QStringLiteral("Brak pliku: ") + wzor +
                       QStringLiteral(". Sprawdź czy plik znajduje się w katalogu programu."),
                   ui::Buttons::Ok, ui::Icon::Information);
        return false;
    }
    // Only a file is replaced by the new database.
    if (const auto refusal = db::notAFileRefusal(file)) {
        ui::msgBox(*refusal, ui::Buttons::Ok, ui::Icon::Exclamation);
        return false;
    }
    if (app.gBazaOtwarta && app.gBaseDb && samePath(app.gBaseDb->path(), file)) {
        ui::msgBox(QStringLiteral("Baza: ") + file +
                       QStringLiteral(" jest otwarta w programie i nie może zostać zastąpiona nową bazą."),
                   ui::Buttons::Ok, ui::Icon::Information);
        return false;
    }
    // The copy is made beside the target and put in its place only when complete.
    QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    bool copied =
        QFile::copy(wzor, part) &&
        QFile(part).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther) &&
        replaceFile(part, file);
    if (!copied) {
        QFile::remove(part);
        ui::msgBox(QStringLiteral("Błąd kopiowania pliku: ") + wzor +
                       QStringLiteral(". Sprawdź ilość wolnego miejsca na dysku."),
                   ui::Buttons::Ok, ui::Icon::Information);
        return false;
    }
    if (!checkAndConnect(app, file, prompt, QString())) return false;
    app.gPrgPar.BazaPlik = file;
    app.gPrgPar.BazaNazwa = BaseNameFromPath(file);
    return true;
}

QString FolderBrowse(QWidget* owner, const QString& title, QString& path)
{
    QFileDialog dialog(owner, title, path);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!path.isEmpty()) dialog.selectFile(path);
    if (ui::execDialog(dialog) != QDialog::Accepted) return path;
    QString chosen = dialog.selectedFiles().value(0);
    if (chosen.isEmpty()) return path;
    path = QDir::toNativeSeparators(chosen);
    return path;
}
