#pragma once
#include <stdexcept>
#include <string>

// The two kinds of failure the programs report in their error box and then carry
// on: a file operation that failed, and a text that is not a number or has no
// Shift-JIS form. Both carry the message shown to the user (UTF-8).
namespace platform {

class IoError : public std::runtime_error {
public:
    IoError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    // The errno of the failed call, or 0 for a short read.
    int code() const { return code_; }

    // The fixed text for an errno value: "ファイルが見つかりません" and the like.
    static IoError fromErrno(int err);
    // A read that ran past the end of a file.
    static IoError pastEnd();
    // A name that is a folder, a pipe or a device where a file belongs.
    static IoError notRegularFile();
    // A symbolic link whose file is not there (an unmounted share, say).
    static IoError danglingLink();
    // A file of another account that a save can neither write into nor replace.
    static IoError foreignFile();

private:
    int code_;
};

class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace platform
