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

// The field's value as text: C decoded without trailing blanks; N and F as stored without
// blanks; I and + in decimal; O as the shortest decimal; L as T or F; D as YYYY-MM-DD;
// @ as YYYY-MM-DD HH:MM:SS; memo fields empty. Unset values give the empty text.
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
