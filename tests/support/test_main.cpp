#include "core/app.h"
#include "core/error_report_dialog.h"
#include "platform/message_box.h"
#include "support/private_home.h"
#include <QApplication>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// A test that leaves another responder in place (or none, so that the next message box would
// wait for a person) is named, the runner's own is put back, and the run fails.
class ResponderGuard : public ::testing::EmptyTestEventListener {
public:
    explicit ResponderGuard(ui::Responder* own) : own_(own) {}
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (ui::responder() == own_) return;
        std::fprintf(stderr, "%s.%s left a message-box responder set\n", test.test_suite_name(), test.name());
        ui::setResponder(own_);
        leaked_ = true;
    }
    bool leaked() const { return leaked_; }

private:
    ui::Responder* own_;
    bool leaked_ = false;
};

}  // namespace

// Every test binary gets a QApplication, so that widget tests and logic tests share one runner.
// Settings and data files go to a temporary folder, never to the user's; a message box or a
// dialog that a test did not expect is answered at once instead of waiting for a person.
int main(int argc, char** argv)
{
    PrivateHome::offscreenUnlessSet();
    PrivateHome home;
    QApplication app(argc, argv);
    home.settle();
    ui::Responder unattended;
    unattended.dialog = [](QDialog&) { return 0; };
    ui::setResponder(&unattended);
    App::setDefaultErrorReporter(errorReportDialog);
    ::testing::InitGoogleTest(&argc, argv);
    auto* guard = new ResponderGuard(&unattended);
    ::testing::UnitTest::GetInstance()->listeners().Append(guard);  // owned by the listener list
    int result = RUN_ALL_TESTS();
    return guard->leaked() ? 1 : result;
}
