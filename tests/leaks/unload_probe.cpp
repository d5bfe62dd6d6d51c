// Loads a library that keeps a block in a global, and unloads it again, as Qt's Wayland plugin
// loads and unloads a graphics driver. Exits with 0 unless LeakSanitizer reports a leak at exit.
#include <cstdio>
#include <dlfcn.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: unload_probe LIBRARY\n", stderr);
        return 2;
    }
    void* const library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    using Hold = void (*)();
    reinterpret_cast<Hold>(dlsym(library, "HoldTable"))();
    dlclose(library);
    return 0;
}
