#include "platform/message_box.h"
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {
Responder* gResponder = nullptr;
}

void setResponder(Responder* r)
{
    gResponder = r;
}
Responder* responder()
{
    return gResponder;
}

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
              std::optional<Answer> defaultButton)
{
    if (gResponder) {
        Message m{text, title, buttons, icon, defaultButton};
        gResponder->seen.push_back(m);
        if (gResponder->answer) return gResponder->answer(m);
        switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel: return Answer::Yes;
        case Buttons::AbortRetryIgnore: return Answer::Ignore;
        case Buttons::RetryCancel: return Answer::Cancel;
        default: return Answer::Ok;
        }
    }
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::None: break;
    }
    struct B {
        QMessageBox::StandardButton b;
        Answer a;
        const char* text;
    };
    std::vector<B> list;
    switch (buttons) {
    case Buttons::Ok: list = {{QMessageBox::Ok, Answer::Ok, "OK"}}; break;
    case Buttons::OkCancel:
        list = {{QMessageBox::Ok, Answer::Ok, "OK"}, {QMessageBox::Cancel, Answer::Cancel, "Anuluj"}};
        break;
    case Buttons::YesNo: list = {{QMessageBox::Yes, Answer::Yes, "Tak"}, {QMessageBox::No, Answer::No, "Nie"}}; break;
    case Buttons::YesNoCancel:
        list = {{QMessageBox::Yes, Answer::Yes, "Tak"},
                {QMessageBox::No, Answer::No, "Nie"},
                {QMessageBox::Cancel, Answer::Cancel, "Anuluj"}};
        break;
    case Buttons::RetryCancel:
        list = {{QMessageBox::Retry, Answer::Retry, "Ponów"}, {QMessageBox::Cancel, Answer::Cancel, "Anuluj"}};
        break;
    case Buttons::AbortRetryIgnore:
        list = {{QMessageBox::Abort, Answer::Abort, "Przerwij"},
                {QMessageBox::Retry, Answer::Retry, "Ponów"},
                {QMessageBox::Ignore, Answer::Ignore, "Ignoruj"}};
        break;
    }
    for (auto& b : list) {
        QPushButton* button = box.addButton(b.b);
        button->setText(QString::fromUtf8(b.text));
        if (defaultButton && *defaultButton == b.a) box.setDefaultButton(button);
    }
    box.exec();
    auto clicked = box.standardButton(box.clickedButton());
    for (auto& b : list)
        if (b.b == clicked) return b.a;
    // Closed with Esc or the window's close button: the "no" side of the question.
    return buttons == Buttons::YesNo              ? Answer::No
           : buttons == Buttons::AbortRetryIgnore ? Answer::Ignore
                                                  : Answer::Cancel;
}

int execDialog(QDialog& dialog)
{
    // With a responder set nobody sits at the screen: a dialog it does not handle is cancelled.
    if (gResponder) return gResponder->dialog ? gResponder->dialog(dialog) : int(QDialog::Rejected);
    return dialog.exec();
}

}  // namespace ui
