#include "tests/support/TestUserFolders.h"
#include "ui/ErrorGuard.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget tests run headless unless the caller asked for a platform.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const TestUserFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    // A fault of the program caught by a dialog's error guard fails the test that met it.
    ErrorGuard::SetLogicErrorHandler(
        [](const std::logic_error& error) { ADD_FAILURE() << "logic error: " << error.what(); });
    return RUN_ALL_TESTS();
}
