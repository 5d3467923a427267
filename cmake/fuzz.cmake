# libFuzzer target for the portable text handling, run by scripts/test.sh
# for a bounded number of inputs.
add_executable(core_text_fuzz tests/fuzz/core_text_fuzz.cpp app/path_macros.cpp base/setting_value.cpp
    engine/folder_guard.cpp engine/mask.cpp cookiekeep/keep_list.cpp base/ini_text.cpp base/text_lines.cpp base/text_case.cpp
    resident/index_list.cpp resident/popup_lists.cpp categories/mozilla_files.cpp
    categories/plugin_definition.cpp update/http_message.cpp update/update_page.cpp)
target_include_directories(core_text_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(core_text_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(core_text_fuzz PRIVATE -fsanitize=fuzzer)
