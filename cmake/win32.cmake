# Win32 tree: Tarnwell.exe and the test programs that run under Wine.
# GCC 12 reports false -Wrestrict overlaps in std::string at -O3.
add_compile_options(-Wall -Wextra -Werror -Wno-cast-function-type -Wno-restrict)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(tarnwell_core STATIC ${CORE_SOURCES})
target_include_directories(tarnwell_core PUBLIC ${CMAKE_SOURCE_DIR})

# Everything of the program except its entry point, so tests can link it.
add_library(tarnwell_shell STATIC
    app/application_win.cpp
    app/category_engine_win.cpp
    app/details_form_win.cpp
    categories/aol_category_win.cpp
    categories/aol_locate_search_win.cpp
    categories/aol_locate_start_win.cpp
    categories/aol_locate_win.cpp
    categories/browser_history_win.cpp
    categories/ie_cache_win.cpp
    categories/ie_category_win.cpp
    categories/media_players_category_win.cpp
    categories/mozilla_categories_win.cpp
    categories/opera_category_win.cpp
    categories/plugins_category_win.cpp
    categories/browser_items_win.cpp
    categories/profile_chooser_win.cpp
    categories/windows_category_win.cpp
    cookiekeep/cookie_keep_win.cpp
    app/known_locations_win.cpp
    app/main_form_handlers_win.cpp
    app/main_form_lifecycle_win.cpp
    app/main_form_win.cpp
    app/registry_win.cpp
    app/settings_file_win.cpp
    app/settings_store_win.cpp
    app/single_instance_win.cpp
    app/system_info_win.cpp
    engine/file_info_win.cpp
    engine/folder_guard_win.cpp
    engine/folder_tree_win.cpp
    engine/file_time_win.cpp
    engine/registry_cleaner_win.cpp
    engine/registry_items_win.cpp
    engine/scanner_win.cpp
    engine/removal_reason_win.cpp
    engine/removal_root_win.cpp
    engine/secure_delete_win.cpp
    resident/hot_keys_win.cpp
    resident/index_files_win.cpp
    resident/index_removal_win.cpp
    resident/pop_form_win.cpp
    resident/popup_library_win.cpp
    resident/popup_list_form_win.cpp
    resident/service_control_win.cpp
    resident/start_page_win.cpp
    shredder/shred_dialogs_win.cpp
    shredder/shredder_win.cpp
    update/http_client_win.cpp
    update/update_windows_win.cpp
    update/web_file_info_win.cpp
    resident/service_manager_win.cpp
    resident/tray_icon_win.cpp
    ui/bitmap_region.cpp
    ui/clipboard.cpp
    ui/save_dialog.cpp
    ui/control_factory.cpp
    ui/controls.cpp
    ui/file_replace.cpp
    ui/folder_dialog.cpp
    ui/form.cpp
    ui/hints.cpp
    ui/jpeg_bitmap.cpp
    ui/late_bound.cpp
    ui/message_pump.cpp
    ui/page_control.cpp
    ui/popup_menu.cpp
    ui/text_file.cpp
)
target_include_directories(tarnwell_shell PUBLIC ${CMAKE_SOURCE_DIR} ${TARNWELL_DEPS}/libjpeg/include)
target_link_libraries(tarnwell_shell PUBLIC tarnwell_core ${TARNWELL_DEPS}/libjpeg/lib/libjpeg.a
    comctl32 comdlg32 shell32 ole32 uuid advapi32 ws2_32 gdi32 user32 kernel32)

# The runtime shims are objects of each program, ahead of the import libraries.
set(RUNTIME_SHIMS ui/runtime_ansi_shims_win.cpp)
add_executable(Tarnwell WIN32 app/tarnwell_main.cpp ${RUNTIME_SHIMS} res/Tarnwell.rc)
target_link_libraries(Tarnwell PRIVATE tarnwell_shell ${STATIC_RUNTIME})
set_target_properties(Tarnwell PROPERTIES OUTPUT_NAME Tarnwell)

include(cmake/win32_tests.cmake)

add_executable(ui_driver tools/ui_driver.cpp)
target_link_libraries(ui_driver PRIVATE tarnwell_core user32 ${STATIC_RUNTIME})

add_executable(bench_engine tools/bench_engine.cpp)
target_link_libraries(bench_engine PRIVATE tarnwell_shell psapi ${STATIC_RUNTIME})

# The background service the program registers on the NT family.
add_executable(TWSvc stand-ins/service/twsvc.cpp engine/registry_cleaner_win.cpp ui/text_file.cpp
    resident/index_files_win.cpp engine/removal_root_win.cpp ui/late_bound.cpp ${RUNTIME_SHIMS})
target_include_directories(TWSvc PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(TWSvc PRIVATE tarnwell_core advapi32 ${STATIC_RUNTIME})

# The popup blocker library beside the program (a stand-in of the outside
# component), with undecorated standard-call exports.
add_library(snuffet SHARED stand-ins/popup/snuffet.cpp stand-ins/popup/snuffet.def resident/index_files_win.cpp engine/removal_root_win.cpp
    ui/late_bound.cpp ui/text_file.cpp ${RUNTIME_SHIMS})
target_include_directories(snuffet PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(snuffet PRIVATE tarnwell_core ole32 uuid advapi32 user32 ${STATIC_RUNTIME}
    -Wl,--kill-at -Wl,--enable-stdcall-fixup)
set_target_properties(snuffet PROPERTIES PREFIX "" OUTPUT_NAME snuffet)

# Vintrel binds DeleteIndexFiles at link time through an import library
# made from a definition file: the standard-call name the compiler uses
# (decorated on 32-bit Windows) imported as the library's plain export.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(DELETE_INDEX_FILES_SYMBOL "DeleteIndexFiles@20")
else()
    set(DELETE_INDEX_FILES_SYMBOL "DeleteIndexFiles")
endif()
set(SNUFFET_IMPORTS_DEF ${CMAKE_BINARY_DIR}/snuffet_imports.def)
file(WRITE ${SNUFFET_IMPORTS_DEF} "LIBRARY snuffet.dll\nEXPORTS\n${DELETE_INDEX_FILES_SYMBOL}\n")
string(REGEX REPLACE "g\\+\\+(-win32)?$" "dlltool" DLLTOOL "${CMAKE_CXX_COMPILER}")
set(SNUFFET_IMPORTS ${CMAKE_BINARY_DIR}/libsnuffet_imports.a)
add_custom_command(OUTPUT ${SNUFFET_IMPORTS}
    COMMAND ${DLLTOOL} -d ${SNUFFET_IMPORTS_DEF} -l ${SNUFFET_IMPORTS} -k
    DEPENDS ${SNUFFET_IMPORTS_DEF})
add_custom_target(snuffet_imports DEPENDS ${SNUFFET_IMPORTS})

add_executable(Vintrel WIN32 vintrel/vintrel.cpp ${RUNTIME_SHIMS})
target_include_directories(Vintrel PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(Vintrel snuffet_imports snuffet)
target_link_libraries(Vintrel PRIVATE ${SNUFFET_IMPORTS} ${STATIC_RUNTIME})

include(cmake/installer.cmake)
