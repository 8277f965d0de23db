#include "tabla_dbase.h"

#include "archivo_atomico.h"
#include "ascii.h"
#include "dbase_valores.h"
#include "error.h"
#include "sistema.h"
#include "texto.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace pontavia {

namespace {

constexpr char kFinArchivo = 0x1A;
constexpr char kBorrado = '*';

std::string leerArchivo(Disco& disco, const sistema::Archivo& archivo,
                        const std::filesystem::path& ruta) {
    std::string datos;
    switch (disco.leerTodo(archivo, datos)) {
    case sistema::Archivo::Lectura::Leido:
        return datos;
    case sistema::Archivo::Lectura::NoEsArchivo:
        throw Error(ClaseError::FaltaEntrada, Hecho::TablaNoEsArchivo, {.tabla = ruta.string()});
    case sistema::Archivo::Lectura::Fallo:
        break;
    }
    throw Error(ClaseError::FalloDeDisco, Hecho::TablaNoLeida, {.tabla = ruta.string()},
                sistema::textoError(sistema::ultimoError()));
}

} // namespace

TablaDBase::TablaDBase(TablaDBase&&) noexcept = default;
TablaDBase& TablaDBase::operator=(TablaDBase&&) noexcept = default;
TablaDBase::~TablaDBase() = default;

TablaDBase::TablaDBase(const std::filesystem::path& ruta, Durable durable, Disco& disco)
    : nombre_(ruta.filename().string()), ruta_(ruta), durable_(durable), disco_(&disco) {}

TablaDBase TablaDBase::abrir(const std::filesystem::path& ruta, Durable durable, Disco& disco) {
    TablaDBase t(ruta, durable, disco);
    t.bloqueo_.emplace(disco, ruta);
    // A table is mostly read whole and seldom changed: its pages are read where they lie.
    t.mapeo_ = disco.mapearAbierto(t.bloqueo_->archivo());
    if (t.mapeo_)
        t.iniciar();
    else
        t.cargar(leerArchivo(disco, t.bloqueo_->archivo(), ruta));
    return t;
}

TablaDBase TablaDBase::nueva(const std::filesystem::path& ruta,
                             const std::vector<DefinicionCampo>& campos, Durable durable,
                             Disco& disco) {
    TablaDBase t(ruta, durable, disco);
    t.cargar(escribirCabecera(disenarFormato(campos), 0));
    // Written by cerrar() even with no rows: the table's file is made once, whole.
    t.modificada_ = true;
    return t;
}

TablaDBase TablaDBase::desdeMemoria(std::string datos, std::string nombre) {
    TablaDBase t;
    t.nombre_ = std::move(nombre);
    t.cargar(std::move(datos));
    return t;
}

void TablaDBase::cargar(std::string datos) {
    datos_ = std::move(datos);
    iniciar();
}

void TablaDBase::hacerPropio() {
    if (!mapeo_) return;
    datos_.assign(mapeo_->bytes());
    mapeo_.reset();
}

void TablaDBase::iniciar() {
    formato_ = leerFormato(contenido(), nombre_);
    try {
        cp_ = &CodigoPagina::porNombre(formato_.codigoPagina);
    } catch (const Error&) {
        // A language driver no converter knows: read as Windows-1252, as most tables are.
        formato_.codigoPagina = "windows-1252";
        cp_ = &CodigoPagina::windows1252();
    }
    asciiIgual_ = cp_->asciiIgual();
    // Never trust the header's count beyond the records the file really holds.
    const std::size_t caben =
        (contenido().size() - formato_.longitudCabecera) / formato_.longitudRegistro;
    registros_ = std::min<std::size_t>(formato_.registrosCabecera, caben);
    for (const auto& c : formato_.campos)
        nombresCampos_.push_back(mayusculasAscii(c.nombre));
    primero();
}

bool TablaDBase::borrado(std::size_t r) const {
    return contenido()[formato_.longitudCabecera + r * formato_.longitudRegistro] == kBorrado;
}

void TablaDBase::saltarBorrados() {
    while (actual_ < registros_ && borrado(actual_))
        ++actual_;
}

void TablaDBase::primero() {
    actual_ = 0;
    saltarBorrados();
}

void TablaDBase::siguiente() {
    if (actual_ < registros_) ++actual_;
    saltarBorrados();
}

bool TablaDBase::alFinal() const {
    return actual_ >= registros_;
}

std::optional<std::size_t> TablaDBase::buscarCampo(NombreCampo nombre) const {
    auto buscar = [&](std::string_view n) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < nombresCampos_.size(); ++i)
            if (nombresCampos_[i] == n) return i;
        return std::nullopt;
    };
    auto porTexto = [&]() {
        auto i = buscar(nombre.texto());
        return i ? i : buscar(mayusculasAscii(nombre.texto()));
    };
    if (!nombre.fijo()) return porTexto();

    const char* direccion = nombre.texto().data();
    const std::size_t n = camposRecordados_.size();
    std::size_t r = ranura(direccion);
    for (std::size_t k = 0; k < n; ++k, r = (r + 1) % n) {
        CampoRecordado& c = camposRecordados_[r];
        if (c.direccion == direccion) return c.indice;
        if (c.direccion == nullptr) {
            const auto i = porTexto();
            if (i) c = {direccion, *i};
            return i;
        }
    }
    return porTexto(); // more literal names than places to remember them
}

bool TablaDBase::tieneCampo(NombreCampo campo) const {
    return buscarCampo(campo).has_value();
}

std::size_t TablaDBase::indiceCampoBuscado(NombreCampo nombre) const {
    if (auto i = buscarCampo(nombre)) return *i;
    throw Error(ClaseError::TablaDanada, Hecho::TablaSinCampo,
                {.tabla = nombre_, .campo = std::string(nombre.texto())});
}

const CampoDBase& TablaDBase::campo(NombreCampo nombre) const {
    return formato_.campos[indiceCampo(nombre)];
}

std::string_view TablaDBase::registro(std::size_t r) const {
    return contenido().substr(formato_.longitudCabecera + r * formato_.longitudRegistro,
                              formato_.longitudRegistro);
}

std::optional<std::string_view> TablaDBase::bytesCampo(std::size_t indice) const {
    const CampoDBase& c = formato_.campos[indice];
    if (hayPendiente_) return std::string_view(pendiente_).substr(c.desplazamiento, c.ancho);
    if (alFinal()) throw Error(ClaseError::Interna, Hecho::SinRegistroActual, {.tabla = nombre_});
    return bytesDeValor(formato_, c, registro(actual_));
}

std::string TablaDBase::leerTexto(NombreCampo campo) const {
    return leerTextoEn(indiceCampo(campo));
}

std::string TablaDBase::leerTextoEn(std::size_t indice) const {
    const auto bytes = bytesCampo(indice);
    return bytes ? textoDeCampo(formato_, formato_.campos[indice], *bytes, *cp_) : std::string();
}

bool TablaDBase::esNumerico(NombreCampo campo) const {
    return esCampoNumerico(formato_.campos[indiceCampo(campo)].tipo);
}

std::int32_t TablaDBase::leerEntero(NombreCampo campo) const {
    const std::size_t i = indiceCampo(campo);
    const CampoDBase& c = formato_.campos[i];
    if (c.tipo == 'C') {
        const std::string t = recortar(leerTexto(campo));
        return t.empty() ? 0 : aEntero(t);
    }
    const auto bytes = bytesCampo(i);
    const auto v = bytes ? numeroDeCampo(formato_, c, *bytes, *cp_) : std::nullopt;
    if (!v) return 0;
    const double redondeado = std::nearbyint(*v);
    if (!(redondeado >= std::numeric_limits<std::int32_t>::min() &&
          redondeado <= std::numeric_limits<std::int32_t>::max()))
        throw Error(ClaseError::ValorNoValido, Hecho::NoEsEntero,
                    {.tabla = nombre_, .campo = c.nombre}, leerTexto(campo));
    return static_cast<std::int32_t>(redondeado);
}

double TablaDBase::leerNumero(NombreCampo campo) const {
    const std::size_t i = indiceCampo(campo);
    const auto bytes = bytesCampo(i);
    if (!bytes) return 0.0;
    return numeroDeCampo(formato_, formato_.campos[i], *bytes, *cp_).value_or(0.0);
}

void TablaDBase::reservar(std::size_t registros) {
    // The records and the end mark, so that a large table is never copied while it grows.
    hacerPropio();
    datos_.reserve(formato_.longitudCabecera +
                   (registros_ + registros) * formato_.longitudRegistro + 1);
}

void TablaDBase::empezarRegistro() {
    // The blank record is the same for every row: made once, then copied.
    if (registroVacio_.empty()) {
        registroVacio_.assign(formato_.longitudRegistro, ' ');
        for (const auto& c : formato_.campos)
            codificarVacio(c, registroVacio_.data() + c.desplazamiento);
    }
    pendiente_ = registroVacio_;
    hayPendiente_ = true;
}

void TablaDBase::sinRegistroPendiente() const {
    throw Error(ClaseError::Interna, Hecho::SinRegistroNuevo, {.tabla = nombre_});
}

void TablaDBase::asignarTextoConvertido(std::size_t i, std::string_view texto) {
    const CampoDBase& c = formato_.campos[i];
    char* destino = pendiente(i);
    if (c.tipo == 'C') {
        // Text is padded with blanks to the field's width.
        auto copiar = [&](std::string_view bytes) {
            const std::size_t n = std::min<std::size_t>(bytes.size(), c.ancho);
            std::memcpy(destino, bytes.data(), n);
            std::memset(destino + n, ' ', c.ancho - n);
        };
        if (asciiIgual_) {
            // ASCII is the same in every code page here: copied as it is. When what fits is
            // all ASCII, anything beyond it is cut.
            const std::size_t cabe = std::min<std::size_t>(texto.size(), c.ancho);
            if (esAscii(texto.substr(0, cabe))) {
                copiar(texto);
                if (texto.size() > c.ancho && avisoValor_)
                    avisoValor_(c, texto, recortarDerecha(texto.substr(0, c.ancho)), true);
                return;
            }
        }
        bool sustituido = false;
        std::string bytes = cp_->desdeUtf8(texto, &sustituido);
        const bool recortado = bytes.size() > c.ancho;
        if (avisoValor_ && (recortado || sustituido)) {
            const std::string guardado = cp_->aUtf8(std::string_view(bytes).substr(0, c.ancho));
            avisoValor_(c, texto, recortarDerecha(guardado), recortado);
        }
        copiar(bytes);
        return;
    }
    if ((c.tipo == 'N' && c.decimales == 0) || c.tipo == 'I' || c.tipo == '+') {
        if (texto.empty()) {
            codificarVacio(c, destino);
            return;
        }
        std::int32_t valor = 0;
        if (!esEntero(texto, valor))
            throw Error(ClaseError::ValorNoValido, Hecho::NoCabeEnCampo,
                        {.tabla = nombre_, .campo = c.nombre}, std::string(texto));
        codificarEntero(formato_, c, valor, destino);
        return;
    }
    throw Error(ClaseError::Interna, Hecho::CampoSinTexto, {.tabla = nombre_, .campo = c.nombre});
}

void TablaDBase::asignarEnteroEn(std::size_t i, std::int32_t valor) {
    codificarEntero(formato_, formato_.campos[i], valor, pendiente(i));
}

void TablaDBase::asignarDecimalEn(std::size_t i, double valor) {
    codificarDecimal(formato_, formato_.campos[i], valor, pendiente(i));
}

void TablaDBase::asignarLogicoEn(std::size_t i, bool valor) {
    if (formato_.campos[i].tipo != 'L')
        throw Error(ClaseError::Interna, Hecho::CampoNoLogico,
                    {.tabla = nombre_, .campo = formato_.campos[i].nombre});
    *pendiente(i) = valor ? 'T' : 'F';
}

void TablaDBase::guardarRegistro() {
    if (!hayPendiente_) return;
    if (!modificada_) {
        // Appending drops whatever followed the last record (the end mark, stray bytes).
        hacerPropio();
        datos_.resize(formato_.longitudCabecera + registros_ * formato_.longitudRegistro);
        modificada_ = true;
    }
    if (registros_ >= std::numeric_limits<std::uint32_t>::max())
        throw Error(ClaseError::ValorNoValido, Hecho::TablaLlena, {.tabla = nombre_});
    datos_ += pendiente_;
    ++registros_;
    hayPendiente_ = false;
    actual_ = registros_ - 1;
}

void TablaDBase::cerrar() {
    hayPendiente_ = false;
    if (modificada_) {
        actualizarCabecera(datos_, static_cast<std::uint32_t>(registros_));
        datos_ += kFinArchivo;
        // Windows refuses to replace a file that a handle of ours holds open: the lock goes
        // once the new bytes are ready, just before they take the table's name.
        ArchivoPreparado nuevo(*disco_, ruta_, datos_, durable_);
        bloqueo_.reset();
        nuevo.confirmar();
        modificada_ = false;
    }
    mapeo_.reset();
    bloqueo_.reset();
}

} // namespace pontavia
