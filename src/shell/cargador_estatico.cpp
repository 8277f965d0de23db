// pontavia-cli on Linux is linked whole, the C library too, so that it starts with nothing to
// load and nothing to relocate. Such a program cannot rightly load anything: the C library's
// static dlopen works only beside the very shared libraries it was built with, and the linker
// says so wherever it is called. ICU calls it only from a hook for plug-ins that this program
// never loads; the link sends that call here (--wrap=dlopen), and the answer is that nothing
// can be loaded, which ICU reports as a missing resource.
extern "C" void* __wrap_dlopen(const char*, int) noexcept {
    return nullptr;
}
