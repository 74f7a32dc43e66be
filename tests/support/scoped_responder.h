#pragma once
#include "platform/message_box.h"

// A responder for one test; the previous one (the runner's unattended one) comes back after it.
struct ScopedResponder : ui::Responder {
    ScopedResponder() : previous_(ui::responder()) { ui::setResponder(this); }
    ~ScopedResponder() { ui::setResponder(previous_); }
    ScopedResponder(const ScopedResponder&) = delete;
    ScopedResponder& operator=(const ScopedResponder&) = delete;

private:
    ui::Responder* previous_;
};
