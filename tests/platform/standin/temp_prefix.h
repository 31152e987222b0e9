// A throw-away machine prefix for one registry test: a fresh folder named by RAVELGARD_PREFIX
// for the test's lifetime, removed afterwards, and whole-file helpers for arranging and
// inspecting the registry files byte for byte.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rg::test {

class TempPrefix {
  public:
    TempPrefix() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rg-reg-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        root_ = pattern;
        prefix_ = root_ + "/machine";
        std::filesystem::create_directories(prefix_);
        if (const char* old = std::getenv("RAVELGARD_PREFIX")) {
            previous_ = old;
        }
        ::setenv("RAVELGARD_PREFIX", prefix_.c_str(), 1);
    }
    ~TempPrefix() {
        if (previous_) {
            ::setenv("RAVELGARD_PREFIX", previous_->c_str(), 1);
        } else {
            ::unsetenv("RAVELGARD_PREFIX");
        }
        std::error_code ignored;
        std::filesystem::permissions(prefix_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::string& root() const { return root_; }
    const std::string& prefix() const { return prefix_; }

    // Writes in place (same inode), as an editor that truncates the file would.
    static void WriteFile(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    static std::string ReadFile(const std::string& path) {  // empty when missing
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::string root_;
    std::string prefix_;
    std::optional<std::string> previous_;
};

}  // namespace rg::test
