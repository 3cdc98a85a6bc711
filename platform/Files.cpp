#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>

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

// A fresh file beside the target, created with the mode a plain new file would get
// (umask applied), so that a file saved for the first time looks like any other.
Fd createTemp(const fs::path& file, std::string& name) {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(rd()));
        name = (file.parent_path() / ("." + file.filename().string() + suffix)).string();
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return Fd(fd);
        if (errno != EEXIST) throw IoError::fromErrno(errno);
    }
    throw IoError::fromErrno(EEXIST);
}

// Makes the rename itself durable; file systems that cannot sync a folder are
// left to their own guarantees.
void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return;
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS)
        throw IoError::fromErrno(errno);
}

}  // namespace

std::string readFile(const fs::path& file) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) throw IoError::fromErrno(errno);
    // Sized once from the file and read straight into place: a year file is well
    // over a megabyte, and a buffer grown by doubling copies it several times.
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw IoError::fromErrno(errno);
    std::string out;
    std::size_t size = st.st_size > 0 ? std::size_t(st.st_size) : 0;
    out.resize(size + 1);  // one byte more shows a file that grew meanwhile
    std::size_t used = 0;
    for (;;) {
        if (used == out.size()) out.resize(out.size() + 65536);
        ssize_t n = ::read(fd.get(), out.data() + used, out.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        if (n == 0) break;
        used += std::size_t(n);
    }
    out.resize(used);
    return out;
}

void writeFileAtomic(const fs::path& file, std::string_view bytes) {
    std::string tmp;
    Fd fd = createTemp(file, tmp);
    try {
        // Keep the permissions of the file being replaced.
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0 && ::fchmod(fd.get(), st.st_mode & 07777) != 0)
            throw IoError::fromErrno(errno);
        writeAll(fd.get(), bytes);
        if (::fsync(fd.get()) != 0) throw IoError::fromErrno(errno);
        fd.close();
        if (::rename(tmp.c_str(), file.c_str()) != 0) throw IoError::fromErrno(errno);
    } catch (...) {
        ::unlink(tmp.c_str());
        throw;
    }
    syncFolder(file.parent_path());
}

void copyReplacing(const fs::path& from, const fs::path& to) {
    writeFileAtomic(to, readFile(from));
}

void removeFile(const fs::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) throw IoError::fromErrno(errno);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    auto lower = [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); };
    // Names are UTF-8: "?" stands for one character, not one byte, and a "*" gives
    // back whole characters, so "令和?年*.dat" finds "令和8年給与･賞与.dat".
    auto charLength = [&](std::size_t at) {
        std::size_t len = 1;
        while (at + len < name.size() &&
               (static_cast<unsigned char>(name[at + len]) & 0xC0) == 0x80)
            ++len;
        return len;
    };
    if (pattern == "*.*") pattern = "*";  // as on the original system
    // Classic two-pointer wildcard match with back-tracking over the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        // "*" first: a name that itself holds a "*" must not turn it into a literal.
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += charLength(n);
            ++p;
        } else if (p < pattern.size() && lower(pattern[p]) == lower(name[n])) {
            ++n;
            ++p;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            mark += charLength(mark);
            n = mark;
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
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        // An entry that cannot be examined (a dangling link, a file gone since the
        // listing began) is no regular file; it must not fail the whole listing.
        std::error_code statEc;
        if (!it->is_regular_file(statEc)) continue;
        if (matchesPattern(it->path().filename().string(), pattern)) out.push_back(it->path());
    }
    if (ec) throw IoError::fromErrno(ec.value());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace platform
