#pragma once
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QScrollBar;
class QTableView;
class QTableWidget;

// The register page (picKartoteka): the filter frame, the register grid and the sums row under
// it. The page only lays its controls out; the register fills them.
class RegisterPage : public QWidget {
    Q_OBJECT
public:
    explicit RegisterPage(QWidget* parent = nullptr);

    QGroupBox* fraFiltr;
    QComboBox* cmbFDokument;
    QLineEdit* txtFNazwa;
    QComboBox* cmbFPlatfor;
    QComboBox* cmbFMiesiac;
    QCheckBox* cbFNiezaplacone;
    QCheckBox* cbFSumuj;
    QTableView* gridKar;
    QWidget* pboxSuma;
    QTableWidget* gridSuma;
    QScrollBar* scrSuma;
    QFrame* lineSuma;

    // Keeps the grid and the frame across the page, and the sums row right under the grid.
    void picKartoteka_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
};
