// Text helpers: trimming, characters rather than bytes, case folding, number conversions.
#include "ayudantes.h"
#include "codigo_pagina.h"
#include "error.h"
#include "sistema.h"
#include "texto.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

TEST(Texto, RecortarQuitaBlancosYControlesDeAmbosLados) {
    EXPECT_EQ(recortar(" \t\r\n ANA \x01"), "ANA");
    EXPECT_EQ(recortar("   "), "");
    EXPECT_EQ(recortar("a b"), "a b");
    EXPECT_EQ(recortar("\xC2\xA0x"), "\xC2\xA0x"); // a no-break space is a character, not a blank
}

TEST(Texto, PrimerosYUltimosCuentanCaracteres) {
    EXPECT_EQ(primeros("Matemáticas I", 10), "Matemática");
    EXPECT_EQ(primeros("Ñu", 10), "Ñu");
    EXPECT_EQ(ultimos("TUTORÍA", 2), "ÍA");
    EXPECT_EQ(subcadena("08:30", 3, 2), "30");
    EXPECT_EQ(subcadena("08:", 3, 2), "");
    EXPECT_EQ(longitud("Miércoles"), 9u);
}

TEST(Texto, PlegarMayusculasRespetaLosAcentos) {
    EXPECT_EQ(plegarMayusculas("ÁNGEL"), plegarMayusculas("ángel"));
    EXPECT_NE(plegarMayusculas("ÁNGEL"), plegarMayusculas("angel"));
    EXPECT_EQ(plegarMayusculas("ANA"), plegarMayusculas("ana"));
}

TEST(Texto, EnterosEstrictos) {
    const std::vector<std::pair<std::string, bool>> casos = {
        {"0", true},   {"-13", true},  {"+7", true},          {"07", true},   {"2147483647", true},
        {"", false},   {"8:", false},  {"2147483648", false}, {"1.0", false}, {" 1", false},
        {"1 ", false}, {"--1", false}, {"+-1", false}};
    for (const auto& [texto, valido] : casos) {
        if (valido) {
            EXPECT_NO_THROW(aEntero(texto)) << texto;
        } else {
            try {
                aEntero(texto);
                ADD_FAILURE() << texto;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "'" + texto + "' is not a valid integer value");
            }
        }
    }
}

TEST(Texto, DecimalesConElSeparadorDeLaConfiguracionRegional) {
    {
        LocaleTemporal es("es_ES.UTF-8");
        EXPECT_DOUBLE_EQ(aDecimal("2,5", sistema::separadorDecimal()), 2.5);
        EXPECT_DOUBLE_EQ(aDecimal("-3", sistema::separadorDecimal()), -3.0);
        EXPECT_THROW(aDecimal("2.5", sistema::separadorDecimal()), Error);
    }
    {
        LocaleTemporal c("C");
        EXPECT_DOUBLE_EQ(aDecimal("2.5", sistema::separadorDecimal()), 2.5);
        for (std::string malo : {"", "dos", "2,5", "2.5.1", "e3", "."}) {
            try {
                aDecimal(malo, sistema::separadorDecimal());
                ADD_FAILURE() << malo;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()),
                          "'" + malo + "' is not a valid floating point value");
            }
        }
    }
}

// The multibyte dBase pages are the system's to convert: what the page lacks becomes '?'.
TEST(Texto, PaginaDeCodigosMultibyte) {
    const CodigoPagina& gbk = CodigoPagina::porNombre("windows-936");
    EXPECT_FALSE(gbk.asciiIgual());
    bool sustituido = false;
    EXPECT_EQ(gbk.desdeUtf8("中文 A", &sustituido), "\xD6\xD0\xCE\xC4 A");
    EXPECT_FALSE(sustituido);
    EXPECT_EQ(gbk.desdeUtf8("中Ł", &sustituido), "\xD6\xD0?");
    EXPECT_TRUE(sustituido);
    EXPECT_EQ(gbk.aUtf8("\xD6\xD0\xCE\xC4 A"), "中文 A");
    try {
        CodigoPagina::porNombre("ibm-999");
        FAIL() << "una página que nadie conoce";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Página de códigos desconocida: ibm-999");
    }
}
