#include "model/install_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using wolterix::model::examplesDirectory;

namespace {

// A scratch prefix with bin/wolterix, removed at the end.
struct Prefix {
  fs::path root = fs::temp_directory_path() /
                  ("wolterix-prefix-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  Prefix() {
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    std::ofstream(root / "bin" / "wolterix") << "";
  }
  ~Prefix() { fs::remove_all(root); }
  fs::path executable() const { return root / "bin" / "wolterix"; }
};

}  // namespace

TEST(InstallPaths, InstalledExamplesBesideTheExecutableComeFirst) {
  Prefix prefix;
  fs::create_directories(prefix.root / "share" / "wolterix" / "examples");
  EXPECT_EQ(examplesDirectory(prefix.executable(), WOLTERIX_EXAMPLES),
            (prefix.root / "share" / "wolterix" / "examples").lexically_normal());
}

TEST(InstallPaths, TheCheckoutServesWhenNothingIsInstalled) {
  Prefix prefix;
  EXPECT_EQ(examplesDirectory(prefix.executable(), WOLTERIX_EXAMPLES), fs::path(WOLTERIX_EXAMPLES));
  EXPECT_EQ(examplesDirectory(prefix.executable(), prefix.root / "gone"), fs::path());
  EXPECT_EQ(examplesDirectory("wolterix", {}), fs::path());
}

TEST(InstallPaths, TheBuiltProgramFindsTheCheckoutsExamples) {
  const fs::path found = examplesDirectory(fs::temp_directory_path() / "no-bin" / "wolterix");
  ASSERT_FALSE(found.empty());
  EXPECT_TRUE(fs::exists(found / "mostek.wtx"));
}
