// Process-wide single-instance lock: an advisory lock on a file, which the
// kernel drops with the process, even after a crash.
#pragma once

#include <string>

class InstanceLock {
  public:
    // Directory of the lock files: $PANEL_LOCK_DIR, else $XDG_RUNTIME_DIR, else /tmp.
    static std::string defaultDirectory();

    explicit InstanceLock(std::string directory) : directory_(std::move(directory)) {}
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result { Acquired, Busy, Error };
    // Acquired when this process holds the lock on the name (taken once,
    // kept); Busy while another process holds it; Error when the lock file
    // cannot be opened (errno tells why).
    Result acquire(const std::string& name);
    std::string path(const std::string& name) const;

  private:
    std::string directory_;
    int fd_ = -1;
};
