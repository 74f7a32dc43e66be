#include "core/base_connect.h"
#include "core/app.h"
#include "core/background_database.h"
#include "core/base_par.h"
#include "core/base_upgrade.h"
#include "core/dlg_baza_haslo.h"
#include "core/error_report.h"
#include "core/main_frame.h"
#include "core/registry.h"
#include "core/shared_procs.h"
#include "platform/message_box.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

using ui::Buttons;
using ui::Icon;

const QString kBladOtwarcia = QStringLiteral("Błąd otwarcia bazy");

// A version part that is not stored counts as not lower than the program's.
struct Stored {
    std::optional<int> major, minor;
    QString text(const std::optional<int>& v) const { return v ? QString::number(*v) : QString(); }
};

Stored storedVersion(const db::Row& row)
{
    Stored s;
    if (!row.isNull("VerMajor")) s.major = int(row.integer("VerMajor"));
    if (!row.isNull("VerMinor")) s.minor = int(row.integer("VerMinor"));
    return s;
}

// Major and minor compared as one number, so that a newer file (4.0) is not taken as older.
bool outOfDate(const Stored& s, const StructureVersion& program)
{
    std::pair<int, int> stored{s.major.value_or(program.major), s.minor.value_or(program.minor)};
    return stored < std::pair<int, int>{program.major, program.minor};
}

QString executableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void showM4(const App& app, const QString& nazwaBazy)
{
    ui::msgBox(
        QStringLiteral("Baza: ") + nazwaBazy + QStringLiteral(" nie posiada struktury danych dla programu: ") +
            app.title +
            QStringLiteral(
                ". Baza nie może zostać otwarta. Program może otworzyć tylko bazy utworzone przez program Bazownik."),
        Buttons::Ok, Icon::Exclamation, kBladOtwarcia);
}

// A file the program cannot write is not opened: every opening and every typed document writes
// to it, and the engine makes its journal beside it in the same folder. One message names what
// refuses the writing; false then.
bool writableOrSaid(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists()) return true;  // the opening tells that itself
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    QString why;
    if (!file.isWritable())
        why = QStringLiteral(" nie może zostać otwarta: plik bazy jest tylko do odczytu (brak prawa zapisu do niego).");
    else if (!QFileInfo(file.absolutePath()).isWritable())
        why = QStringLiteral(" nie może zostać otwarta: w folderze ") + folder +
              QStringLiteral(", w którym się znajduje, nie można zapisywać (brak prawa zapisu do folderu).");
    if (why.isEmpty()) return true;
    ui::msgBox(QStringLiteral("Baza: ") + QDir::toNativeSeparators(path) + why +
                   QStringLiteral(" Program zapisuje w bazie każdy wpisywany dokument i tworzy obok niej plik "
                                  "potrzebny do zapisu zmian. Nadaj prawo zapisu do pliku bazy i do jego folderu "
                                  "albo skopiuj bazę do folderu, w którym możesz zapisywać, i otwórz ją ponownie."),
               Buttons::Ok, Icon::Exclamation, kBladOtwarcia);
    return false;
}

// The check's connection, when it was opened on this file with this password.
std::unique_ptr<db::Database> takeChecked(App& app, const QString& path, const QString& haslo)
{
    App::CheckedConnection c = std::move(app.checkedConnection);
    app.checkedConnection = {};
    bool fits = c.db && c.path == path && (c.haslo == haslo || !c.db->isEncrypted());
    return fits ? std::move(c.db) : nullptr;
}

// Opens `path` for the check, asking for the password while the one tried (`proba`, which then
// holds the one that opened it) does not fit; each refusal gets its one message and gives nullptr.
std::unique_ptr<db::Database> openAskingPassword(App& app, const QString& path, QString& proba,
                                                 const PasswordPrompt& prompt)
{
    QString folder, plik;
    PathSplit(path, folder, plik);
    const QString nazwaBazy = path;  // the name the opened database reports: its full path
    std::unique_ptr<db::Database> d;
    while (!d) {
        try {
            d = db::Database::open(path, proba);
        } catch (const AppError& e) {
            switch (e.number()) {
            case err::kNotValidPassword: {
                std::optional<QString> entered = prompt ? prompt(BaseNameFromPath(path)) : std::nullopt;
                if (!entered || entered->isEmpty()) {
                    ui::msgBox(QStringLiteral("Baza: ") + plik +
                                   QStringLiteral(" jest chroniona hasłem. Bez hasła baza nie może zostać otwarta."),
                               Buttons::Ok, Icon::Information, app.title);
                    return nullptr;
                }
                proba = *entered;
                continue;
            }
            case err::kNotAFile:  // a folder, a pipe, a device: looked at, never opened
                ui::msgBox(e.description(), Buttons::Ok, Icon::Exclamation, kBladOtwarcia);
                return nullptr;
            case err::kNotDatabase:  // not a database at all (text, the old engine's file, a zeroed header)
                showM4(app, nazwaBazy);
                return nullptr;
            case err::kDamaged: showDamaged(nazwaBazy); return nullptr;
            case err::kFileInUse:
                ui::msgBox(QStringLiteral("Baza: ") + plik +
                               QStringLiteral(" została otwarta w trybie wyłączności przez innego użytkownika. Baza "
                                              "nie może zostać ostwarta."),
                           Buttons::Ok, Icon::Exclamation, app.title);
                return nullptr;
            case err::kInvalidArgument:
                ui::msgBox(QStringLiteral("Błąd otwarcia bazy danych: ") + plik +
                               QStringLiteral(
                                   " - sprawdź czy hasło zostało wprowadzone poprawnie. Baza nie może zostać otwarta."),
                           Buttons::Ok, Icon::Exclamation, app.title);
                return nullptr;
            default: ErrorReport(app, QStringLiteral("BaseCheck")); return nullptr;
            }
        }
    }
    return d;
}

}  // namespace

bool BaseCheck(App& app, const QString& path, QString& haslo, bool& readOnly, const PasswordPrompt& prompt)
{
    readOnly = false;
    app.checkedConnection = {};
    if (!path.contains(QStringLiteral(".mdb"), Qt::CaseInsensitive) ||
        path.compare(QStringLiteral("*.mdb"), Qt::CaseInsensitive) == 0)
        return false;
    QString folder, plik;
    PathSplit(path, folder, plik);
    const QString nazwaBazy = path;  // the name the opened database reports: its full path
    const StructureVersion program = programVersion(app);

    if (!writableOrSaid(path)) return false;

    // The password is tried on a local value; the caller takes it only when the file is accepted.
    QString proba = haslo;
    std::unique_ptr<db::Database> d = openAskingPassword(app, path, proba, prompt);
    if (!d) return false;

    // The program's row of dbprg; a file where it cannot be read has no structure for it.
    const QString sql = QStringLiteral("SELECT * FROM dbprg WHERE Indprg = ?");
    std::optional<db::Row> row;
    try {
        // A few pages whatever the size: the whole file is checked in the background once the
        // window is usable (BackgroundDatabase).
        d->checkStructure();
        row = d->queryOne(sql, {app.gProgramKod});
    } catch (const AppError& e) {
        if (e.number() == err::kDamaged)
            showDamaged(nazwaBazy);
        else if (e.number() == err::kTableLocked)
            ui::msgBox(
                QStringLiteral("Baza: ") + nazwaBazy +
                    QStringLiteral(" lub tabela została otwarta w trybie wyłączności przez innego użytkownika. Program "
                                   "nie może zidentyfikować struktury bazy. Baza nie może zostac otwarta."),
                Buttons::Ok, Icon::Information, kBladOtwarcia);
        else
            showM4(app, nazwaBazy);
        return false;
    }

    try {
        if (!row) {
            ui::msgBox(QStringLiteral("Baza: ") + nazwaBazy +
                           QStringLiteral(" nie posiada struktury danych programu: ") + app.title +
                           QStringLiteral(". Baza nie może zostać otwarta."),
                       Buttons::Ok, Icon::Exclamation, kBladOtwarcia);
            return false;
        }
        bool result = true;
        Stored stored = storedVersion(*row);
        if (outOfDate(stored, program)) {
            QString m6 = QStringLiteral("Baza: ") + plik + QStringLiteral(" posiada strukturę danych w wersji: ") +
                         stored.text(stored.major) + "." + stored.text(stored.minor) +
                         QStringLiteral(". Wymagana jest struktura bazy w wersji: ") + QString::number(program.major) +
                         "." + QString::number(program.minor) +
                         QStringLiteral(". Chcesz aktualizować strukture bazy teraz?");
            if (ui::msgBox(m6, Buttons::YesNo, Icon::Exclamation, QStringLiteral("Błąd weryfikacji struktury bazy")) !=
                ui::Answer::Yes)
                return false;
            // The upgrade needs the file to itself: an exclusive opening fails while another
            // workstation reads or writes it, and that is reported below.
            d.reset();
            d = db::Database::open(path, proba, {.exclusive = true});
            if (!BaseUpgrade(app, *d, plik, stored.major.value_or(program.major), stored.minor.value_or(program.minor)))
                result = false;
            d.reset();
            d = db::Database::open(path, proba);
            row = d->queryOne(sql, {app.gProgramKod});
            if (row && outOfDate(storedVersion(*row), program) && result) {
                ui::msgBox(QStringLiteral("Struktura bazy: ") + plik +
                               QStringLiteral("  nie została zaktualizowana. Sprawdź wersję pliku: ") +
                               executableName() + QStringLiteral(".stb"),
                           Buttons::Ok, Icon::Critical, app.title);
                result = false;
            }
        }
        if (result) {
            // Read, not yet stored: the window's first reads of the file come before any write.
            holdDefaults(app, path);
            readOnly = BaseParRead(app, *d, QStringLiteral("BaseReadOnly"), QStringLiteral("0")) == QStringLiteral("1");
            haslo = d->isEncrypted() ? proba : QString();
            app.checkedConnection = {path, haslo, std::move(d)};
        }
        return result;
    } catch (...) {
        ErrorReport(app, QStringLiteral("BaseCheck"));
        return false;
    }
}

bool BaseConnect(App& app, const QString& path)
{
    BaseDisconnect(app);
    try {
        // The check's own connection serves when it was opened the same way.
        auto d = takeChecked(app, path, app.gBazaHaslo);
        app.gBaseDb = d && !app.gBazaWylacznie ? std::move(d) : nullptr;
        d.reset();
        if (!app.gBaseDb) app.gBaseDb = db::Database::open(path, app.gBazaHaslo, {.exclusive = app.gBazaWylacznie});
        app.gBazaOtwarta = true;
        // Told on the window's thread once the failing step is over, as a damaged file is.
        app.gBaseDb->setChangedHandler([&app] {
            QMetaObject::invokeMethod(
                qApp, [&app] { databaseChanged(app); }, Qt::QueuedConnection);
        });
        backgroundDatabase(app);
        return true;
    } catch (...) {
        app.gBaseDb.reset();
        app.gBazaOtwarta = false;
        ErrorReport(app, QStringLiteral("BaseConnect"));
        return false;
    }
}

void BaseDisconnect(App& app)
{
    if (!app.gBazaOtwarta) return;
    if (app.backgroundDatabase) app.backgroundDatabase->stop();
    app.gBaseDb.reset();
    app.gBazaOtwarta = false;
}

BackgroundDatabase& backgroundDatabase(App& app)
{
    if (!app.backgroundDatabase)
        app.backgroundDatabase =
            std::make_shared<BackgroundDatabase>([&app](const QString& path) { databaseDamaged(app, path); });
    // A connection found damaged is never watched again: it is only waiting to be closed.
    if (app.gBazaOtwarta && app.gBaseDb && !app.gBaseDb->isDamaged())
        app.backgroundDatabase->watch(*app.gBaseDb, app.gBazaHaslo);
    return *app.backgroundDatabase;
}

void showDamaged(const QString& nazwaBazy)
{
    ui::msgBox(QStringLiteral("Baza: ") + nazwaBazy +
                   QStringLiteral(" jest uszkodzona. Baza nie może zostać otwarta. Odtwórz bazę z kopii zapasowej."),
               Buttons::Ok, Icon::Exclamation, kBladOtwarcia);
}

void databaseDamaged(App& app, const QString& path)
{
    // The file is let go before the message shows, so that nothing can write to it meanwhile.
    // This may run inside a step that still uses the connection (a long step lets events run):
    // the connection refuses everything from now on and stays until another database is opened,
    // so that the step fails instead of finding it gone.
    if (app.gBazaOtwarta && app.gBaseDb && app.gBaseDb->path() == path) {
        app.gBaseDb->setDamaged();
        if (app.backgroundDatabase) app.backgroundDatabase->stop();
        app.gBazaOtwarta = false;
        if (app.mainFrame) app.mainFrame->dropDatabase();
    }
    showDamaged(path);
}

bool databaseChanged(App& app)
{
    static bool telling = false;  // the message below lets events run, among them another call
    if (telling || !app.gBazaOtwarta || !app.gBaseDb || !app.gBaseDb->isChanged()) return false;
    telling = true;
    const QString path = app.gBaseDb->path();
    ui::msgBox(QStringLiteral("Plik bazy danych: ") + path +
                   QStringLiteral(" został zmieniony przez inny program (odtworzony z kopii lub zabezpieczony innym "
                                  "hasłem). Program połączy się z nim ponownie. Wpisany dokument pozostaje w oknie."),
               Buttons::Ok, Icon::Information, app.title);
    // The changed file takes nothing more: the window keeps the whole typed document, shows it
    // meanwhile and writes it into the buffer of the file connected anew, replacing what that held.
    if (app.mainFrame) app.mainFrame->Odlacz();
    BaseDisconnect(app);
    const bool connected = checkAndConnect(app, path, databasePasswordPrompt(app), app.gBazaHaslo);
    if (app.mainFrame) {
        app.mainFrame->MenuBaseEnable(connected);
        if (connected) app.mainFrame->Przylacz();
    }
    telling = false;
    return connected;
}

bool soleUse(App& app, const QString& where)
{
    if (!app.gBazaOtwarta || !app.gBaseDb) return true;
    // The program's own background connection counts as another one while it reads.
    if (app.backgroundDatabase) app.backgroundDatabase->stop();
    try {
        app.gBaseDb->takeSoleUse();
        return true;
    } catch (...) {
        ErrorReport(app, where);
    }
    backgroundDatabase(app).start();
    return false;
}

PasswordPrompt databasePasswordPrompt(App& app)
{
    return [&app](const QString& opis) {
        return askDatabasePassword(app.mainFrame ? app.mainFrame->frameWidget() : nullptr, opis);
    };
}

bool checkAndConnect(App& app, const QString& file, const PasswordPrompt& prompt, QString haslo)
{
    bool readOnly = false;
    if (!BaseCheck(app, file, haslo, readOnly, prompt)) return false;
    app.gBazaHaslo = haslo;
    app.gBazaWylacznie = readOnly;
    return BaseConnect(app, file);
}

bool BaseOpenDialog(App& app, const PasswordPrompt& prompt, QWidget* parent)
{
    // Left without a database (a reconnection given up), the user looks for it where it was.
    const QString there = QFileInfo(app.gPrgPar.BazaPlik).absolutePath();
    const bool lost = !app.gBazaOtwarta && !app.gPrgPar.BazaPlik.isEmpty() && QFileInfo(there).isDir();
    QFileDialog dialog(parent, QStringLiteral("Otwórz bazę danych programu ") + app.title,
                       lost ? there : app.programFolder, QStringLiteral("Baza danych MS Access (*.mdb)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ui::execDialog(dialog) != QDialog::Accepted) return false;
    QString file = dialog.selectedFiles().value(0);
    if (file.isEmpty()) return false;
    // The file becomes the program's database only once it is really connected.
    if (!checkAndConnect(app, file, prompt, app.gBazaHaslo)) return false;
    app.gPrgPar.BazaPlik = file;
    app.gPrgPar.BazaNazwa = BaseNameFromPath(file);
    return true;
}
