# Installs the DLLs the installed programs and plug-ins load, found by reading their imports
# with MinGW's objdump, and then the DLLs those load, until nothing new turns up. Expects
# BRISOLT_DLL_DIRS (where to look). DLLs found nowhere there are Windows' own.
#
# CMake reads Windows imports in lower case and looks them up as such, which a Linux file
# system does not match to "Qt6Core.dll"; so the look-up here ignores case itself.
cmake_policy(VERSION 3.22)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND x86_64-w64-mingw32-objdump)
set(root "${CMAKE_INSTALL_PREFIX}")

set(available)
foreach(dir IN LISTS BRISOLT_DLL_DIRS)
    file(GLOB dlls "${dir}/*.dll")
    foreach(dll IN LISTS dlls)
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" key)
        if(NOT DEFINED dll_${key})
            set(dll_${key} "${dll}")
        endif()
    endforeach()
endforeach()

file(GLOB_RECURSE todo "${root}/*.exe" "${root}/*.dll")
set(installed)
while(todo)
    file(GET_RUNTIME_DEPENDENCIES
        MODULES ${todo}
        RESOLVED_DEPENDENCIES_VAR found
        UNRESOLVED_DEPENDENCIES_VAR unresolved
        DIRECTORIES ${BRISOLT_DLL_DIRS})
    set(todo)
    foreach(dependency IN LISTS found unresolved)
        get_filename_component(name "${dependency}" NAME)
        string(TOLOWER "${name}" key)
        if(DEFINED dll_${key} AND NOT key IN_LIST installed)
            list(APPEND installed ${key})
            file(INSTALL "${dll_${key}}" DESTINATION "${root}")
            get_filename_component(real "${dll_${key}}" NAME)
            list(APPEND todo "${root}/${real}")
        endif()
    endforeach()
endwhile()

# MinGW's runtime DLLs come with their symbols, Qt's with their symbol tables; the installation
# has no use for either.
if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE dlls "${root}/*.dll")
    foreach(dll IN LISTS dlls)
        execute_process(COMMAND x86_64-w64-mingw32-strip --strip-unneeded "${dll}")
    endforeach()
endif()
