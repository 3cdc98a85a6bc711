#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>

#include "platform/Errors.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the failure, which a destructor cannot.
    void close() {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) throw IoError::fromErrno(errno);
    }

private:
    int fd_;
};

void writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        p += n;
        left -= std::size_t(n);
    }
}

}  // namespace

std::string readFile(const fs::path& file) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw IoError::fromErrno(errno);
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        if (n == 0) break;
        out.append(buf, std::size_t(n));
    }
    return out;
}

void writeFileAtomic(const fs::path& file, std::string_view bytes) {
    std::string tmpl = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    int raw = ::mkstemp(tmpl.data());
    if (raw < 0) throw IoError::fromErrno(errno);
    Fd fd(raw);
    try {
        // Keep the permissions of the file being replaced, or the usual ones.
        struct stat st {};
        mode_t mode = ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
        ::fchmod(fd.get(), mode);
        writeAll(fd.get(), bytes);
        if (::fsync(fd.get()) != 0) throw IoError::fromErrno(errno);
        fd.close();
        if (::rename(tmpl.c_str(), file.c_str()) != 0) throw IoError::fromErrno(errno);
    } catch (...) {
        ::unlink(tmpl.c_str());
        throw;
    }
}

void copyReplacing(const fs::path& from, const fs::path& to) { writeFileAtomic(to, readFile(from)); }

void removeFile(const fs::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) throw IoError::fromErrno(errno);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    auto lower = [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); };
    // Classic two-pointer wildcard match with back-tracking over the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<fs::path> listByPattern(const fs::path& folder, std::string_view pattern) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (!e.is_regular_file(ec)) continue;
        if (matchesPattern(e.path().filename().string(), pattern)) out.push_back(e.path());
    }
    if (ec) throw IoError::fromErrno(ec.value());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace platform
