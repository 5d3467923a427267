# Test programs run under Wine, each through tests/win32/run_test.sh in a
# prefix, on a display and with a wineserver of its own, so that CTest runs
# them side by side. The runner copies the programs in and gives
# TARNWELL_EXE as a Windows path.
set(GTEST_WIN32 ${TARNWELL_DEPS}/gtest-win32)
set(WINE_TEST_RUNNER bash ${CMAKE_SOURCE_DIR}/tests/win32/run_test.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(APPEND WINE_TEST_RUNNER --arch win64)
endif()

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

# A run of a test program: tarnwell_wine_test(NAME PROGRAM [RUNNER OPTION...]
# [ARGS PROGRAM ARGUMENT...] [ENV VARIABLE=VALUE...]); the runner options are
# run_test.sh's (--links, --version V, --demo, --desktop, --allow-skip).
# Every run sees TARNWELL_EXE.
function(tarnwell_wine_test name program)
    cmake_parse_arguments(PARSE_ARGV 2 RUN "" "" "ARGS;ENV")
    add_test(NAME ${name} COMMAND ${WINE_TEST_RUNNER} ${RUN_UNPARSED_ARGUMENTS} ${name}
        $<TARGET_FILE:${program}> ${RUN_ARGS})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600
        ENVIRONMENT "TARNWELL_EXE=$<TARGET_FILE:Tarnwell>;${RUN_ENV}")
endfunction()

function(tarnwell_win32_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE win32_test_support)
    add_dependencies(${name} Tarnwell TWSvc)
    tarnwell_wine_test(${name} ${name})
endfunction()

tarnwell_win32_test(settings_file_tests tests/win32/settings_file_test.cpp)
tarnwell_win32_test(startup_tests tests/win32/startup_test.cpp)
tarnwell_win32_test(settings_replace_tests tests/win32/settings_replace_test.cpp)

# One program, three runs: each sees the Windows version it is named for,
# and skips the rules of the others.
add_executable(known_locations_tests tests/win32/known_locations_test.cpp)
target_link_libraries(known_locations_tests PRIVATE win32_test_support)
foreach(version win98 winme winxp)
    tarnwell_wine_test(known_locations_${version} known_locations_tests --version ${version} --allow-skip)
endforeach()
tarnwell_win32_test(main_window_tests tests/win32/main_window_test.cpp)

# The engine tests sweep the link fixtures (tests/win32/link_fixtures.sh),
# which the runner makes in every prefix.
tarnwell_win32_test(scanner_tests tests/win32/scanner_test.cpp)
tarnwell_win32_test(secure_delete_tests tests/win32/secure_delete_test.cpp)
tarnwell_win32_test(shredder_tests tests/win32/shredder_test.cpp)
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
add_executable(late_bound_tests tests/win32/late_bound_test.cpp)
target_link_libraries(late_bound_tests PRIVATE win32_test_support)
tarnwell_wine_test(late_bound_tests late_bound_tests ENV TARNWELL_NO_LATER_API=1)
# Unix file links, which Wine shows as plain files, have no counterpart on
# the systems without GetFinalPathNameByHandleA, and that call alone finds
# them: the two tests that plant them run in the first pass only. Their
# folder links are covered by late_bound_tests.
set(OLDEST_API_SKIP_secure_delete_tests --gtest_filter=-SecureDelete.LinksToFilesOutsideAreNeverFollowed)
set(OLDEST_API_SKIP_shredder_tests
    --gtest_filter=-Shredder.FolderShredNeverReachesThroughLinks:Shredder.ListedLinksAreRemovedAsLinks)
foreach(name windows_tab_tests ie_tab_tests secure_delete_tests shredder_tests)
    tarnwell_wine_test(${name}_oldest_api ${name} ARGS ${OLDEST_API_SKIP_${name}} ENV TARNWELL_NO_LATER_API=1)
endforeach()
tarnwell_win32_test(tray_icon_tests tests/win32/tray_icon_test.cpp)
tarnwell_win32_test(category_guard_tests tests/win32/category_guard_test.cpp)
# The folder guard a second time with every later call hidden, so that
# short names are expanded from directory entries as on Windows 95 and NT 4.
tarnwell_win32_test(folder_guard_tests tests/win32/folder_guard_test.cpp)
tarnwell_wine_test(folder_guard_tests_oldest_api folder_guard_tests ENV TARNWELL_NO_LATER_API=1)
tarnwell_win32_test(hot_keys_tests tests/win32/hot_keys_test.cpp)
tarnwell_win32_test(start_page_tests tests/win32/start_page_test.cpp)
tarnwell_win32_test(auto_sweep_tests tests/win32/auto_sweep_test.cpp)
# Balloon tips show only inside a Wine desktop with a taskbar: those tests
# run there, the others outside.
add_executable(notice_tests tests/win32/notice_test.cpp)
target_link_libraries(notice_tests PRIVATE win32_test_support)
tarnwell_wine_test(notice_tests notice_tests ARGS --gtest_filter=-Notice.InsideAWineDesktop*)
tarnwell_wine_test(notice_balloon_tests notice_tests --desktop ARGS --gtest_filter=Notice.InsideAWineDesktop*)
tarnwell_win32_test(kill_report_tests tests/win32/kill_report_test.cpp)
tarnwell_win32_test(index_removal_tests tests/win32/index_removal_test.cpp)
tarnwell_win32_test(popup_killer_tests tests/win32/popup_killer_test.cpp)
target_link_libraries(popup_killer_tests PRIVATE ole32 oleaut32 uuid)
add_dependencies(popup_killer_tests snuffet Vintrel)
tarnwell_win32_test(popup_list_tests tests/win32/popup_list_test.cpp)
tarnwell_win32_test(mozilla_tabs_tests tests/win32/mozilla_tabs_test.cpp)
tarnwell_win32_test(opera_tab_tests tests/win32/opera_tab_test.cpp)
tarnwell_win32_test(plugins_tab_tests tests/win32/plugins_tab_test.cpp)
tarnwell_win32_test(http_client_tests tests/win32/http_client_test.cpp)
tarnwell_win32_test(update_check_tests tests/win32/update_check_test.cpp)
tarnwell_win32_test(aol_tab_tests tests/win32/aol_tab_test.cpp)
tarnwell_win32_test(media_players_tab_tests tests/win32/media_players_tab_test.cpp)
tarnwell_win32_test(item_details_tests tests/win32/item_details_test.cpp)
tarnwell_win32_test(folder_tree_tests tests/win32/folder_tree_test.cpp)
tarnwell_win32_test(aol_locate_tests tests/win32/aol_locate_test.cpp)
# The Mozilla tabs and the plug-ins on the demo profile's traces, in a
# prefix seeded for each Windows version.
add_executable(demo_profile_tests tests/win32/demo_profile_test.cpp)
target_link_libraries(demo_profile_tests PRIVATE win32_test_support)
add_dependencies(demo_profile_tests Tarnwell)
foreach(version win98 winxp)
    tarnwell_wine_test(demo_profile_${version} demo_profile_tests --demo ENV TARNWELL_DEMO_VERSION=${version}
        TARNWELL_DEMO_PLUGINS=${CMAKE_SOURCE_DIR}/scripts/demo/plugins TARNWELL_SHIPPED_PLUGINS=${CMAKE_SOURCE_DIR}/plugins)
endforeach()

# The longest runs start first, so that none is left running alone at the
# end (seconds, measured side by side on two cores; once a run has been
# made, CTest orders by the times it measured itself).
foreach(cost item_details_tests:180 auto_sweep_tests:140 update_check_tests:115 settings_file_tests:100
        mozilla_tabs_tests:90 category_guard_tests:80 main_window_tests:78 settings_replace_tests:77
        ie_tab_tests_oldest_api:71 ie_tab_tests:69 plugins_tab_tests:66 windows_tab_tests_oldest_api:57
        windows_tab_tests:55 startup_tests:55 hot_keys_tests:52)
    string(REPLACE ":" ";" cost ${cost})
    list(GET cost 0 name)
    list(GET cost 1 seconds)
    set_tests_properties(${name} PROPERTIES COST ${seconds})
endforeach()
