// A stand-in plug-in library whose answers no real build gives, and which
// touches no file: a program that loads it by path shows these answers, and
// one that calls linked-in code instead does not.
extern "C" {

float Version(const char*, double, char*) { return 77; }
float GetCreases(const char*, double, char*) { return 42; }

}
