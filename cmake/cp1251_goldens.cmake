# Golden texts written by hand in UTF-8 and converted to Windows-1251 by iconv, so the expected
# bytes never pass through the library's own conversions.
find_program(KV_ICONV iconv REQUIRED)

# kv_cp1251_goldens(<target> <output dir> <file>...) makes the target <target>, which writes
# <output dir>/<name>.cp1251 for every file (<name>: the file's name without its last extension).
function(kv_cp1251_goldens target output_dir)
    set(outputs)
    foreach(source IN LISTS ARGN)
        get_filename_component(source ${source} ABSOLUTE)
        get_filename_component(name ${source} NAME_WLE)
        set(output ${output_dir}/${name}.cp1251)
        add_custom_command(OUTPUT ${output}
                           COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
                           COMMAND ${KV_ICONV} -f UTF-8 -t CP1251 ${source} -o ${output}
                           DEPENDS ${source}
                           COMMENT "Converting ${name} to Windows-1251"
                           VERBATIM)
        list(APPEND outputs ${output})
    endforeach()
    add_custom_target(${target} DEPENDS ${outputs})
endfunction()
