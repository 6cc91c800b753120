// Which folder the window keeps its places in, and the first run's copy of the sample places.
#include "placesfile/places_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace orvalin {
namespace {

namespace fs = std::filesystem;

const std::string kSample(std::size_t{72} * 3, 'S');  // three records of the installed sample
const std::string kMine(72, 'M');                     // one record of the user's

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// A throw-away tree: root/cwd (the current directory), root/home, root/xdg, root/share (sample).
class PlacesFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvalin-folder-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "home");
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

enum class Xdg { Unset, Empty, Relative, Absolute };

struct Case {
  const char* name;
  bool cwd_has_file;
  Xdg xdg;
  const char* already_there;  // the user folder's location.dat beforehand: nullptr none
  bool sample_installed;
  const char* expected_folder;  // below the test's root
  const char* expected_places;  // the chosen folder's location.dat afterwards: nullptr none
};

const char* const kNone = nullptr;

const Case kCases[] = {
    {"current directory holding location.dat", true, Xdg::Absolute, kNone, true, "cwd", "mine"},
    {"first run: cwd without file, empty XDG folder", false, Xdg::Absolute, kNone, true,
     "xdg/orvalin", "sample"},
    {"XDG folder already holds the user's places", false, Xdg::Absolute, "mine", true,
     "xdg/orvalin", "mine"},
    {"XDG folder holds an empty file: the sample replaces it", false, Xdg::Absolute, "", true,
     "xdg/orvalin", "sample"},
    {"XDG_DATA_HOME unset: HOME/.local/share", false, Xdg::Unset, kNone, true,
     "home/.local/share/orvalin", "sample"},
    {"XDG_DATA_HOME empty: ignored", false, Xdg::Empty, kNone, true, "home/.local/share/orvalin",
     "sample"},
    {"XDG_DATA_HOME relative: ignored", false, Xdg::Relative, kNone, true,
     "home/.local/share/orvalin", "sample"},
    {"no sample found: the folder is used as it is", false, Xdg::Absolute, kNone, false,
     "xdg/orvalin", kNone},
};

TEST_F(PlacesFolderTest, ChoosesAndPreparesTheFolder) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_);
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "home");
    if (c.cwd_has_file) Write(root_ / "cwd/location.dat", kMine);
    const fs::path user_folder =
        c.xdg == Xdg::Absolute ? root_ / "xdg/orvalin" : root_ / "home/.local/share/orvalin";
    if (c.already_there != nullptr) {
      Write(user_folder / "location.dat", c.already_there == std::string("mine") ? kMine : "");
    }
    fs::create_directories(root_ / "bin");
    if (c.sample_installed) Write(root_ / "share/orvalin/location.dat", kSample);

    FolderInputs inputs;
    inputs.current = root_ / "cwd";
    inputs.home = (root_ / "home").string();
    switch (c.xdg) {
      case Xdg::Unset:
        break;
      case Xdg::Empty:
        inputs.xdg_data_home = "";
        break;
      case Xdg::Relative:
        inputs.xdg_data_home = "xdg";
        break;
      case Xdg::Absolute:
        inputs.xdg_data_home = (root_ / "xdg").string();
        break;
    }
    inputs.samples = {root_ / "bin/../share/orvalin/location.dat",
                      root_ / "build/sample/location.dat"};

    const FolderChoice choice = ChoosePlacesFolder(inputs);
    EXPECT_EQ(choice.folder, root_ / c.expected_folder);
    EXPECT_EQ(SetUpPlacesFolder(choice), "");
    EXPECT_TRUE(fs::is_directory(choice.folder));
    const fs::path places = choice.folder / "location.dat";
    if (c.expected_places == nullptr) {
      EXPECT_FALSE(fs::exists(places));
    } else {
      EXPECT_EQ(Read(places), std::string(c.expected_places) == "mine" ? kMine : kSample);
    }
    // Never a file in a folder the user did not name, nor a temporary file left behind.
    if (!c.cwd_has_file) {
      EXPECT_FALSE(fs::exists(root_ / "cwd/location.dat"));
    }
    EXPECT_FALSE(fs::exists(root_ / "xdg") && c.xdg != Xdg::Absolute);
    for (const auto& entry : fs::directory_iterator(choice.folder)) {  // the lock may stay
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name.rfind(".location.dat.", 0) == std::string::npos ||
                  name == ".location.dat.lock")
          << entry.path();
    }
  }
}

TEST_F(PlacesFolderTest, LaterRunsUseTheCopyAndItsAdditions) {
  Write(root_ / "share/location.dat", kSample);
  FolderInputs inputs{std::nullopt,
                      root_ / "cwd",
                      (root_ / "xdg").string(),
                      std::nullopt,
                      {root_ / "share/location.dat"}};
  ASSERT_EQ(SetUpPlacesFolder(ChoosePlacesFolder(inputs)), "");
  std::ofstream(root_ / "xdg/orvalin/location.dat", std::ios::binary | std::ios::app) << kMine;

  const FolderChoice later = ChoosePlacesFolder(inputs);
  EXPECT_EQ(later.reason, FolderChoice::Reason::UserFolder);
  EXPECT_FALSE(later.sample.has_value());
  EXPECT_EQ(SetUpPlacesFolder(later), "");
  EXPECT_EQ(Read(root_ / "xdg/orvalin/location.dat"), kSample + kMine);
}

TEST_F(PlacesFolderTest, NewFoldersAreTheUsersOnly) {
  Write(root_ / "share/location.dat", kSample);
  FolderInputs inputs{std::nullopt,
                      root_ / "cwd",
                      (root_ / "data/deep").string(),
                      std::nullopt,
                      {root_ / "share/location.dat"}};
  ASSERT_EQ(SetUpPlacesFolder(ChoosePlacesFolder(inputs)), "");
  for (const char* folder : {"data", "data/deep", "data/deep/orvalin"}) {
    struct stat info {};
    ASSERT_EQ(::stat((root_ / folder).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
  }
}

TEST_F(PlacesFolderTest, DirIsTakenAsItIsAndNothingIsMadeThere) {
  Write(root_ / "share/location.dat", kSample);
  FolderInputs inputs{(root_ / "named").string(),
                      root_ / "cwd",
                      (root_ / "xdg").string(),
                      (root_ / "home").string(),
                      {root_ / "share/location.dat"}};
  const FolderChoice choice = ChoosePlacesFolder(inputs);
  EXPECT_EQ(choice.reason, FolderChoice::Reason::Named);
  EXPECT_EQ(choice.folder, root_ / "named");
  EXPECT_EQ(SetUpPlacesFolder(choice), "");
  EXPECT_FALSE(fs::exists(root_ / "named"));
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(PlacesFolderTest, NoHomeAndNoXdgIsAnError) {
  FolderInputs inputs{std::nullopt, root_ / "cwd", "relative", "", {}};
  EXPECT_THROW(ChoosePlacesFolder(inputs), FolderError);
}

TEST_F(PlacesFolderTest, AFolderThatCannotBeMadeIsAnError) {
  Write(root_ / "xdg", "a file, not a folder");
  FolderInputs inputs{std::nullopt, root_ / "cwd", (root_ / "xdg").string(), std::nullopt, {}};
  EXPECT_THROW(SetUpPlacesFolder(ChoosePlacesFolder(inputs)), FolderError);
}

TEST(UserPlacesFolder, FollowsTheXdgRule) {
  EXPECT_EQ(UserPlacesFolder("/d", "/h"), fs::path("/d/orvalin"));
  EXPECT_EQ(UserPlacesFolder(std::nullopt, "/h"), fs::path("/h/.local/share/orvalin"));
  EXPECT_EQ(UserPlacesFolder("", "/h"), fs::path("/h/.local/share/orvalin"));
  EXPECT_EQ(UserPlacesFolder("d", "/h"), fs::path("/h/.local/share/orvalin"));
  EXPECT_EQ(UserPlacesFolder(std::nullopt, std::nullopt), std::nullopt);
  EXPECT_EQ(UserPlacesFolder("d", "h"), std::nullopt);
}

}  // namespace
}  // namespace orvalin
