#pragma once
// The value of one field inside a record: decoding any stored type to text or numbers,
// and encoding the kinds this program writes.
#include "codigo_pagina.h"
#include "dbase_formato.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pontavia {

// The bytes of a field's value within its record (the deletion flag is byte 0): nullopt for
// a value Visual FoxPro marks NULL; a varchar or varbinary shorter than its field without
// the byte that keeps its length.
std::optional<std::string_view> bytesDeValor(const FormatoDBase& f, const CampoDBase& c,
                                             std::string_view registro);

// The field's value as text: C decoded without the blanks or zero bytes that pad it; V
// decoded as it is; Q in hexadecimal; N and F as stored without blanks; I and + in decimal;
// O as the shortest decimal; L as T or F; D as YYYY-MM-DD; @ and T as YYYY-MM-DD HH:MM:SS;
// memo fields empty. Unset values, and dates that are no date, give the empty text.
std::string textoDeCampo(const FormatoDBase& f, const CampoDBase& c, std::string_view bytes,
                         const CodigoPagina& cp);

// The field's value as a number; nullopt when it is unset. Text that is not a number
// raises "'%s' is not a valid floating point value".
std::optional<double> numeroDeCampo(const FormatoDBase& f, const CampoDBase& c,
                                    std::string_view bytes, const CodigoPagina& cp);

bool esCampoNumerico(char tipo);

// Encoders for the kinds this program writes; each fills exactly c.ancho bytes.
void codificarEntero(const FormatoDBase& f, const CampoDBase& c, std::int32_t valor, char* destino);
void codificarDecimal(const FormatoDBase& f, const CampoDBase& c, double valor, char* destino);
// What an unset field holds: blanks, or zero bytes for level 7's binary types.
void codificarVacio(const CampoDBase& c, char* destino);

} // namespace pontavia
