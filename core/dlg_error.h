#pragma once
#include <QDialog>
#include <QString>

class App;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The error dialog: a Polish explanation and three buttons; "Szczegóły" enlarges it to show
// the number, source and description, the log switch and the send button. Closing it stores
// the log switch and, when it is on, appends the error to "Error.log".
class dlgError final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(dlgError)
public:
    explicit dlgError(App& app, QWidget* parent = nullptr);

    QString Obiekt;  // the place text of the reported error

    void WriteErrorLog();
    QString errorLogPath() const;

    QPlainTextEdit* txtErrorPolski;
    QPushButton* cmdOk;
    QPushButton* cmdPrzerwij;
    QPushButton* cmdSzczegol;
    QCheckBox* cbrejestr;
    QLabel* labErrorNumber;
    QLineEdit* txtErrorNumber;
    QLabel* labErrorSource;
    QLineEdit* txtErrorSource;
    QPlainTextEdit* txtErrorOpis;
    QPushButton* cmdWyslij;

    void cmdOk_Click();
    void cmdPrzerwij_Click();
    void cmdSzczegol_Click();
    void cmdWyslij_Click();

    void done(int result) override;

private:
    void Form_Unload();
    App& app_;
    bool unloaded_ = false;
};
