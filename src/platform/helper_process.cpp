#include "platform/helper_process.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

extern char** environ;

namespace tav::platform {
namespace {

// Descriptors made here are moved to this number or above, clear of the helper's own.
constexpr int kFirstPrivateFd = 10;
// The seals of a shared area: its size is fixed. A helper writes only to an area sealed so,
// never to some file a shell happened to leave open as its descriptor 3.
constexpr int kAreaSeals = F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL;

// An owned descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Moves the descriptor to kFirstPrivateFd or above; false when it cannot.
    bool move_clear() {
        if (fd_ >= kFirstPrivateFd) return true;
        const int moved = ::fcntl(fd_, F_DUPFD_CLOEXEC, kFirstPrivateFd);
        if (moved < 0) return false;
        reset(moved);
        return true;
    }

private:
    int fd_;
};

class SpawnActions {
public:
    SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions() {
        if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    // Has `fd` appear as `as` in the helper.
    bool dup(int fd, int as) { return ok_ && ::posix_spawn_file_actions_adddup2(&actions_, fd, as) == 0; }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

// Reads exactly `count` bytes from `fd`, waiting until `deadline` at most; false at an early
// end or when the time is up.
bool read_before(int fd, void* bytes, std::size_t count, std::chrono::steady_clock::time_point deadline) {
    auto* at = static_cast<std::uint8_t*>(bytes);
    while (count > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, at, count);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        at += n;
        count -= std::size_t(n);
    }
    return true;
}

} // namespace

HelperProcess::HelperProcess(const std::string& program, const std::vector<std::string>& arguments,
                             std::size_t capacity, std::chrono::milliseconds patience) {
    Fd area(::memfd_create("tavrino-helper-area", MFD_CLOEXEC | MFD_ALLOW_SEALING));
    if (area.get() < 0 || !area.move_clear() || ::ftruncate(area.get(), off_t(capacity)) != 0 ||
        ::fcntl(area.get(), F_ADD_SEALS, kAreaSeals) != 0)
        return;
    void* mapped = ::mmap(nullptr, capacity, PROT_READ, MAP_SHARED, area.get(), 0);
    if (mapped == MAP_FAILED) return;
    area_.reset(static_cast<const std::uint8_t*>(mapped),
                [capacity](const std::uint8_t* at) { ::munmap(const_cast<std::uint8_t*>(at), capacity); });
    capacity_ = capacity;

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    Fd read_end(fds[0]), write_end(fds[1]);
    SpawnActions actions;
    if (!read_end.move_clear() || !write_end.move_clear() || !actions.dup(area.get(), HelperChannel::kAreaFd) ||
        !actions.dup(write_end.get(), HelperChannel::kPartsFd))
        return;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) return;
    child_ = pid;
    parts_fd_ = read_end.release();
    deadline_ = std::chrono::steady_clock::now() + patience;
}

HelperProcess::~HelperProcess() { stop(); }

std::span<const std::uint8_t> HelperProcess::part(std::size_t n) {
    while (ends_.size() <= n && parts_fd_ >= 0) {
        std::size_t end = 0;
        // The pipe ends without an end when the helper has finished, failed or died.
        if (!read_before(parts_fd_, &end, sizeof end, deadline_) || end > capacity_ ||
            (!ends_.empty() && end < ends_.back())) {
            if (child_ > 0) ::kill(child_, SIGKILL);
            ::close(parts_fd_);
            parts_fd_ = -1;
            break;
        }
        ends_.push_back(end);
    }
    // The process started has detached its worker and ended by now, most likely.
    reap(false);
    if (n >= ends_.size()) return {};
    const std::size_t start = n == 0 ? 0 : ends_[n - 1];
    // The pages are there already: map them in one call rather than a fault each.
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    const std::uint8_t* area = area_.get();
    const std::uint8_t* first = area + start / page * page;
    ::madvise(const_cast<std::uint8_t*>(first), std::size_t(area + ends_[n] - first), MADV_POPULATE_READ);
    return {area + start, ends_[n] - start};
}

void HelperProcess::stop() {
    if (child_ > 0) ::kill(child_, SIGKILL);
    reap(true);
    if (parts_fd_ >= 0) {
        ::close(parts_fd_);
        parts_fd_ = -1;
    }
}

void HelperProcess::reap(bool wait) {
    if (child_ <= 0) return;
    pid_t got = 0;
    do {
        got = ::waitpid(child_, nullptr, wait ? 0 : WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got != 0) child_ = -1;
}

std::optional<HelperChannel> HelperChannel::inherited() {
    struct stat area {
    }, parts{};
    if (::fcntl(kAreaFd, F_GET_SEALS) != kAreaSeals || ::fstat(kAreaFd, &area) != 0 || area.st_size <= 0 ||
        ::fstat(kPartsFd, &parts) != 0 || !S_ISFIFO(parts.st_mode))
        return std::nullopt;
    // A fork that fails leaves the helper attached: its starter ends it when it stops listening.
    if (const pid_t worker = ::fork(); worker > 0) ::_exit(0);
    const auto size = std::size_t(area.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, kAreaFd, 0);
    if (mapped == MAP_FAILED) return std::nullopt;
    ::close(kAreaFd);
    return HelperChannel({static_cast<std::uint8_t*>(mapped), size}, kPartsFd);
}

HelperChannel::~HelperChannel() {
    if (!area_.empty()) ::munmap(area_.data(), area_.size());
    if (parts_fd_ >= 0) ::close(parts_fd_);
}

HelperChannel::HelperChannel(HelperChannel&& other) noexcept
    : area_(std::exchange(other.area_, {})), parts_fd_(std::exchange(other.parts_fd_, -1)), last_(other.last_) {}

bool HelperChannel::hand_over(std::size_t end) {
    if (parts_fd_ < 0 || end < last_ || end > area_.size()) return false;
    const std::uint8_t* at = reinterpret_cast<const std::uint8_t*>(&end);
    std::size_t count = sizeof end;
    while (count > 0) {
        const ssize_t n = ::write(parts_fd_, at, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        count -= std::size_t(n);
    }
    last_ = end;
    return true;
}

} // namespace tav::platform
