#pragma once
#include "platform/message_box.h"
#include <QStringList>
#include <deque>

// Answers message boxes for one test: questions take the queued answers in turn (Yes when the
// queue is empty), every message shown is kept in `seen`. The previous responder (the runner's
// unattended one) comes back afterwards. A test may set `answer` or `dialog` itself.
struct ScopedResponder : ui::Responder {
    std::deque<ui::Answer> answers;

    ScopedResponder() : previous_(ui::responder())
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
    ~ScopedResponder() { ui::setResponder(previous_); }
    ScopedResponder(const ScopedResponder&) = delete;
    ScopedResponder& operator=(const ScopedResponder&) = delete;

    QStringList texts() const
    {
        QStringList t;
        for (auto& m : seen) t << m.text;
        return t;
    }

private:
    ui::Responder* previous_;
};
