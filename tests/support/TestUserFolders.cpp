#include "tests/support/TestUserFolders.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

TestUserFolders::TestUserFolders()
{
    // The test mode's data folder lies under HOME.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    qputenv("HOME", QFile::encodeName(home_.path()));
}
