#pragma once
#include <QDialog>
#include <QPixmap>

class App;
class MainPages;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QorColor;
class QorCombo;
class QorUpDown;

// The document parameters (dlgParDok, "Parametry dokumentów"). What every document of the open
// database shares is kept in it (dbpar, the logo in dbbin): header lines, marker, footer, logo and
// numbering. The defaults of this user's new documents go through the settings cache. The
// numbering's form and continuity can change only while the database holds no document.
class dlgParDok final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgParDok)
public:
    explicit dlgParDok(App& app, QWidget* parent = nullptr);

    enum Tab { TabNaglowek, TabLogo, TabNumeracja, TabPozycje, TabUstawienia };

    QTabWidget* tabDane;
    QLineEdit* txtNaglowek[5];  // txtNaglowek1 ... txtNaglowek5
    QLineEdit* txtZnacznik;
    QLabel* picLogo;
    QPushButton* cmdLogo;
    QPushButton* cmdLogoUsun;
    QPlainTextEdit* txtStopka;
    QGroupBox* fraSposob;
    QorCombo* cmbNumS1;
    QorCombo* cmbNumS2;
    QorCombo* cmbNumS3;
    QLineEdit* txtNumPo;
    QGroupBox* fraCiaglosc;
    QRadioButton* obNumRoczna;
    QRadioButton* obNumMiesieczna;
    QCheckBox* cbNumAuto;
    QCheckBox* cbNumEdycja;
    QorUpDown* txtTabPozLicz;
    QorUpDown* txtTabPozWiersz;
    QorColor* kolTabKorKol;
    QTableWidget* gridPoz;  // the preview of the position table
    QComboBox* cmbPlatFor;
    QComboBox* cmbPlatdni;
    QComboBox* cmbPlatTer;
    QComboBox* cmbNazdok;
    QLineEdit* txtWystawil;
    QRadioButton* opParUstawO;
    QRadioButton* opParUstawZ;
    QPushButton* cmdZapisz;
    QPushButton* cmdZamknij;
    QPushButton* cmdZastosuj;

    void OdczytPar();
    void PodgladPozycji();
    // Stores everything; true when all was stored.
    bool Zapisz();
    bool ZapiszLogo();
    void LogoWybierz();
    void cmdLogoUsun_Click();
    void cmdZapisz_Click();
    void cmdZastosuj_Click();
    void cmdZamknij_Click();

    // The chosen logo file: empty after loading, the file's path after one was chosen,
    // "Usuniety" after the logo was removed.
    const QString& logoPlik() const { return logoFile_; }
    bool hasLogo() const { return !logo_.isNull(); }

signals:
    // Saved (OK or "Zastosuj"): the main window takes the new values.
    void parametersSaved();

private:
    void buildHeaderTab();
    void buildLogo();
    void buildNumeracja();
    void buildPozycje();
    void buildUstawienia();
    void zmiana();
    void pokazLogo(const QPixmap& picture);

    App& app_;
    QString logoFile_;
    QPixmap logo_;
};

// Opens the document parameters over the main window (on `tab`, or the first one), and hands
// what was saved to the pages: the grids' look and the number field now, the edited document
// stays as it is; the preview is renewed when shown.
void showDocumentParameters(App& app, MainPages* pages, QWidget* parent, int tab = -1);
