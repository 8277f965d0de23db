// Every sentence an error is told in, in one place: its own, and the advice before it that
// the user reads. The values, encodings and reasons they
// quote come as they are; a bad number keeps the system's own words ("is not a valid integer
// value"), which Tamberlo's users know.
#include "error.h"

#include "ascii.h"

#include <filesystem>
#include <utility>

namespace pontavia {

namespace {

std::string numero(std::size_t n) {
    return std::to_string(n);
}

std::string enLineaYColumna(const LugarError& l) {
    return "(línea " + numero(l.linea) + ", columna " + numero(l.columna) + ")";
}

// The sentence itself, before it is placed in an attribute or a record.
std::string fraseSola(Hecho hecho, const LugarError& l, const std::string& detalle) {
    switch (hecho) {
    case Hecho::NoExisteArchivo:
        return "No existe archivo";
    case Hecho::NoExisteArchivoOSolucion:
        return "No existe archivo XML o Solución.";
    case Hecho::ArchivoNoAbierto:
        return "No se pudo abrir el archivo " + l.archivo + ".";
    case Hecho::ArchivoNoLeido:
        return "No se pudo leer el archivo " + l.archivo + ".";
    case Hecho::MemoriaParaLeer:
        return "Memoria insuficiente para leer el archivo " + l.archivo + ".";
    case Hecho::XMLNoValido:
        return "El archivo " + l.archivo + " no es un XML válido: " + detalle + " " +
               enLineaYColumna(l) + ".";
    case Hecho::BytesNoUTF8:
        return "El archivo " + l.archivo +
               " no es un XML válido: contiene bytes que no son UTF-8 " + enLineaYColumna(l) + ".";
    case Hecho::CodificacionDesconocida:
        return "El archivo " + l.archivo + " declara una codificación desconocida: " + detalle +
               ".";
    case Hecho::TrasLaRaiz:
        return "No se pudo leer lo que sigue al elemento raíz: " + detalle + ".";
    case Hecho::SinRaiz:
        return "El archivo " + l.archivo + " no tiene elemento raíz.";
    case Hecho::ResultadoDeTamberlo:
        return "El archivo " + l.archivo +
               " solo tiene un horario (solucion_horario), sin materias, profesores, aulas, "
               "grupos, franjas horarias ni asignaturas.";
    case Hecho::HorarioDeOtroArchivo:
        return "Ninguna lección del horario de Tamberlo tiene una materia del archivo " +
               l.archivo + " (centro «" + l.nombre + "», código interno " + l.codigo + ", curso " +
               detalle + ").";
    case Hecho::RaizNoCentro:
        return "El archivo " + l.archivo + " no es un documento de VELMORA: su elemento raíz es " +
               l.elemento + " y debería ser centro.";
    case Hecho::FaltaAtributo:
        return "El elemento " + describirElemento(l) + " no tiene el atributo " + l.atributo + ".";
    case Hecho::NoEsEntero:
        return "'" + detalle + "' is not a valid integer value";
    case Hecho::NoEsDecimal:
        return "'" + detalle + "' is not a valid floating point value";
    case Hecho::NoCabeEnCampo:
        return "'" + detalle + "' is not a valid integer value for field '" + l.campo + "'";
    case Hecho::HorasFueraDeRango:
        return "El número de horas " + detalle + " está fuera de rango.";
    case Hecho::CodificacionNoEscribible:
        return "No se puede escribir en la codificación " + detalle + ".";
    case Hecho::DocumentoNoConvertido:
        return "No se pudo convertir el documento a " + detalle + ".";
    case Hecho::CarpetaEsArchivo:
        return "La carpeta de Tamberlo " + l.archivo +
               " no es una carpeta: ya existe un archivo con ese nombre.";
    case Hecho::CarpetaNoCreada:
        return "No se pudo crear la carpeta de Tamberlo " + l.archivo + ": " + detalle + ".";
    case Hecho::NoExisteTabla:
        return "No existe la tabla " + l.tabla + ".";
    case Hecho::LeccionesSinMateria:
        return "Ninguna de las " + detalle +
               " lecciones colocadas del horario de Tamberlo (SOLUC) tiene una materia de la "
               "tabla ASIGNOMT.";
    case Hecho::NoExisteTablaExportada:
        return "No existe la tabla " + l.tabla + ": exporte antes los datos de VELMORA a Tamberlo.";
    case Hecho::TablaNoEsArchivo:
        return "La tabla " + l.tabla + " no es un archivo.";
    case Hecho::TablaNoLeida:
        return "No se pudo leer la tabla " + l.tabla + ": " + detalle + ".";
    case Hecho::TablaNoAbierta:
        return "No se pudo abrir la tabla " + l.tabla + ": " + detalle + ".";
    case Hecho::TablaNoBloqueada:
        return "No se pudo bloquear la tabla " + l.tabla + ": " + detalle + ".";
    case Hecho::TablaEnUso:
        return "La tabla " + l.tabla + " está en uso por otro programa (¿está Tamberlo abierto?).";
    case Hecho::TablaNoDBase:
        return "La tabla " + l.tabla + " está dañada o no es una tabla dBase: " + detalle + ".";
    case Hecho::TablaFoxBASE:
        return "La tabla " + l.tabla +
               " es de FoxBASE (dBase II), un formato anterior que este programa no lee.";
    case Hecho::TablaSinCampo:
        return "La tabla " + l.tabla + " no tiene el campo " + l.campo + ".";
    case Hecho::CampoDeCeroBytes:
        return "La tabla " + l.tabla + " está dañada: su campo " + l.campo + " mide 0 bytes.";
    case Hecho::CampoNoNumerico:
        return "El campo " + l.campo + " no es numérico.";
    case Hecho::TablaLlena:
        return "La tabla " + l.tabla + " está llena.";
    case Hecho::NoEscrito:
        return "No se pudo escribir " + l.archivo + ": " + detalle + ".";
    case Hecho::TemporalesRetirados:
        return "No se pudo escribir " + l.archivo +
               ": otro programa retira sus archivos temporales.";
    case Hecho::CarpetaNoEscrita:
        return "No se pudo escribir en " + l.archivo + ": " + detalle + ".";
    case Hecho::NoMovido:
        return "No se pudo mover " + l.archivo + " a " + l.destino + ": " + detalle + ".";
    case Hecho::PreparacionNoHecha:
        return "No se pudo preparar la exportación en " + l.archivo + ": " + detalle + ".";
    case Hecho::PreparacionRetirada:
        return "No se pudo preparar la exportación en " + l.archivo +
               ": otro programa retira la carpeta de preparación.";
    case Hecho::MovimientoNoLeido:
        return "No se pudo leer el registro de una exportación interrumpida, " + l.archivo + ": " +
               detalle + ".";
    case Hecho::EstadoNoEscrito:
        return "Unable to write to " + l.archivo;
    case Hecho::NadaQueRestaurar:
        return "No hay tablas de una exportación anterior que restaurar en " + l.archivo + ".";
    case Hecho::ConjuntoSinRegistro:
        return "Las tablas guardadas en " + l.archivo +
               " no tienen el registro que dice de qué exportación son.";
    case Hecho::RegistroConjuntoDanado:
        return "El registro de las tablas guardadas, " + l.archivo + ", está dañado.";
    case Hecho::TablaGuardadaPerdida:
        return "Falta la tabla " + l.tabla + " entre las tablas guardadas en " + l.archivo + ".";
    case Hecho::CampoAnchoNoValido:
        return "Ancho no válido para el campo " + l.campo + ".";
    case Hecho::DemasiadosCampos:
        return "Demasiados campos para una tabla dBase.";
    case Hecho::CampoSinTexto:
        return "El campo " + l.campo + " de la tabla " + l.tabla + " no admite texto.";
    case Hecho::CampoNoLogico:
        return "El campo " + l.campo + " no es lógico.";
    case Hecho::SinRegistroActual:
        return "La tabla " + l.tabla + " no tiene registro actual.";
    case Hecho::SinRegistroNuevo:
        return "La tabla " + l.tabla + " no está añadiendo un registro.";
    case Hecho::PaginaDeCodigosDesconocida:
        return "Página de códigos desconocida: " + detalle;
    case Hecho::ElementoNoQuitado:
        return "No se pudo quitar el elemento " + l.elemento + ".";
    case Hecho::ElementoNoColocado:
        return "No se pudo colocar el elemento " + l.elemento + ".";
    }
    return "Error interno.";
}

} // namespace

std::string describirElemento(const LugarError& l) {
    std::string quien = l.elemento + " número " + numero(l.posicion);
    if (!l.atributoIdentificador.empty())
        quien += " (" + l.atributoIdentificador + " " + l.identificador + ")";
    return quien;
}

namespace {

// What an element of each of VELMORA's collections is called.
std::string queEs(const std::string& etiqueta) {
    static const std::pair<const char*, const char*> kNombres[] = {
        {"dmateria", "la materia"},
        {"profesor", "el profesor"},
        {"daula", "el aula"},
        {"dgrupo", "el grupo"},
        {"franjahoraria", "la franja horaria"},
        {"dasignatura", "la asignatura"},
    };
    for (const auto& [e, nombre] : kNombres)
        if (etiqueta == e) return nombre;
    return "el elemento " + etiqueta;
}

// Its name, and for an assignment or a lesson its group and teacher: " «Inglés» del grupo
// «1º ESO A» con el profesor «Ana Ruiz»".
std::string nombres(const LugarError& l) {
    std::string s;
    if (!l.nombre.empty()) s += " «" + l.nombre + "»";
    if (!l.grupo.empty()) s += " del grupo «" + l.grupo + "»";
    if (!l.profesor.empty()) s += " con el profesor «" + l.profesor + "»";
    return s;
}

} // namespace

std::string elementoVisible(const LugarError& l) {
    std::string s = queEs(l.elemento) + nombres(l);
    if (!l.codigo.empty()) s += " (código " + l.codigo + ")";
    if (l.nombre.empty() && l.codigo.empty() && l.grupo.empty() && l.profesor.empty())
        s += " número " + numero(l.posicion);
    return s;
}

std::string elementoEnInforme(const LugarError& l) {
    const bool conNombre =
        !l.nombre.empty() || !l.codigo.empty() || !l.grupo.empty() || !l.profesor.empty();
    if (l.registro != 0) {
        const std::string registro = "registro " + numero(l.registro);
        return conNombre ? "la lección" + nombres(l) + " (" + registro + ")" : registro;
    }
    if (!conNombre) return describirElemento(l);
    // Then what finds its row: its code and VELMORA's identifier, or, lacking the identifier,
    // its place in the file.
    std::string donde = l.codigo.empty() ? std::string() : "código " + l.codigo + ", ";
    donde += l.atributoIdentificador.empty() ? l.elemento + " número " + numero(l.posicion)
                                             : l.atributoIdentificador + " " + l.identificador;
    return queEs(l.elemento) + nombres(l) + " (" + donde + ")";
}

std::string frase(Hecho hecho, const LugarError& l, const std::string& detalle) {
    const std::string sola = fraseSola(hecho, l, detalle);
    // Placed in a record's field, or in an element's attribute: said first, so that the user
    // finds which of thousands holds it.
    if (l.registro != 0)
        return "El registro número " + numero(l.registro) + " de " + l.tabla + ", campo " +
               l.campo + ": " + sola;
    if (!l.atributo.empty() && hecho != Hecho::FaltaAtributo)
        return "El elemento " + describirElemento(l) + ", atributo " + l.atributo + ": " + sola;
    return sola;
}

namespace {

constexpr const char* kNadaCambiado = "No se ha cambiado nada.";

// A sentence's first letter as a capital: the names below are made to stand mid-sentence.
std::string alEmpezar(std::string s) {
    if (!s.empty()) s[0] = mayusculaAscii(s[0]);
    return s;
}

// A table by its file's name, as the timetabler sees it in Tamberlo's folder.
std::string tablaVisible(const LugarError& l) {
    // The text as it came, whatever the system's narrow code page: no conversion can fail here.
    return l.tabla.substr(l.tabla.find_last_of("/\\") + 1);
}

bool esSoluc(const LugarError& l) {
    // By its name as Tamberlo writes it: the sentences lie below the tables' descriptions.
    const std::string t = mayusculasAscii(tablaVisible(l));
    return t == "SOLUC" || t == "SOLUC.DBF";
}

std::string consejoInterno() {
    return "Pontavia ha fallado por un error propio: avise a quien le dio el programa y copie "
           "este mensaje. " +
           std::string(kNadaCambiado);
}

// A run's input that is not there: which file, and what to do.
std::string consejoEntrada(const LugarError& l) {
    const std::string nada = std::string(" ") + kNadaCambiado;
    if (l.archivo.empty() && l.tabla.empty())
        return "No se ha elegido ningún archivo de VELMORA: elija el archivo XML que exportó "
               "VELMORA." +
               nada;
    if (l.tabla.empty())
        return "No se encuentra el archivo de VELMORA " + l.archivo +
               ": elija el archivo XML que exportó VELMORA." + nada;
    return "No se encuentra el horario de Tamberlo " + l.tabla +
           ": guarde el horario en Tamberlo y vuelva a intentarlo." + nada;
}

// What is wrong, in the timetabler's words, what to do, and that nothing was changed.
std::string consejo(const Error& e) {
    const LugarError& l = e.lugar();
    const std::string archivo = l.archivo.empty() ? std::string("elegido") : l.archivo;
    switch (e.clase()) {
    case ClaseError::FaltaEntrada:
        if (e.faltaEntradaDeCorrida()) return consejoEntrada(l);
        if (e.hecho() == Hecho::NoExisteTabla)
            return "No se encuentra la tabla " + tablaVisible(l) +
                   ": compruebe su nombre, o la ruta del archivo, y vuelva a intentarlo. " +
                   kNadaCambiado;
        if (!l.tabla.empty())
            return "Falta la tabla " + tablaVisible(l) +
                   " en la carpeta de Tamberlo: exporte antes los datos de VELMORA a Tamberlo y "
                   "vuelva a intentarlo. " +
                   kNadaCambiado;
        return "No se encuentra el archivo " + archivo +
               ": compruebe que existe y vuelva a intentarlo. " + kNadaCambiado;
    case ClaseError::MalFormada:
        return "El archivo " + archivo +
               " no es un XML completo y bien formado: quizá se cortó al copiarlo, o no es el que "
               "exportó VELMORA. Expórtelo de nuevo desde VELMORA y vuelva a intentarlo. " +
               kNadaCambiado;
    case ClaseError::NoEsDeVelmora:
        if (e.hecho() == Hecho::HorarioDeOtroArchivo)
            return "El horario de Tamberlo viene de otro archivo de VELMORA, no del elegido, " +
                   archivo + ", que es del centro «" + l.nombre + "» (código interno " + l.codigo +
                   ", curso " + e.detalle() +
                   "): ninguna de sus materias está en él. Elija el archivo de VELMORA desde el "
                   "que exportó los datos a Tamberlo y vuelva a intentarlo. " +
                   kNadaCambiado;
        if (e.hecho() == Hecho::LeccionesSinMateria)
            return "Ninguna lección del horario de Tamberlo se puede escribir: las tablas de la "
                   "carpeta de Tamberlo vienen de otra exportación que la del horario y no tienen "
                   "sus materias. Exporte de nuevo a Tamberlo el archivo de VELMORA con el que "
                   "hizo el horario, elija ese mismo archivo al importar y vuelva a intentarlo. " +
                   std::string(kNadaCambiado);
        if (e.hecho() == Hecho::ResultadoDeTamberlo)
            return "El archivo " + archivo +
                   " es un resultado de Tamberlo, no una exportación de VELMORA: elija el archivo "
                   "que exportó VELMORA. " +
                   kNadaCambiado;
        return "El archivo " + archivo +
               " no es una exportación de VELMORA: elija el archivo XML que exportó VELMORA. " +
               kNadaCambiado;
    case ClaseError::ValorNoValido:
        if (l.registro != 0)
            return "La lección número " + numero(l.registro) +
                   " del horario de Tamberlo (SOLUC) tiene en su campo " + l.campo +
                   " un valor que no se puede leer: vuelva a guardar el horario en Tamberlo e "
                   "impórtelo de nuevo. " +
                   kNadaCambiado;
        if (!l.elemento.empty() && !l.atributo.empty()) {
            if (e.hecho() == Hecho::FaltaAtributo)
                return alEmpezar(elementoVisible(l)) + " no tiene el dato «" + l.atributo +
                       "», que hace falta: complételo en VELMORA, exporte de nuevo y vuelva a "
                       "intentarlo. " +
                       kNadaCambiado;
            return alEmpezar(elementoVisible(l)) + " tiene en «" + l.atributo +
                   "» un valor que no sirve: corríjalo en VELMORA, exporte de nuevo y vuelva a "
                   "intentarlo. " +
                   kNadaCambiado;
        }
        return "Un dato no se puede guardar tal como está: corríjalo en VELMORA, exporte de nuevo "
               "y vuelva a intentarlo. " +
               std::string(kNadaCambiado);
    case ClaseError::TablaRetenida:
        return "Otro programa, seguramente Tamberlo, tiene abierta la tabla " + tablaVisible(l) +
               ": cierre Tamberlo y vuelva a intentarlo. " + kNadaCambiado;
    case ClaseError::TablaDanada:
        // The set kept for Deshacer, not one of Tamberlo's tables: put back without what it
        // lost, it would take tables from Tamberlo that were there before.
        if (e.hecho() == Hecho::RegistroConjuntoDanado)
            return "El registro que dice qué tablas guardó la última exportación para poder "
                   "deshacerla está dañado, así que no se sabe qué tablas había antes de ella: "
                   "no se puede deshacer. Para volver a otros datos, expórtelos de nuevo desde "
                   "VELMORA. " +
                   std::string(kNadaCambiado);
        if (e.hecho() == Hecho::TablaGuardadaPerdida)
            return "Falta la tabla " + l.tabla +
                   " de las que guardó la última exportación para poder deshacerla: otro "
                   "programa la retiró de " +
                   l.archivo +
                   ", y sin ella no se puede deshacer. Para volver a otros datos, expórtelos de "
                   "nuevo desde VELMORA. " +
                   kNadaCambiado;
        if (l.tablaElegida)
            return "La tabla " + tablaVisible(l) +
                   " está dañada o no es una tabla dBase que Pontavia sepa leer: compruebe que "
                   "es el archivo que quería abrir. " +
                   kNadaCambiado;
        return "La tabla " + tablaVisible(l) +
               " de la carpeta de Tamberlo está dañada o no es como la escribe Tamberlo: " +
               (esSoluc(l) ? "vuelva a guardar el horario en Tamberlo"
                           : "exporte de nuevo los datos de VELMORA a Tamberlo") +
               " y vuelva a intentarlo. " + kNadaCambiado;
    case ClaseError::FalloDeDisco:
        // Written before a run starts (nothing runs then) and when the window closes, after
        // it (its work stays done): either way, only the status is at fault.
        if (e.hecho() == Hecho::EstadoNoEscrito)
            return "Pontavia no pudo dejar a Tamberlo el estado de la corrida en " + l.archivo +
                   ": compruebe que hay espacio en el disco y permiso para escribir en esa "
                   "carpeta.";
        return "No se pudo leer o escribir en el disco" +
               (l.archivo.empty() && l.tabla.empty()
                    ? std::string()
                    : " (" + (l.archivo.empty() ? l.tabla : l.archivo) + ")") +
               ": falta espacio o permiso, o el disco falló. Libere espacio o pida permiso de "
               "escritura y vuelva a intentarlo. " +
               kNadaCambiado;
    case ClaseError::NadaQueRestaurar:
        if (e.hecho() == Hecho::ConjuntoSinRegistro)
            return "Las tablas guardadas para deshacer la última exportación, en " + l.archivo +
                   ", no dicen de qué exportación son ni qué tablas había antes de ella: las "
                   "guardó una versión anterior de Pontavia, que no lo anotaba, u otro programa "
                   "(una sincronización, un limpiador) vació o cambió esa carpeta. No se puede "
                   "deshacer; la próxima exportación ya guardará las que reemplace con su "
                   "registro. " +
                   kNadaCambiado;
        return "No hay ninguna exportación anterior que deshacer en la carpeta de Tamberlo " +
               l.archivo + ". " + kNadaCambiado;
    case ClaseError::Interna:
        break;
    }
    return consejoInterno();
}

} // namespace

std::string mensajeParaElUsuario(const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    return (error ? consejo(*error) : consejoInterno()) + "\n\n" + e.what();
}

ClaseError claseDe(const std::exception& e) {
    if (const auto* error = dynamic_cast<const Error*>(&e)) return error->clase();
    if (dynamic_cast<const std::filesystem::filesystem_error*>(&e)) return ClaseError::FalloDeDisco;
    return ClaseError::Interna;
}

Error::Error(ClaseError clase, Hecho hecho) : Error(clase, hecho, LugarError{}) {}

Error::Error(ClaseError clase, Hecho hecho, const LugarError& lugar, std::string detalle)
    : std::runtime_error(frase(hecho, lugar, detalle)), clase_(clase), hecho_(hecho),
      lugar_(std::make_shared<const LugarError>(lugar)), detalle_(std::move(detalle)) {}

bool Error::faltaEntradaDeCorrida() const {
    return hecho_ == Hecho::NoExisteArchivo || hecho_ == Hecho::NoExisteArchivoOSolucion;
}

Error Error::enTablaElegida() const {
    LugarError l = *lugar_;
    l.tablaElegida = true;
    return Error(clase_, hecho_, l, detalle_);
}

Error Error::enAtributo(const LugarError& elemento, const std::string& atributo) const {
    LugarError l = *lugar_;
    l.elemento = elemento.elemento;
    l.posicion = elemento.posicion;
    l.atributoIdentificador = elemento.atributoIdentificador;
    l.identificador = elemento.identificador;
    l.codigo = elemento.codigo;
    l.nombre = elemento.nombre;
    l.atributo = atributo;
    return Error(clase_, hecho_, l, detalle_);
}

Error Error::enRegistro(const std::string& tabla, std::size_t registro,
                        const std::string& campo) const {
    LugarError l = *lugar_;
    l.tabla = tabla;
    l.registro = registro;
    l.campo = campo;
    return Error(clase_, hecho_, l, detalle_);
}

} // namespace pontavia
