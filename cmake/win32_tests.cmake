# Test programs run under Wine (the emulator of this tree); the scripts
# give them a prefix, a display and TARNWELL_EXE.
set(GTEST_WIN32 ${TARNWELL_DEPS}/gtest-win32)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

add_library(win32_test_support STATIC tests/win32/support/tarnwell_process.cpp
    tests/win32/support/planted_files.cpp tests/win32/support/tab_fixture.cpp
    tests/win32/support/debug_output.cpp tests/win32/support/registry_values.cpp
    tests/win32/support/top_level_window.cpp tests/win32/support/message_boxes.cpp
    tests/win32/support/http_test_server.cpp tests/win32/support/item_details.cpp)
target_include_directories(win32_test_support PUBLIC ${CMAKE_SOURCE_DIR} ${GTEST_WIN32}/include)
# GoogleTest was built with this header in front of every file; so are the tests.
target_compile_options(win32_test_support PUBLIC
    -include ${CMAKE_SOURCE_DIR}/tests/win32/support/gtest_notification.h)
target_link_libraries(win32_test_support PUBLIC tarnwell_shell
    ${GTEST_WIN32}/lib/libgtest_main.a ${GTEST_WIN32}/lib/libgtest.a ${STATIC_RUNTIME})

function(tarnwell_win32_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE win32_test_support)
    add_dependencies(${name} Tarnwell TWSvc)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600
        ENVIRONMENT "TARNWELL_EXE=$<TARGET_FILE:Tarnwell>")
endfunction()

tarnwell_win32_test(settings_file_tests tests/win32/settings_file_test.cpp)
tarnwell_win32_test(startup_tests tests/win32/startup_test.cpp)
tarnwell_win32_test(settings_replace_tests tests/win32/settings_replace_test.cpp)

# One program, three names: the test prefix gives each name its Windows version.
add_executable(known_locations_tests tests/win32/known_locations_test.cpp)
target_link_libraries(known_locations_tests PRIVATE win32_test_support)
foreach(version win98 winme winxp)
    set(copy ${CMAKE_BINARY_DIR}/known_locations_${version}.exe)
    add_custom_command(TARGET known_locations_tests POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:known_locations_tests> ${copy})
    add_test(NAME known_locations_${version} COMMAND wine ${copy})
    set_tests_properties(known_locations_${version} PROPERTIES TIMEOUT 300)
endforeach()
tarnwell_win32_test(main_window_tests tests/win32/main_window_test.cpp)

# The engine tests use Unix symbolic links made by a script before them.
add_test(NAME link_fixtures COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/link_fixtures.sh)
set_tests_properties(link_fixtures PROPERTIES FIXTURES_SETUP links)
tarnwell_win32_test(scanner_tests tests/win32/scanner_test.cpp)
tarnwell_win32_test(secure_delete_tests tests/win32/secure_delete_test.cpp)
tarnwell_win32_test(shredder_tests tests/win32/shredder_test.cpp)
set_tests_properties(scanner_tests secure_delete_tests shredder_tests PROPERTIES FIXTURES_REQUIRED links)
tarnwell_win32_test(registry_items_tests tests/win32/registry_items_test.cpp)
tarnwell_win32_test(windows_tab_tests tests/win32/windows_tab_test.cpp)
tarnwell_win32_test(service_tests tests/win32/service_test.cpp)
tarnwell_win32_test(cookie_keeper_tests tests/win32/cookie_keeper_test.cpp)
tarnwell_win32_test(ie_cache_tests tests/win32/ie_cache_test.cpp)
target_link_libraries(ie_cache_tests PRIVATE wininet)
tarnwell_win32_test(ie_tab_tests tests/win32/ie_tab_test.cpp)
target_link_libraries(ie_tab_tests PRIVATE wininet)

# Every call newer than Windows 95 and NT 4 hidden (ui/late_bound.h), so
# that the paths the oldest systems take run here too: the binder's own
# tests, then tests of the units with such calls a second time. The child
# Tarnwell.exe inherits the switch with the rest of the environment.
set(OLDEST_API_ENVIRONMENT "TARNWELL_EXE=$<TARGET_FILE:Tarnwell>;TARNWELL_NO_LATER_API=1")
tarnwell_win32_test(late_bound_tests tests/win32/late_bound_test.cpp)
set_tests_properties(late_bound_tests PROPERTIES ENVIRONMENT "${OLDEST_API_ENVIRONMENT}" FIXTURES_REQUIRED links)
# Unix file links, which Wine shows as plain files, have no counterpart on
# the systems without GetFinalPathNameByHandleA, and that call alone finds
# them: the two tests that plant them run in the first pass only. Their
# folder links are covered by late_bound_tests.
set(OLDEST_API_SKIP_secure_delete_tests --gtest_filter=-SecureDelete.LinksToFilesOutsideAreNeverFollowed)
set(OLDEST_API_SKIP_shredder_tests
    --gtest_filter=-Shredder.FolderShredNeverReachesThroughLinks:Shredder.ListedLinksAreRemovedAsLinks)
foreach(name windows_tab_tests ie_tab_tests secure_delete_tests shredder_tests)
    add_test(NAME ${name}_oldest_api COMMAND ${name} ${OLDEST_API_SKIP_${name}})
    set_tests_properties(${name}_oldest_api PROPERTIES TIMEOUT 600 ENVIRONMENT "${OLDEST_API_ENVIRONMENT}")
endforeach()
tarnwell_win32_test(tray_icon_tests tests/win32/tray_icon_test.cpp)
tarnwell_win32_test(category_guard_tests tests/win32/category_guard_test.cpp)
set_tests_properties(category_guard_tests PROPERTIES FIXTURES_REQUIRED links)
# The folder guard a second time with every later call hidden, so that
# short names are expanded from directory entries as on Windows 95 and NT 4.
tarnwell_win32_test(folder_guard_tests tests/win32/folder_guard_test.cpp)
add_test(NAME folder_guard_tests_oldest_api COMMAND folder_guard_tests)
set_tests_properties(folder_guard_tests_oldest_api PROPERTIES TIMEOUT 600 ENVIRONMENT "${OLDEST_API_ENVIRONMENT}")
tarnwell_win32_test(hot_keys_tests tests/win32/hot_keys_test.cpp)
tarnwell_win32_test(start_page_tests tests/win32/start_page_test.cpp)
tarnwell_win32_test(auto_sweep_tests tests/win32/auto_sweep_test.cpp)
tarnwell_win32_test(notice_tests tests/win32/notice_test.cpp)
tarnwell_win32_test(kill_report_tests tests/win32/kill_report_test.cpp)
tarnwell_win32_test(index_removal_tests tests/win32/index_removal_test.cpp)
tarnwell_win32_test(popup_killer_tests tests/win32/popup_killer_test.cpp)
tarnwell_win32_test(popup_list_tests tests/win32/popup_list_test.cpp)
tarnwell_win32_test(mozilla_tabs_tests tests/win32/mozilla_tabs_test.cpp)
tarnwell_win32_test(opera_tab_tests tests/win32/opera_tab_test.cpp)
tarnwell_win32_test(plugins_tab_tests tests/win32/plugins_tab_test.cpp)
tarnwell_win32_test(http_client_tests tests/win32/http_client_test.cpp)
tarnwell_win32_test(update_check_tests tests/win32/update_check_test.cpp)
set_tests_properties(plugins_tab_tests PROPERTIES FIXTURES_REQUIRED links)
tarnwell_win32_test(aol_tab_tests tests/win32/aol_tab_test.cpp)
tarnwell_win32_test(media_players_tab_tests tests/win32/media_players_tab_test.cpp)
tarnwell_win32_test(item_details_tests tests/win32/item_details_test.cpp)
tarnwell_win32_test(folder_tree_tests tests/win32/folder_tree_test.cpp)
set_tests_properties(folder_tree_tests PROPERTIES FIXTURES_REQUIRED links)
tarnwell_win32_test(aol_locate_tests tests/win32/aol_locate_test.cpp)
set_tests_properties(aol_locate_tests PROPERTIES FIXTURES_REQUIRED links)
target_link_libraries(popup_killer_tests PRIVATE ole32 oleaut32 uuid)
add_dependencies(popup_killer_tests snuffet Vintrel)
set_tests_properties(popup_killer_tests PROPERTIES FIXTURES_REQUIRED links)
# Balloon tips show only inside a Wine desktop with a taskbar.
add_test(NAME notice_balloon_tests COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/in_wine_desktop.sh
    $<TARGET_FILE:notice_tests> Notice.InsideAWineDesktop*)
set_tests_properties(notice_balloon_tests PROPERTIES TIMEOUT 300 ENVIRONMENT "TARNWELL_EXE=$<TARGET_FILE:Tarnwell>")
# The Mozilla tabs on the demo profile's traces, in a prefix seeded for
# each Windows version.
add_executable(demo_profile_tests tests/win32/demo_profile_test.cpp)
target_link_libraries(demo_profile_tests PRIVATE win32_test_support)
add_dependencies(demo_profile_tests Tarnwell)
add_test(NAME demo_profile_tests COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/in_demo_prefix.sh
    $<TARGET_FILE:demo_profile_tests> DemoProfile.* win98 winxp)
set_tests_properties(demo_profile_tests PROPERTIES TIMEOUT 900
    ENVIRONMENT "TARNWELL_EXE=$<TARGET_FILE:Tarnwell>;TARNWELL_DEMO_PLUGINS=${CMAKE_SOURCE_DIR}/scripts/demo/plugins;TARNWELL_SHIPPED_PLUGINS=${CMAKE_SOURCE_DIR}/plugins")
