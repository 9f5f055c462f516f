// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

// A fresh folder under the system temp folder, removed with everything in it (any
// permission a test took away from it is given back first).
class CTempFolder {
public:
    CTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "skimmet-XXXXXX").string();
        Root = ::mkdtemp(pattern.data()) ? pattern : "";
    }
    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(Root, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(Root, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path(const std::string& name) const { return (Root / name).string(); }
    std::string Folder() const { return Root.string(); }
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Root))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path Root;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
