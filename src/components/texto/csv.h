#pragma once
// CSV as RFC 4180 writes it, for what pontavia-cli hands to spreadsheets.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// A value quoted only when it holds a comma, a quote or a line break.
std::string celdaCSV(std::string_view valor);
// One row of values, CRLF at the end.
std::string filaCSV(const std::vector<std::string>& valores);
// The same row added to the end of destino, for a text built row by row.
void anadirFilaCSV(std::string& destino, std::initializer_list<std::string_view> valores);

} // namespace pontavia
