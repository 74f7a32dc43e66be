#pragma once
#include "platform/decimal.h"
#include <QDialog>

class App;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QorClick;
class QorNumber;

// The properties of the open database (dlgBazaWlas): its name (rename), place, size and the free
// space of its folder, the programs whose structures it holds, its password (set, removed), the
// archive lock, and this user's backup settings. The lock and the backup settings are stored by
// OK; a password change or a rename is done at once and stays done after "Anuluj".
class dlgBazaWlas final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgBazaWlas)
public:
    explicit dlgBazaWlas(App& app, QWidget* parent = nullptr);

    QTabWidget* tabBazaWlas;
    QLineEdit* txtNazwaBazy;
    QPushButton* cmdZmienNazwe;
    QLineEdit* txtSciezkaBazy;
    QorNumber* txtRozBazy;
    QorNumber* txtRozWolne;
    QListWidget* lstProgramy;
    QLabel* labHasloBrak;
    QLabel* labHasloJest;
    QPushButton* cmdHaslo;
    QCheckBox* cbTylkoOdczyt;
    QLabel* labUwaga;
    QLabel* Label4;
    QCheckBox* cbKopia;
    QLineEdit* txtKopiadni;
    QCheckBox* cbKopiaPot;
    QCheckBox* cbKopiadzien;
    QorClick* txtKopiaFolder;
    QLineEdit* txtKopiaData;
    QPushButton* cmdKopiuj;
    QPushButton* cmbOk;
    QPushButton* cbAnuluj;

    void Form_Load();
    void RozmiarBazy();
    void OdczytProgramy();
    void HasloPrzycisk();
    void UstawieniaOdczyt();
    void UstawieniaZapisz();
    // Sets a password on an unprotected database or removes the one it has. The file is rewritten
    // under the new key while it is held exclusively; whatever happens the database is connected
    // again with the password that really protects it and the main window attached.
    bool HasloZmiana();
    void cmdHaslo_Click() { HasloZmiana(); }
    void cmdZmienNazwe_Click();
    void cmdKopiuj_Click();
    void txtKopiaFolder_Click();
    void cmbOk_Click();
    void cbAnuluj_Click();

private:
    void attachDatabase();
    // Lets the main window go of the database before its file is rewritten or copied; false (the
    // window attached again, nothing to do) when the edited header could not be buffered.
    bool detachDatabase();

    App& app_;
};

// A size in bytes as megabytes (bytes / 1024 / 1024), exact to four places.
Decimal toMegabytes(qint64 bytes);
// The free space, in bytes, of the volume that holds the file `path`.
qint64 WolneMiejsce(const QString& path);
