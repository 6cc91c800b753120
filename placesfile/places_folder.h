// Which folder the programs keep their places in, and its first-run set-up: the window's rule,
// which the tools follow when no --file is given. Plain C++ and POSIX, no Qt: the folder is
// chosen and made before the toolkit starts.
//
// The rule: with --dir DIR, DIR. Otherwise the current directory when it holds location.dat.
// Otherwise the user's own places folder, $XDG_DATA_HOME/orvalin ($HOME/.local/share/orvalin when
// XDG_DATA_HOME is unset, empty or relative), made on first use with a copy of the installed
// sample location.dat; when no sample is found it is used as it is.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvalin {

// What the choice depends on, read once from the process's surroundings.
struct FolderInputs {
  std::optional<std::string> dir;              // --dir DIR
  std::filesystem::path current;               // the current directory
  std::optional<std::string> xdg_data_home;    // $XDG_DATA_HOME; nullopt when unset
  std::optional<std::string> home;             // $HOME, else the password database's home
  std::vector<std::filesystem::path> samples;  // where a sample location.dat may be, in order
};

struct FolderChoice {
  enum class Reason { Named, CurrentHasPlaces, UserFolder };
  Reason reason;
  std::filesystem::path folder;
  // UserFolder only: the sample to copy in, when the folder has no location.dat or an empty one.
  std::optional<std::filesystem::path> sample;
};

// The folder cannot be found or made; the program stops with this text.
struct FolderError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// $XDG_DATA_HOME/orvalin, or $HOME/.local/share/orvalin; nullopt when neither is an absolute path.
std::optional<std::filesystem::path> UserPlacesFolder(
    const std::optional<std::string>& xdg_data_home, const std::optional<std::string>& home);

// Decides, looking at the disk without changing it. Throws FolderError when there is no folder
// to use (no --dir, no location.dat here and no home).
FolderChoice ChoosePlacesFolder(const FolderInputs& inputs);

// Carries out a UserFolder choice: makes the folder and its missing parents (mode 0700) and
// copies the sample in atomically (a temporary file renamed over location.dat). Throws
// FolderError when the folder cannot be made; a copy that fails leaves no file behind and is
// returned as a warning's text ("" when all went well). Does nothing for the other choices.
std::string SetUpPlacesFolder(const FolderChoice& choice);

// The inputs of this process: the environment, the current directory and the samples found
// beside the executable (<bin>/../share/orvalin/location.dat, then the build tree's
// <build>/sample/location.dat seen from app/ and from the tools' folders below it).
FolderInputs ProcessFolderInputs(std::optional<std::string> dir);

// The places file of a program run without a folder or file named: this folder's location.dat
// ("location.dat") when there is one, else that of the user's places folder, set up as a first
// run of the window sets it up. `warning` receives what the set-up could not do. FolderError
// when there is no folder to use.
std::string DefaultPlacesFile(std::string& warning);

}  // namespace orvalin
