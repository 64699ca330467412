# IDL through widl: a C/C++ header, a type library and the interface identifiers.
# Debian's mingw-w64 ships no .idl files, so the system IDL comes from Wine's (libwine-dev).
# The type library's system kind (SYS_WIN32 or SYS_WIN64) and stdole2.tlb follow the target.
find_program(KV_WIDL NAMES ${KV_MINGW_TRIPLE}-widl widl REQUIRED)
find_program(KV_ICONV iconv REQUIRED)
set(KV_WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's system IDL files")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KV_WIDL_ARCH -m64)
    set(KV_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder of stdole2.tlb")
else()
    set(KV_WIDL_ARCH -m32)
    set(KV_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "Folder of stdole2.tlb")
endif()

# kv_add_idl(<target> <file.idl>) makes the static library <target> holding the identifiers;
# it publishes <name>.h and <name>.tlb in the current binary folder.
function(kv_add_idl target idl)
    get_filename_component(name ${idl} NAME_WE)
    set(src ${CMAKE_CURRENT_SOURCE_DIR}/${idl})
    set(out ${CMAKE_CURRENT_BINARY_DIR})
    set(flags ${KV_WIDL_ARCH} -I ${CMAKE_CURRENT_SOURCE_DIR} -I ${KV_WINE_IDL_DIR} -L ${KV_STDOLE_DIR})
    foreach(dir ${ARGN})
        list(APPEND flags -I ${dir})
    endforeach()
    add_custom_command(
        OUTPUT ${out}/${name}.h ${out}/${name}.tlb ${out}/${name}_i.c
        # Help strings are stored byte for byte and read back in the ANSI code page (1251).
        COMMAND ${KV_ICONV} -f UTF-8 -t CP1251 ${src} -o ${out}/${name}.cp1251.idl
        COMMAND ${KV_WIDL} ${flags} -h -H ${out}/${name}.h ${src}
        COMMAND ${KV_WIDL} ${flags} -t -o ${out}/${name}.tlb ${out}/${name}.cp1251.idl
        COMMAND ${KV_WIDL} ${flags} -u -o ${out}/${name}_i.c ${src}
        DEPENDS ${src}
        COMMENT "widl ${idl}"
        VERBATIM)
    add_library(${target} STATIC ${out}/${name}_i.c ${out}/${name}.h)
    target_include_directories(${target} PUBLIC ${out})
    set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
    set(${target}_TLB ${out}/${name}.tlb PARENT_SCOPE)
endfunction()
