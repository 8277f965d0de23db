#include "memoria_xml.h"

namespace pontavia {

// pugixml keeps the system's allocator on Windows.
void usarMemoriaXML() {}
void prepararMemoriaXML(std::size_t) {}

} // namespace pontavia
