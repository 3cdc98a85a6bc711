#include "platform/Errors.h"

#include <cerrno>

namespace platform {

IoError IoError::fromErrno(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // over the file-size limit: for the user, as full as a full disk
            return IoError(err, "ディスクがいっぱいです");
        case ENOENT:
        case ENOTDIR:
            return IoError(err, "ファイルが見つかりません");
        case EACCES:
        case EPERM:
        case EROFS:
            return IoError(err, "ファイルへのアクセスが拒否されました");
        default:
            return IoError(err, "I/O エラー (" + std::to_string(err) + ")");
    }
}

IoError IoError::pastEnd() {
    return IoError(0, "ファイルの末尾以降を読み込みました");
}

IoError IoError::notRegularFile() {
    return IoError(EINVAL, "通常のファイルではありません");
}

IoError IoError::danglingLink() {
    return IoError(ENOENT, "リンク先のファイルが見つかりません");
}

IoError IoError::foreignFile() {
    return IoError(EPERM, "他のユーザーのファイルのため置き換えられません");
}

}  // namespace platform
