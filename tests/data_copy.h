// A scratch directory holding Data/ with links to every file of the build's Data/, as a user
// might have it before damaging a file: the test runs in it, and it is removed at the end.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct DataCopy {
    std::filesystem::path root, home;
    DataCopy() {
        namespace fs = std::filesystem;
        char name[] = "/tmp/kelvorin-damaged-XXXXXX";
        root = mkdtemp(name);
        home = fs::current_path();
        fs::create_directory(root / "Data");
        for (const fs::directory_entry &e :
             fs::directory_iterator(fs::path(KELVORIN_BUILD_DIR) / "Data"))
            fs::create_symlink(e.path(), root / "Data" / e.path().filename());
        fs::current_path(root);
    }
    ~DataCopy() {
        std::filesystem::current_path(home);
        std::filesystem::remove_all(root);
    }
    // Replaces a link by a file of these bytes.
    void Write(const std::string &file, const std::string &bytes) const {
        std::filesystem::remove(root / file);
        std::ofstream(root / file, std::ios::binary) << bytes;
    }
    std::string Original(const std::string &file) const {
        std::ifstream in(std::filesystem::path(KELVORIN_BUILD_DIR) / file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};
