#include "support/private_home.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

// The runner of the tests of code without windows: a QCoreApplication only, so that nothing
// under test can reach a widget. Settings and data files go to a temporary folder.
int main(int argc, char** argv)
{
    PrivateHome home;
    QCoreApplication app(argc, argv);
    home.settle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
