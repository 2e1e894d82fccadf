// A fresh temporary folder for one test, removed with its content when the test ends.
#pragma once
#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>

class TTempDir {
public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) FPath = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    // Tests may leave the folder read-only; take it back before removing it.
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FPath, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }
  // The entries of the folder (temporary files left behind would show here).
  std::size_t FileCount() const {
    std::error_code ec;
    return std::size_t(std::distance(std::filesystem::directory_iterator(FPath, ec), {}));
  }

private:
  std::string FPath;
};
