#pragma once
#include <QDialog>
#include <QWidget>

class App;
class QLabel;
class QPushButton;

// The start window, shown while the program starts; a click on it closes it.
class frmSplash final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSplash)
public:
    explicit frmSplash(App& app, QWidget* parent = nullptr);
    QLabel* lblWersja;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Closes the start window when it is still shown.
void splashUnload(App& app);

// The about box.
class frmAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)
public:
    explicit frmAbout(App& app, QWidget* parent = nullptr);
    QLabel* lblTitle;
    QLabel* lblVersion;
    QPushButton* cmdOk;
};
