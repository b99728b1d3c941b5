#include "core/model/FileDescriptor.h"

#include <unistd.h>

#include <cerrno>

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int FileDescriptor::Close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? 0 : errno;
}

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}
