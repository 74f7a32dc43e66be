#pragma once

class QWidget;

// What the start-up and the database commands of the core need of the main window, which lives
// in the editor: attaching to the open database, detaching from it, switching the commands
// that need a database or may change it, and the window itself (owner of dialogs, brought to the front).
class MainFrame {
public:
    virtual ~MainFrame() = default;
    // The load step: prepares the empty form, closes the start window, restores the placement
    // and shows the window.
    virtual void Form_Load() = 0;
    virtual bool Przylacz() = 0;
    // Takes up the database let go of by Odlacz again when it holds what it held then (its
    // connection made anew): the form keeps what it shows, the grids read again, nothing asked.
    virtual void reattachSameDatabase() = 0;
    // Keeps the edited header in this workstation's buffer, then lets go of the database, which
    // may be closed or replaced afterwards. False when the header could not be written to the
    // buffer: the window keeps it, and attaching that database again shows it instead of the
    // older buffered one.
    virtual bool Odlacz() = 0;
    // Lets go of a database found damaged (databaseDamaged): detaches without keeping anything
    // in its buffer and leaves the window as after a failed open.
    virtual void dropDatabase() = 0;
    virtual void MenuBaseEnable(bool enable) = 0;
    // Switches the commands that change documents (false for an archive database): the save
    // button and the popup items that make, edit, delete or store documents and rows. Page and
    // view switching stay.
    virtual void ToolbarTrybOdczyt(bool enable) = 0;
    virtual QWidget* frameWidget() = 0;
};
