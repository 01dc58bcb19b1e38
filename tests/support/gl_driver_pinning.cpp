// Linked into programs whose leak check must cover a whole GL run. Mesa's EGL vendor library and
// its software driver are loaded with dlopen and unloaded again before the leak check runs, so the
// blocks they keep for the life of the process would be reported with stacks that name no module,
// and no suppression could single them out. Loading them once more here with RTLD_NODELETE keeps
// them mapped to the end: their blocks are then named, and lsan.supp can name them in turn, while
// every block allocated by the project itself is still checked.
#include <dlfcn.h>

namespace {

constexpr const char* kDrivers[] = {
    "libEGL.so.1",
    "libEGL_mesa.so.0",
    "libGLX_mesa.so.0",
    "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
    "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
    "/usr/lib/dri/swrast_dri.so",
    "/usr/lib64/dri/swrast_dri.so",
};

// Absent libraries are skipped: the ones that matter are those the driver loader finds.
[[maybe_unused]] const bool pinned = [] {
  for (const char* driver : kDrivers) dlopen(driver, RTLD_NOW | RTLD_NODELETE);
  return true;
}();

}  // namespace
