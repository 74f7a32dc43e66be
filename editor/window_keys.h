#pragma once
#include <QObject>
#include <functional>

class App;
class QKeyEvent;
class QWidget;

// The main window's own keys, seen before the focused control whatever page is shown:
// - Enter moves to the next field as Tab would, when the program's setting "EnterToTab" is on;
//   a notes field that holds text keeps its Enter for a new line, unless the caret stands after
//   an empty last line; in a grid Enter is the grid's own Tab (the next cell, or a new row after
//   the last cell of the positions);
// - Ctrl+Enter and Ctrl+Shift+Enter save the edited document and start a new one;
// - Ctrl+N starts a new document without saving and without a question.
// The save and the new document are off while the database carries the read-only lock. The
// modifiers must match exactly: Ctrl+Alt+Enter or Ctrl+Shift+N do nothing here.
class WindowKeys final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowKeys)
public:
    WindowKeys(App& app, QWidget* window, std::function<void()> zapisz, std::function<void()> nowy);

    // Each returns true when it took the key, which then goes no further.
    bool Form_KeyDown(const QKeyEvent& e);
    bool Form_KeyPress(const QKeyEvent& e);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveAsTab();

    App& app_;
    QWidget* window_;
    std::function<void()> zapisz_;
    std::function<void()> nowy_;
};
