#include "placesfile/places_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/failure.h"
#include "placesfile/places_file.h"

#ifndef ORVALIN_SAMPLE_FROM_BIN
#define ORVALIN_SAMPLE_FROM_BIN "../share/orvalin/location.dat"
#endif

namespace orvalin {
namespace fs = std::filesystem;
namespace {

std::optional<fs::path> Absolute(const std::optional<std::string>& value) {
  if (!value || value->empty()) return std::nullopt;
  fs::path path(*value);
  if (!path.is_absolute()) return std::nullopt;  // the XDG rule: a relative path is ignored
  return path;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// The places file of the user folder holds places of the user's: it is there and not empty.
bool HoldsPlaces(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return false;
  const auto size = fs::file_size(file, ec);
  return ec || size > 0;  // a file whose size cannot be read is left alone
}

std::string ErrnoText(const std::string& what) { return what + ": " + std::strerror(errno); }

// mkdir -p, new folders with mode 0700 as the XDG rule asks of the folders it names.
void MakeFolders(const fs::path& folder) {
  fs::path walked;
  for (const fs::path& part : folder) {
    walked /= part;
    if (::mkdir(walked.c_str(), 0700) == 0 || errno == EEXIST) continue;
    const std::string error = ErrnoText("cannot make the folder " + walked.string());
    std::error_code ec;
    if (!fs::is_directory(walked, ec)) throw FolderError(error);
  }
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    throw FolderError("cannot use " + folder.string() + ": it is not a folder");
  }
}

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw FolderError(ErrnoText("cannot read " + file.string()));
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw FolderError("cannot read " + file.string());
  return bytes;
}

// The sample's places into the user's places file, through the one writer of places files: under
// its lock, replaced whole. Another first run may have been faster: its copy is kept.
void CopySample(const fs::path& target, const std::string& bytes) {
  try {
    PlacesFile file;
    file.Open(target.string(), PlacesFile::Use::Write);
    if (file.SizeInBytes() == 0) file.ReplaceAll(bytes);
  } catch (const Failure& failure) {
    throw FolderError("cannot write " + target.string() + ": " + failure.what());
  }
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace

std::optional<fs::path> UserPlacesFolder(const std::optional<std::string>& xdg_data_home,
                                         const std::optional<std::string>& home) {
  if (auto data = Absolute(xdg_data_home)) return *data / "orvalin";
  if (auto base = Absolute(home)) return *base / ".local" / "share" / "orvalin";
  return std::nullopt;
}

FolderChoice ChoosePlacesFolder(const FolderInputs& inputs) {
  if (inputs.dir) return {FolderChoice::Reason::Named, fs::path(*inputs.dir), std::nullopt};
  if (Exists(inputs.current / kPlacesFileName)) {
    return {FolderChoice::Reason::CurrentHasPlaces, inputs.current, std::nullopt};
  }
  const auto folder = UserPlacesFolder(inputs.xdg_data_home, inputs.home);
  if (!folder) {
    throw FolderError("no folder for the places: HOME is not set; give one with --dir DIR");
  }
  FolderChoice choice{FolderChoice::Reason::UserFolder, *folder, std::nullopt};
  if (!HoldsPlaces(*folder / kPlacesFileName)) {
    for (const fs::path& sample : inputs.samples) {
      std::error_code ec;
      if (fs::is_regular_file(sample, ec)) {
        choice.sample = sample;
        break;
      }
    }
  }
  return choice;
}

std::string SetUpPlacesFolder(const FolderChoice& choice) {
  if (choice.reason != FolderChoice::Reason::UserFolder) return {};
  MakeFolders(choice.folder);
  if (!choice.sample) return {};
  try {
    CopySample(choice.folder / kPlacesFileName, ReadWhole(*choice.sample));
  } catch (const FolderError& e) {
    return std::string("the sample places were not copied: ") + e.what();
  }
  return {};
}

FolderInputs ProcessFolderInputs(std::optional<std::string> dir) {
  FolderInputs inputs;
  inputs.dir = std::move(dir);
  std::error_code ec;
  inputs.current = fs::current_path(ec);
  if (ec) inputs.current = ".";
  inputs.xdg_data_home = Environment("XDG_DATA_HOME");
  inputs.home = Environment("HOME");
  if (!inputs.home || inputs.home->empty()) {
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
      inputs.home = std::string(user->pw_dir);
    }
  }
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path bin = program.parent_path();
    // Installed, then the build tree: the window in app/, the tools one folder below.
    inputs.samples = {(bin / ORVALIN_SAMPLE_FROM_BIN).lexically_normal(),
                      (bin / "../sample" / kPlacesFileName).lexically_normal(),
                      (bin / "../../sample" / kPlacesFileName).lexically_normal()};
  }
  return inputs;
}

std::string DefaultPlacesFile(std::string& warning) {
  const FolderInputs inputs = ProcessFolderInputs(std::nullopt);
  if (!Exists(inputs.current / kPlacesFileName) &&
      !UserPlacesFolder(inputs.xdg_data_home, inputs.home)) {
    throw FolderError("no location.dat here and no places folder: HOME is not set");
  }
  const FolderChoice choice = ChoosePlacesFolder(inputs);
  if (choice.reason == FolderChoice::Reason::CurrentHasPlaces) return PlacesFileIn("");
  warning = SetUpPlacesFolder(choice);
  return (choice.folder / kPlacesFileName).string();
}

}  // namespace orvalin
