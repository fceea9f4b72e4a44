// A shared library with no VST entry at all.
extern "C" __attribute__((visibility("default"))) int hostsimNotAPlugin() { return 42; }
