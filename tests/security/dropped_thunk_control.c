/* A call that the headers declare dllimport, so it goes through the function's __imp_ slot:
   linked against a dlltool delay library on i686, the slot stays 0 at rest. */
#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    return InitCommonControlsEx(&controls) ? 0 : 1;
}
