// Preloaded into a sanitizer-built program so that no library it loads is ever unloaded.
//
// LeakSanitizer looks for leaks at exit, after a toolkit or driver may already have unloaded a
// library it loaded at run time. What that library's globals still pointed to then looks leaked,
// and the report cannot even name the library (<unknown module>). Mesa's software driver, which
// Qt's Wayland plugin loads through EGL and unloads when it terminates EGL, is one: on AMD Zen
// processors it keeps a table of the processor's L3 caches in a global for good. Kept loaded, the
// library's globals are still there to be scanned, its frames are named, and a block that nothing
// points to is still reported.
extern "C" int dlclose(void* /*handle*/) {
    return 0;
}
