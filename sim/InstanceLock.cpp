#include "sim/InstanceLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::string InstanceLock::defaultDirectory()
{
    for (const char* var : {"PANEL_LOCK_DIR", "XDG_RUNTIME_DIR"}) {
        const char* v = std::getenv(var);
        if (v != nullptr && *v != '\0') {
            return v;
        }
    }
    return "/tmp";
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::string InstanceLock::path(const std::string& name) const
{
    return directory_ + "/" + name + ".lock";
}

InstanceLock::Result InstanceLock::acquire(const std::string& name)
{
    if (fd_ >= 0) {
        return Result::Acquired; // a restarted application thread finds its own lock
    }
    const int fd = ::open(path(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return Result::Error;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Result::Busy;
    }
    fd_ = fd;
    return Result::Acquired;
}
