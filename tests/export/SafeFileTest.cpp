#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "export/SafeFile.h"

#ifndef _WIN32
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vexilo {
namespace {

namespace fs = std::filesystem;

class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = fs::temp_directory_path() / ("vexilo-save-" + std::to_string(std::random_device{}()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::permissions(path_ / "locked", fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// The name as the program hands it over: UTF-8 text on Windows, the name's bytes elsewhere.
std::string Utf8(const fs::path& path) {
#ifdef _WIN32
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
#else
  return path.native();
#endif
}

fs::path FromUtf8(const std::string& name) {
#ifdef _WIN32
  return fs::path(std::u8string(name.begin(), name.end()));
#else
  return fs::path(name);
#endif
}

// Every file below the folder, by its name relative to it with "/" between folders.
std::set<std::string> FilesBelow(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_directory()) continue;
    std::string name = Utf8(entry.path().lexically_relative(folder));
    std::replace(name.begin(), name.end(), '\\', '/');
    names.insert(name);
  }
  return names;
}

// Makes a folder the current one while it lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;
  ~CurrentFolder() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
  }

 private:
  fs::path previous_;
};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(Utf8(entry.path().filename()));
  }
  return names;
}

std::string SpinBytes(int lines) {
  std::string bytes;
  for (int i = 0; i < lines; ++i) bytes += std::to_string(i % 37) + ",Black\r\n";
  return bytes;
}

::testing::AssertionResult Saved(const SaveResult& result) {
  if (result.Saved() && result.message.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << result.code << ": " << result.message;
}

TEST(SafeFile, WritesAndReplacesWholeFiles) {
  struct Case {
    const char* name;
    const char* before;  // nullptr: no file yet
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"a new file", nullptr, "17,Black\r\n0,Green\r\n32,Red\r\n"},
      {"a longer old file", "1,Red\r\n2,Black\r\n3,Red\r\n4,Black\r\n", "0,Green\r\n"},
      {"a shorter old file", "x", SpinBytes(100000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    const fs::path target = folder.Path() / "spins.CSV";
    if (c.before != nullptr) Write(target, c.before);
    EXPECT_TRUE(Saved(WriteFileAtomically(Utf8(target), c.bytes)));
    EXPECT_TRUE(Read(target) == c.bytes);
    EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"spins.CSV"}) << "temporary file left";
  }
}

// A failed save: the reason is given, an existing target keeps its bytes, nothing is left over.
void ExpectFailureLeftNoTrace(const SaveResult& result, const fs::path& folder,
                              const std::set<std::string>& entriesBefore, const fs::path& target,
                              const std::string& targetBefore) {
  ASSERT_FALSE(result.Saved()) << "the save was reported as done";
  EXPECT_FALSE(result.message.empty());
  EXPECT_EQ(Entries(folder), entriesBefore);
  if (!targetBefore.empty()) {
    EXPECT_EQ(Read(target), targetBefore);
  }
}

TEST(SafeFile, RefusesAFolderAndAMissingFolder) {
  ScratchFolder folder;
  const fs::path inner = folder.Path() / "log.CSV";
  fs::create_directory(inner);
  Write(inner / "keep.txt", "keep");
  const std::set<std::string> before = Entries(folder.Path());

  EXPECT_FALSE(WriteFileAtomically(Utf8(inner), "0,Green\r\n").Saved());
  EXPECT_EQ(Entries(folder.Path()), before);
  EXPECT_EQ(Entries(inner), std::set<std::string>{"keep.txt"});

  ExpectFailureLeftNoTrace(
      WriteFileAtomically(Utf8(folder.Path() / "absent" / "x.CSV"), "0,Green\r\n"), folder.Path(),
      before, {}, "");
  EXPECT_FALSE(WriteFileAtomically(Utf8(folder.Path() / "log.CSV" / ""), "0,Green\r\n").Saved());
}

// However the name is written, the file lands where the name says, with nothing left beside it.
TEST(SafeFile, TakesEveryFormOfAFileName) {
  struct Case {
    const char* name;
    std::string (*target)(const fs::path& folder);
    std::string written;  // below the folder, UTF-8
  };
  const std::vector<Case> cases = {
      {"no folder part", [](const fs::path&) { return std::string("plain.CSV"); }, "plain.CSV"},
      {"a relative folder", [](const fs::path&) { return std::string("sub/rel.CSV"); },
       "sub/rel.CSV"},
      {"the current folder named", [](const fs::path&) { return std::string("./dot.CSV"); },
       "dot.CSV"},
      {"up and back", [](const fs::path&) { return std::string("sub/../up.CSV"); }, "up.CSV"},
      {"doubled separators", [](const fs::path& f) { return Utf8(f) + "//sub//double.CSV"; },
       "sub/double.CSV"},
      {"letters beyond ASCII",
       [](const fs::path& f) {
         return Utf8(f / "sub") + "/Spins \xC3\x9C\xE2\x82\xAC \xF0\x9F\x8E\xB2.CSV";
       },
       "sub/Spins \xC3\x9C\xE2\x82\xAC \xF0\x9F\x8E\xB2.CSV"},
#ifndef _WIN32
      {"bytes that are no UTF-8", [](const fs::path& f) { return Utf8(f) + "/raw\xFF.CSV"; },
       "raw\xFF.CSV"},
#endif
  };
  const std::string bytes = "36,Red\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    fs::create_directory(folder.Path() / "sub");
    const CurrentFolder current(folder.Path());
    EXPECT_TRUE(Saved(WriteFileAtomically(c.target(folder.Path()), bytes)));
    EXPECT_EQ(Read(folder.Path() / FromUtf8(c.written)), bytes);
    EXPECT_EQ(FilesBelow(folder.Path()), std::set<std::string>{c.written});
  }
}

// Names that lead to no file are refused with a reason, and nothing is written anywhere.
TEST(SafeFile, RefusesNamesOfNoFile) {
  struct Case {
    const char* name;
    std::string (*target)(const fs::path& folder);
  };
  const std::vector<Case> cases = {
      {"empty", [](const fs::path&) { return std::string(); }},
      {"cut short by a zero byte",
       [](const fs::path& f) { return Utf8(f / "cut") + std::string("\0.CSV", 5); }},
      {"the current folder", [](const fs::path&) { return std::string("."); }},
      {"a folder with a trailing separator",
       [](const fs::path& f) { return Utf8(f / "sub") + "/"; }},
      {"the root folder", [](const fs::path& f) { return Utf8(f.root_path()); }},
      {"a missing folder, relative", [](const fs::path&) { return std::string("absent/x.CSV"); }},
      {"a file taken for a folder",
       [](const fs::path& f) { return Utf8(f / "old.CSV" / "x.CSV"); }},
#ifdef _WIN32
      {"text that is no UTF-8", [](const fs::path& f) { return Utf8(f) + "\\raw\xFF.CSV"; }},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    fs::create_directory(folder.Path() / "sub");
    Write(folder.Path() / "old.CSV", "1,Red\r\n");
    const CurrentFolder current(folder.Path());
    const SaveResult result = WriteFileAtomically(c.target(folder.Path()), "0,Green\r\n");
    ASSERT_FALSE(result.Saved()) << "the save was reported as done";
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(FilesBelow(folder.Path()), std::set<std::string>{"old.CSV"});
    EXPECT_EQ(Read(folder.Path() / "old.CSV"), "1,Red\r\n");
  }
}

// Something that is not a file is refused and left as it was: a FIFO is never opened (which
// would wait for a reader), a device or socket never replaced by a plain file.
TEST(SafeFile, RefusesWhatIsNotAFile) {
  struct Case {
    const char* name;
    const char* leaf;
    bool (*make)(const fs::path& at);
    std::errc code;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"a folder", "spins.CSV", [](const fs::path& at) { return fs::create_directory(at); },
       std::errc::is_a_directory, "It is a folder, not a file."},
#ifdef _WIN32
      {"a device name", "NUL", [](const fs::path&) { return true; },
       std::errc::operation_not_supported, "It is a device, not a file."},
#else
      {"a FIFO", "spins.CSV", [](const fs::path& at) { return mkfifo(at.c_str(), 0644) == 0; },
       std::errc::operation_not_supported, "It is a named pipe (FIFO), not a file."},
      {"a link to a device", "spins.CSV",
       [](const fs::path& at) { return symlink("/dev/null", at.c_str()) == 0; },
       std::errc::operation_not_supported, "It is a device, not a file."},
      {"a socket", "spins.CSV",
       [](const fs::path& at) {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         at.native().copy(address.sun_path, sizeof address.sun_path - 1);
         const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
         const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
         close(fd);
         return bound;
       },
       std::errc::operation_not_supported, "It is a socket, not a file."},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    const fs::path target = folder.Path() / c.leaf;
    ASSERT_TRUE(c.make(target));
    std::error_code ignored;
    const fs::file_type type = fs::symlink_status(target, ignored).type();
    const std::set<std::string> before = Entries(folder.Path());

    const SaveResult result = WriteFileAtomically(Utf8(target), "1,Red\r\n");
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.message, '"' + Utf8(target) + "\" could not be written. " + c.reason);
    EXPECT_EQ(fs::symlink_status(target, ignored).type(), type);
    EXPECT_EQ(Entries(folder.Path()), before);
  }
}

#ifndef _WIN32

// Runs a save in a child process after prepare(), which may lower the child's privileges or
// limits; the result comes back through a pipe. No value when prepare() was not possible here.
std::optional<SaveResult> SaveInChild(const std::function<bool()>& prepare, const fs::path& target,
                                      const std::string& bytes) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (!prepare()) _exit(77);
    const SaveResult result = WriteFileAtomically(Utf8(target), bytes);
    const std::string message = std::to_string(result.code.value()) + "\n" + result.message;
    (void)!write(channel[1], message.data(), message.size());
    _exit(0);
  }
  close(channel[1]);
  std::string message;
  char buffer[256];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 77 || message.empty()) return std::nullopt;
  const std::size_t cut = message.find('\n');
  return SaveResult{{std::stoi(message.substr(0, cut)), std::system_category()},
                    message.substr(cut + 1)};
}

// Permission bits do not stop a privileged process, so such a run drops to an ordinary user.
bool BecomeOrdinaryUser() {
  if (geteuid() != 0) return true;
  return setgid(65534) == 0 && setuid(65534) == 0 && geteuid() != 0;
}

// An ordinary user who belongs to group 23456 besides their own.
bool BecomeMemberOfTheFilesGroup() {
  const gid_t groups[] = {23456};
  return geteuid() == 0 && setgroups(1, groups) == 0 && BecomeOrdinaryUser();
}

// A quota of 4 KiB per file: the kernel fails the write part-way, as on a full disk.
bool LimitFileSize() {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
  limit.rlim_cur = 4096;
  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

TEST(SafeFile, FailedSavesLeaveTheOldFileAndNoTemporary) {
  struct Case {
    const char* name;
    bool (*prepare)();
    bool lockFolder;
    std::errc code;
  };
  const std::vector<Case> cases = {
      {"read-only folder", BecomeOrdinaryUser, true, std::errc::permission_denied},
      {"disk full part-way", LimitFileSize, false, std::errc::file_too_large},
  };
  std::string skipped;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder scratch;
    const fs::path folder = scratch.Path() / "locked";
    fs::create_directory(folder);
    const fs::path target = folder / "spins.CSV";
    const std::string old = "5,Red\r\n17,Black\r\n";
    Write(target, old);
    chmod(target.c_str(), 0644);
    if (c.lockFolder) chmod(folder.c_str(), 0555);
    const std::set<std::string> before = Entries(folder);

    const auto outcome = SaveInChild(c.prepare, target, SpinBytes(20000));
    if (!outcome) {
      skipped += std::string(" \"") + c.name + "\"";
      continue;
    }
    ExpectFailureLeftNoTrace(*outcome, folder, before, target, old);
    EXPECT_EQ(outcome->code, c.code);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
  }
  if (!skipped.empty()) GTEST_SKIP() << "could not be set up here:" << skipped;
}

TEST(SafeFile, KeepsPermissionsAndFollowsLinks) {
  ScratchFolder folder;
  const fs::path target = folder.Path() / "spins.CSV";
  Write(target, "old");
  chmod(target.c_str(), 0640);
  ASSERT_TRUE(Saved(WriteFileAtomically(Utf8(target), "1,Red\r\n")));
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const fs::path fresh = folder.Path() / "fresh.CSV";
  const mode_t mask = umask(022);
  umask(mask);
  ASSERT_TRUE(Saved(WriteFileAtomically(Utf8(fresh), "2,Black\r\n")));
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);

  const fs::path link = folder.Path() / "latest.CSV";
  fs::create_symlink(target, link);
  ASSERT_TRUE(Saved(WriteFileAtomically(Utf8(link), "3,Red\r\n")));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "3,Red\r\n");
  EXPECT_EQ(Entries(folder.Path()),
            (std::set<std::string>{"spins.CSV", "fresh.CSV", "latest.CSV"}));
}

// A link is followed to the file it finally names, however it is written; the links stay links.
// A link that leads nowhere is replaced by the file itself.
TEST(SafeFile, FollowsLinksToTheFileTheyName) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> links;  // link, what it holds
    const char* saved;                                       // the name saved to
    const char* written;                                     // the regular file that gets the bytes
  };
  const std::vector<Case> cases = {
      {"relative", {{"latest.CSV", "spins.CSV"}}, "latest.CSV", "spins.CSV"},
      {"from another folder", {{"sub/latest.CSV", "../spins.CSV"}}, "sub/latest.CSV", "spins.CSV"},
      {"a link to a link", {{"a.CSV", "b.CSV"}, {"b.CSV", "spins.CSV"}}, "a.CSV", "spins.CSV"},
      {"leading nowhere", {{"dead.CSV", "gone.CSV"}}, "dead.CSV", "dead.CSV"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    fs::create_directory(folder.Path() / "sub");
    Write(folder.Path() / "spins.CSV", "old");
    std::set<std::string> files = {"spins.CSV"};
    for (const auto& [link, held] : c.links) {
      fs::create_symlink(held, folder.Path() / link);
      files.insert(link);
    }
    ASSERT_TRUE(Saved(WriteFileAtomically(Utf8(folder.Path() / c.saved), "4,Black\r\n")));
    EXPECT_EQ(Read(folder.Path() / c.written), "4,Black\r\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder.Path() / c.written)));
    for (const auto& [link, held] : c.links) {
      if (link != std::string_view(c.written)) {
        EXPECT_TRUE(fs::is_symlink(folder.Path() / link)) << link;
      }
    }
    EXPECT_EQ(FilesBelow(folder.Path()), files);
  }
}

// The replacement belongs to the old file's owner and group as far as the process may set them:
// all of it as root, the group for a member of it; anyone else's save still goes through, and
// the file is then theirs.
TEST(SafeFile, KeepsOwnerAndGroupWherePermitted) {
  struct Case {
    const char* name;
    bool (*prepare)();
    mode_t mode;
    uid_t uid;
    gid_t gid;
  };
  const std::vector<Case> cases = {
      {"root", [] { return geteuid() == 0; }, 06750, 12345, 23456},
      {"a member of the group", BecomeMemberOfTheFilesGroup, 0664, 65534, 23456},
      {"an ordinary user", BecomeOrdinaryUser, 0666, 65534, 65534},
  };
  std::string skipped;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder scratch;
    const fs::path folder = scratch.Path() / "shared";
    fs::create_directory(folder);
    chmod(folder.c_str(), 0777);
    const fs::path target = folder / "spins.CSV";
    Write(target, "old");
    if (chown(target.c_str(), 12345, 23456) != 0 || chmod(target.c_str(), c.mode) != 0) {
      GTEST_SKIP() << "cannot give a file away here";
    }
    const auto outcome = SaveInChild(c.prepare, target, "2,Black\r\n");
    if (!outcome) {
      skipped += std::string(" \"") + c.name + "\"";
      continue;
    }
    EXPECT_TRUE(Saved(*outcome));
    EXPECT_EQ(Read(target), "2,Black\r\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, c.uid);
    EXPECT_EQ(info.st_gid, c.gid);
    EXPECT_EQ(info.st_mode & 07777, c.mode);
  }
  if (!skipped.empty()) GTEST_SKIP() << "could not be set up here:" << skipped;
}

#endif

}  // namespace
}  // namespace vexilo
