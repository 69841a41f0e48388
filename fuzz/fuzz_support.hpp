// What the fuzz targets share. The program's readers take a file, never a buffer: each input is
// written to a file of a folder the fuzzing process has to itself, and read from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace brevanto::fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A property every input must keep: its failure is a finding, as a crash is.
inline void require(bool holds) {
  if (!holds) std::abort();
}

class Scratch {
 public:
  Scratch() {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("brevanto-fuzz-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(root_);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string path(std::string_view name = "") const { return (root_ / name).string(); }

  // Writes the bytes to a file below the folder, its folders made, and gives its path.
  std::string write(std::string_view name, std::string_view bytes) const {
    const std::filesystem::path full = root_ / name;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full.string();
  }

  // Makes the folder the Wine prefix of the registry, the environment and the drive letters.
  void as_wine_prefix() const { setenv("WINEPREFIX", root_.c_str(), 1); }

 private:
  std::filesystem::path root_;
};

}  // namespace brevanto::fuzz
