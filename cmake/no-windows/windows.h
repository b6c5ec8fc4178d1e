// Put first on the include path of a library that must not depend on the
// platform (see qv_library's NO_WINDOWS): reaching for the Windows API there
// is a mistake in layering, caught at compile time.
#error "This library is below the windowed toolkit: it must not include <windows.h>"
