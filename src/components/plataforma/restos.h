#pragma once
// What a killed run leaves behind: its temporary files and its staging folders. A live run
// holds each of them while it works (sistema::retenerEnUso), so a later run tells the
// abandoned ones apart and removes only those.
#include "disco.h"

#include <filesystem>
#include <string_view>

namespace pontavia {

// Whether nombre is prefijo followed by the six letters or digits that a temporary name ends in.
bool esNombreTemporal(std::string_view nombre, std::string_view prefijo);

// Removes the entries of carpeta named prefijo followed by the six letters or digits that
// a temporary name ends in, when no live run holds them. Links are never followed.
void retirarAbandonados(Disco& disco, const std::filesystem::path& carpeta,
                        std::string_view prefijo);

} // namespace pontavia
