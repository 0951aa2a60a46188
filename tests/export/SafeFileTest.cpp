#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "export/SafeFile.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string SpinBytes(int lines) {
  std::string bytes;
  for (int i = 0; i < lines; ++i) bytes += std::to_string(i % 37) + ",Black\r\n";
  return bytes;
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
    EXPECT_EQ(WriteFileAtomically(target, c.bytes), std::nullopt);
    EXPECT_TRUE(Read(target) == c.bytes);
    EXPECT_EQ(Entries(folder.Path()), std::set<std::string>{"spins.CSV"}) << "temporary file left";
  }
}

// A failed save: the reason is given, an existing target keeps its bytes, nothing is left over.
void ExpectFailureLeftNoTrace(const std::optional<std::string>& reason, const fs::path& folder,
                              const std::set<std::string>& entriesBefore, const fs::path& target,
                              const std::string& targetBefore) {
  ASSERT_TRUE(reason.has_value()) << "the save was reported as done";
  EXPECT_FALSE(reason->empty());
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

  EXPECT_NE(WriteFileAtomically(inner, "0,Green\r\n"), std::nullopt);
  EXPECT_EQ(Entries(folder.Path()), before);
  EXPECT_EQ(Entries(inner), std::set<std::string>{"keep.txt"});

  ExpectFailureLeftNoTrace(WriteFileAtomically(folder.Path() / "absent" / "x.CSV", "0,Green\r\n"),
                           folder.Path(), before, {}, "");
  EXPECT_NE(WriteFileAtomically(folder.Path() / "log.CSV" / "", "0,Green\r\n"), std::nullopt);
}

#ifndef _WIN32

// Runs a save in a child process after prepare(), which may lower the child's privileges or
// limits; the reason comes back through a pipe. No value when prepare() was not possible here.
std::optional<std::optional<std::string>> SaveInChild(const std::function<bool()>& prepare,
                                                      const fs::path& target,
                                                      const std::string& bytes) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (!prepare()) _exit(77);
    const std::optional<std::string> reason = WriteFileAtomically(target, bytes);
    const std::string message = reason ? "F" + *reason : "S";
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
  if (message[0] == 'S') return std::optional<std::string>{};
  return std::optional<std::string>{message.substr(1)};
}

// Permission bits do not stop a privileged process, so such a run drops to an ordinary user.
bool BecomeOrdinaryUser() {
  if (geteuid() != 0) return true;
  return setgid(65534) == 0 && setuid(65534) == 0 && geteuid() != 0;
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
  };
  const std::vector<Case> cases = {
      {"read-only folder", BecomeOrdinaryUser, true},
      {"disk full part-way", LimitFileSize, false},
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
  ASSERT_EQ(WriteFileAtomically(target, "1,Red\r\n"), std::nullopt);
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const fs::path fresh = folder.Path() / "fresh.CSV";
  const mode_t mask = umask(022);
  umask(mask);
  ASSERT_EQ(WriteFileAtomically(fresh, "2,Black\r\n"), std::nullopt);
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);

  const fs::path link = folder.Path() / "latest.CSV";
  fs::create_symlink(target, link);
  ASSERT_EQ(WriteFileAtomically(link, "3,Red\r\n"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "3,Red\r\n");
  EXPECT_EQ(Entries(folder.Path()),
            (std::set<std::string>{"spins.CSV", "fresh.CSV", "latest.CSV"}));
}

#endif

}  // namespace
}  // namespace vexilo
