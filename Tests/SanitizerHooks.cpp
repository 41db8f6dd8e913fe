// Settings of the sanitizers for the suites and the benchmarks, built into each program.

// Fontconfig keeps the fonts it has loaded behind encoded offsets that the leak checker cannot
// follow; what it holds when a program ends is not that program's leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
