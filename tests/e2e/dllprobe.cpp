// Loads a DLL by its bare name with the platform's default search and
// prints where it came from: shows that a planted DLL would be found.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) {
        std::fprintf(stderr, "dllprobe: %s not loaded (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    std::printf("%s\n", path);
    return 0;
}
