#pragma once
#include <exception>
#include <filesystem>
#include <thread>

#include "platform/Fd.h"

// A pipe between a writer that only takes a file name and never reports its own
// write errors (Qt's PDF writer loses the last one when its painter ends) and a
// file of ours: every byte the writer sends is written to the file here, and the
// first failure (a full disk, the file-size limit) is kept for finish().
namespace platform {

class CheckedFeed {
public:
    // Starts copying into `fd`, which stays the caller's.
    explicit CheckedFeed(int fd);
    // Without finish(): stops copying, whatever the writer still holds open.
    ~CheckedFeed();
    CheckedFeed(const CheckedFeed&) = delete;
    CheckedFeed& operator=(const CheckedFeed&) = delete;

    // The name the writer opens, for writing only.
    std::filesystem::path writerPath() const;
    // Once the writer has closed what it opened: waits for the last byte to reach
    // the file and throws the first write error.
    void finish();

private:
    void copy();

    int fd_;
    Fd read_;
    Fd write_;
    Fd stopRead_;
    Fd stopWrite_;
    std::exception_ptr failure_;
    std::thread copier_;
};

}  // namespace platform
