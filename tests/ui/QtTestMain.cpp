#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Widget tests run headless unless the caller asked for a platform.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Never the user's settings or data (the backups); and folders of each test process's own,
    // since ctest runs tests side by side. The test mode's data folder lies under HOME.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    ::testing::InitGoogleTest(&argc, argv);
    // A fault of the program caught by a dialog's error guard fails the test that met it.
    ErrorGuard::SetLogicErrorHandler(
        [](const std::logic_error& error) { ADD_FAILURE() << "logic error: " << error.what(); });
    return RUN_ALL_TESTS();
}
