# TarnwellSetup.exe: the setup program and uninstaller, made by makensis from
# installer/tarnwell.nsi with the programs of this tree. The 64-bit stand-in
# tree makes a 64-bit one, which its tests run.
find_program(MAKENSIS makensis REQUIRED)
set(SETUP_STAGE ${CMAKE_BINARY_DIR}/setup-stage)
set(SETUP_EXE ${CMAKE_BINARY_DIR}/TarnwellSetup.exe)
file(GLOB SHIPPED_PLUGINS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/plugins/*.ini)
set(SETUP_TARGET_FLAG "")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(SETUP_TARGET_FLAG -DTARGET_AMD64)
endif()
add_custom_command(OUTPUT ${SETUP_EXE}
    COMMAND ${CMAKE_COMMAND} -DDEST=${SETUP_STAGE} -DFILES=${CMAKE_SOURCE_DIR}/installer/ReadMe.txt
        -P ${CMAKE_SOURCE_DIR}/cmake/stage_crlf.cmake
    COMMAND ${CMAKE_COMMAND} "-DDEST=${SETUP_STAGE}/plugins" "-DFILES=${SHIPPED_PLUGINS}"
        -P ${CMAKE_SOURCE_DIR}/cmake/stage_crlf.cmake
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/res/tarnwell.ico ${SETUP_STAGE}/tarnwell.ico
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DBINDIR=$<TARGET_FILE_DIR:Tarnwell>
        -DSTAGEDIR=${SETUP_STAGE} -DOUTFILE=${SETUP_EXE} ${SETUP_TARGET_FLAG}
        ${CMAKE_SOURCE_DIR}/installer/tarnwell.nsi
    DEPENDS Tarnwell TWSvc Vintrel snuffet ${CMAKE_SOURCE_DIR}/installer/tarnwell.nsi
        ${CMAKE_SOURCE_DIR}/installer/ReadMe.txt ${SHIPPED_PLUGINS} ${CMAKE_SOURCE_DIR}/res/tarnwell.ico
        ${CMAKE_SOURCE_DIR}/cmake/stage_crlf.cmake
    COMMENT "Making TarnwellSetup.exe"
    VERBATIM)
add_custom_target(TarnwellSetup ALL DEPENDS ${SETUP_EXE})

# The setup program's tests, in a prefix seeded with the demo profile.
add_executable(installer_tests tests/win32/installer_test.cpp)
target_link_libraries(installer_tests PRIVATE win32_test_support ole32 uuid shell32 version psapi)
add_dependencies(installer_tests TarnwellSetup)
tarnwell_wine_test(installer_tests installer_tests --demo ENV TARNWELL_SETUP=${SETUP_EXE})
