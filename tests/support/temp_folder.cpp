#include "tests/support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/os/file_system.h"

namespace rg::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view stem) {
    static std::mt19937_64 random{std::random_device{}()};
    std::error_code error;
    do {
        path_ = (fs::temp_directory_path() / (std::string(stem) + "-" + std::to_string(random())))
                    .string();
    } while (!fs::create_directory(path_, error) && !error);
    if (error) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests take rights away from files and folders; give them back so everything goes.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void TempFolder::WriteFile(const std::string& path, std::string_view bytes) {
    const std::string native = platform::NativePath(path);
    fs::create_directories(fs::path(native).parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string TempFolder::ReadFile(const std::string& path) {
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace rg::test
