#include "tests/support/Unprivileged.h"

#include <cerrno>
#include <exception>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Unprivileged {

bool DropRoot()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(Id) == 0 && ::setuid(Id) == 0 && ::geteuid() == Id;
}

namespace {

std::string Guarded(const std::function<std::string()>& body)
{
    try {
        return body();
    } catch (const std::exception& error) {
        return std::string("exception: ") + error.what();
    }
}

} // namespace

std::string Run(const std::function<std::string()>& body)
{
    if (::geteuid() != 0)
        return Guarded(body);
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return "no fork";
    if (child == 0) {
        ::close(pipe[0]);
        const std::string result = DropRoot() ? Guarded(body) : "cannot drop root";
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t put = ::write(pipe[1], result.data() + done, result.size() - done);
            if (put <= 0)
                break;
            done += static_cast<std::size_t>(put);
        }
        ::_exit(0); // no destructors or atexit handlers of the parent's objects
    }
    ::close(pipe[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(pipe[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            result.append(buffer, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "the child failed: " + result;
}

} // namespace Unprivileged
