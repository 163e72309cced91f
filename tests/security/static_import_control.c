/* Binds PlantProbe from gdiplus.dll at load time, as a naive program binds its DLLs: it only
 * starts when the loader takes the gdiplus.dll beside it, because no other one exports that. */
int PlantProbe(void);

int main(void) { return PlantProbe() == 42 ? 0 : 1; }
