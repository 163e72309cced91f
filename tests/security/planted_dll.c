/* A planted DLL: whoever loads it leaves "<its own path>.loaded" behind. Built without the C
 * runtime, so that it imports kernel32 only and still loads when planted under the name of
 * a runtime DLL. */
#include <windows.h>

__declspec(dllexport) int PlantProbe(void) { return 42; }

BOOL WINAPI PlantEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcpyW(path + length, L".loaded");
            HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (marker != INVALID_HANDLE_VALUE) {
                CloseHandle(marker);
            }
        }
    }
    return TRUE;
}
