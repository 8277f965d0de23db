# The project's licence and the third-party notices of this platform's programs, beside the
# programs in the build folder (and, on Windows, in the installer and the zip). The notices
# are made from the Debian packages the build links, so they follow their versions.
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE COPYONLY)
set(PONTAVIA_AVISOS ${CMAKE_BINARY_DIR}/LICENCIAS-TERCEROS.txt)
set(_avisos_script ${CMAKE_SOURCE_DIR}/scripts/avisos-terceros)
set(_avisos_depende ${_avisos_script})
if(EXISTS /var/lib/dpkg/status)
    list(APPEND _avisos_depende /var/lib/dpkg/status)
endif()
if(WIN32)
    set(_avisos_orden bash ${_avisos_script} windows ${PONTAVIA_AVISOS} ${PONTAVIA_MINGW_PREFIX})
    list(APPEND _avisos_depende ${PONTAVIA_MINGW_PREFIX}/VERSIONES)
else()
    set(_avisos_orden bash ${_avisos_script} linux ${PONTAVIA_AVISOS})
endif()
add_custom_command(OUTPUT ${PONTAVIA_AVISOS} COMMAND ${_avisos_orden}
    DEPENDS ${_avisos_depende} COMMENT "LICENCIAS-TERCEROS.txt" VERBATIM)
add_custom_target(avisos ALL DEPENDS ${PONTAVIA_AVISOS})

install(TARGETS pontavia-cli RUNTIME DESTINATION bin)
if(TARGET pontavia)
    install(TARGETS pontavia RUNTIME DESTINATION bin)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${PONTAVIA_AVISOS} DESTINATION share/doc/pontavia)
