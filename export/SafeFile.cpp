#include "export/SafeFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>

#include "export/NativeFile.h"

namespace vexilo {
namespace {

using native::Kind;

constexpr int kNameAttempts = 100;

// Why a save stopped: a code, and the reason in words when the code's own text would not say it.
struct Stop {
  std::error_code code;
  std::string_view reason = {};
};

// Names that lead to something other than a file the save could replace.
struct Refusal {
  Kind kind;
  std::errc code;
  std::string_view reason;
};
constexpr std::array<Refusal, 4> kRefusals = {{
    {Kind::Folder, std::errc::is_a_directory, "It is a folder, not a file"},
    {Kind::Pipe, std::errc::operation_not_supported, "It is a named pipe (FIFO), not a file"},
    {Kind::Device, std::errc::operation_not_supported, "It is a device, not a file"},
    {Kind::Socket, std::errc::operation_not_supported, "It is a socket, not a file"},
}};

std::optional<Stop> Refuse(Kind kind) {
  for (const Refusal& refusal : kRefusals) {
    if (refusal.kind == kind) return Stop{std::make_error_code(refusal.code), refusal.reason};
  }
  return std::nullopt;
}

// An absolute name cut after its last separator. The folder keeps that separator, so the folder
// of "/x" is the root itself; the leaf is empty when the name ends in a separator.
struct SplitName {
  std::string folder;
  std::string leaf;
};

SplitName Split(const std::string& name) {
  std::size_t cut = name.size();
  while (cut > 0 && !native::IsSeparator(name[cut - 1])) --cut;
  return {name.substr(0, cut), name.substr(cut)};
}

// A fresh name beside the target, ".<name>.<8 hex digits>.tmp", so that the final rename never
// crosses a file system; the dot hides it from a plain listing on POSIX systems.
class TempNames {
 public:
  explicit TempNames(const SplitName& target)
      : base_(target.folder + '.' + target.leaf + '.'), next_(std::random_device{}()) {}

  std::string Next() {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string name = base_;
    for (std::uint32_t value = next_++, i = 0; i < 8; ++i, value >>= 4) name += kHex[value & 0xF];
    return name + ".tmp";
  }

 private:
  std::string base_;
  std::uint32_t next_;
};

// Where the bytes go: the absolute name with links followed, cut in two, and what is there now.
struct Destination {
  std::string name;
  SplitName parts;
  Kind kind = Kind::Nothing;
};

Stop Locate(std::string_view target, Destination& to) {
  if (target.empty() || target.find('\0') != std::string_view::npos) {
    return {std::make_error_code(std::errc::invalid_argument), "It is not a file name"};
  }
  if (const std::error_code code = native::Resolve(target, to.name)) return {code};
  to.parts = Split(to.name);
  to.kind = Kind::Folder;  // a name that ends in a separator
  if (!to.parts.leaf.empty()) {
    if (const std::error_code code = native::KindOf(to.name, to.kind)) return {code};
  }
  if (const std::optional<Stop> refused = Refuse(to.kind)) return *refused;
  Kind folder = Kind::Nothing;
  if (const std::error_code code = native::KindOf(to.parts.folder, folder)) return {code};
  if (folder != Kind::Folder) {
    return {std::make_error_code(std::errc::no_such_file_or_directory),
            "Its folder does not exist"};
  }
  return {};
}

// Every byte in a finished temporary file beside the target, ready to be put in place.
Stop Prepare(const Destination& to, std::string_view bytes,
             std::optional<native::ReplacementFile>& file) {
  TempNames names(to.parts);
  std::error_code code;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    file.emplace(names.Next(), code);
    if (code != std::errc::file_exists) break;
  }
  if (code) return {code};
  if (to.kind == Kind::File && (code = file->KeepAttributesOf(to.name))) return {code};
  if ((code = file->Write(bytes))) return {code};
  return {file->Finish()};
}

SaveResult Result(std::string_view target, const Stop& stop) {
  if (!stop.code) return {};
  const std::string reason = stop.reason.empty() ? stop.code.message() : std::string(stop.reason);
  return {stop.code, '"' + std::string(target) + "\" could not be written. " + reason + '.'};
}

}  // namespace

struct PreparedFile::Pending {
  Destination to;
  std::optional<native::ReplacementFile> file;
};

PreparedFile::PreparedFile(std::string_view target, std::string_view bytes)
    : target_(target), pending_(std::make_unique<Pending>()) {
  Stop stop = Locate(target, pending_->to);
  if (!stop.code) stop = Prepare(pending_->to, bytes, pending_->file);
  result_ = Result(target, stop);
}

PreparedFile::~PreparedFile() = default;

SaveResult PreparedFile::Commit() {
  if (!result_.Saved() || !pending_->file) return result_;
  const Stop stop{pending_->file->PutInPlace(pending_->to.name, pending_->to.parts.folder)};
  pending_->file.reset();
  return result_ = Result(target_, stop);
}

SaveResult WriteFileAtomically(std::string_view target, std::string_view bytes) {
  PreparedFile file(target, bytes);
  return file.Commit();
}

bool SameFile(std::string_view first, std::string_view second) {
  std::string one;
  std::string two;
  bool same = false;
  if (first.empty() || second.empty() || native::Resolve(first, one) ||
      native::Resolve(second, two)) {
    return false;
  }
  return !native::SameFile(one, two, same) && same;
}

}  // namespace vexilo
