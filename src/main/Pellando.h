// A greeting class of the POSIX build, kept for C++ callers of the library.
#pragma once

class Pellando {
public:
    // Writes `text` and a newline to standard output.
    void HelloWorld(const char* text);
};

// Does the work of Pellando; not part of the library's visible interface.
class PellandoPriv {
public:
    __attribute__((visibility("hidden"))) void HelloWorldPriv(const char* text);
};
