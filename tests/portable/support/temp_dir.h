#pragma once
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace corvane::testing {

// A fresh folder under the system's temporary directory, removed with its content at the end.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as the OS gives a temp folder: with its trailing separator.
    std::string folder() const { return (path_ / "").string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    bool empty() const { return std::filesystem::is_empty(path_); }

private:
    std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace corvane::testing
