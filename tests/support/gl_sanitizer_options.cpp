// Sanitizer defaults for programs that use OpenGL (see CMakeLists.txt). ASAN_OPTIONS in the
// environment still wins.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
