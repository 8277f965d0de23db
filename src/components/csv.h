#pragma once
// CSV as RFC 4180 writes it, for what pontavia-cli hands to spreadsheets.
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// A value quoted only when it holds a comma, a quote or a line break.
std::string celdaCSV(std::string_view valor);
// One row of values, CRLF at the end.
std::string filaCSV(const std::vector<std::string>& valores);

} // namespace pontavia
