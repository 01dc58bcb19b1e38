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

// The sanitizer runtime records each block of dynamic TLS that __tls_get_addr hands out, so that the
// leak check can scan it. For a block it cannot place it guesses at an old C library's layout: where
// the block starts 16 bytes into a page, it reads a start and a size from the 16 bytes before it. Under
// AddressSanitizer those bytes are the allocator's chunk header, so the leak check's tracer scans from
// a small bogus address and dies ("Tracer caught signal 11", after tests that had passed) whenever the
// heap happens to put the LLVM driver's TLS block there. The only dynamic TLS here is the drivers'
// own, whose blocks lsan.supp names anyway, so the leak check loses nothing when it is not recorded.
// ASAN_OPTIONS still overrides this.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
