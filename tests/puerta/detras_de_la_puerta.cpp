// A front end that reaches behind the door: it must not build. CABECERA is a header of the
// core that only the core, its tests and the benchmarks may include.
#include CABECERA

int main() {}
