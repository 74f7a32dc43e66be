#pragma once
#include <QDialog>

class App;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class QorCombo;
class QorUpDown;

// The program parameters (dlgParProg, "Parametry programu"): this user's settings of the program.
// AutoZapis, Instancje and Stanowisko are written to the store at once; the mail mode, Enter as Tab,
// the panel option and the side list's date range go through the settings cache, which is then
// written whole. The mirrors in gPrgPar follow, so most changes take effect at once; the
// workstation number and Instancje only at the next start.
class dlgParProg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgParProg)
public:
    explicit dlgParProg(App& app, QWidget* parent = nullptr);

    QTabWidget* tabPar;
    QCheckBox* cbZapiszWyjscie;
    QCheckBox* cbEnterToTab;
    QCheckBox* cbPanelAsysta;
    QorUpDown* txtDataPrzed;
    QorUpDown* txtDataPo;
    QorCombo* cmbPoczta;
    QCheckBox* cbInstancje;
    QComboBox* cmbStanowisko;
    QPushButton* cmdOk;
    QPushButton* cmdZamknij;

    void Form_Load();
    // Stores every setting; true when all were stored.
    bool Zapisz();
    void cmdOk_Click();
    void cmdZamknij_Click();

private:
    App& app_;
};
