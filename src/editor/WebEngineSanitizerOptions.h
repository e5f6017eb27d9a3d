#pragma once

// Included once, by the main file of each program that starts a web view editor and runs in the
// sanitizer build. Chromium inside libQt6WebEngineCore frees some of its own objects with a sized
// delete of another size (seen in ~WebContentsAdapter), which the sanitizer's global operator
// delete reports. That one check is off in such a program; every other check and the leak check
// stay.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif
