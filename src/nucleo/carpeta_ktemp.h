#pragma once
// Where the front ends find Tamberlo's folder, to hand it to the core.
#include <filesystem>

namespace pontavia {

// $PONTAVIA_KTEMP, or /KTEMP (\KTEMP at the root of the current drive on Windows). The core
// makes it when a run needs it and it is missing.
std::filesystem::path carpetaKTEMP();

} // namespace pontavia
