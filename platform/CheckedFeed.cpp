#include "platform/CheckedFeed.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Errors.h"
#include "platform/Fd.h"
#include "platform/Files.h"

namespace platform {

namespace {

void writeAllTo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        bytes.remove_prefix(std::size_t(n));
    }
}

}  // namespace

CheckedFeed::CheckedFeed(int fd) : fd_(fd) {
    int data[2];
    if (::pipe2(data, O_CLOEXEC) != 0) throw IoError::fromErrno(errno);
    read_ = Fd(data[0]);
    write_ = Fd(data[1]);
    int stop[2];
    if (::pipe2(stop, O_CLOEXEC) != 0) throw IoError::fromErrno(errno);
    stopRead_ = Fd(stop[0]);
    stopWrite_ = Fd(stop[1]);
    ignoreFileSizeSignal();
    copier_ = std::thread([this] { copy(); });
}

CheckedFeed::~CheckedFeed() {
    write_ = Fd();
    if (copier_.joinable()) {
        stopWrite_ = Fd();  // wakes the copier even if the writer still holds the pipe
        copier_.join();
    }
}

std::filesystem::path CheckedFeed::writerPath() const {
    return descriptorPath(write_.get());
}

void CheckedFeed::copy() {
    char buf[65536];
    pollfd watched[2] = {{read_.get(), POLLIN, 0}, {stopRead_.get(), POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) continue;
            failure_ = std::make_exception_ptr(IoError::fromErrno(errno));
            return;
        }
        if (watched[1].revents != 0) return;
        const ssize_t n = ::read(read_.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            if (!failure_) failure_ = std::make_exception_ptr(IoError::fromErrno(errno));
            return;
        }
        if (n == 0) return;  // the writer is done
        // After a failure the rest is still taken, so that the writer never blocks.
        if (failure_) continue;
        try {
            writeAllTo(fd_, std::string_view(buf, std::size_t(n)));
        } catch (const IoError&) {
            failure_ = std::current_exception();
        }
    }
}

void CheckedFeed::finish() {
    write_ = Fd();
    if (copier_.joinable()) copier_.join();
    if (failure_) std::rethrow_exception(failure_);
}

}  // namespace platform
