#pragma once
#include <QString>
#include <functional>

// Asks the user a question (Yes and No, No the default); true on Yes. The documents' logic asks
// through it and the window answers.
using Question = std::function<bool(const QString& text)>;
