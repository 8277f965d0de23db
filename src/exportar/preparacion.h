#pragma once
// All or nothing for exportar: the six tables are written into a staging folder inside
// Tamberlo's folder and moved into place only when every builder has succeeded. Until then,
// and whenever anything fails, Tamberlo's folder stays exactly as it was.
#include <filesystem>
#include <string>
#include <vector>

namespace pontavia {

class CarpetaPreparacion {
  public:
    explicit CarpetaPreparacion(const std::filesystem::path& ktemp);
    ~CarpetaPreparacion(); // removes the staging folder, whatever happened
    CarpetaPreparacion(const CarpetaPreparacion&) = delete;
    CarpetaPreparacion& operator=(const CarpetaPreparacion&) = delete;

    const std::filesystem::path& carpeta() const { return carpeta_; }

    // Replaces Tamberlo's tables (and removes their stale index files) with the staged ones.
    // Refuses, changing nothing, when another program holds any of the tables.
    void confirmar(const std::vector<std::string>& tablas,
                   const std::vector<std::string>& indicesObsoletos);

  private:
    std::filesystem::path ktemp_;
    std::filesystem::path carpeta_;
};

} // namespace pontavia
