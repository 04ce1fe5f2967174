// orbiter_module.cpp: the module's one definition of ORBITER_MODULE. With it the SDK header
// references the SDK glue, whose load hook calls InitModule and which exports GetModuleVersion,
// and exports the module's build date; without it the simulator loads the library and the mode
// never appears. It has a file of its own so that no other source can define it a second time.
#define ORBITER_MODULE
#include <Orbitersdk.h>
