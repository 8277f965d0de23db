#pragma once
// What a killed run leaves behind: its temporary files and its staging folders. A live run
// holds a lock on each of them while it works (flock, which the system releases when the
// process ends, however it ends), so a later run tells the abandoned ones apart and removes
// only those.
#include <filesystem>
#include <string_view>

namespace pontavia {

// Takes that lock on fd, open on the file or folder just made at ruta. False when another
// run holds it or has removed it meanwhile, taking it for abandoned: make another.
bool reservarEnUso(int fd, const std::filesystem::path& ruta);

// Removes the entries of carpeta named prefijo followed by the six letters or digits that
// mkstemp and mkdtemp add, when no live run holds them. Links are never followed.
void retirarAbandonados(const std::filesystem::path& carpeta, std::string_view prefijo);

} // namespace pontavia
