#include "procedencia.h"

#include "error.h"
#include "esquema_tamberlo.h"
#include "texto.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pontavia {

namespace {

using tamberlo::ASIGNOMT, tamberlo::AULAT, tamberlo::GRUPOST, tamberlo::PROFT;

// Each item as the tables keep its identifier and as the chosen file names it.
struct DescripcionItem {
    const char* tabla;
    const char* campo;    // the identifier's field in the table
    const char* atributo; // and its attribute in VELMORA's file
    const char* que;      // what it is, mid-sentence
    std::unordered_set<std::string> IdentificadoresCentro::*enArchivo;
    int ancho; // the field's width: a longer identifier is kept cut to it
};
constexpr DescripcionItem kItems[] = {
    {"ASIGNOMT", "IDASIG", "idmateria", "esa materia", &IdentificadoresCentro::materias,
     ASIGNOMT.campos[ASIGNOMT["IDASIG"].indice].ancho},
    {"GRUPOST", "IDGRUPO", "idgrupo", "ese grupo", &IdentificadoresCentro::grupos,
     GRUPOST.campos[GRUPOST["IDGRUPO"].indice].ancho},
    {"PROFT", "IDPROF", "idprofesor", "ese profesor", &IdentificadoresCentro::profesores,
     PROFT.campos[PROFT["IDPROF"].indice].ancho},
    {"AULAT", "IDAULA", "idaula", "esa aula", &IdentificadoresCentro::aulas,
     AULAT.campos[AULAT["IDAULA"].indice].ancho},
};

std::size_t caracteres(std::string_view s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The file's identifiers as the table holds them: whole, or cut to the field's width.
class IdentificadoresEnTabla {
  public:
    IdentificadoresEnTabla(const std::unordered_set<std::string>& ids, std::size_t ancho)
        : ids_(ids) {
        for (const auto& id : ids)
            if (caracteres(id) > ancho) cortados_.emplace(recortarDerecha(primeros(id, ancho)));
    }
    bool contiene(const std::string& id) const {
        return ids_.contains(id) || cortados_.contains(id);
    }

  private:
    const std::unordered_set<std::string>& ids_;
    std::unordered_set<std::string> cortados_;
};

std::size_t dispersion(const void* fila) {
    return static_cast<std::size_t>(
        (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(fila)) >> 4) *
            0x9E3779B97F4A7C15ULL >>
        32);
}

} // namespace

void ProcedenciaHorario::Conteo::buscar(const void* fila, const std::string& codigo,
                                        const std::string& identificador) {
    std::size_t mascara = ranuras.size() - 1;
    std::size_t i = dispersion(fila) & mascara;
    while (ranuras[i].fila && ranuras[i].fila != fila)
        i = (i + 1) & mascara;
    if (!ranuras[i].fila) {
        // Kept at most half full, so that a search ends soon.
        if (2 * (usos.size() + 1) > ranuras.size()) {
            std::vector<Ranura> antes(ranuras.size() * 2);
            antes.swap(ranuras);
            mascara = ranuras.size() - 1;
            for (const Ranura& r : antes) {
                if (!r.fila) continue;
                std::size_t j = dispersion(r.fila) & mascara;
                while (ranuras[j].fila)
                    j = (j + 1) & mascara;
                ranuras[j] = r;
            }
            i = dispersion(fila) & mascara;
            while (ranuras[i].fila)
                i = (i + 1) & mascara;
        }
        ranuras[i] = {fila, 0, usos.size()};
        usos.push_back({codigo, identificador, 0});
    }
    ultima = fila;
    actual = i;
}

void ProcedenciaHorario::decidir(const IdentificadoresCentro& centro, const CentroElegido& elegido,
                                 Informe& informe) const {
    // Placed lessons, and not one whose subject ASIGNOMT knows: the tables are not those the
    // timetable was made with. An empty result would empty the school's timetable in VELMORA.
    if (colocadas_ > 0 && escritas_ == 0)
        throw Error(ClaseError::NoEsDeVelmora, Hecho::LeccionesSinMateria,
                    {.archivo = elegido.archivo}, std::to_string(colocadas_));
    // An earlier result has no sections to compare with: it is taken as it is.
    if (escritas_ == 0 || !centro.conSecciones) return;

    struct Ausente {
        const DescripcionItem* item;
        Uso uso;
    };
    std::vector<Ausente> ausentes;
    std::size_t materiasEnArchivo = 0;
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        const DescripcionItem& d = kItems[i];
        const IdentificadoresEnTabla enArchivo(centro.*d.enArchivo,
                                               static_cast<std::size_t>(d.ancho));
        // Rows that share an identifier are one item of VELMORA's.
        std::unordered_map<std::string, Uso> porIdentificador;
        const Conteo& c = conteos_[i];
        for (const Ranura& r : c.ranuras) {
            if (!r.fila) continue;
            auto [it, nuevo] =
                porIdentificador.try_emplace(c.usos[r.uso].identificador, c.usos[r.uso]);
            it->second.lecciones += r.lecciones;
        }
        for (auto& [id, uso] : porIdentificador) {
            if (!enArchivo.contiene(id))
                ausentes.push_back({&d, std::move(uso)});
            else if (i == Materia)
                ++materiasEnArchivo;
        }
    }
    if (materiasEnArchivo == 0)
        throw Error(
            ClaseError::NoEsDeVelmora, Hecho::HorarioDeOtroArchivo,
            {.archivo = elegido.archivo, .codigo = elegido.codigoInterno, .nombre = elegido.nombre},
            elegido.curso);
    if (ausentes.empty()) return;

    // By table, then by code, so that two runs over the same files read alike.
    std::sort(ausentes.begin(), ausentes.end(), [](const Ausente& a, const Ausente& b) {
        if (a.item != b.item) return a.item < b.item;
        return a.uso.codigo < b.uso.codigo;
    });
    for (const Ausente& a : ausentes) {
        const std::string elemento =
            "código " + a.uso.codigo + " (" + a.item->atributo + " " + a.uso.identificador + ")";
        const std::string motivo = "el archivo elegido no tiene " + std::string(a.item->que) +
                                   "; se ha escrito igual en " + std::to_string(a.uso.lecciones) +
                                   (a.uso.lecciones == 1 ? " lección" : " lecciones");
        informe.agregar({a.item->tabla, TipoAviso::AusenteDelArchivo, elemento, a.item->campo,
                         a.uso.identificador, a.uso.identificador, motivo});
    }
    informe.advertir(
        std::to_string(ausentes.size()) +
        (ausentes.size() == 1 ? " elemento del horario de Tamberlo (materia, grupo, profesor o "
                                "aula) no está"
                              : " elementos del horario de Tamberlo (materias, grupos, profesores "
                                "o aulas) no están") +
        " en el archivo elegido de VELMORA; sus lecciones se han escrito igual. Compruebe que "
        "eligió el archivo desde el que exportó a Tamberlo: la lista está al principio del "
        "informe.");
}

} // namespace pontavia
