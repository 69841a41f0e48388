// A temporary folder for one test, removed with everything in it at the end of the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace brevanto::fixtures {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("brevanto-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str(const std::string& name = "") const {
    return name.empty() ? path_.string() : (path_ / name).string();
  }

  // Writes bytes to a file below the folder (creating its folders) and returns its path.
  std::string write(const std::string& name, const std::string& bytes) const {
    const auto full = path_ / name;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full.string();
  }

  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // A report log the program wrote, its line ends "\n" (on Windows the file has CR LF).
  std::string read_log(const std::string& name) const {
    std::string text = read(name);
    std::erase(text, '\r');
    return text;
  }

 private:
  std::filesystem::path path_;
};

// The bytes of a file.
inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the test body in another current folder, restoring the old one afterwards.
class ScopedCurrentPath {
 public:
  explicit ScopedCurrentPath(const std::filesystem::path& p)
      : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(p);
  }
  ~ScopedCurrentPath() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

}  // namespace brevanto::fixtures
