// A fresh folder for one test, removed with everything in it at the end (read-only files and
// folders without rights included), and whole-file helpers that go around the program's own
// file calls for arranging and inspecting files byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "platform/os/file_system.h"

namespace rg::test {

class TempFolder {
  public:
    explicit TempFolder(std::string_view stem = "rg-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string operator/(std::string_view name) const { return platform::JoinPath(path_, name); }
    // Writes the file (creating its folders) and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        WriteFile(*this / name, bytes);
        return *this / name;
    }

    // Paths are code page 1252, as the program names files; the disk holds them in UTF-8.
    static void WriteFile(const std::string& path, std::string_view bytes);
    static std::string ReadFile(const std::string& path);  // empty when missing

  private:
    std::string path_;
};

}  // namespace rg::test
