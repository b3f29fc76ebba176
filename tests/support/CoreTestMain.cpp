#include "tests/support/TestUserFolders.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Tests of the Qt Core libraries: an application object and folders of their own.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TestUserFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
