#pragma once
#include "core/baza_par.h"
#include "core/prg_par.h"
#include "platform/database.h"
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class BackgroundDatabase;
class MainFrame;
class InstanceChannel;
class QWidget;
struct PrintState;

// The program's state for one run: its identity, the settings records, the open database and
// this workstation's number. Main creates one; tests create their own on temporary files.
class App {
public:
    App();
    ~App();

    QString gProgramKod = QStringLiteral("FR");
    QString title = QStringLiteral("Rolkwit");
    QString version = QStringLiteral(ROLKWIT_VERSION);
    QString programFolder;  // where the files that ship with the program are read from
    QString helpFile;       // set by HelpFileSet
    QString supportAddress = QStringLiteral("pomoc@brenik.example");  // the maker's support mailbox
    QString webAddress = QStringLiteral("www.brenik.example");        // the program's web page
    int gStanowisko = 0;
    PrgPar gPrgPar;
    BazaPar gBazaPar;

    // Settings: the program's key path and the settings cache, names in order of first use.
    QString gRegProgramKey;
    QStringList gRegParNazwy;
    QStringList gRegParWartosci;

    std::unique_ptr<db::Database> gBaseDb;
    QString gBazaHaslo;
    bool gBazaWylacznie = false;
    bool gBazaOtwarta = false;

    // The connection that the last successful BaseCheck opened, kept for the BaseConnect that
    // follows it, so that a protected file's key is derived once instead of twice (each
    // derivation costs tens of milliseconds). Every BaseCheck drops it first and BaseConnect
    // takes it; it serves only the same file opened with the same password.
    struct CheckedConnection {
        QString path;
        QString haslo;
        std::unique_ptr<db::Database> db;
    };
    CheckedConnection checkedConnection;
    // The parameters that the opening of the file `path` found missing, with their defaults: not
    // stored until the opening's reads found the file sound (core/base_par.h).
    struct HeldDefaults {
        QString path;
        std::vector<std::pair<QString, QString>> values;
    };
    std::optional<HeldDefaults> heldDefaults;
    // Watches the open database for damage and reads it in the background (core/background_database.h).
    std::shared_ptr<BackgroundDatabase> backgroundDatabase;

    // Windows of the run: the start window while it shows, the main window once loaded.
    QPointer<QWidget> splash;
    MainFrame* mainFrame = nullptr;
    std::unique_ptr<InstanceChannel> instanceChannel;
    // The print pipeline's values and report of the run (register/print_state.h).
    std::shared_ptr<PrintState> printState;

    // Ends the program at once (the error dialog's abort); tests replace it.
    std::function<void(int)> terminate;

    // The one error reporter, called inside a catch block with the place of the error being
    // handled (ErrorReport). Every App starts with the process's default: the program installs
    // its error dialog there at start; before that, and in code without windows, an error is
    // only logged. Tests may plug in their own.
    using ErrorReporter = std::function<void(App&, const QString& where, const QString& extra)>;
    ErrorReporter errorReporter;
    static void setDefaultErrorReporter(ErrorReporter reporter);
    static ErrorReporter defaultErrorReporter();
};
