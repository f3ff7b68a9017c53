#include "Scratch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <dirent.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#endif

namespace fs = std::filesystem;

Scratch::Scratch() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0;; ++attempt) {
        fs::path folder = fs::temp_directory_path() /
                          ("pellando-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (fs::create_directory(folder)) {
            root_ = folder.string();
            return;
        }
        if (attempt > 100) throw std::runtime_error("cannot make a scratch folder");
    }
}

Scratch::~Scratch() {
    std::error_code ignored;
    // Tests take write permission away; give it back so everything goes.
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow,
                        ignored);
    }
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::string Scratch::path(const std::string& name) const {
    return name.empty() ? root_ : (fs::path(root_) / name).string();
}

void Scratch::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path(name));
}

std::string Scratch::read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path(name));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool Scratch::exists(const std::string& name) const {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path(name), ignored));
}

std::vector<std::string> Scratch::names() const {
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(root_)) result.push_back(entry.path().filename().string());
    std::sort(result.begin(), result.end());
    return result;
}

void Scratch::MakeFolder(const std::string& path) {
#ifdef _WIN32
    int made = _mkdir(path.c_str());
#else
    int made = mkdir(path.c_str(), 0777);
#endif
    if (made != 0) throw std::runtime_error("cannot make the folder " + path);
}

std::vector<std::string> Scratch::NamesIn(const std::string& folder) {
    std::vector<std::string> result;
    DIR* listing = opendir(folder.c_str());
    if (!listing) throw std::runtime_error("cannot list " + folder);
    while (dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") result.push_back(name);
    }
    closedir(listing);
    std::sort(result.begin(), result.end());
    return result;
}
