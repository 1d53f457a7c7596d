#pragma once

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

/// In the sanitizers' build, looks for leaks now, once and for the whole run, instead of at
/// exit. Called as a run that drew with OpenGL ends, while the graphics driver's threads still
/// wait for work: at exit the driver's teardown ends them while LeakSanitizer stops every
/// thread to look, and its tracer can crash on one that is half gone, failing the run without
/// having looked. Elsewhere it does nothing.
inline void lookForLeaksNow() {
#ifdef __SANITIZE_ADDRESS__
    __lsan_do_leak_check();
#endif
}
