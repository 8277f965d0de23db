#pragma once
// Where pugixml takes its memory from. A large tree is built once, in pieces of 32 KiB and
// more, and dropped whole: on Linux it comes from one arena that asks for huge pages, so
// that a large document does not pay a page fault for every 4 KiB it first touches.
// Elsewhere pugixml keeps the system's allocator.

#include <cstddef>

namespace pontavia {

// Installs the arena for the whole process the first time; later calls do nothing. Memory
// pugixml took before is given back where it came from.
void usarMemoriaXML();

// Told before a document of that many bytes is parsed. The arena asks for huge pages only
// for a large one, whose tree fills several of them: a small tree would hold most of a
// 2 MiB page for nothing.
void prepararMemoriaXML(std::size_t bytes);

} // namespace pontavia
