#pragma once
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QDialog;
class QWidget;

// Message boxes and modal dialogs go through here, so that tests can answer them without a person.
namespace ui {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct Message {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::optional<Answer> defaultButton;  // the button Enter presses, when not the first
};

// Shows a modal message box over the active window and returns the button pressed.
Answer msgBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString& title = QString(), std::optional<Answer> defaultButton = std::nullopt);

// Runs a dialog modally and returns QDialog::exec's result.
int execDialog(QDialog& dialog);

// Test seam: while set, message boxes are answered by `answer` and dialogs by `dialog`
// (which may fill the dialog's fields and accept or reject it) instead of waiting for a person.
struct Responder {
    std::function<Answer(const Message&)> answer;
    std::function<int(QDialog&)> dialog;
    std::vector<Message> seen;  // every message shown while the responder is set
};
void setResponder(Responder* responder);
Responder* responder();

}  // namespace ui
