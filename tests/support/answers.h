#pragma once
#include "platform/message_box.h"
#include <QStringList>

// Answers every message box, keeps their texts, and answers questions with `yes`.
struct Answers : ui::Responder {
    bool yes = true;
    int dialogs = 0;  // dialogs shown, such as the error report
    Answers()
    {
        previous_ = ui::responder();
        answer = [this](const ui::Message& m) {
            if (m.buttons == ui::Buttons::YesNo) return yes ? ui::Answer::Yes : ui::Answer::No;
            return ui::Answer::Ok;
        };
        dialog = [this](QDialog&) {
            ++dialogs;
            return 0;
        };
        ui::setResponder(this);
    }
    ~Answers() { ui::setResponder(previous_); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
    QStringList texts() const
    {
        QStringList t;
        for (const auto& m : seen) t << m.text;
        return t;
    }
    QString last() const { return seen.empty() ? QString() : seen.back().text; }

private:
    ui::Responder* previous_ = nullptr;
};
