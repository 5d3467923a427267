# Copies text files with Windows line ends (CR LF), for Notepad on every
# Windows version: cmake -DDEST=<folder> -DFILES=<a;b;...> -P stage_crlf.cmake
file(MAKE_DIRECTORY "${DEST}")
foreach(source IN LISTS FILES)
    file(READ "${source}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    get_filename_component(name "${source}" NAME)
    file(WRITE "${DEST}/${name}" "${text}")
endforeach()
