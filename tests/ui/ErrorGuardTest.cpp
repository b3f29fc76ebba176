#include "ui/ErrorGuard.h"
#include "tests/ui/MessageRecorder.h"

#include "model/FileError.h"

#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

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

TEST(ErrorGuard, NoExceptionOfAnyKindEscapesAndAFaultOfTheProgramGoesToItsHandler)
{
    MessageRecorder messages;
    EXPECT_FALSE(ErrorGuard::Run([] { throw std::runtime_error("disk gone"); }));
    EXPECT_FALSE(ErrorGuard::Run([] { throw 7; }));
    EXPECT_EQ(messages.Shown(), QStringList{"disk gone"});

    QStringList faults;
    auto previous = ErrorGuard::SetLogicErrorHandler([&](const std::logic_error& e) { faults.append(e.what()); });
    EXPECT_FALSE(ErrorGuard::Run([] { throw std::out_of_range("character 51"); }));
    ErrorGuard::SetLogicErrorHandler({});
    EXPECT_FALSE(ErrorGuard::Run([] { throw std::logic_error("control 1010 is bound"); }));
    ErrorGuard::SetLogicErrorHandler(std::move(previous));
    EXPECT_EQ(faults, QStringList{"character 51"});
    EXPECT_EQ(messages.Shown(), (QStringList{"disk gone", "control 1010 is bound"})) << "shown where no handler is set";
}
