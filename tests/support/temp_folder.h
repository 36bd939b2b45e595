#pragma once
// A fresh folder for one test's files, removed with everything in it afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/file_io.h"

namespace quorvane::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("quorvane-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::string& content) const {
        std::string target = file(name);
        std::ofstream(target, std::ios::binary) << content;
        return target;
    }
    std::string read(const std::string& name) const {
        return readWholeFile(file(name)).value_or("<missing>");
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

  private:
    std::filesystem::path path_;
};

}  // namespace quorvane::testing
