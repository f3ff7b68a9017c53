// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <vector>

class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // The folder itself, or `name` inside it, in the platform's path form.
    std::string path(const std::string& name = "") const;

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

    // The names directly in the folder, sorted: a test compares them with
    // what it made, so that a stray temporary file shows up.
    std::vector<std::string> names() const;

    // A folder and a listing made with the C runtime's narrow-name calls,
    // which take a path's bytes as the library does: for names whose
    // spelling other interfaces might change.
    static void MakeFolder(const std::string& path);
    static std::vector<std::string> NamesIn(const std::string& folder);  // without "." and ".."

private:
    std::string root_;
};
