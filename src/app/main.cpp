#include <windows.h>

#include "app/orvane_app.h"

namespace {
COrvaneApp g_app;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    g_app.InitInstance();
    return 0;
}
