/* The mistake the planted-DLL test must be able to catch: loading each DLL named on the
 * command line by bare name, with the default search order. Prints one line per name. */
#include <windows.h>
#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        HMODULE module = LoadLibraryW(argv[i]);
        printf("%ls %s\n", argv[i], module != NULL ? "loaded" : "failed");
    }
    return 0;
}
