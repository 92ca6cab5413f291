// Fontconfig keeps its caches until the process ends; Qt loads it for every widget test. Those
// allocations are not ours, so the leak checker of the sanitizer build is told to ignore them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
