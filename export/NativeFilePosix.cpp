#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

#include "export/NativeFile.h"

namespace vexilo::native {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

using CString = std::unique_ptr<char, decltype(&std::free)>;

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Makes the rename itself durable; a failure here loses nothing that was promised.
void SyncFolder(const std::string& folder) {
  const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

}  // namespace

bool IsSeparator(char c) {
  return c == '/';
}

std::error_code Resolve(std::string_view name, std::string& absolute) {
  if (name.front() == '/') {
    absolute.assign(name);
  } else {
    const CString current(::getcwd(nullptr, 0), &std::free);
    if (!current) return LastError();
    absolute = current.get();
    if (absolute.back() != '/') absolute += '/';
    absolute += name;
  }
  struct stat info {};
  if (::lstat(absolute.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    // The file the link leads to gets the bytes, not the link.
    const CString resolved(::realpath(absolute.c_str(), nullptr), &std::free);
    if (resolved) absolute = resolved.get();
  }
  return {};
}

std::error_code KindOf(const std::string& name, Kind& kind) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    kind = Kind::Nothing;
    return errno == ENOENT || errno == ENOTDIR ? std::error_code() : LastError();
  }
  const mode_t type = info.st_mode & S_IFMT;
  kind = type == S_IFREG    ? Kind::File
         : type == S_IFDIR  ? Kind::Folder
         : type == S_IFIFO  ? Kind::Pipe
         : type == S_IFSOCK ? Kind::Socket
                            : Kind::Device;  // character or block
  return {};
}

ReplacementFile::ReplacementFile(std::string name, std::error_code& error)
    : name_(std::move(name)) {
  // 0666 before the umask, as any newly saved file gets.
  handle_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  error = handle_ < 0 ? LastError() : std::error_code();
  if (error) name_.clear();
}

ReplacementFile::~ReplacementFile() {
  if (handle_ != kClosed) ::close(static_cast<int>(handle_));
  if (!name_.empty()) ::unlink(name_.c_str());
}

std::error_code ReplacementFile::KeepAttributesOf(const std::string& old) {
  const int fd = static_cast<int>(handle_);
  struct stat info {};
  if (::stat(old.c_str(), &info) != 0) return LastError();
  // Owner first: a change of owner clears the set-id bits, which the mode then restores. A user
  // who may not give the file away may still keep its group; failing both, the file is theirs.
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    if (errno != EPERM) return LastError();
    if (::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0 && errno != EPERM) {
      return LastError();
    }
  }
  if (::fchmod(fd, info.st_mode & 07777) != 0) return LastError();
  return {};
}

std::error_code ReplacementFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code SameFile(const std::string& first, const std::string& second, bool& same) {
  same = false;
  struct stat one {};
  struct stat two {};
  for (const auto& [name, info] : {std::pair{&first, &one}, std::pair{&second, &two}}) {
    if (::stat(name->c_str(), info) != 0) {
      return errno == ENOENT || errno == ENOTDIR ? std::error_code() : LastError();
    }
  }
  same = SameIdentity({static_cast<std::uint64_t>(one.st_dev), one.st_ino},
                      {static_cast<std::uint64_t>(two.st_dev), two.st_ino});
  return {};
}

std::error_code ReplacementFile::Finish() {
  if (::fsync(static_cast<int>(handle_)) != 0) return LastError();
  // Closed once, never retried: the descriptor is gone either way.
  if (::close(static_cast<int>(std::exchange(handle_, kClosed))) != 0) return LastError();
  return {};
}

std::error_code ReplacementFile::PutInPlace(const std::string& target, const std::string& folder) {
  if (::rename(name_.c_str(), target.c_str()) != 0) return LastError();
  name_.clear();
  SyncFolder(folder);
  return {};
}

}  // namespace vexilo::native
