// The table store: tables built byte by byte as other tools write them, read back; tables
// written here, read back; rows looked up by a field; the exclusive lock; damaged files.
#include "ayudantes.h"
#include "dbase_valores.h"
#include "error.h"
#include "tabla_dbase.h"

#include <charconv>
#include <gtest/gtest.h>
#include <tuple>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

std::string be32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 3; i >= 0; --i, v >>= 8)
        s[static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
    return s;
}

// Level 7 I: big-endian with the sign bit flipped.
std::string enteroNivel7(std::int32_t v) {
    return be32(static_cast<std::uint32_t>(v) ^ 0x80000000u);
}

// Level 7 O: big-endian; sign bit flipped for values >= 0, all bits for negative ones.
std::string dobleNivel7(double v) {
    auto b = std::bit_cast<std::uint64_t>(v);
    b = (b & 0x8000000000000000ull) ? ~b : (b ^ 0x8000000000000000ull);
    return be32(static_cast<std::uint32_t>(b >> 32)) + be32(static_cast<std::uint32_t>(b));
}

TablaDBase abrirBytes(const std::string& bytes) {
    return TablaDBase::desdeMemoria(bytes, "PRUEBA.DBF");
}

std::vector<Fila> filas(TablaDBase t) {
    std::vector<Fila> r;
    for (t.primero(); !t.alFinal(); t.siguiente()) {
        Fila f;
        for (auto& c : t.formato().campos)
            f[c.nombre] = t.leerTexto(NombreCampo::deTexto(c.nombre));
        r.push_back(f);
    }
    return r;
}

} // namespace

TEST(LecturaDBase, TablaIIIConBorradosYTextoAcentuado) {
    auto registro = [](char flag, std::string nombre, std::string n, std::string f, char l,
                       std::string d) {
        nombre.resize(10, ' ');
        return std::string(1, flag) + nombre + std::string(5 - n.size(), ' ') + n +
               std::string(8 - f.size(), ' ') + f + l + d;
    };
    const auto bytes = tablaBytes(
        0x03, {{"NOMBRE", 'C', 10}, {"N", 'N', 5}, {"F", 'F', 8, 2}, {"L", 'L', 1}, {"D", 'D', 8}},
        {registro(' ', "Mar\xEDtima", "12", "-3.50", 'T', "20261210"),
         registro('*', "Borrada", "1", "1.00", 'F', "        "),
         registro(' ', "\xC1ngel", "", "", '?', "        ")});
    const auto f = filas(abrirBytes(bytes));
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].at("NOMBRE"), "Marítima");
    EXPECT_EQ(f[0].at("N"), "12");
    EXPECT_EQ(f[0].at("F"), "-3.50");
    EXPECT_EQ(f[0].at("L"), "T");
    EXPECT_EQ(f[0].at("D"), "2026-12-10");
    EXPECT_EQ(f[1].at("NOMBRE"), "Ángel");
    EXPECT_EQ(f[1].at("N"), "");
    EXPECT_EQ(f[1].at("L"), "");
    EXPECT_EQ(f[1].at("D"), "");
}

TEST(LecturaDBase, Nivel7ConEnterosYDoblesCodificados) {
    const std::vector<std::pair<std::int32_t, double>> valores = {
        {0, 0.0}, {1, 1.5}, {-1, -1.5}, {2147483647, 1e300}, {-2147483647, -0.25}};
    std::vector<std::string> registros;
    for (auto [i, o] : valores)
        registros.push_back(" " + enteroNivel7(i) + dobleNivel7(o) + "Texto\xE9    ");
    const auto bytes =
        tablaBytes(0x04, {{"SESION_ORDEN", 'I', 4}, {"VALOR_DOBLE", 'O', 8}, {"T", 'C', 10}},
                   registros, 0, -1, "DBWINWE0");
    TablaDBase t = abrirBytes(bytes);
    EXPECT_TRUE(t.formato().nivel7);
    std::size_t k = 0;
    for (t.primero(); !t.alFinal(); t.siguiente(), ++k) {
        EXPECT_EQ(t.leerEntero("SESION_ORDEN"), valores[k].first);
        EXPECT_DOUBLE_EQ(t.leerNumero("VALOR_DOBLE"), valores[k].second);
        EXPECT_EQ(t.leerTexto("T"), "Textoé");
    }
    EXPECT_EQ(k, valores.size());
    t.primero();
    t.siguiente();
    EXPECT_EQ(t.leerTexto("VALOR_DOBLE"), "1.5");
}

TEST(LecturaDBase, CuentaDeCabeceraQueNoCoincideConElArchivo) {
    const std::vector<std::string> regs = {" uno", " dos"};
    // More records announced than the file holds: only what is there is read.
    EXPECT_EQ(filas(abrirBytes(tablaBytes(0x03, {{"C", 'C', 3}}, regs, 0x57, 1000))).size(), 2u);
    // Fewer announced: the header counts.
    EXPECT_EQ(filas(abrirBytes(tablaBytes(0x03, {{"C", 'C', 3}}, regs, 0x57, 1))).size(), 1u);
    // A file cut in the middle of its last record.
    auto cortada = tablaBytes(0x03, {{"C", 'C', 3}}, regs);
    cortada.resize(cortada.size() - 3);
    EXPECT_EQ(filas(abrirBytes(cortada)).size(), 1u);
}

TEST(LecturaDBase, PaginaDeCodigosDeLaCabecera) {
    // 0x82 is é in code page 850 and ‚ in Windows-1252.
    const auto cp850 = tablaBytes(0x03, {{"C", 'C', 1}}, {" \x82"}, 0x02);
    EXPECT_EQ(filas(abrirBytes(cp850))[0].at("C"), "é");
    const auto desconocida = tablaBytes(0x03, {{"C", 'C', 1}}, {" \xE9"}, 0xEE);
    EXPECT_EQ(filas(abrirBytes(desconocida))[0].at("C"), "é");
    const auto n7 = tablaBytes(0x04, {{"C", 'C', 1}}, {" \x82"}, 0, -1, "DB850ES0");
    EXPECT_EQ(filas(abrirBytes(n7))[0].at("C"), "é");
}

// Each refusal names the table and says what is wrong with it.
TEST(LecturaDBase, ArchivosDanadosDanUnErrorClaro) {
    const auto buena = tablaBytes(0x03, {{"C", 'C', 3}}, {" abc"});
    auto sinRegistro = buena;
    sinRegistro[10] = 0, sinRegistro[11] = 0;
    auto campoFuera = buena;
    campoFuera[32 + 16] = static_cast<char>(200);
    const std::vector<std::tuple<std::string, std::string, std::string>> casos = {
        {"vacío", "", "mide 0 bytes"},
        {"corto", buena.substr(0, 20), "mide 20 bytes"},
        {"versión", std::string(1, '\x7F') + buena.substr(1),
         "su primer byte (0x7F) no es el de ninguna versión de dBase"},
        {"cabecera mayor que el archivo", buena.substr(0, 40),
         "la cabecera dice medir 65 bytes y el archivo entero mide 40"},
        {"registro de longitud 0", sinRegistro, "cada registro mide 0 bytes"},
        {"FoxBASE (dBase II)", std::string(1, '\x02') + buena.substr(1),
         "es de FoxBASE (dBase II)"},
        {"campo que se sale del registro", campoFuera,
         "el campo C ocupa hasta el byte 201 de un registro que mide 4"},
    };
    for (const auto& [nombre, bytes, motivo] : casos) {
        SCOPED_TRACE(nombre);
        try {
            abrirBytes(bytes);
            ADD_FAILURE() << "no dio error";
        } catch (const Error& e) {
            const std::string mensaje = e.what();
            EXPECT_NE(mensaje.find("La tabla PRUEBA.DBF"), std::string::npos) << mensaje;
            EXPECT_NE(mensaje.find(motivo), std::string::npos) << mensaje;
        }
    }
}

namespace {

std::string le32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i, v >>= 8)
        s[static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
    return s;
}

// Level 7 @: a big-endian double of milliseconds; day 693 596 is 1 January 1900.
std::string momentoNivel7(double ms) {
    const auto b = std::bit_cast<std::uint64_t>(ms);
    return be32(static_cast<std::uint32_t>(b >> 32)) + be32(static_cast<std::uint32_t>(b));
}

// Visual FoxPro T: the Julian day number, then milliseconds since midnight.
std::string momentoFoxPro(std::uint32_t diaJuliano, std::uint32_t ms) {
    return le32(diaJuliano) + le32(ms);
}

// Visual FoxPro: T; V that may be NULL, then Q and N; the hidden _NullFlags, whose bits go in
// field order, a varchar's length bit before its null bit: V length 0, V null 1, Q length 2,
// N null 3.
std::string tablaFoxPro() {
    const std::vector<CampoBytes> campos = {{"T", 'T', 8},
                                            {"V", 'V', 6, 0, 0x02},
                                            {"Q", 'Q', 4},
                                            {"N", 'N', 3, 0, 0x02},
                                            {"_NullFlags", '0', 1, 0, 0x05}};
    const auto b = [](const char* bytes, std::size_t n) { return std::string(bytes, n); };
    return tablaBytes(
        0x30, campos,
        {" " + momentoFoxPro(2461385, 37815000) + b("hola\0\x04", 6) + b("\x01\xAB\0\x02", 4) +
             "  7" + b("\x05", 1),
         " " + std::string(8, '\0') + "abcdef" + b("\x00\xFF\x10\x20", 4) + "  9" + b("\x0A", 1),
         " " + momentoFoxPro(1721426, 86399999) + "ab    " + "\xFF\xFF\xFF\x03" + "  1" +
             b("\0", 1)},
        0x03);
}

// Ends the field list with 0x00 instead of 0x0D, as the header length still says.
std::string sinTerminador(std::string bytes) {
    const std::size_t cabecera =
        static_cast<std::uint8_t>(bytes[8]) | static_cast<std::size_t>(bytes[9]) << 8;
    bytes[cabecera - 1] = '\0';
    return bytes;
}

struct CasoLectura {
    std::string nombre;
    std::string bytes;
    std::string campo;
    std::vector<std::string> valores; // of the live records, in order
};

} // namespace

// Tables as other tools write them: each field reads as the format defines it, as other
// readers show it.
TEST(LecturaDBase, ComoLaLeenOtrosLectores) {
    const std::string nul(1, '\0');
    const std::vector<CasoLectura> casos = {
        {"texto relleno con ceros",
         tablaBytes(
             0x03, {{"C", 'C', 6}},
             {" AB" + std::string(4, '\0'), " A B" + nul + " " + nul, " " + std::string(6, '\0')}),
         "C",
         {"AB", "A B", ""}},
        {"texto con decimales que la longitud de registro no suma",
         tablaBytes(0x03, {{"C", 'C', 4, 2}, {"N", 'N', 3}}, {" abcd123"}),
         "N",
         {"123"}},
        {"texto largo con su byte alto en los decimales",
         tablaBytes(0x03, {{"C", 'C', 300, 1}, {"N", 'N', 3}},
                    {" " + std::string(299, 'x') + "y" + " 42"}),
         "C",
         {std::string(299, 'x') + "y"}},
        {"lista de campos terminada en 0x00",
         sinTerminador(tablaBytes(0x03, {{"C", 'C', 3}, {"N", 'N', 2}}, {" abc12"})),
         "N",
         {"12"}},
        {"FoxPro T", tablaFoxPro(), "T", {"2026-12-10 10:30:15", "", "0001-01-01 23:59:59"}},
        {"FoxPro V con su byte de longitud y NULL", tablaFoxPro(), "V", {"hola", "", "ab    "}},
        {"FoxPro Q con su byte de longitud", tablaFoxPro(), "Q", {"01AB", "00FF1020", "FFFFFF03"}},
        {"FoxPro N que puede ser NULL", tablaFoxPro(), "N", {"7", "", "1"}},
        {"nivel 7 @",
         tablaBytes(0x04, {{"MOMENTO", '@', 8}},
                    {" " + momentoNivel7(693596.0 * 86400000),
                     " " + momentoNivel7(63932581815000.0), " " + std::string(8, '\0')},
                    0, -1, "DBWINWE0"),
         "MOMENTO",
         {"1900-01-01 00:00:00", "2026-12-10 10:30:15", ""}},
        {"fechas que no son fechas",
         tablaBytes(0x03, {{"D", 'D', 8}},
                    {" 20240229", " 20250229", " 20261340", " 2026/12/", " abcdefgh", " 00000000",
                     " 20261231"}),
         "D",
         {"2024-02-29", "", "", "", "", "", "2026-12-31"}},
        {"nivel 7 de idioma desconocido",
         tablaBytes(0x04, {{"C", 'C', 1}}, {" \xE9"}, 0, -1, "DB999XX0"),
         "C",
         {"é"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        std::vector<std::string> leidos;
        try {
            for (const auto& f : filas(abrirBytes(caso.bytes)))
                leidos.push_back(f.at(caso.campo));
        } catch (const Error& e) {
            ADD_FAILURE() << e.what();
        }
        EXPECT_EQ(leidos, caso.valores);
    }
}

// NULL reads as an empty field in every way a field is read.
TEST(LecturaDBase, NuloDeFoxProComoCampoVacio) {
    TablaDBase t = abrirBytes(tablaFoxPro());
    EXPECT_FALSE(t.tieneCampo("_NULLFLAGS"));
    t.primero();
    t.siguiente();
    EXPECT_EQ(t.leerEntero("N"), 0);
    EXPECT_EQ(t.leerNumero("N"), 0.0);
    const auto porV = filasPor<std::string>(t, "V", [](TablaDBase& f) { return f.leerTexto("Q"); });
    ASSERT_NE(buscarFila(porV, ""), nullptr);
    EXPECT_EQ(*buscarFila(porV, ""), "00FF1020");
}

TEST(EscrituraDBase, IIIPlusConLosTiposDeEstePrograma) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "T.DBF";
    crearTabla(ruta, {{"TEXTO", TipoCampo::Texto, 5},
                      {"ENTERO", TipoCampo::Entero, 0},
                      {"DECIMAL", TipoCampo::Decimal, 0},
                      {"LOGICO", TipoCampo::Logico, 0}});
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    t.empezarRegistro();
    asignarTexto(t, "TEXTO", "Áéñ€Ωxyz");
    asignarTexto(t, "ENTERO", "-42");
    asignarDecimal(t, "DECIMAL", 2.5);
    asignarLogico(t, "LOGICO", true);
    t.guardarRegistro();
    t.empezarRegistro();
    asignarTexto(t, "ENTERO", "");
    t.guardarRegistro();
    t.empezarRegistro(); // never posted: not written
    t.cerrar();

    const std::string bytes = leerArchivo(ruta);
    EXPECT_EQ(bytes[0], 0x03);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x58);
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes.back(), 0x1A);
    const std::size_t cabecera = 32 + 4 * 32 + 1;
    EXPECT_EQ(bytes.size(), cabecera + 2 * (1 + 5 + 11 + 20 + 1) + 1);
    // Windows-1252 bytes; Ω is not in it and becomes '?'; the text is cut to its width.
    EXPECT_EQ(bytes.substr(cabecera, 6), " \xC1\xE9\xF1\x80?");
    EXPECT_EQ(bytes.substr(cabecera + 6, 11), "        -42");
    EXPECT_EQ(bytes.substr(cabecera + 17, 20), "              2.5000");

    const auto f = leerTabla(ruta);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].at("TEXTO"), "Áéñ€?");
    EXPECT_EQ(f[0].at("LOGICO"), "T");
    EXPECT_EQ(f[1].at("ENTERO"), "");
    EXPECT_EQ(f[1].at("LOGICO"), "");
}

// A table made new is on disk only once closed, and then byte for byte as one created empty,
// opened and filled: with no rows too, where it must still be written, with no record after
// its end mark.
TEST(EscrituraDBase, NuevaEscribeSuArchivoAlCerrarComoCrearYAbrir) {
    const std::vector<DefinicionCampo> campos = {{"ABREV", TipoCampo::Texto, 10},
                                                 {"HORAS", TipoCampo::Entero, 0}};
    auto llenar = [](TablaDBase& t, int filas) {
        for (int i = 0; i < filas; ++i) {
            t.empezarRegistro();
            asignarTexto(t, "ABREV", "A" + std::to_string(i));
            asignarEntero(t, "HORAS", i);
            t.guardarRegistro();
        }
        t.cerrar();
    };
    for (int filas : {0, 1, 3}) {
        SCOPED_TRACE(filas);
        CarpetaTemporal tmp;
        crearTabla(tmp / "CREADA.DBF", campos);
        TablaDBase creada = TablaDBase::abrir(tmp / "CREADA.DBF", Durable::Si, discoDelSistema());
        llenar(creada, filas);

        TablaDBase nueva =
            TablaDBase::nueva(tmp / "NUEVA.DBF", campos, Durable::Si, discoDelSistema());
        EXPECT_FALSE(std::filesystem::exists(tmp / "NUEVA.DBF"));
        llenar(nueva, filas);
        EXPECT_EQ(leerArchivo(tmp / "NUEVA.DBF"), leerArchivo(tmp / "CREADA.DBF"));
        EXPECT_EQ(leerTabla(tmp / "NUEVA.DBF").size(), static_cast<std::size_t>(filas));
    }
    CarpetaTemporal tmp;
    {
        TablaDBase abandonada =
            TablaDBase::nueva(tmp / "NUEVA.DBF", campos, Durable::Si, discoDelSistema());
    }
    EXPECT_FALSE(std::filesystem::exists(tmp / "NUEVA.DBF"));
}

TEST(EscrituraDBase, NombreLargoDaNivel7) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "T.DBF";
    crearTabla(ruta, {{"SESION_ORDEN", TipoCampo::Entero, 0}, {"HORAS", TipoCampo::Decimal, 0}});
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    for (auto [i, d] : std::vector<std::pair<int, double>>{{7, 2.5}, {-3, -0.125}}) {
        t.empezarRegistro();
        asignarEntero(t, "SESION_ORDEN", i);
        asignarDecimal(t, "HORAS", d);
        t.guardarRegistro();
    }
    t.cerrar();
    const std::string bytes = leerArchivo(ruta);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes.substr(32, 8), "DBWINWE0");
    const std::size_t cabecera = 68 + 2 * 48 + 1;
    EXPECT_EQ(bytes.substr(cabecera + 1, 4), enteroNivel7(7));
    EXPECT_EQ(bytes.substr(cabecera + 5, 8), dobleNivel7(2.5));
    EXPECT_EQ(bytes.substr(cabecera + 14, 4), enteroNivel7(-3));
    EXPECT_EQ(columna(ruta, "SESION_ORDEN"), (std::vector<std::string>{"7", "-3"}));
    EXPECT_EQ(columna(ruta, "HORAS"), (std::vector<std::string>{"2.5", "-0.125"}));
}

TEST(EscrituraDBase, EnteroDesdeTextoNoValido) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "T.DBF";
    crearTabla(ruta, {{"MAXALUM", TipoCampo::Entero, 0}});
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    t.empezarRegistro();
    for (std::string malo : {"30.5", "treinta", "2147483648", " 30", "0x10", "+", "-"}) {
        try {
            asignarTexto(t, "MAXALUM", malo);
            ADD_FAILURE() << malo;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + malo + "' is not a valid integer value for field 'MAXALUM'");
        }
    }
    for (std::string bueno : {"30", "+30", "-2147483648", "007"})
        EXPECT_NO_THROW(asignarTexto(t, "MAXALUM", bueno)) << bueno;
}

TEST(FilasPorTexto, ValorEnteroExactoYPrimeroEnOrden) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "T.DBF";
    crearTabla(ruta, {{"ID", TipoCampo::Texto, 10}, {"N", TipoCampo::Texto, 5}});
    {
        TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
        for (auto [id, n] : std::vector<std::pair<std::string, std::string>>{
                 {"417", "a"}, {"Abc", "b"}, {"417", "c"}, {"ÁNGEL", "d"}}) {
            t.empezarRegistro();
            asignarTexto(t, "ID", id);
            asignarTexto(t, "N", n);
            t.guardarRegistro();
        }
        t.cerrar();
    }
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    const auto leerN = [](TablaDBase& f) { return f.leerTexto("N"); };
    const auto filas = filasPor<std::string>(t, "ID", leerN);
    ASSERT_NE(buscarFila(filas, "417"), nullptr);
    EXPECT_EQ(*buscarFila(filas, "417"), "a");
    EXPECT_EQ(buscarFila(filas, "41"), nullptr);
    EXPECT_EQ(buscarFila(filas, "abc"), nullptr);
    EXPECT_EQ(buscarFila(filas, "ángel"), nullptr);
    ASSERT_NE(buscarFila(filas, "ÁNGEL"), nullptr);
    EXPECT_EQ(*buscarFila(filas, "ÁNGEL"), "d");
    EXPECT_THROW(filasPor<std::string>(t, "NOEXISTE", leerN), Error);
}

TEST(Bloqueo, UnaTablaAbiertaNoSePuedeAbrirOtraVez) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "PROFT.DBF";
    crearTabla(ruta, {{"ABREV", TipoCampo::Texto, 10}});
    TablaDBase primera = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    try {
        TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
        ADD_FAILURE() << "se abrió dos veces";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("PROFT.DBF"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("en uso"), std::string::npos);
    }
    primera.cerrar();
    EXPECT_NO_THROW(TablaDBase::abrir(ruta, Durable::Si, discoDelSistema()));
}

TEST(EscrituraDBase, UnaTablaQueNoSeCierraNoCambiaSuArchivo) {
    CarpetaTemporal tmp;
    const auto ruta = tmp / "T.DBF";
    crearTabla(ruta, {{"C", TipoCampo::Texto, 3}});
    const std::string antes = leerArchivo(ruta);
    {
        TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
        t.empezarRegistro();
        asignarTexto(t, "C", "x");
        t.guardarRegistro();
    }
    EXPECT_EQ(leerArchivo(ruta), antes);
}

// A numeric field's text: whole numbers take a shorter way, which must give the same text as
// formatting the double, for every width and number of decimals.
TEST(EscrituraDBase, TextoDeNumeroComoLoFormateaUnDouble) {
    FormatoDBase formato;
    for (int decimales : {0, 1, 2, 5}) {
        const CampoDBase campo{"N", 'N', 12, decimales, 1};
        for (double v : {0.0, -0.0, 1.0, -1.0, 3.0, 2.5, -0.125, 42.0, 99999999999.0,
                         123456789012.0, -12345.0, 1e14, 1e15, 1e300, 0.1}) {
            SCOPED_TRACE(std::to_string(decimales) + " " + std::to_string(v));
            char buf[64];
            const auto r =
                std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimales);
            const std::string texto(buf, r.ptr);
            const std::string esperado = texto.size() > campo.ancho
                                             ? std::string(campo.ancho, '*')
                                             : std::string(campo.ancho - texto.size(), ' ') + texto;
            std::string destino(campo.ancho, '?');
            codificarDecimal(formato, campo, v, destino.data());
            EXPECT_EQ(destino, esperado);
        }
    }
}
