#pragma once
#include "support/scoped_responder.h"

// Answers every message box, keeps their texts, answers questions with `yes` and counts the
// dialogs shown (such as the error report).
struct Answers : ScopedResponder {
    bool yes = true;
    int dialogs = 0;
    Answers()
    {
        answer = [this](const ui::Message& m) {
            if (m.buttons == ui::Buttons::YesNo) return yes ? ui::Answer::Yes : ui::Answer::No;
            return ui::Answer::Ok;
        };
        dialog = [this](QDialog&) {
            ++dialogs;
            return 0;
        };
    }
    QString last() const { return seen.empty() ? QString() : seen.back().text; }
};
