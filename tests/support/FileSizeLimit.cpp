#include "tests/support/FileSizeLimit.h"

#include <csignal>
#include <stdexcept>

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &previous_) != 0)
        throw std::runtime_error("getrlimit failed");
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = previous_;
    tight.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &tight) != 0) {
        std::signal(SIGXFSZ, previousHandler_);
        throw std::runtime_error("setrlimit failed");
    }
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}
