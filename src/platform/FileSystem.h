// The file system as the program uses it: opening a log or a temporary file,
// what a file is (its identity, kind, size and time), where a descriptor
// stands, reading that goes on after interruptions, removing a file, mapping
// a file's pages, and read leases. The commands and a log's bytes and lines
// reach files through here (text files through TextFile.h); the
// descriptors are FileDescriptors.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileDescriptor.h"

namespace kestal {

// What the system tells about a file.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since 1970
    bool regular = false;                  // a plain file: no folder, device, pipe or link
    bool folder = false;
    bool pipe = false;

    // The same file, whatever name leads to it.
    bool sameFileAs(const FileStatus& other) const {
        return device == other.device && inode == other.inode;
    }
};

// The file open as fd; nothing when the system can't tell.
std::optional<FileStatus> fileStatus(int fd);
// The file path leads to, links followed.
std::optional<FileStatus> pathStatus(const std::string& path);
// What stands at path itself: a link is not followed.
std::optional<FileStatus> nameStatus(const std::string& path);

enum class Access { Read, ReadWrite };
// Wait: the open waits as the file asks (a pipe until a writer comes);
// DontWait: it doesn't, and reads from such a file don't either.
enum class Waiting { Wait, DontWait };

// Opens path close-on-exec, never as the program's terminal; empty when it
// can't be opened.
FileDescriptor openFile(const std::string& path, Access access = Access::Read,
                        Waiting waiting = Waiting::Wait);
// True when fd was opened for reading only.
bool openForReadingOnly(int fd);
// A new, empty file at path for reading and writing, ours alone: empty when
// anything stands at path already, a link included.
FileDescriptor createNewFile(const std::string& path);
// Removes the name path (a link, not what it leads to); true when it did.
bool removeFile(const std::string& path);

// Where fd stands in its file; -1 when it can't be told (a pipe).
off_t positionOf(int fd);
// Moves fd to byte offset of its file; false when it can't.
bool moveTo(int fd, off_t offset);

// Reads up to count bytes into into, from where fd stands (offset -1) or
// from byte offset of the file without moving fd; an interrupted read is
// tried again. Returns how many came, 0 at the end of the file, -1 with
// errno when the read failed.
ssize_t readSome(int fd, char* into, std::size_t count, off_t offset = -1);

// length bytes of the file open as fd from byte base on (a multiple of the
// page size), mapped for reading: the file's own pages, not a copy.
// nullptr when they can't be.
char* mapFileForReading(int fd, off_t base, std::size_t length);

// A descriptor of its own for the file open as fd (a regular file, opened
// anew for reading only) holding a read lease on it: while it is held,
// whoever opens the file to write or truncates it waits (the system's lease
// break time at most, 45 s by default) until it is let go. -1 when no lease
// can be had: the file is open for writing somewhere (through fd too),
// isn't the user's, or lives on a file system without leases.
int takeReadLease(int fd);
// Lets the lease go; its descriptor stays open.
void endReadLease(int leaseFd);
// Lets the lease go and closes its descriptor.
void dropReadLease(int leaseFd);

}  // namespace kestal
