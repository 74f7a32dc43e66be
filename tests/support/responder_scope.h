#pragma once
#include "platform/message_box.h"
#include <deque>

// Answers message boxes for the length of a test: questions take the queued answers in turn
// (Yes when the queue is empty); every message shown is kept in `seen`.
struct ResponderScope : ui::Responder {
    std::deque<ui::Answer> answers;
    ResponderScope()
    {
        answer = [this](const ui::Message& m) {
            if (m.buttons == ui::Buttons::Ok) return ui::Answer::Ok;
            if (answers.empty()) return ui::Answer::Yes;
            ui::Answer a = answers.front();
            answers.pop_front();
            return a;
        };
        ui::setResponder(this);
    }
    ~ResponderScope() { ui::setResponder(nullptr); }
    QStringList texts() const
    {
        QStringList t;
        for (auto& m : seen) t << m.text;
        return t;
    }
};
