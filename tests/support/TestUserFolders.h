#pragma once

#include <QTemporaryDir>

// Keeps a test process away from the user's settings and data (the backups): folders of its
// own, since ctest runs test processes side by side. Lives as long as the process's tests.
class TestUserFolders {
public:
    TestUserFolders();

private:
    QTemporaryDir settings_;
    QTemporaryDir home_;
};
