/* A host in C: loads the library named at build time (by find_package or
 * pkg-config), binds Version by name and prints its answer. Exit status 0
 * when the answer is the header's PELLANDO_VERSION. */
#include <dlfcn.h>
#include <stdio.h>

#include <pellando.h>

int main(void) {
    void* library = dlopen(PELLANDO_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    PellandoExport version = (PellandoExport)dlsym(library, "Version");
    if (!version) {
        fprintf(stderr, "%s has no export Version\n", PELLANDO_LIBRARY_FILE);
        return 2;
    }
    float answer = version(NULL, 0, NULL);
    printf("%s: Version %g\n", PELLANDO_LIBRARY_FILE, (double)answer);
    return answer == PELLANDO_VERSION ? 0 : 1;
}
