// Fontconfig keeps its caches until the process ends; Qt loads it whenever text is laid out with
// the computer's fonts (widgets, rich text). Those allocations are not ours, so the leak checker of
// the sanitizer build is told to ignore them. Every test and fuzz target is linked with this file;
// the programs that tests start get the same rule from lsan-suppressions.txt (the asan test preset).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
