#pragma once

#include <cstdint>
#include <span>
#include <utility>

// An open POSIX file descriptor, closed on scope exit unless released.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    // Closes now and returns the close error (0 when none), since a failed close can mean
    // the data never reached the disk.
    int Close();

private:
    int m_fd;
};

// Writes every byte, going on after an interrupted write; 0 when all were written, the
// error otherwise.
int WriteAll(int fd, std::span<const std::uint8_t> bytes);
