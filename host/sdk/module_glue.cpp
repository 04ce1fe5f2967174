// module_glue.cpp: what the SDK's static library adds to every module: the exported
// GetModuleVersion, reporting the SDK's build date through the host's Date2Int. It is compiled
// into the plug-in, not into the host.
#include <Orbitersdk.h>

DLLCLBK int GetModuleVersion(void) {
    static char buildDate[] = "Apr 25 2006";
    return Date2Int(buildDate);
}
