# Compiler settings shared by every target of the project.
option(KV_SANITIZE "Build with AddressSanitizer and UBSan (native preset)" OFF)

add_library(kv_options INTERFACE)
target_compile_options(kv_options INTERFACE -Wall -Wextra -Wno-unused-parameter)

if(WIN32)
    # Only system DLLs at run time: libgcc, libstdc++ and winpthread are linked in.
    target_compile_definitions(kv_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN
                                                    _WIN32_WINNT=0x0601 NOMINMAX)
    target_link_options(kv_options INTERFACE -static -static-libgcc -static-libstdc++)
elseif(KV_SANITIZE)
    target_compile_options(kv_options INTERFACE -fsanitize=address,undefined
                                                -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(kv_options INTERFACE -fsanitize=address,undefined)
endif()

# nlohmann-json, header-only, for the kernel stand-in's structure files and kvhost's reports. The
# cross compiler must not see /usr/include as a whole, so the include folder holds a copy of the
# library's own folder: a copy, not a link, since no build folder may hold a link to a system
# folder (a recursive delete could follow it).
set(KV_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
if(IS_SYMLINK ${KV_JSON_INCLUDE}/nlohmann)
    file(REMOVE ${KV_JSON_INCLUDE}/nlohmann) # the link an older build made; not what it names
endif()
file(COPY /usr/include/nlohmann DESTINATION ${KV_JSON_INCLUDE})
add_library(kv_json INTERFACE)
target_include_directories(kv_json SYSTEM INTERFACE ${KV_JSON_INCLUDE})

# A test program: GoogleTest, discovered when CTest runs (under Wine for the Windows presets, so
# discovery happens once the shared wineserver is warm).
function(kv_add_test name)
    cmake_parse_arguments(arg "RUN_SERIAL" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE kv_options GTest::gtest GTest::gtest_main ${arg_LIBS})
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()
    # RESOURCE_LOCK: tests holding the same lock (e.g. "display") never run at the same time.
    # An empty LABELS value would swallow the next property name, so each is added only when given.
    set(properties TIMEOUT ${arg_TIMEOUT})
    if(arg_LABELS)
        list(APPEND properties LABELS "${arg_LABELS}")
    endif()
    if(arg_RESOURCE_LOCK)
        list(APPEND properties RESOURCE_LOCK ${arg_RESOURCE_LOCK})
    endif()
    # RUN_SERIAL: tests that change what every other test relies on (the library's registration).
    if(arg_RUN_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${properties})
endfunction()
