#include "ui/ErrorGuard.h"
#include "ui/MessageRecorder.h"

#include "FileError.h"

#include "UiTesting.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(ErrorGuard, AHandlerThatFinishesShowsNothing)
{
    MessageRecorder messages;
    int runs = 0;
    EXPECT_TRUE(ErrorGuard::Run([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST(ErrorGuard, AFileErrorBecomesAMessageWithItsText)
{
    MessageRecorder messages;
    const FileError error = FileError::FromSystemCode(ENOENT, "/games/Saves/save003.dod");
    EXPECT_FALSE(ErrorGuard::Run([&] { throw error; }));
    ASSERT_EQ(messages.Shown().size(), 1);
    EXPECT_EQ(messages.Shown().front(), QString::fromLocal8Bit(error.what()));
    EXPECT_TRUE(messages.Shown().front().endsWith("/games/Saves/save003.dod"));
}

TEST(ErrorGuard, NoExceptionOfAnyKindEscapes)
{
    MessageRecorder messages;
    EXPECT_FALSE(ErrorGuard::Run([] { throw std::out_of_range("character 51"); }));
    EXPECT_FALSE(ErrorGuard::Run([] { throw 7; }));
    EXPECT_EQ(messages.Shown(), QStringList{"character 51"});
}
