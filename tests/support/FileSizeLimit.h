#pragma once

#include <sys/resource.h>

// Makes every write that would grow a file past the limit fail, for as long as it lives;
// this works for root, whom permission bits do not stop. SIGXFSZ is ignored meanwhile so
// the failing write returns an error instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit previous_ {};
    void (*previousHandler_)(int) = nullptr;
};
