// Sanitizer options of the window test binaries: no leak check at exit (see
// tests/CMakeLists.txt); addresses and undefined behaviour are still checked.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
